// The floating toolboxes: their panes and mini title bars, dragging by the title bar and closing
// by its close box.
#include <windows.h>

#include <algorithm>

#include "resources/resids.h"
#include "shell/panes.h"
#include "shell/shell.h"
#include "tools/toolstate.h"

namespace {

constexpr int kToolPaneWidth = 23, kToolPaneHeight = 18;
constexpr int kFirstPaneX = 3, kFirstPaneY = 20, kPaneStep = 17;
constexpr int kReadoutPaneX = 16, kReadoutPaneY = -1, kReadoutPaneWidth = 454, kReadoutPaneHeight = 40;
constexpr int kPatternPaneWidth = 76, kPatternPaneHeight = 241;
// Horizontal title bar: the drag bar from (1, 1), 15 high, then the close box, 17 x 15.
constexpr int kTitleInset = 1, kTitleHeight = 15, kCloseBoxWidth = 17, kCloseBoxSpace = 18;
// Vertical title bar: the close box 15 x 15 at the top, the drag bar below it, 15 wide.
constexpr int kVerticalBarWidth = 15;
// A toolbox keeps at least this many pixels of its drag bar inside the frame in each direction.
constexpr int kGrip = 16;

struct ToolboxKind {
  int16_t toolbox;
  const char* paneClass;
  bool verticalTitle;
  uint8_t bit;
};

const ToolboxKind kToolboxKinds[] = {
    {kEditToolbox, "ToolPaneClass", false, kEditToolsBit},
    {kDrawToolbox, "ToolPaneClass", false, kDrawToolsBit},
    {kDimToolbox, "ToolPaneClass", false, kDimToolsBit},
    {kSnapToolbox, "SnapPaneClass", false, kSnapToolsBit},
    {kReadoutToolbox, "ReadoutPaneClass", true, kReadoutsBit},
    {kPatternToolbox, "PatternPaneClass", false, kPatternsBit},
};

const ToolboxKind* FindKind(int toolbox) {
  for (const ToolboxKind& kind : kToolboxKinds)
    if (kind.toolbox == toolbox) return &kind;
  return nullptr;
}

const ToolboxInfo* InfoOf(HWND toolbox) {
  return toolbox ? reinterpret_cast<const ToolboxInfo*>(GetWindowLongPtrA(toolbox, 0)) : nullptr;
}

// Creates one pane with its record; a pane whose picture cannot be loaded stays without a record.
HWND CreatePane(HWND toolbox, HINSTANCE instance, const char* paneClass, const PaneSpec& spec) {
  HWND pane =
      CreateWindowA(paneClass, "", WS_CHILD | WS_VISIBLE, spec.x, spec.y, spec.width, spec.height, toolbox,
                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(spec.id)), instance, nullptr);
  if (!pane) return nullptr;
  HBITMAP bitmap = nullptr;
  const bool pictured = spec.id != kDragBarId && spec.id != kReadoutPaneId;
  if (pictured) {
    bitmap = LoadBitmapA(instance, MAKEINTRESOURCEA(spec.id));
    if (!bitmap) return pane;
  }
  PaneRec* record = static_cast<PaneRec*>(LocalAlloc(LPTR, sizeof(PaneRec)));
  if (!record) {
    if (bitmap) DeleteObject(bitmap);
    return pane;
  }
  record->id = spec.id;
  record->bitmap = bitmap;
  SetWindowLongPtrA(pane, 0, reinterpret_cast<LONG_PTR>(record));
  return pane;
}

void CreatePanes(HWND toolbox, HINSTANCE instance, const char* paneClass, const PaneSpec* specs, int count) {
  for (int i = 0; i < count; ++i) CreatePane(toolbox, instance, paneClass, specs[i]);
}

// The press state of a drag or a close box; one at a time, as the mouse is captured.
struct PressState {
  HWND pane;
  POINT start;   // screen position of the press
  RECT outline;  // the outline drawn, in the frame's client coordinates
  bool inside;   // the close box shows pressed
};
PressState gPress = {};

