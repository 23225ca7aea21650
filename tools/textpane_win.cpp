// The text tool and the live edit control of the block being typed into.
#include "tools/textpane_win.h"

#include <cstring>
#include <memory>
#include <new>
#include <string>

#include "geometry/zoomhdlr.h"
#include "model/objhndlr.h"
#include "model/objstuff.h"
#include "render/macstuff.h"
#include "render/textdraw.h"
#include "tools/buildobj.h"
#include "tools/drxfont.h"
#include "tools/selhndlr.h"
#include "tools/textpane.h"
#include "tools/trakmous_win.h"

namespace {

// A click (or a drag smaller than this either way) opens a box of the default width.
constexpr int kMinDragSide = 20;
constexpr int kDefaultEditWidth = 200;
constexpr int kEditHeight = 25;
// Bounds are repainted this much larger when a block changes size.
constexpr int kResizeSlop = 5;

// The property under which a control keeps the font it owns.
const char kEditFontProp[] = "DrxEditFont";

// The EDIT class's own window procedure, which every control passes its messages on to.
WNDPROC gEditProc = nullptr;

HFONT DetachEditFont(HWND window) {
  return static_cast<HFONT>(RemovePropA(window, kEditFontProp));
}

// A control dies with its parent when the drawing window closes first: its font goes with it
// whichever way it ends.
LRESULT CALLBACK TextEditProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != WM_NCDESTROY) return CallWindowProcA(gEditProc, window, message, wParam, lParam);
  HFONT font = DetachEditFont(window);
  LRESULT result = CallWindowProcA(gEditProc, window, message, wParam, lParam);
  if (font) DeleteObject(font);
  return result;
}

HWND EditOf(void* editor) {
  return static_cast<HWND>(editor);
}

bool ReadEditText(void* editor, std::string* text) {
  HWND edit = EditOf(editor);
  if (!edit || !IsWindow(edit) || !text) return false;
  const int length = GetWindowTextLengthA(edit);
  text->assign(static_cast<size_t>(length > 0 ? length : 0) + 1, '\0');
  const int copied = GetWindowTextA(edit, &(*text)[0], length + 1);
  text->resize(static_cast<size_t>(copied > 0 ? copied : 0));
  return true;
}

void ShowEditText(void* editor, const char* text, size_t length) {
  HWND edit = EditOf(editor);
  if (!edit || !IsWindow(edit)) return;
  std::unique_ptr<char[]> copy(new (std::nothrow) char[length + 1]);
  if (!copy) return;
  if (length > 0) std::memcpy(copy.get(), text, length);
  copy[length] = '\0';
  SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(copy.get()));
}

// The control lays its lines out over its whole width, as the drawing paints them.
void ClearEditMargins(HWND edit) {
  SendMessageA(edit, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(0, 0));
}

void ShowEditFont(void* editor, const FontRecord* font) {
  HWND edit = EditOf(editor);
  if (!edit || !IsWindow(edit)) return;
  HFONT created = nullptr;
  if (font) {
    LOGFONTA logical;
    std::memcpy(&logical, font, sizeof logical);
    logical.lfFaceName[LF_FACESIZE - 1] = '\0';
    created = CreateFontIndirectA(&logical);
    if (!created) return;  // keep the font it shows rather than fall back to the system's
  }
  HFONT previous = DetachEditFont(edit);
  SendMessageA(edit, WM_SETFONT, reinterpret_cast<WPARAM>(created), TRUE);
  if (created && !SetPropA(edit, kEditFontProp, created)) {
    // Without the property the font could not be found again to delete: give it up now.
    SendMessageA(edit, WM_SETFONT, 0, TRUE);
    DeleteObject(created);
  }
  if (previous) DeleteObject(previous);
  ClearEditMargins(edit);
}

void DestroyEditor(void* editor) {
  HWND edit = EditOf(editor);
  if (edit && IsWindow(edit)) DestroyWindow(edit);
}

