// A small container of our own, used only by the tests: it embeds a Draxel drawing through OLE the
// way other programs do, and receives a drawing dragged out of Draxel.
//   olecontainer embed FIXTURE.drx FOLDER   the embedding checks; writes FOLDER\loaded.drx (the
//                                           drawing of a saved and reloaded object),
//                                           FOLDER\direct.drx (saved by the server's own object)
//                                           and FOLDER\empty.drx (a new object saved)
//   olecontainer droptarget FOLDER          a window titled "Drop Target" that takes one drop and
//                                           writes FOLDER\dropped.txt and FOLDER\dropped.drx
// Prints "ok: ..." and "FAIL: ..." lines; exits 0 when every check passes, 1 otherwise, 77 when
// OLE cannot start at all. Registers nothing: Draxel.exe /RegServer does.
#include <windows.h>
// After windows.h, which it needs.
#include <ole2.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "files/drxfile.h"
#include "model/docstate.h"
#include "ole/comobject.h"

namespace {

// The class the program registers.
const CLSID kDrawingClass = {0xe67b9251, 0x21bf, 0x4986, {0xa7, 0x4c, 0x56, 0x4d, 0x0f, 0x66, 0xef, 0x5b}};
constexpr char kFrameClass[] = "FrameClass";
constexpr char kTitlePrefix[] = "Draxel Design in ";
constexpr int kHostNameBytes = 80;

int gFailures = 0;

void Check(bool ok, const char* what) {
  std::printf("%s: %s\n", ok ? "ok" : "FAIL", what);
  std::fflush(stdout);
  if (!ok) ++gFailures;
}

std::string Join(const std::string& folder, const char* name) {
  return folder + "\\" + name;
}

std::vector<uint8_t> CountAndRecords(const std::vector<uint8_t>& records) {
  std::vector<uint8_t> bytes(4 + records.size());
  const uint32_t count = static_cast<uint32_t>(records.size());
  for (int i = 0; i < 4; ++i) bytes[i] = static_cast<uint8_t>(count >> (8 * i));
  if (!records.empty()) std::memcpy(bytes.data() + 4, records.data(), records.size());
  return bytes;
}

// The object records of a drawing file, as the private scrap holds them.
bool ReadFixtureRecords(const char* path, std::vector<uint8_t>* records) {
  DocumentRec* document = CreateDocument();
  if (!document) return false;
  bool ok = DrxFileRead(path) && WriteScrapObjects();
  if (ok) records->assign(gPrivateScrap, gPrivateScrap + gPrivateScrapSize);
  FreePrivateScrap();
  DeleteDocument(document);
  return ok;
}

// Writes the objects of a count-and-records block into a new drawing file.
bool WriteRecordsAsDrawing(const std::vector<uint8_t>& bytes, const std::string& path) {
  if (bytes.size() < 4) return false;
  const uint32_t count =
      bytes[0] | (bytes[1] << 8) | (bytes[2] << 16) | (static_cast<uint32_t>(bytes[3]) << 24);
  if (count > bytes.size() - 4) return false;
  DocumentRec* document = CreateDocument();
  if (!document) return false;
  bool ok = count == 0 || ReadScrapObjects(bytes.data() + 4, count);
  ok = ok && DrxFileWrite(path.c_str());
  DeleteDocument(document);
  return ok;
}

bool ReadContents(IStorage* storage, std::vector<uint8_t>* bytes) {
  IStream* stream = nullptr;
  if (FAILED(storage->OpenStream(L"CONTENTS", nullptr, STGM_READ | STGM_SHARE_EXCLUSIVE, 0, &stream)))
    return false;
  STATSTG stat = {};
  bool ok = SUCCEEDED(stream->Stat(&stat, STATFLAG_NONAME)) && stat.cbSize.QuadPart < (1u << 30);
  if (ok) {
    bytes->resize(static_cast<size_t>(stat.cbSize.QuadPart));
    ULONG got = 0;
    ok = bytes->empty() || (SUCCEEDED(stream->Read(bytes->data(), static_cast<ULONG>(bytes->size()), &got)) &&
                            got == bytes->size());
  }
  stream->Release();
  return ok;
}

IStorage* MemoryStorage() {
  ILockBytes* bytes = nullptr;
  IStorage* storage = nullptr;
  if (FAILED(CreateILockBytesOnHGlobal(nullptr, TRUE, &bytes))) return nullptr;
  StgCreateDocfileOnILockBytes(bytes, STGM_CREATE | STGM_READWRITE | STGM_SHARE_EXCLUSIVE, 0, &storage);
  bytes->Release();
  return storage;
}

// A storage as Draxel stores an embedded drawing: the class and a "CONTENTS" stream of `bytes`.
IStorage* DrawingStorage(const std::vector<uint8_t>& bytes) {
  IStorage* storage = MemoryStorage();
  if (!storage) return nullptr;
  IStream* stream = nullptr;
  ULONG written = 0;
  bool ok = SUCCEEDED(WriteClassStg(storage, kDrawingClass)) &&
            SUCCEEDED(storage->CreateStream(L"CONTENTS", STGM_CREATE | STGM_READWRITE | STGM_SHARE_EXCLUSIVE,
                                            0, 0, &stream)) &&
            SUCCEEDED(stream->Write(bytes.data(), static_cast<ULONG>(bytes.size()), &written)) &&
            written == bytes.size();
  if (stream) stream->Release();
  if (ok) ok = SUCCEEDED(storage->Commit(STGC_DEFAULT));
  if (!ok) {
    storage->Release();
    return nullptr;
  }
  return storage;
}

// Lives as long as the program.
class ClientSite : public ComObject<IOleClientSite, IID_IOleClientSite, ComLifetime::kProgram> {
 public:
  // Saves the object into its own storage, as a container does when the server asks.
  STDMETHODIMP SaveObject() override {
    ++saves;
    IPersistStorage* persist = nullptr;
    if (!object || !storage ||
        FAILED(object->QueryInterface(IID_IPersistStorage, reinterpret_cast<void**>(&persist))))
      return E_FAIL;
    HRESULT hr = OleSave(persist, storage, TRUE);
    persist->SaveCompleted(nullptr);
    persist->Release();
    if (SUCCEEDED(hr)) ++savedOk;
    return hr;
  }
  STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker** moniker) override {
    *moniker = nullptr;
    return E_NOTIMPL;
  }
  STDMETHODIMP GetContainer(IOleContainer** container) override {
    *container = nullptr;
    return E_NOINTERFACE;
  }
  STDMETHODIMP ShowObject() override { return S_OK; }
  STDMETHODIMP OnShowWindow(BOOL) override { return S_OK; }
  STDMETHODIMP RequestNewObjectLayout() override { return E_NOTIMPL; }
  int saves = 0, savedOk = 0;
  IOleObject* object = nullptr;  // the object SaveObject saves, and its storage
  IStorage* storage = nullptr;
};