void InvertOutline(HWND frame, const RECT& r) {
  // Drawn over the frame's children: the outline crosses the client area and other toolboxes.
  HDC dc = GetDCEx(frame, nullptr, DCX_CACHE);
  if (!dc) return;
  const int oldRop = SetROP2(dc, R2_NOT);
  HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
  HGDIOBJ oldPen = SelectObject(dc, GetStockObject(BLACK_PEN));
  Rectangle(dc, r.left, r.top, r.right, r.bottom);
  SelectObject(dc, oldPen);
  SelectObject(dc, oldBrush);
  SetROP2(dc, oldRop);
  ReleaseDC(frame, dc);
}

// The toolbox's window rectangle and its drag bar's, in the frame's client coordinates.
void ToolboxRects(HWND toolbox, HWND bar, RECT* box, RECT* barRect) {
  HWND frame = GetParent(toolbox);
  GetWindowRect(toolbox, box);
  MapWindowPoints(nullptr, frame, reinterpret_cast<POINT*>(box), 2);
  GetWindowRect(bar, barRect);
  MapWindowPoints(nullptr, frame, reinterpret_cast<POINT*>(barRect), 2);
}

// The outline for a mouse at `now`: the toolbox's rectangle grown by one, moved with the mouse
// and kept reachable.
RECT DragOutline(HWND bar, POINT now) {
  HWND toolbox = GetParent(bar);
  HWND frame = GetParent(toolbox);
  RECT box, barRect, area;
  ToolboxRects(toolbox, bar, &box, &barRect);
  GetClientRect(frame, &area);
  const int dx = now.x - gPress.start.x, dy = now.y - gPress.start.y;
  OffsetRect(&box, dx, dy);
  OffsetRect(&barRect, dx, dy);
  RECT kept = KeepToolboxReachable(box, barRect, area);
  InflateRect(&kept, 1, 1);
  return kept;
}

POINT PaneToScreen(HWND pane, POINT position) {
  ClientToScreen(pane, &position);
  return position;
}

}  // namespace

const char* ToolboxPaneClass(int toolbox) {
  const ToolboxKind* kind = FindKind(toolbox);
  return kind ? kind->paneClass : nullptr;
}

uint8_t ToolboxBit(int toolbox) {
  const ToolboxKind* kind = FindKind(toolbox);
  return kind ? kind->bit : 0;
}

int ComputeToolboxPanes(const ToolboxInfo& info, int clientWidth, int clientHeight, PaneSpec* out,
                        int capacity) {
  const ToolboxKind* kind = FindKind(info.toolbox);
  if (!kind || !out) return 0;
  int count = 0;
  auto add = [&](int16_t id, int x, int y, int width, int height) {
    if (count < capacity) out[count++] = {id, x, y, width, height};
  };
  if (kind->verticalTitle) {
    add(kCloseBoxId, kTitleInset, kTitleInset, kVerticalBarWidth, kVerticalBarWidth);
    add(kDragBarId, kTitleInset, kVerticalBarWidth, kVerticalBarWidth, clientHeight - kVerticalBarWidth);
  } else {
    add(kDragBarId, kTitleInset, kTitleInset, clientWidth - kCloseBoxSpace, kTitleHeight);
    add(kCloseBoxId, clientWidth - kCloseBoxSpace, kTitleInset, kCloseBoxWidth, kTitleHeight);
  }
  switch (info.toolbox) {
    case kReadoutToolbox:
      add(kReadoutPaneId, kReadoutPaneX, kReadoutPaneY, kReadoutPaneWidth, kReadoutPaneHeight);
      break;
    case kPatternToolbox:
      add(kPatternPaneId, kFirstPaneX, kFirstPaneY, kPatternPaneWidth, kPatternPaneHeight);
      break;
    default:
      for (int i = 0; i < info.toolCount; ++i)
        add(static_cast<int16_t>(info.firstTool + i), kFirstPaneX, kFirstPaneY + i * kPaneStep,
            kToolPaneWidth, kToolPaneHeight);
  }
  return count;
}