// The box of a block less its inset, in the client coordinates of `parent` (whose context
// holds the scroll origin), at the zoom.
RECT EditRectangle(const ObjectRec* text, HWND parent) {
  const int inset = static_cast<int>(kTextBoxInset);
  POINT corners[2] = {{static_cast<LONG>(ZoomF(text->bounds.left)) + inset,
                       static_cast<LONG>(ZoomF(text->bounds.top)) + inset},
                      {static_cast<LONG>(ZoomF(text->bounds.right)) - inset,
                       static_cast<LONG>(ZoomF(text->bounds.bottom)) - inset}};
  if (HDC dc = parent ? GetDC(parent) : nullptr) {
    LPtoDP(dc, corners, 2);
    ReleaseDC(parent, dc);
  }
  return RECT{corners[0].x, corners[0].y, corners[1].x, corners[1].y};
}

HWND MakeEditor(TextPane pane, int16_t alignment, const RECT& rect, HWND parent) {
  HWND edit = CreateGlobalEditWindow(TextEditStyleFor(alignment), rect.left, rect.top, rect.right - rect.left,
                                     rect.bottom - rect.top, parent);
  if (!edit) return nullptr;
  FontRecord font;
  const bool hasFont = GetTextPaneFont(pane, &font);
  if (hasFont) ShowEditFont(edit, &font);
  ClearEditMargins(edit);
  const std::string& text = TextPaneText(pane);
  ShowEditText(edit, text.data(), text.size());
  return edit;
}

DocState* State() {
  return gCurDocument ? gCurDocument->docState : nullptr;
}

// The topmost text block of the visible layers whose box holds the page point, or null.
ObjectRec* TextBlockAt(float x, float y) {
  if (!gCurDocument) return nullptr;
  ObjectRec* found = nullptr;
  for (LayerRec* layer = gCurDocument->firstLayer; layer; layer = layer->nextLayer) {
    if (!layer->visible) continue;
    for (ObjectRec* object = layer->firstObject; object; object = object->nextObject)
      if (object->kind == kTextBlockKind && object->info && x >= object->bounds.left &&
          x <= object->bounds.right && y >= object->bounds.top && y <= object->bounds.bottom)
        found = object;
  }
  return found;
}

// Typing starts in the control: it becomes the drawing's active text window and takes the focus.
void BeginTyping(HWND edit) {
  gCurDocument->activeTextWindow = edit;
  SetWindowPos(edit, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  SetFocus(edit);
}

// Opens the existing block under a click for typing, the caret at the click.
void OpenBlockAt(ObjectRec* text, POINT window) {
  HWND pane = TrackPane();
  HWND edit = OpenTextEditor(text, pane);
  if (!edit) {
    MessageBeep(0);
    return;
  }
  POINT client = window;
  if (HDC dc = GetDC(pane)) {
    LPtoDP(dc, &client, 1);
    ReleaseDC(pane, dc);
  }
  MapWindowPoints(pane, edit, &client, 1);
  const LRESULT at = SendMessageA(edit, EM_CHARFROMPOS, 0, MAKELPARAM(client.x, client.y));
  SendMessageA(edit, EM_SETSEL, LOWORD(at), LOWORD(at));
  BeginTyping(edit);
}

// A new block over the edit rectangle (window logical coordinates), typed into at once.
void OpenNewBlock(const IntRect& rect) {
  LayerRec* layer = gCurDocument->currentLayer;
  TextPane pane = layer ? CreateTextPane(PaneAlignmentOfCommand(gTextAlignment)) : nullptr;
  if (!pane) {
    MessageBeep(0);
    return;
  }
  SetTextPaneFont(pane, &gCurFontInfo);
  const FloatRect edit = {UnzoomF(static_cast<float>(rect.top)), UnzoomF(static_cast<float>(rect.left)),
                          UnzoomF(static_cast<float>(rect.bottom)), UnzoomF(static_cast<float>(rect.right))};
  ObjectRec* text = BuildTextBlock(&edit, pane, layer);
  if (!text) {
    DestroyTextPane(pane);
    MessageBeep(0);
    return;
  }
  HWND control = OpenTextEditor(text, TrackPane());
  if (!control) {
    // No control, no block: nothing is left behind.
    DeleteObj(text);
    MessageBeep(0);
    return;
  }
  InvalidatePageArea(text->bounds, kHandleHalfSize + 2);
  BeginTyping(control);
}

}  // namespace