ClientSite gSite;

FORMATETC PictureFormat() {
  return {CF_METAFILEPICT, nullptr, DVASPECT_CONTENT, -1, TYMED_MFPICT};
}

// The picture an object gives: a recorded metafile with a positive extent.
bool GetPicture(IOleObject* object, SIZEL* extent) {
  IDataObject* data = nullptr;
  if (FAILED(object->QueryInterface(IID_IDataObject, reinterpret_cast<void**>(&data)))) return false;
  FORMATETC format = PictureFormat();
  STGMEDIUM medium = {};
  HRESULT hr = data->GetData(&format, &medium);
  data->Release();
  if (FAILED(hr) || medium.tymed != TYMED_MFPICT || !medium.hMetaFilePict) return false;
  bool ok = false;
  if (METAFILEPICT* picture = static_cast<METAFILEPICT*>(GlobalLock(medium.hMetaFilePict))) {
    ok = picture->mm == MM_ANISOTROPIC && picture->xExt > 0 && picture->yExt > 0 && picture->hMF &&
         GetMetaFileBitsEx(picture->hMF, 0, nullptr) > 18;
    extent->cx = picture->xExt;
    extent->cy = picture->yExt;
    GlobalUnlock(medium.hMetaFilePict);
  }
  ReleaseStgMedium(&medium);
  return ok;
}

bool SameSize(const SIZEL& a, const SIZEL& b) {
  return a.cx == b.cx && a.cy == b.cy;
}

// Saves the object into `storage` as a container does, and lets it keep its own storage.
bool SaveObject(IOleObject* object, IStorage* storage) {
  IPersistStorage* persist = nullptr;
  if (FAILED(object->QueryInterface(IID_IPersistStorage, reinterpret_cast<void**>(&persist)))) return false;
  bool ok = SUCCEEDED(OleSave(persist, storage, FALSE));
  persist->SaveCompleted(nullptr);
  persist->Release();
  return ok && SUCCEEDED(storage->Commit(STGC_DEFAULT));
}

