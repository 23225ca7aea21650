// The window-system objects of the core on Windows: text panes are EDIT controls, pictures are
// metafile handles and fonts are GDI logical fonts.
#include <windows.h>

#include <cstddef>
#include <cstring>
#include <memory>
#include <new>

#include "model/seam.h"

static_assert(sizeof(FontRecord) == sizeof(LOGFONTA), "FontRecord must match LOGFONTA");
static_assert(offsetof(FontRecord, weight) == offsetof(LOGFONTA, lfWeight), "LOGFONTA layout");
static_assert(offsetof(FontRecord, italic) == offsetof(LOGFONTA, lfItalic), "LOGFONTA layout");
static_assert(offsetof(FontRecord, pitchAndFamily) == offsetof(LOGFONTA, lfPitchAndFamily),
              "LOGFONTA layout");
static_assert(offsetof(FontRecord, faceName) == offsetof(LOGFONTA, lfFaceName), "LOGFONTA layout");

// The window new panes are created in; null parks them under the message-only parent, the one
// parent an EDIT control accepts when there is no display.
static HWND gTextPaneParent = nullptr;

// The property under which a pane keeps the font it owns.
static const char kPaneFontProp[] = "DrxPaneFont";

// A text pane: child, visible, clipped, multi-line, scrolling down as text is typed, Return
// breaks lines (0x56001044); alignment adds ES_CENTER or ES_RIGHT.
static const DWORD kTextPaneStyle =
    WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN;
static const DWORD kAlignMask = ES_CENTER | ES_RIGHT;

static HWND PaneWindow(TextPane pane) {
  return reinterpret_cast<HWND>(pane);
}

void SetTextPaneParent(void* window) {
  gTextPaneParent = static_cast<HWND>(window);
}

// Takes the pane's owned font away from it; the caller deletes or replaces it.
static HFONT DetachPaneFont(HWND window) {
  return static_cast<HFONT>(RemovePropA(window, kPaneFontProp));
}

// The EDIT class's own window procedure, which every pane passes its messages on to.
static WNDPROC gEditProc = nullptr;

// A pane dies with its parent when the drawing window closes before the objects are freed: the
// font it owns goes with it then, whichever way the window ends.
static LRESULT CALLBACK TextPaneProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != WM_NCDESTROY) return CallWindowProcA(gEditProc, window, message, wParam, lParam);
  HFONT font = DetachPaneFont(window);
  LRESULT result = CallWindowProcA(gEditProc, window, message, wParam, lParam);
  if (font) DeleteObject(font);
  return result;
}

TextPane CreateTextPane(int16_t alignment, int left, int top, int right, int bottom) {
  DWORD style = kTextPaneStyle;
  if (alignment == kAlignCentred)
    style |= ES_CENTER;
  else if (alignment == kAlignRight)
    style |= ES_RIGHT;
  int width = right > left ? right - left : 0;
  int height = bottom > top ? bottom - top : 0;
  HWND parent = gTextPaneParent ? gTextPaneParent : HWND_MESSAGE;
  HWND window = CreateWindowExA(0, "EDIT", "", style, left, top, width, height, parent, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
  if (!window) return nullptr;
  WNDPROC editProc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(TextPaneProc)));
  if (!editProc) {
    DestroyWindow(window);
    return nullptr;
  }
  gEditProc = editProc;
  // Zero lifts the default limit of 32 KB, which would cut long texts read from files.
  SendMessageA(window, EM_SETLIMITTEXT, 0, 0);
  return reinterpret_cast<TextPane>(window);
}

void DestroyTextPane(TextPane pane) {
  HWND window = PaneWindow(pane);
  // Gone already when its parent was destroyed first; its font went with it.
  if (!window || !IsWindow(window)) return;
  DestroyWindow(window);
}

bool SetTextPaneText(TextPane pane, const char* text, size_t length) {
  HWND window = PaneWindow(pane);
  if (!window || (!text && length > 0)) return false;
  std::unique_ptr<char[]> copy(new (std::nothrow) char[length + 1]);
  if (!copy) return false;
  if (length > 0) std::memcpy(copy.get(), text, length);
  copy[length] = '\0';
  return SendMessageA(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(copy.get())) != FALSE;
}

size_t GetTextPaneTextLength(TextPane pane) {
  HWND window = PaneWindow(pane);
  if (!window) return 0;
  LRESULT length = SendMessageA(window, WM_GETTEXTLENGTH, 0, 0);
  return length > 0 ? static_cast<size_t>(length) : 0;
}

size_t GetTextPaneText(TextPane pane, char* buffer, size_t capacity) {
  HWND window = PaneWindow(pane);
  if (!buffer || capacity == 0) return 0;
  buffer[0] = '\0';
  if (!window) return 0;
  LRESULT copied = SendMessageA(window, WM_GETTEXT, capacity, reinterpret_cast<LPARAM>(buffer));
  if (copied < 0) copied = 0;
  if (static_cast<size_t>(copied) >= capacity) copied = static_cast<LRESULT>(capacity - 1);
  buffer[copied] = '\0';
  return static_cast<size_t>(copied);
}