DWORD TextEditStyleFor(int16_t alignment) {
  if (alignment == kAlignCentred) return kTextEditStyle | ES_CENTER;
  if (alignment == kAlignRight) return kTextEditStyle | ES_RIGHT;
  return kTextEditStyle;
}

HWND CreateGlobalEditWindow(DWORD style, int x, int y, int width, int height, HWND parent) {
  HWND edit = CreateWindowExA(0, "EDIT", "", style, x, y, width > 0 ? width : 0, height > 0 ? height : 0,
                              parent ? parent : HWND_MESSAGE, nullptr, GetModuleHandleA(nullptr), nullptr);
  if (!edit) return nullptr;
  WNDPROC editProc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(TextEditProc)));
  if (!editProc) {
    DestroyWindow(edit);
    return nullptr;
  }
  gEditProc = editProc;
  // Zero lifts the default limit of 32 KB, which would cut long texts.
  SendMessageA(edit, EM_SETLIMITTEXT, 0, 0);
  return edit;
}

HWND OpenTextEditor(ObjectRec* text, HWND parent) {
  TextPane pane = text && text->kind == kTextBlockKind ? TextPaneOf(text) : nullptr;
  if (!pane) return nullptr;
  if (HWND live = static_cast<HWND>(GetTextPaneEditor(pane))) return live;
  InstallTextEditorHooks();
  HWND edit = MakeEditor(pane, GetTextPaneAlignment(pane), EditRectangle(text, parent), parent);
  if (edit) AttachTextPaneEditor(pane, edit);
  return edit;
}

void CloseTextEditor(ObjectRec* text) {
  TextPane pane = text && text->kind == kTextBlockKind ? TextPaneOf(text) : nullptr;
  HWND edit = pane ? static_cast<HWND>(GetTextPaneEditor(pane)) : nullptr;
  if (!edit) return;
  GetTextPaneTextLength(pane);  // reads the control's text back
  AttachTextPaneEditor(pane, nullptr);
  if (gCurDocument && gCurDocument->activeTextWindow == edit) gCurDocument->activeTextWindow = nullptr;
  DestroyEditor(edit);
  InvalidatePageRect(&text->bounds, 1);
}

void InstallTextEditorHooks() {
  gTextPaneEditorHooks.readText = ReadEditText;
  gTextPaneEditorHooks.showText = ShowEditText;
  gTextPaneEditorHooks.showFont = ShowEditFont;
  gTextPaneEditorHooks.destroyEditor = DestroyEditor;
  gTextBlockHooks.adjustSize = AdjustTextObjectSize;
  gTextBlockHooks.realignEditor = [](ObjectRec* text, int16_t previous) {
    ChangeAlignment(static_cast<HWND>(GetTextPaneEditor(TextPaneOf(text))), previous, text);
  };
}

void TrackText(float x, float y, int16_t stage) {
  if (stage != kStagePress || !gCurDocument || !State()) {
    if (stage == kStageRelease) ReleaseMouseCapture();
    return;
  }
  const POINT press = ZoomedPoint(x, y);
  IntRect frame;
  const bool dragged = TrackFrame(x, y, &frame);
  ReleaseMouseCapture();
  if (!dragged) return;
  DeactivateTEPane();
  const bool click = frame.right - frame.left < kMinDragSide || frame.bottom - frame.top < kMinDragSide;
  if (click) {
    if (ObjectRec* existing = TextBlockAt(x, y)) {
      OpenBlockAt(existing, press);
      return;
    }
    frame = {press.x, press.y, press.x + kDefaultEditWidth, press.y};
  }
  frame.bottom = frame.top + kEditHeight;
  OpenNewBlock(frame);
}

