// The embedding server's classes: one frame object per process, one document object per drawing
// window, the embeddable figure with its storage, data and object interfaces, the class factory,
// the adapter that moves a drawing through a stream, the drop source and the in-process transfer
// object that carries a dragged drawing.
#pragma once

#include <windows.h>
// After windows.h, which they need.
#include <ole2.h>

#include <cstdint>
#include <vector>

#include "ole/comobject.h"

struct DocumentRec;
class CCosmoDoc;
class CFigure;
class CFigureClassFactory;

// {E67B9251-21BF-4986-A74C-564D0F66EF5B}
extern const CLSID CLSID_CosmoFigure;

constexpr char kPrivateFormatName[] = "Stuff";
constexpr wchar_t kPrivateFormatNameW[] = L"Stuff";
constexpr wchar_t kUserTypeName[] = L"Draxel Design";
constexpr wchar_t kContentsStream[] = L"CONTENTS";
// The rows of the format table: what the object and a dragged drawing offer.
constexpr int kFigureFormatCount = 4;

class CCosmoFrame {
 public:
  CCosmoFrame();
  ~CCosmoFrame();
  CCosmoFrame(const CCosmoFrame&) = delete;
  CCosmoFrame& operator=(const CCosmoFrame&) = delete;
  // OLE, the command line and, when started for embedding, the registered class factory.
  bool Init();
  void ParseCommandLine();
  CCosmoDoc* NewDocument();
  CCosmoDoc* CreateDoc();
  CCosmoDoc* CreateNewDocument();
  void UpdateEmbeddingUI(bool embedding, CCosmoDoc* doc, const char* containerName, const char* objectName);
  // The container let go of its object, or an object is gone: a program started for embedding
  // ends once nothing is served and nothing locks it.
  void ObjectReleased();

  bool fParsed = false;
  bool fOleInitialized = false;
  bool fEmbedding = false;
  CFigureClassFactory* pIClassFactory = nullptr;
  DWORD dwRegCO = 0;
  LONG cLocks = 0;
};

// The one frame object; null before start-up made it and after CloseOLEClient.
extern CCosmoFrame* pFR;

// Moves the drawing of a document through a stream: a 32-bit little-endian byte count, then the
// native object records.
class CPolyline {
 public:
  explicit CPolyline(CCosmoDoc* doc) : doc_(doc) {}
  HRESULT WriteToStream(IStream* stream);
  HRESULT ReadFromStream(IStream* stream);
  // The count and the records in one block, as the stream holds them.
  bool Serialize(std::vector<uint8_t>* bytes);
  // Adds the objects of a count-and-records block (never read past `length`) to the drawing.
  HRESULT Deserialize(const uint8_t* data, size_t length);

 private:
  CCosmoDoc* doc_;
};

class CCosmoDoc {
 public:
  explicit CCosmoDoc(CCosmoFrame* frame) : pFR_(frame) {}
  ~CCosmoDoc();
  CCosmoDoc(const CCosmoDoc&) = delete;
  CCosmoDoc& operator=(const CCosmoDoc&) = delete;
  bool Init();
  bool Load(bool changeFile, const char* file);
  // The private format and the metafile picture in global memory.
  HRESULT RenderFormat(const FORMATETC& format, STGMEDIUM* medium);
  // "Embed Source" as a storage in global memory and "Object Descriptor".
  HRESULT RenderMedium(const FORMATETC& format, STGMEDIUM* medium);
  // Writes class, user type and "CONTENTS" into `storage`.
  HRESULT WriteEmbedSource(IStorage* storage);
  void HandleMouseDown();
  // The drawing's picture with its size in HIMETRIC units; the size alone when `metafile` is null.
  bool MakePicture(HMETAFILE* metafile, SIZEL* himetric);
  // Makes this drawing current for the caller's scope; false when its window is gone.
  DocumentRec* Drawing() const { return document_; }
  HWND Pane() const;
  HWND Window() const { return window_; }
  // Repaints the drawing after its objects changed.
  void Changed();