int16_t GetTextPaneAlignment(TextPane pane) {
  HWND window = PaneWindow(pane);
  if (!window) return kAlignLeft;
  DWORD align = static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE)) & kAlignMask;
  if (align == ES_CENTER) return kAlignCentred;
  if (align == ES_RIGHT) return kAlignRight;
  return kAlignLeft;
}

void SetTextPaneFont(TextPane pane, const FontRecord* font) {
  HWND window = PaneWindow(pane);
  if (!window) return;
  HFONT created = nullptr;
  if (font) {
    LOGFONTA logical;
    std::memcpy(&logical, font, sizeof logical);
    logical.lfFaceName[LF_FACESIZE - 1] = '\0';
    created = CreateFontIndirectA(&logical);
    // Keep the old font rather than fall back to the system font when GDI refuses.
    if (!created) return;
  }
  HFONT previous = DetachPaneFont(window);
  SendMessageA(window, WM_SETFONT, reinterpret_cast<WPARAM>(created), TRUE);
  if (created && !SetPropA(window, kPaneFontProp, created)) {
    // Without the property the font could not be found again to delete: give it up now.
    SendMessageA(window, WM_SETFONT, 0, TRUE);
    DeleteObject(created);
  }
  if (previous) DeleteObject(previous);
}

bool GetTextPaneFont(TextPane pane, FontRecord* font) {
  HWND window = PaneWindow(pane);
  if (!window || !font) return false;
  HFONT current = reinterpret_cast<HFONT>(SendMessageA(window, WM_GETFONT, 0, 0));
  if (!current) return false;
  // GetObjectA writes the face name only up to its NUL: zero the rest so that no stray bytes
  // reach the files the record is saved in.
  LOGFONTA logical = {};
  if (GetObjectA(current, sizeof logical, &logical) != static_cast<int>(sizeof logical)) return false;
  std::memcpy(font, &logical, sizeof logical);
  return true;
}

void SetTextPanePassive(TextPane pane) {
  HWND window = PaneWindow(pane);
  if (!window) return;
  EnableWindow(window, FALSE);
  SendMessageA(window, WM_SETREDRAW, FALSE, 0);
}

// A standard metafile in memory: an 18-byte header whose size field counts 16-bit words, then
// records of at least three words (a 32-bit size in words and the function number), the last
// one the end record (function 0).
static const uint32_t kMetaHeaderBytes = 18;
static const uint16_t kMetaHeaderWords = 9;
static const uint32_t kMetaRecordMinWords = 3;
static const uint16_t kMetaEndFunction = 0;

static uint16_t ReadLittle16(const uint8_t* at) {
  return static_cast<uint16_t>(at[0] | at[1] << 8);
}
static uint32_t ReadLittle32(const uint8_t* at) {
  return static_cast<uint32_t>(ReadLittle16(at)) | static_cast<uint32_t>(ReadLittle16(at + 2)) << 16;
}

// True when every record lies inside the bits and the chain reaches the end record: the GDI
// walks records by their size fields alone and would step past the block on a bad one.
static bool MetafileRecordsFit(const uint8_t* bits, uint32_t length) {
  if (length < kMetaHeaderBytes || length % 2 != 0) return false;
  if (ReadLittle16(bits + 2) != kMetaHeaderWords) return false;
  uint32_t offset = kMetaHeaderBytes;
  while (length - offset >= kMetaRecordMinWords * 2) {
    uint32_t words = ReadLittle32(bits + offset);
    uint16_t function = ReadLittle16(bits + offset + 4);
    if (words < kMetaRecordMinWords || words > (length - offset) / 2) return false;
    if (function == kMetaEndFunction) return true;
    offset += words * 2;
  }
  return false;
}

MetaPict CreateMetaPictFromBits(const uint8_t* bits, uint32_t length) {
  if (!bits || !MetafileRecordsFit(bits, length)) return nullptr;
  return reinterpret_cast<MetaPict>(SetMetaFileBitsEx(length, bits));
}

uint32_t GetMetaPictBits(MetaPict picture, uint8_t* buffer, uint32_t capacity) {
  HMETAFILE metafile = reinterpret_cast<HMETAFILE>(picture);
  if (!metafile) return 0;
  UINT size = GetMetaFileBitsEx(metafile, 0, nullptr);
  if (buffer && size > 0 && capacity >= size) {
    if (GetMetaFileBitsEx(metafile, size, buffer) != size) return 0;
  }
  return size;
}

MetaPict CopyMetaPict(MetaPict picture) {
  HMETAFILE metafile = reinterpret_cast<HMETAFILE>(picture);
  if (!metafile) return nullptr;
  return reinterpret_cast<MetaPict>(CopyMetaFileA(metafile, nullptr));
}

void DeleteMetaPict(MetaPict picture) {
  if (picture) DeleteMetaFile(reinterpret_cast<HMETAFILE>(picture));
}

void* AllocatePoolChunk(size_t bytes) {
  if (bytes == 0) return nullptr;
  return VirtualAlloc(nullptr, bytes, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
}
