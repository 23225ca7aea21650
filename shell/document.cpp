// The drawing window: one per open drawing, a multiple-document child holding the drawing pane,
// the toolbar strip, rulers, scroll bars and misc pane, and the drawing's record.
#include <windows.h>

#include <cstdio>
#include <cstdlib>

#include "geometry/zoomhdlr.h"
#include "model/docstate.h"
#include "model/seam.h"
#include "ole/oleserver.h"
#include "resources/strings.h"
#include "shell/caption.h"
#include "shell/cmdids.h"
#include "shell/layout.h"
#include "shell/panes.h"
#include "shell/shell.h"

namespace {

constexpr int kWindowLeftMargin = 40, kWindowTop = 3, kWindowWidthMargin = 80, kWindowHeightMargin = 43;
// System-menu items renamed in each drawing window.
constexpr int kSysMenuCloseItem = 6;
constexpr int kSysMenuNextItem = 8;
constexpr int kCaptionSize = 300;

HMENU ChildId(int id) {
  return reinterpret_cast<HMENU>(static_cast<INT_PTR>(id));
}

HWND CreateChild(HWND parent, const char* className, DWORD style, const ChildRect& r, int id) {
  return CreateWindowA(className, nullptr, WS_CHILD | style, r.x, r.y, r.width, r.height, parent, ChildId(id),
                       gAppInstance, nullptr);
}

DrawingMetrics MetricsOf(HWND drawingWindow) {
  RECT client;
  GetClientRect(drawingWindow, &client);
  return {client.right, client.bottom, GetSystemMetrics(SM_CXVSCROLL), GetSystemMetrics(SM_CYHSCROLL)};
}

void Place(HWND window, const ChildRect& r) {
  if (window) MoveWindow(window, r.x, r.y, r.width, r.height, TRUE);
}

HWND AsWindow(WindowHandle handle) {
  return static_cast<HWND>(handle);
}

// The child windows in creation order, then the record that ties them to the drawing.
LRESULT OnDocumentCreate(HWND window) {
  const DrawingLayout l = ComputeCreationLayout(MetricsOf(window));
  HWND pane = CreateChild(window, "MainClass", WS_VISIBLE | WS_BORDER, l.mainPane, kMainPaneId);
  HWND toolbar = CreateChild(window, "ToolbarClass", WS_VISIBLE | WS_BORDER, l.toolbar, kToolbarId);
  HWND hRuler = CreateChild(window, "HorizontalRulerClass", WS_BORDER, l.hRuler, kHRulerId);
  HWND vRuler = CreateChild(window, "VerticalRulerClass", WS_BORDER, l.vRuler, kVRulerId);
  HWND unit = CreateChild(window, "RulerUnitClass", WS_BORDER, l.rulerUnit, kRulerUnitId);
  HWND hBar = CreateChild(window, "SCROLLBAR", WS_VISIBLE | SBS_HORZ, l.hScroll, kHScrollId);
  HWND vBar = CreateChild(window, "SCROLLBAR", WS_VISIBLE | SBS_VERT, l.vScroll, kVScrollId);
  HWND sizeBox = CreateChild(window, "SCROLLBAR", WS_VISIBLE | SBS_SIZEBOX, l.sizeBox, kSizeBoxId);
  HWND misc = CreateChild(window, "MiscClass", WS_VISIBLE | WS_BORDER, l.miscPane, kMiscPaneId);
  if (misc) SetWindowLongPtrA(misc, 0, 1);
  if (!pane) return -1;

  DocumentRec* document = CreateDocument();  // becomes gCurDocument
  SetWindowLongPtrA(window, 0, reinterpret_cast<LONG_PTR>(pane));
  if (!document) {
    MessageBeep(MB_OK);
    return 0;  // the window shows its children but no drawing
  }
  document->toolbarWindow = toolbar;
  document->horizontalRuler = hRuler;
  document->verticalRuler = vRuler;
  document->rulerUnitWindow = unit;
  document->miscWindow = misc;
  document->hScrollBar = hBar;
  document->vScrollBar = vBar;
  document->sizeBox = sizeBox;
  SetWindowLongPtrA(pane, 0, reinterpret_cast<LONG_PTR>(document));
  gCurWindow = pane;
  ApplyToolCursor();
  UpdateLayerMenu();
  UpdateScrollRanges(hBar, vBar);
  LayoutDrawingWindow(window);
  return 0;
}

LRESULT OnDocumentSize(HWND window) {
  LayoutDrawingWindow(window);
  return 0;
}

LRESULT OnDocumentActivate(HWND window, HWND activated) {
  if (activated != window) return 0;
  HWND pane = DrawingPaneOf(window);
  DocumentRec* document = DocumentOfPane(pane);
  gCurWindow = pane;
  gCurDocument = document;
  if (pane) SetFocus(pane);
  if (document && document->docState && document->docState->showToolbar && document->toolbarWindow)
    InvalidateRect(AsWindow(document->toolbarWindow), nullptr, TRUE);
  if (pane) InvalidateRect(pane, nullptr, TRUE);
  UpdateLayerMenu();
  return 0;
}

LRESULT OnDocumentScroll(HWND window, bool vertical, WPARAM wParam) {
  HWND pane = DrawingPaneOf(window);
  DocumentRec* document = DocumentOfPane(pane);
  if (!document) return 0;
  CurrentDrawingScope scope(pane, document);
  DocumentScroll(document, pane, vertical, LOWORD(wParam), static_cast<int16_t>(HIWORD(wParam)));
  return 0;
}

LRESULT OnDocumentClose(HWND window, UINT message) {
  if (!QueryCloseDrawing(window)) return 0;
  if (message == WM_QUERYENDSESSION) return TRUE;
  SendMessageA(gClientWindow, WM_MDIDESTROY, reinterpret_cast<WPARAM>(window), 0);
  return 0;
}

LRESULT OnDocumentSysCommand(HWND window, WPARAM wParam, LPARAM lParam) {
  if ((wParam & 0xFFF0) == SC_CLOSE) {
    SendFrameCommand(CMD_CLOSE);
    return 0;
  }
  return DefMDIChildProcA(window, WM_SYSCOMMAND, wParam, lParam);
}

}  // namespace