  CCosmoFrame* pFR_;
  uint32_t state_ = 0;
  UINT cfStuff_ = 0, cfEmbedSource_ = 0, cfObjectDescriptor_ = 0;
  CPolyline* pPL_ = nullptr;
  CFigure* pFigure_ = nullptr;
  bool fDragging_ = false;

 private:
  HWND window_ = nullptr;
  DocumentRec* document_ = nullptr;
};

class CImpIPersistStorage : public ComDelegate<IPersistStorage, CFigure> {
 public:
  using ComDelegate::ComDelegate;
  STDMETHODIMP GetClassID(CLSID* clsid) override;
  STDMETHODIMP IsDirty() override;
  STDMETHODIMP InitNew(IStorage* storage) override;
  STDMETHODIMP Load(IStorage* storage) override;
  STDMETHODIMP Save(IStorage* storage, BOOL sameAsLoad) override;
  STDMETHODIMP SaveCompleted(IStorage* storage) override;
  STDMETHODIMP HandsOffStorage() override;

  enum State { kUninitialized, kScribble, kNoScribble, kHandsOff };
  State state_ = kUninitialized;
  bool fConvert_ = false;
};

class CImpIDataObject : public ComDelegate<IDataObject, CFigure> {
 public:
  using ComDelegate::ComDelegate;
  STDMETHODIMP GetData(FORMATETC* format, STGMEDIUM* medium) override;
  STDMETHODIMP GetDataHere(FORMATETC* format, STGMEDIUM* medium) override;
  STDMETHODIMP QueryGetData(FORMATETC* format) override;
  STDMETHODIMP GetCanonicalFormatEtc(FORMATETC* in, FORMATETC* out) override;
  STDMETHODIMP SetData(FORMATETC* format, STGMEDIUM* medium, BOOL release) override;
  STDMETHODIMP EnumFormatEtc(DWORD direction, IEnumFORMATETC** enumerator) override;
  STDMETHODIMP DAdvise(FORMATETC* format, DWORD flags, IAdviseSink* sink, DWORD* connection) override;
  STDMETHODIMP DUnadvise(DWORD connection) override;
  STDMETHODIMP EnumDAdvise(IEnumSTATDATA** enumerator) override;
};

class CImpIOleObject : public ComDelegate<IOleObject, CFigure> {
 public:
  using ComDelegate::ComDelegate;
  STDMETHODIMP SetClientSite(IOleClientSite* site) override;
  STDMETHODIMP GetClientSite(IOleClientSite** site) override;
  STDMETHODIMP SetHostNames(LPCOLESTR container, LPCOLESTR object) override;
  STDMETHODIMP Close(DWORD saveOption) override;
  STDMETHODIMP SetMoniker(DWORD which, IMoniker* moniker) override;
  STDMETHODIMP GetMoniker(DWORD assign, DWORD which, IMoniker** moniker) override;
  STDMETHODIMP InitFromData(IDataObject* data, BOOL creation, DWORD reserved) override;
  STDMETHODIMP GetClipboardData(DWORD reserved, IDataObject** data) override;
  STDMETHODIMP DoVerb(LONG verb, LPMSG msg, IOleClientSite* site, LONG index, HWND parent,
                      LPCRECT rect) override;
  STDMETHODIMP EnumVerbs(IEnumOLEVERB** verbs) override;
  STDMETHODIMP Update() override;
  STDMETHODIMP IsUpToDate() override;
  STDMETHODIMP GetUserClassID(CLSID* clsid) override;
  STDMETHODIMP GetUserType(DWORD form, LPOLESTR* type) override;
  STDMETHODIMP SetExtent(DWORD aspect, SIZEL* size) override;
  STDMETHODIMP GetExtent(DWORD aspect, SIZEL* size) override;
  STDMETHODIMP Advise(IAdviseSink* sink, DWORD* connection) override;
  STDMETHODIMP Unadvise(DWORD connection) override;
  STDMETHODIMP EnumAdvise(IEnumSTATDATA** enumerator) override;
  STDMETHODIMP GetMiscStatus(DWORD aspect, DWORD* status) override;
  STDMETHODIMP SetColorScheme(LOGPALETTE* palette) override;
};