void CloseObject(IOleObject* object) {
  object->Close(OLECLOSE_NOSAVE);
  object->SetClientSite(nullptr);
  object->Release();
}

HWND FindDrawingWindow() {
  HWND frame = FindWindowA(kFrameClass, nullptr);
  HWND client = frame ? FindWindowExA(frame, nullptr, "MDICLIENT", nullptr) : nullptr;
  return client ? FindWindowExA(client, nullptr, "DocumentClass", nullptr) : nullptr;
}

// A drawing built from a CONTENTS stream the test made, loaded and run, saved into a file and
// loaded back from it: the picture comes from the cache and "CONTENTS" holds the same objects.
void CheckLoadAndSave(const std::vector<uint8_t>& bytes, const std::string& folder) {
  IStorage* storage = DrawingStorage(bytes);
  IOleObject* object = nullptr;
  HRESULT hr = storage ? OleLoad(storage, IID_IOleObject, &gSite, reinterpret_cast<void**>(&object)) : E_FAIL;
  Check(SUCCEEDED(hr), "OleLoad of a storage holding the fixture's objects");
  if (FAILED(hr)) {
    if (storage) storage->Release();
    return;
  }
  Check(SUCCEEDED(OleRun(object)), "the server runs and loads CONTENTS");
  IOleCache* cache = nullptr;
  DWORD connection = 0;
  FORMATETC format = PictureFormat();
  if (SUCCEEDED(object->QueryInterface(IID_IOleCache, reinterpret_cast<void**>(&cache)))) {
    cache->Cache(&format, ADVF_PRIMEFIRST, &connection);
    cache->Release();
  }
  SIZEL picture = {}, extent = {};
  Check(GetPicture(object, &picture), "the running object gives a metafile picture");
  Check(SUCCEEDED(object->GetExtent(DVASPECT_CONTENT, &extent)) && SameSize(picture, extent),
        "GetExtent is the picture's size");

  const std::string file = Join(folder, "embedded.stg");
  std::wstring wide(file.begin(), file.end());
  IStorage* saved = nullptr;
  hr = StgCreateDocfile(wide.c_str(), STGM_CREATE | STGM_READWRITE | STGM_SHARE_EXCLUSIVE, 0, &saved);
  Check(SUCCEEDED(hr) && SaveObject(object, saved), "OleSave into a compound file");
  if (saved) saved->Release();
  CloseObject(object);
  storage->Release();

  saved = nullptr;
  hr = StgOpenStorage(wide.c_str(), nullptr, STGM_READWRITE | STGM_SHARE_EXCLUSIVE, nullptr, 0, &saved);
  Check(SUCCEEDED(hr), "the compound file opens again");
  if (FAILED(hr)) return;
  std::vector<uint8_t> contents;
  Check(ReadContents(saved, &contents) && WriteRecordsAsDrawing(contents, Join(folder, "loaded.drx")),
        "the saved CONTENTS holds a count and readable object records");
  object = nullptr;
  hr = OleLoad(saved, IID_IOleObject, &gSite, reinterpret_cast<void**>(&object));
  Check(SUCCEEDED(hr), "OleLoad from the compound file");
  if (SUCCEEDED(hr)) {
    SIZEL cached = {};
    Check(!OleIsRunning(object) && GetPicture(object, &cached) && SameSize(cached, picture),
          "the reloaded object's cached picture is the saved one");
    CloseObject(object);
  }
  saved->Release();
}