void AdjustTextObjectSize(ObjectRec* text) {
  TextPane pane = text && text->kind == kTextBlockKind ? TextPaneOf(text) : nullptr;
  if (!pane) return;
  HWND edit = static_cast<HWND>(GetTextPaneEditor(pane));
  const int width = TextBlockBoxWidth(text);
  int lines = 0, lineHeight = 0;
  if (edit) {
    HDC dc = GetDC(edit);
    if (!dc) return;
    HFONT font = reinterpret_cast<HFONT>(SendMessageA(edit, WM_GETFONT, 0, 0));
    HGDIOBJ old = SelectObject(dc, font ? static_cast<HGDIOBJ>(font) : GetStockObject(SYSTEM_FONT));
    TEXTMETRICA metrics;
    GetTextMetricsA(dc, &metrics);
    lineHeight = metrics.tmHeight;
    SelectObject(dc, old);
    ReleaseDC(edit, dc);
    RECT format;
    SendMessageA(edit, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&format));
    lines = static_cast<int>(SendMessageA(edit, EM_GETLINECOUNT, 0, 0));
    if (format.top + lines * lineHeight != format.bottom || format.right - format.left != width) {
      // Set twice: the first setting may wrap the lines differently.
      RECT wanted = {0, 0, width, lines * lineHeight};
      SendMessageA(edit, EM_SETRECTNP, 0, reinterpret_cast<LPARAM>(&wanted));
      lines = static_cast<int>(SendMessageA(edit, EM_GETLINECOUNT, 0, 0));
      wanted.bottom = lines * lineHeight;
      SendMessageA(edit, EM_SETRECTNP, 0, reinterpret_cast<LPARAM>(&wanted));
    }
  } else {
    const TextLineCache* layout = LayOutTextBlock(text);
    if (!layout) return;
    lines = static_cast<int>(layout->lines.size());
    lineHeight = layout->lineHeight;
  }
  InvalidatePageRect(&text->bounds, kResizeSlop);
  const IntRect textRect = {0, 0, width, lines * lineHeight};
  SizeTextPane(text, &textRect);
  InvalidatePageRect(&text->bounds, kResizeSlop);
  if (edit) {
    const RECT box = EditRectangle(text, GetParent(edit));
    MoveWindow(edit, box.left, box.top, box.right - box.left, box.bottom - box.top, TRUE);
    // The control may have scrolled while it was too short: its first line goes back on top.
    SendMessageA(edit, EM_LINESCROLL, 0, -SendMessageA(edit, EM_GETFIRSTVISIBLELINE, 0, 0));
  }
}

HWND ChangeAlignment(HWND edit, int16_t previousAlignment, ObjectRec* text) {
  TextPane pane = text && text->kind == kTextBlockKind ? TextPaneOf(text) : nullptr;
  if (!pane || !edit) return edit;
  RECT rect;
  GetWindowRect(edit, &rect);
  HWND parent = GetParent(edit);
  MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&rect), 2);
  DWORD start = 0, end = 0;
  SendMessageA(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  GetTextPaneTextLength(pane);  // the pane holds the control's text from here
  HWND replacement = MakeEditor(pane, GetTextPaneAlignment(pane), rect, parent);
  if (!replacement) {
    // The old control keeps serving the block, and the pane its old alignment.
    SetTextPaneAlignment(pane, previousAlignment);
    return edit;
  }
  AttachTextPaneEditor(pane, replacement);
  SendMessageA(replacement, EM_SETSEL, start, end);
  const bool active = gCurDocument && gCurDocument->activeTextWindow == edit;
  if (active) gCurDocument->activeTextWindow = replacement;
  DestroyEditor(edit);
  if (active) SetFocus(replacement);
  return replacement;
}

void DeactivateTEPane() {
  DocumentRec* document = gCurDocument;
  if (!document || !document->activeTextWindow) return;
  HWND edit = static_cast<HWND>(document->activeTextWindow);
  // The drawing stops naming the control before anything is deleted, so that deleting the
  // block being ended cannot come back here.
  document->activeTextWindow = nullptr;
  ObjectRec* text = MatchTextPaneAllLayers(document->firstLayer, edit, false);
  if (text)
    CloseTextEditor(text);
  else
    DestroyEditor(edit);
  if (text) DeleteEmptyTextBlock(text);
  TopLevelObjectAllLayers(document->firstLayer, kOpEndTextEdit, nullptr);
  if (gCurWindow) SetFocus(static_cast<HWND>(gCurWindow));
}

bool OnTextEditorCommand(WPARAM wParam, LPARAM lParam) {
  HWND edit = reinterpret_cast<HWND>(lParam);
  if (!edit || HIWORD(wParam) != EN_UPDATE) return false;
  if (ObjectRec* text = MatchTextPaneToObject(edit, false)) AdjustTextObjectSize(text);
  return true;
}