// Codes of CFigure::SendAdvise.
enum AdviseCode {
  kAdviseSaved = 0,
  kAdviseClosed = 1,
  kAdviseSaveIfDirty = 3,
  kAdviseDataChange = 4,
  kAdviseShowWindow = 5,
  kAdviseHideWindow = 6,
  kAdviseRequestNewSize = 7,
};

class CFigure : public IUnknown {
 public:
  // Starts with one reference: the document's.
  CFigure(CCosmoDoc* doc, void (*destroyed)());
  CFigure(const CFigure&) = delete;
  CFigure& operator=(const CFigure&) = delete;
  bool Init();
  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
  STDMETHODIMP_(ULONG) AddRef() override;
  STDMETHODIMP_(ULONG) Release() override;
  void FrameSet(CCosmoFrame* frame) { pFR_ = frame; }
  void SendAdvise(AdviseCode code);
  // The document goes: callers keep their references but reach no drawing any more.
  void Disconnect();
  // The container holds the object from now on.
  void HandedOut() { fHandedOut_ = true; }
  // The table row that matches `format` (format, content aspect and medium), or null.
  const FORMATETC* FindFormat(const FORMATETC& format) const;
  // Releases the kept stream and storage.
  void ReleaseStorage();

  CCosmoDoc* pDoc_;
  CCosmoFrame* pFR_ = nullptr;
  bool fEmbedded_ = false;
  CImpIPersistStorage persistStorage_{this};
  CImpIDataObject dataObject_{this};
  CImpIOleObject oleObject_{this};
  IDataAdviseHolder* pIDataAdviseHolder_ = nullptr;
  IOleAdviseHolder* pIOleAdviseHolder_ = nullptr;
  IOleClientSite* pIOleClientSite_ = nullptr;
  IStorage* pIStorage_ = nullptr;
  IStream* pIStream_ = nullptr;
  FORMATETC formats_[kFigureFormatCount] = {};

 private:
  virtual ~CFigure();
  ULONG cRef_ = 1;
  void (*pfnDestroy_)();
  bool fHandedOut_ = false;
};

class CFigureClassFactory : public ComObject<IClassFactory, IID_IClassFactory> {
 public:
  // Starts with no reference: the frame takes the first.
  explicit CFigureClassFactory(CCosmoFrame* frame) : ComObject(0), pFR_(frame) {}
  STDMETHODIMP CreateInstance(IUnknown* outer, REFIID riid, void** ppv) override;
  STDMETHODIMP LockServer(BOOL lock) override;

 private:
  ~CFigureClassFactory() override = default;
  CCosmoFrame* pFR_;
  bool fCreated_ = false;
};

class CDropSource : public ComObject<IDropSource, IID_IDropSource> {
 public:
  STDMETHODIMP QueryContinueDrag(BOOL escapePressed, DWORD keys) override;
  STDMETHODIMP GiveFeedback(DWORD effect) override;

 private:
  ~CDropSource() override = default;
};

// enumfetc: an enumerator over a copy of a list of formats.
HRESULT CreateFormatEnumerator(const FORMATETC* formats, size_t count, IEnumFORMATETC** enumerator);

// xferobj: the data-transfer object, an in-process IDataObject that keeps what SetData gives it
// and hands copies to whoever asks (drop targets). One reference for the caller.
IDataObject* CreateDataTransferObject();
// A copy of `medium` for `format` that the receiver frees; false when it cannot be made.
bool CopyMedium(const FORMATETC& format, const STGMEDIUM& medium, STGMEDIUM* copy);
// A new compound storage in global memory.
HRESULT CreateMemoryStorage(IStorage** storage);

// cdoc: a document's data object for dragging: every table format its document renders.
IDataObject* TransferObjectCreate(CCosmoDoc* doc);

// polyline: a drawing in and out of native records through the clipboard module's private
// scrap, leaving the current drawing and the scrap as they were.
bool CopyDocumentForOLE(DocumentRec* document, std::vector<uint8_t>* records);
bool PasteDocumentFromOLE(DocumentRec* document, const uint8_t* records, size_t length);