// A new object made as a container makes one (OleCreate with an explicit picture format), given
// host names longer than the server keeps, saved into the storage it holds open.
SIZEL CheckCreate(const std::string& folder) {
  SIZEL empty = {};
  IStorage* storage = MemoryStorage();
  IOleObject* object = nullptr;
  FORMATETC format = PictureFormat();
  HRESULT hr = storage ? OleCreate(kDrawingClass, IID_IOleObject, OLERENDER_FORMAT, &format, &gSite, storage,
                                   reinterpret_cast<void**>(&object))
                       : E_FAIL;
  Check(SUCCEEDED(hr), "OleCreate of a new drawing");
  if (FAILED(hr)) {
    if (storage) storage->Release();
    return empty;
  }
  OleRun(object);
  Check(SUCCEEDED(object->GetExtent(DVASPECT_CONTENT, &empty)) && empty.cx > 0 && empty.cy > 0,
        "an empty drawing has a positive extent");
  const std::wstring longName(300, L'n');
  Check(SUCCEEDED(object->SetHostNames(L"olecontainer", longName.c_str())), "SetHostNames with a long name");
  char title[256] = "";
  GetWindowTextA(FindDrawingWindow(), title, sizeof title);
  Check(std::strncmp(title, kTitlePrefix, sizeof kTitlePrefix - 1) == 0 &&
            std::strlen(title) == sizeof kTitlePrefix - 1 + kHostNameBytes - 1,
        "the drawing's title names the object, cut to the kept length");
  IPersistStorage* persist = nullptr;
  hr = object->QueryInterface(IID_IPersistStorage, reinterpret_cast<void**>(&persist));
  if (SUCCEEDED(hr)) {
    hr = OleSave(persist, storage, TRUE);
    if (SUCCEEDED(hr)) hr = persist->SaveCompleted(nullptr);
    // The server lets go of the stream, so that this program can read it.
    if (SUCCEEDED(hr)) hr = persist->HandsOffStorage();
    persist->Release();
  }
  std::vector<uint8_t> contents;
  Check(SUCCEEDED(hr) && ReadContents(storage, &contents) && contents.size() >= 4 &&
            WriteRecordsAsDrawing(contents, Join(folder, "empty.drx")),
        "OleSave into the object's own storage, whose stream it holds open");
  CloseObject(object);
  storage->Release();
  return empty;
}