RECT KeepToolboxReachable(const RECT& box, const RECT& bar, const RECT& area) {
  // Along each axis the bar must overlap the area by the grip, or all of it when shorter.
  auto shift = [](long barLow, long barHigh, long areaLow, long areaHigh) -> long {
    const long need = std::min<long>(kGrip, barHigh - barLow);
    const long highest = areaHigh - need;  // the bar's low edge may go up to here
    const long lowest = areaLow + need - (barHigh - barLow);
    if (barLow > highest) return highest - barLow;
    if (barLow < lowest) return lowest - barLow;
    return 0;
  };
  RECT kept = box;
  OffsetRect(&kept, shift(bar.left, bar.right, area.left, area.right),
             shift(bar.top, bar.bottom, area.top, area.bottom));
  return kept;
}

const PaneRec* PaneRecOf(HWND pane) {
  return pane ? reinterpret_cast<const PaneRec*>(GetWindowLongPtrA(pane, 0)) : nullptr;
}

static void DrawTitlePane(HDC dc, const PaneRec* record, HWND pane) {
  RECT client;
  GetClientRect(pane, &client);
  FillRect(dc, &client, GetSysColorBrush(COLOR_ACTIVECAPTION));
  constexpr int kCloseBitmapX = 1, kCloseBitmapY = 2;
  if (record->id == kCloseBoxId) DrawBitmap(dc, record->bitmap, kCloseBitmapX, kCloseBitmapY);
}

bool HandleTitlePane(HWND pane, UINT message, LPARAM lParam) {
  const PaneRec* record = PaneRecOf(pane);
  if (!record || (record->id != kCloseBoxId && record->id != kDragBarId)) return false;
  const POINT position = {static_cast<int16_t>(LOWORD(lParam)), static_cast<int16_t>(HIWORD(lParam))};
  auto track = record->id == kDragBarId ? DragWindow : TrackCloseBox;
  switch (message) {
    case WM_PAINT:
      PaintPane(pane, [&](HDC dc) { DrawTitlePane(dc, record, pane); });
      return true;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      track(pane, WM_LBUTTONDOWN, position);
      return true;
    case WM_MOUSEMOVE:
    case WM_LBUTTONUP:
      track(pane, message, position);
      return true;
    case WM_CAPTURECHANGED:
      track(pane, message, position);
      return false;
  }
  return false;
}

void FreePaneRec(HWND pane) {
  PaneRec* record = reinterpret_cast<PaneRec*>(GetWindowLongPtrA(pane, 0));
  if (!record) return;
  SetWindowLongPtrA(pane, 0, 0);
  if (record->bitmap) DeleteObject(record->bitmap);
  LocalFree(record);
}

LRESULT CALLBACK ToolDispatch(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcA(window, message, wParam, lParam);
}

void CreateHorMiniTitleBar(HWND window, HINSTANCE instance, int width) {
  const ToolboxInfo* info = InfoOf(window);
  const char* paneClass = info ? ToolboxPaneClass(info->toolbox) : nullptr;
  if (!paneClass) return;
  const PaneSpec specs[] = {{kDragBarId, kTitleInset, kTitleInset, width - kCloseBoxSpace, kTitleHeight},
                            {kCloseBoxId, width - kCloseBoxSpace, kTitleInset, kCloseBoxWidth, kTitleHeight}};
  CreatePanes(window, instance, paneClass, specs, 2);
}

void CreateVerMiniTitleBar(HWND window, HINSTANCE instance, int width, int height) {
  const ToolboxInfo* info = InfoOf(window);
  const char* paneClass = info ? ToolboxPaneClass(info->toolbox) : nullptr;
  if (!paneClass) return;
  const PaneSpec specs[] = {{kCloseBoxId, kTitleInset, kTitleInset, width, width},
                            {kDragBarId, kTitleInset, width, width, height - width}};
  CreatePanes(window, instance, paneClass, specs, 2);
}