LRESULT CALLBACK DocumentPane(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      return OnDocumentCreate(window);
    case WM_SIZE:
      OnDocumentSize(window);
      break;  // the client also needs the size for maximizing
    case WM_HSCROLL:
      return OnDocumentScroll(window, false, wParam);
    case WM_VSCROLL:
      return OnDocumentScroll(window, true, wParam);
    case WM_MDIACTIVATE:
      OnDocumentActivate(window, reinterpret_cast<HWND>(lParam));
      break;
    case WM_SETFOCUS:
      if (DrawingPaneOf(window)) SetFocus(DrawingPaneOf(window));
      return 0;
    case WM_CLOSE:
    case WM_QUERYENDSESSION:
      return OnDocumentClose(window, message);
    case WM_DESTROY:
      CloseDocument(window);
      return 0;
    case WM_LBUTTONDOWN:
      StartDragNDrop(window);
      return 0;
    case WM_KEYDOWN:
      HandleKeyDown(wParam, lParam);
      break;
    case WM_SYSCOMMAND:
      return OnDocumentSysCommand(window, wParam, lParam);
  }
  return DefMDIChildProcA(window, message, wParam, lParam);
}

HWND CreateDrawingWindow() {
  if (!gClientWindow) return nullptr;
  RECT client;
  GetClientRect(gFrameWindow, &client);
  char untitled[64];
  LoadStr(STR_UNTITLED, untitled, sizeof untitled);
  MDICREATESTRUCTA mcs = {};
  mcs.szClass = "DocumentClass";
  mcs.szTitle = untitled;
  mcs.hOwner = gAppInstance;
  mcs.x = client.left + kWindowLeftMargin;
  mcs.y = kWindowTop;
  mcs.cx = client.right - kWindowWidthMargin;
  mcs.cy = client.bottom - kWindowHeightMargin;
  mcs.style = WS_VISIBLE | WS_MAXIMIZE | WS_OVERLAPPEDWINDOW;
  HWND window =
      reinterpret_cast<HWND>(SendMessageA(gClientWindow, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&mcs)));
  if (!window) return nullptr;

  DocumentRec* document = DocumentOfPane(DrawingPaneOf(window));
  if (document) {
    std::free(document->fileName);
    document->fileName = nullptr;
  }
  char caption[kCaptionSize];
  std::snprintf(caption, sizeof caption, "%s%ld", untitled, static_cast<long>(gDocumentNumber));
  ++gDocumentNumber;
  SetDrawingCaption(window, caption);

  HMENU system = GetSystemMenu(window, FALSE);
  if (system) {
    char text[32];
    ModifyMenuA(system, kSysMenuCloseItem, MF_BYPOSITION | MF_STRING,
                GetMenuItemID(system, kSysMenuCloseItem), LoadStr(STR_SYSMENU_CLOSE, text, sizeof text));
    ModifyMenuA(system, kSysMenuNextItem, MF_BYPOSITION | MF_STRING, GetMenuItemID(system, kSysMenuNextItem),
                LoadStr(STR_SYSMENU_NEXT, text, sizeof text));
  }
  if (gRulersActive) SendFrameCommand(CMD_RULERS);
  return window;
}