// The server's object reached directly (this OLE carries no SetData between processes, so the
// drawing comes in through Load): the picture, the extent and the object descriptor agree, and
// saving into the storage whose stream the object holds open works.
void CheckDirect(const std::vector<uint8_t>& bytes, const std::string& folder, const SIZEL& emptyExtent) {
  IOleObject* object = nullptr;
  HRESULT hr = CoCreateInstance(kDrawingClass, nullptr, CLSCTX_LOCAL_SERVER, IID_IOleObject,
                                reinterpret_cast<void**>(&object));
  Check(SUCCEEDED(hr), "the server's object made directly");
  if (FAILED(hr)) return;
  IPersistStorage* persist = nullptr;
  IDataObject* data = nullptr;
  IStorage* storage = DrawingStorage(bytes);
  object->QueryInterface(IID_IPersistStorage, reinterpret_cast<void**>(&persist));
  object->QueryInterface(IID_IDataObject, reinterpret_cast<void**>(&data));
  if (!persist || !data || !storage) {
    Check(false, "the object's storage and data interfaces");
  } else {
    Check(SUCCEEDED(persist->Load(storage)), "Load");
    Check(persist->Load(storage) == E_UNEXPECTED && persist->InitNew(storage) == E_UNEXPECTED,
          "a second Load or InitNew is refused");
    FORMATETC bitmap = {CF_BITMAP, nullptr, DVASPECT_CONTENT, -1, TYMED_GDI};
    Check(data->QueryGetData(&bitmap) != S_OK, "no bitmap is offered, none being made");
    SIZEL picture = {}, extent = {};
    Check(GetPicture(object, &picture) && SUCCEEDED(object->GetExtent(DVASPECT_CONTENT, &extent)) &&
              SameSize(picture, extent) && !SameSize(extent, emptyExtent),
          "the picture and the extent follow the drawing");
    FORMATETC descriptor = {static_cast<CLIPFORMAT>(RegisterClipboardFormatA("Object Descriptor")), nullptr,
                            DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    STGMEDIUM medium = {};
    bool sameSize = false;
    if (SUCCEEDED(data->GetData(&descriptor, &medium))) {
      if (const OBJECTDESCRIPTOR* od = static_cast<const OBJECTDESCRIPTOR*>(GlobalLock(medium.hGlobal))) {
        sameSize = IsEqualCLSID(od->clsid, kDrawingClass) && SameSize(od->sizel, extent);
        GlobalUnlock(medium.hGlobal);
      }
      ReleaseStgMedium(&medium);
    }
    Check(sameSize, "the object descriptor tells the same size");
    hr = persist->Save(storage, TRUE);
    Check(SUCCEEDED(hr) && persist->Save(storage, TRUE) == E_UNEXPECTED,
          "Save, and a second one before SaveCompleted refused");
    Check(SUCCEEDED(persist->SaveCompleted(nullptr)) && SUCCEEDED(persist->HandsOffStorage()),
          "SaveCompleted and HandsOffStorage");
    std::vector<uint8_t> contents;
    Check(ReadContents(storage, &contents) && WriteRecordsAsDrawing(contents, Join(folder, "direct.drx")),
          "the saved CONTENTS holds the loaded objects");
  }
  if (data) data->Release();
  if (persist) persist->Release();
  if (storage) storage->Release();
  object->Release();
}

// Damaged "CONTENTS" streams are refused by the server, which does not crash: a later good
// object still works.
void CheckDamaged(const std::vector<uint8_t>& bytes) {
  struct Damage {
    const char* what;
    std::vector<uint8_t> stream;
  };
  std::vector<uint8_t> huge = {0xF0, 0xFF, 0xFF, 0xFF, 1, 2, 3, 4, 5, 6, 7, 8};
  std::vector<uint8_t> shortRead = {100, 0, 0, 0, 1, 2, 3};
  std::vector<uint8_t> noCount = {1, 0};
  std::vector<uint8_t> garbage = bytes;
  for (size_t i = 4; i < garbage.size(); ++i) garbage[i] = static_cast<uint8_t>(0xA5 ^ i);
  const Damage damages[] = {{"a count past the stream's end", huge},
                            {"a count larger than the bytes that follow", shortRead},
                            {"a stream shorter than its count", noCount},
                            {"records that are not object records", garbage}};
  for (const Damage& damage : damages) {
    IStorage* storage = DrawingStorage(damage.stream);
    IOleObject* object = nullptr;
    HRESULT hr =
        storage ? OleLoad(storage, IID_IOleObject, &gSite, reinterpret_cast<void**>(&object)) : E_FAIL;
    if (SUCCEEDED(hr)) {
      hr = OleRun(object);
      CloseObject(object);
    }
    std::string what = std::string("refused: ") + damage.what;
    Check(FAILED(hr), what.c_str());
    if (storage) storage->Release();
  }
}

// Draxel closed by its user while the container holds the object: the server asks the container
// to save it, and the saved data holds the drawing; the container's object is let go safely.
void CheckServerClosing(const std::vector<uint8_t>& bytes, const std::string& folder) {
  constexpr DWORD kWaitMilliseconds = 15000;
  IStorage* storage = DrawingStorage(bytes);
  IOleObject* object = nullptr;
  HRESULT hr = storage ? OleLoad(storage, IID_IOleObject, &gSite, reinterpret_cast<void**>(&object)) : E_FAIL;
  if (SUCCEEDED(hr)) hr = OleRun(object);
  Check(SUCCEEDED(hr), "a drawing loaded and running");
  if (FAILED(hr)) {
    if (object) object->Release();
    if (storage) storage->Release();
    return;
  }
  gSite.object = object;
  gSite.storage = storage;
  gSite.saves = gSite.savedOk = 0;
  HWND frame = FindWindowA(kFrameClass, nullptr);
  Check(frame && PostMessageA(frame, WM_CLOSE, 0, 0), "Draxel is asked to close");
  // The server lets go of the stream it holds as it ends, after it said it closed.
  std::vector<uint8_t> contents;
  const DWORD start = GetTickCount();
  while ((OleIsRunning(object) || !ReadContents(storage, &contents)) &&
         GetTickCount() - start < kWaitMilliseconds) {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    Sleep(50);
  }
  Check(gSite.savedOk == 1, "the closing server had the container save the object once");
  gSite.object = nullptr;
  gSite.storage = nullptr;
  object->Close(OLECLOSE_NOSAVE);
  object->SetClientSite(nullptr);
  object->Release();
  Check(WriteRecordsAsDrawing(contents, Join(folder, "closed.drx")),
        "the data saved on closing holds the drawing");
  storage->Release();
}

int RunEmbed(const char* fixture, const std::string& folder) {
  std::vector<uint8_t> records;
  if (!ReadFixtureRecords(fixture, &records)) {
    std::printf("FAIL: the fixture %s cannot be read\n", fixture);
    return 1;
  }
  const std::vector<uint8_t> bytes = CountAndRecords(records);
  CheckLoadAndSave(bytes, folder);
  const SIZEL emptyExtent = CheckCreate(folder);
  CheckDirect(bytes, folder, emptyExtent);
  CheckServerClosing(bytes, folder);
  CheckDamaged(bytes);
  CheckLoadAndSave(bytes, folder);  // the server still serves after the damaged streams
  return gFailures == 0 ? 0 : 1;
}

// ---- The drop target ----

class DropTarget : public ComObject<IDropTarget, IID_IDropTarget, ComLifetime::kProgram> {
 public:
  explicit DropTarget(std::string folder) : folder_(std::move(folder)) {}
  STDMETHODIMP DragEnter(IDataObject*, DWORD, POINTL, DWORD* effect) override {
    *effect = DROPEFFECT_COPY;
    return S_OK;
  }
  STDMETHODIMP DragOver(DWORD, POINTL, DWORD* effect) override {
    *effect = DROPEFFECT_COPY;
    return S_OK;
  }
  STDMETHODIMP DragLeave() override { return S_OK; }
  STDMETHODIMP Drop(IDataObject* data, DWORD, POINTL, DWORD* effect) override {
    *effect = DROPEFFECT_COPY;
    std::string report;
    std::vector<uint8_t> stuff;
    FORMATETC format = {static_cast<CLIPFORMAT>(RegisterClipboardFormatA("Stuff")), nullptr, DVASPECT_CONTENT,
                        -1, TYMED_HGLOBAL};
    STGMEDIUM medium = {};
    if (SUCCEEDED(data->GetData(&format, &medium))) {
      const uint8_t* at = static_cast<const uint8_t*>(GlobalLock(medium.hGlobal));
      if (at) stuff.assign(at, at + GlobalSize(medium.hGlobal));
      GlobalUnlock(medium.hGlobal);
      ReleaseStgMedium(&medium);
      report += "stuff " + std::to_string(stuff.size()) + "\n";
    }
    format.cfFormat = static_cast<CLIPFORMAT>(RegisterClipboardFormatA("Embed Source"));
    format.tymed = TYMED_ISTORAGE;
    medium = {};
    if (SUCCEEDED(data->GetData(&format, &medium))) {
      std::vector<uint8_t> contents;
      CLSID clsid = {};
      if (medium.tymed == TYMED_ISTORAGE && SUCCEEDED(ReadClassStg(medium.pstg, &clsid)) &&
          IsEqualCLSID(clsid, kDrawingClass) && ReadContents(medium.pstg, &contents))
        report += std::string("embed ") + (contents == stuff ? "same" : "different") + "\n";
      ReleaseStgMedium(&medium);
    }
    format.cfFormat = CF_METAFILEPICT;
    format.tymed = TYMED_MFPICT;
    medium = {};
    if (SUCCEEDED(data->GetData(&format, &medium))) {
      report += "picture\n";
      ReleaseStgMedium(&medium);
    }
    if (WriteRecordsAsDrawing(stuff, Join(folder_, "dropped.drx"))) report += "drawing\n";
    if (FILE* out = std::fopen(Join(folder_, "dropped.txt").c_str(), "w")) {
      std::fputs(report.c_str(), out);
      std::fclose(out);
    }
    PostQuitMessage(0);
    return S_OK;
  }

 private:
  std::string folder_;
};

LRESULT CALLBACK TargetProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_TIMER) PostQuitMessage(1);
  return DefWindowProcA(window, message, wParam, lParam);
}