bool CreateToolButtons(HWND toolbox, HINSTANCE instance, const ToolboxInfo& info) {
  const char* paneClass = ToolboxPaneClass(info.toolbox);
  if (!toolbox || !paneClass) return false;
  RECT client;
  GetClientRect(toolbox, &client);
  const bool vertical = info.toolbox == kReadoutToolbox;
  if (vertical)
    CreateVerMiniTitleBar(toolbox, instance, kVerticalBarWidth, client.bottom);
  else
    CreateHorMiniTitleBar(toolbox, instance, client.right);
  PaneSpec specs[kMaxToolboxPanes];
  const int count = ComputeToolboxPanes(info, client.right, client.bottom, specs, kMaxToolboxPanes);
  constexpr int kTitlePanes = 2;
  for (int i = kTitlePanes; i < count; ++i) {
    HWND pane = CreatePane(toolbox, instance, paneClass, specs[i]);
    if (!pane) continue;
    if (specs[i].id == kStandardTool) {
      gCurToolPane = pane;
      gCurTool = kStandardTool;
    } else if (specs[i].id == kNoSnap) {
      gCurSnapPane = pane;
      gCurSnap = kNoSnap;
    } else if (specs[i].id == kReadoutPaneId) {
      gReadoutPane = pane;
    }
  }
  return true;
}

void DragWindow(HWND pane, UINT message, POINT position) {
  HWND toolbox = GetParent(pane);
  HWND frame = toolbox ? GetParent(toolbox) : nullptr;
  if (!frame) return;
  const POINT now = PaneToScreen(pane, position);
  switch (message) {
    case WM_LBUTTONDOWN:
      SetCapture(pane);
      gPress = {pane, now, {}, false};
      gPress.outline = DragOutline(pane, now);
      InvertOutline(frame, gPress.outline);
      break;
    case WM_MOUSEMOVE:
      if (gPress.pane != pane || GetCapture() != pane) return;
      InvertOutline(frame, gPress.outline);
      gPress.outline = DragOutline(pane, now);
      InvertOutline(frame, gPress.outline);
      break;
    case WM_LBUTTONUP: {
      if (gPress.pane != pane) return;
      InvertOutline(frame, gPress.outline);
      RECT final = DragOutline(pane, now);
      gPress.pane = nullptr;
      ReleaseCapture();
      InflateRect(&final, -1, -1);
      SetWindowPos(toolbox, HWND_TOP, final.left, final.top, 0, 0, SWP_NOSIZE);
      break;
    }
    case WM_CAPTURECHANGED:
      // Lost to another window: the outline goes and the toolbox stays where it was.
      if (gPress.pane != pane) return;
      InvertOutline(frame, gPress.outline);
      gPress.pane = nullptr;
      break;
  }
}

void TrackCloseBox(HWND pane, UINT message, POINT position) {
  RECT client;
  GetClientRect(pane, &client);
  const bool inside = PtInRect(&client, position) != 0;
  auto show = [&](bool pressed) {
    if (pressed == gPress.inside) return;
    gPress.inside = pressed;
    HDC dc = GetDC(pane);
    if (dc) {
      InvertRect(dc, &client);
      ReleaseDC(pane, dc);
    }
  };
  switch (message) {
    case WM_LBUTTONDOWN:
      SetCapture(pane);
      gPress = {pane, {}, {}, false};
      show(true);
      break;
    case WM_MOUSEMOVE:
      if (gPress.pane == pane && GetCapture() == pane) show(inside);
      break;
    case WM_LBUTTONUP:
      if (gPress.pane != pane) return;
      show(false);
      gPress.pane = nullptr;
      ReleaseCapture();
      if (inside) CloseToolbox(GetParent(pane));
      break;
    case WM_CAPTURECHANGED:
      if (gPress.pane != pane) return;
      show(false);
      gPress.pane = nullptr;
      break;
  }
}

void CloseToolbox(HWND toolbox) {
  const ToolboxInfo* info = InfoOf(toolbox);
  if (!info) return;
  ShowWindow(toolbox, SW_HIDE);
  gVisibleTools &= static_cast<uint8_t>(~ToolboxBit(info->toolbox));
}