HWND ActiveDrawingWindow() {
  if (!gClientWindow) return nullptr;
  return reinterpret_cast<HWND>(SendMessageA(gClientWindow, WM_MDIGETACTIVE, 0, 0));
}

HWND DrawingPaneOf(HWND drawingWindow) {
  return drawingWindow ? reinterpret_cast<HWND>(GetWindowLongPtrA(drawingWindow, 0)) : nullptr;
}

DocumentRec* DocumentOfPane(HWND pane) {
  return pane ? reinterpret_cast<DocumentRec*>(GetWindowLongPtrA(pane, 0)) : nullptr;
}

bool QueryCloseDrawing(HWND drawingWindow) {
  if (!AppEmbedded()) {
    // The drawing asked about is made the active one, so that the user sees it and Save writes it.
    if (ActiveDrawingWindow() != drawingWindow)
      SendMessageA(gClientWindow, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(drawingWindow), 0);
    char caption[kCaptionSize], question[128];
    GetWindowTextA(drawingWindow, caption, sizeof caption);
    MessageBeep(MB_ICONQUESTION);
    const int answer = MessageBoxA(gFrameWindow, LoadStr(STR_SAVE_CHANGES, question, sizeof question),
                                   caption, MB_YESNOCANCEL | MB_ICONQUESTION);
    if (answer == IDCANCEL) return false;
    if (answer == IDYES) SendFrameCommand(CMD_SAVE);
  }
  // The document object of the embedding server and the undo record arrive with their own
  // modules; the drawing's objects are freed with its record when the pane is destroyed.
  return true;
}

void LayoutDrawingWindow(HWND drawingWindow) {
  HWND pane = DrawingPaneOf(drawingWindow);
  DocumentRec* document = DocumentOfPane(pane);
  if (!pane || !document || !document->horizontalRuler || !document->verticalRuler) return;
  const DocState* state = document->docState;
  const bool toolbar = state ? state->showToolbar != 0 : true;
  const bool rulers = state ? (state->showHorizontalRuler && state->showVerticalRuler) : false;
  const DrawingLayout l = ComputeDrawingLayout(MetricsOf(drawingWindow), toolbar, rulers);
  Place(pane, l.mainPane);
  Place(AsWindow(document->toolbarWindow), l.toolbar);
  Place(AsWindow(document->horizontalRuler), l.hRuler);
  Place(AsWindow(document->verticalRuler), l.vRuler);
  Place(AsWindow(document->rulerUnitWindow), l.rulerUnit);
  Place(AsWindow(document->hScrollBar), l.hScroll);
  Place(AsWindow(document->vScrollBar), l.vScroll);
  Place(AsWindow(document->sizeBox), l.sizeBox);
  Place(AsWindow(document->miscWindow), l.miscPane);
  CurrentDrawingScope scope(pane, document);
  UpdateScrollRanges(document->hScrollBar, document->vScrollBar);
}

void SetDrawingCaption(HWND drawingWindow, const char* caption) {
  if (drawingWindow) SetWindowTextA(drawingWindow, caption);
}

void SetWindowTitleType(DocState* state) {
  if (!state || !gCurWindow || !gCurDocument) return;
  HWND drawingWindow = GetParent(static_cast<HWND>(gCurWindow));
  char untitled[64], caption[kCaptionSize];
  LoadStr(STR_UNTITLED, untitled, sizeof untitled);
  const char* layerName = gCurDocument->currentLayer ? gCurDocument->currentLayer->name : nullptr;
  if (ComposeWindowCaption(state->titleStyle, gCurDocument->fileName, untitled, layerName, caption,
                           sizeof caption))
    SetDrawingCaption(drawingWindow, caption);
}

CurrentDrawingScope::CurrentDrawingScope(HWND pane, DocumentRec* document)
    : savedWindow_(gCurWindow), savedDocument_(gCurDocument) {
  gCurWindow = pane;
  gCurDocument = document;
}

CurrentDrawingScope::~CurrentDrawingScope() {
  gCurWindow = savedWindow_;
  gCurDocument = savedDocument_;
}