int RunDropTarget(const std::string& folder) {
  constexpr UINT kGiveUpMilliseconds = 90000;
  WNDCLASSA wc = {};
  wc.lpfnWndProc = TargetProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  wc.lpszClassName = "DrxDropTarget";
  RegisterClassA(&wc);
  HWND window = CreateWindowA("DrxDropTarget", "Drop Target", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 600, 150, 300,
                              300, nullptr, nullptr, wc.hInstance, nullptr);
  if (!window) return 77;
  DropTarget target(folder);
  if (FAILED(RegisterDragDrop(window, &target))) return 1;
  SetTimer(window, 1, kGiveUpMilliseconds, nullptr);
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  RevokeDragDrop(window);
  DestroyWindow(window);
  return static_cast<int>(msg.wParam);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: olecontainer embed FIXTURE.drx FOLDER | droptarget FOLDER\n");
    return 2;
  }
  if (FAILED(OleInitialize(nullptr))) {
    std::printf("SKIPPED: OLE cannot be initialised\n");
    return 77;
  }
  int result = 2;
  if (std::strcmp(argv[1], "embed") == 0 && argc >= 4) result = RunEmbed(argv[2], argv[3]);
  if (std::strcmp(argv[1], "droptarget") == 0) result = RunDropTarget(argv[2]);
  OleUninitialize();
  return result;
}
