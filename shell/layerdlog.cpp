// The Layering dialog: the drawing's layers edited in a working list (names, visibility, new
// and removed layers) that OK carries over to the drawing and Cancel drops.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "model/lyrhndlr.h"
#include "render/drawhdlr.h"
#include "resources/dlgids.h"
#include "resources/strings.h"
#include "shell/setdlogs.h"
#include "shell/shell.h"
#include "tools/dlogsupp_win.h"
#include "tools/dlogtext.h"
#include "tools/undo.h"

namespace {

struct LayerEntry {
  std::string name;
  uint8_t visible;
  uint8_t layerFlag;
  bool removed;
  bool current;
};

struct LayeringRun {
  DocState* state;
  std::vector<LayerEntry> entries;  // the drawing's layers in order, then the new ones
};

// The longest name a layer holds (its record keeps a terminating NUL).
constexpr size_t kMaxLayerName = kLayerNameSize - 1;
constexpr int kNoEntry = -1;

LayeringRun* RunOf(HWND dialog) {
  return reinterpret_cast<LayeringRun*>(GetWindowLongPtrA(dialog, DWLP_USER));
}

HWND List(HWND dialog) {
  return GetDlgItem(dialog, IDC_LAYER_LIST);
}

// The list shows the entries not removed; each item keeps its entry's index.
void SetupLayerList(HWND dialog, const LayeringRun& run, int selectEntry) {
  HWND list = List(dialog);
  SendMessageA(list, LB_RESETCONTENT, 0, 0);
  for (size_t i = 0; i < run.entries.size(); ++i) {
    const LayerEntry& e = run.entries[i];
    if (e.removed) continue;
    const std::string text = e.name + (e.visible ? "" : "  (hidden)");
    const LRESULT at = SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    if (at < 0) continue;
    SendMessageA(list, LB_SETITEMDATA, static_cast<WPARAM>(at), static_cast<LPARAM>(i));
    if (static_cast<int>(i) == selectEntry) SendMessageA(list, LB_SETCURSEL, static_cast<WPARAM>(at), 0);
  }
}

int SelectedEntry(HWND dialog) {
  HWND list = List(dialog);
  const LRESULT at = SendMessageA(list, LB_GETCURSEL, 0, 0);
  if (at == LB_ERR) return kNoEntry;
  return static_cast<int>(SendMessageA(list, LB_GETITEMDATA, static_cast<WPARAM>(at), 0));
}

void FillLayerName(HWND dialog, const LayeringRun& run) {
  const int entry = SelectedEntry(dialog);
  SetDlgItemTextA(dialog, IDC_LAYER_NAME, entry == kNoEntry ? "" : run.entries[entry].name.c_str());
}

// The text of the name field, or "Untitled" when empty; false (refused) when it is too long.
bool ReadLayerName(HWND dialog, std::string* name) {
  HWND field = GetDlgItem(dialog, IDC_LAYER_NAME);
  const int length = GetWindowTextLengthA(field);
  if (length > static_cast<int>(kMaxLayerName)) {
    RefuseItem(dialog, IDC_LAYER_NAME, STR_LAYER_NAME_TOO_LONG);
    return false;
  }
  char text[kLayerNameSize] = "";
  GetWindowTextA(field, text, sizeof text);
  if (!*text) LoadStr(STR_UNTITLED, text, sizeof text);
  *name = text;
  return true;
}

// The selected entry; with none the user is told to pick one first.
int RequireSelection(HWND dialog) {
  const int entry = SelectedEntry(dialog);
  if (entry == kNoEntry) RefuseItem(dialog, IDC_LAYER_LIST, STR_NO_LAYER_SELECTED);
  return entry;
}

void RefuseRemoval(HWND dialog, int messageId) {
  char text[256], title[64];
  MessageBeep(MB_OK);
  MessageBoxA(dialog, LoadStr(messageId, text, sizeof text), LoadStr(STR_LAYERING, title, sizeof title),
              MB_OK | MB_ICONEXCLAMATION);
}

void OnLayeringInit(HWND dialog, LayeringRun* run) {
  CenterDialog(dialog);
  const DocumentRec* document = gCurDocument;
  int current = 0;
  for (const LayerRec* layer = document->firstLayer; layer; layer = layer->nextLayer) {
    if (layer == document->currentLayer) current = static_cast<int>(run->entries.size());
    run->entries.push_back(
        {layer->name, layer->visible, layer->layerFlag, false, layer == document->currentLayer});
  }
  SetupLayerList(dialog, *run, current);
  FillLayerName(dialog, *run);
  SelectItemText(dialog, IDC_LAYER_NAME);
}

void OnLayerButton(HWND dialog, LayeringRun* run, int id) {
  std::vector<LayerEntry>& entries = run->entries;
  int entry = kNoEntry;
  std::string name;
  switch (id) {
    case IDC_LAYER_NEW:
      if (!ReadLayerName(dialog, &name)) return;
      entries.push_back({name, 1, 1, false, false});
      entry = static_cast<int>(entries.size()) - 1;
      break;
    case IDC_LAYER_RENAME:
      if ((entry = RequireSelection(dialog)) == kNoEntry || !ReadLayerName(dialog, &name)) return;
      entries[entry].name = name;
      break;
    case IDC_LAYER_REMOVE: {
      if ((entry = RequireSelection(dialog)) == kNoEntry) return;
      int remaining = 0;
      for (const LayerEntry& e : entries) remaining += e.removed ? 0 : 1;
      if (remaining < 2) return RefuseRemoval(dialog, STR_ONE_LAYER_MUST_REMAIN);
      if (entries[entry].current) return RefuseRemoval(dialog, STR_LAYER_IS_CURRENT);
      entries[entry].removed = true;
      entry = kNoEntry;
      break;
    }
    case IDC_LAYER_SHOW:
    case IDC_LAYER_HIDE:
      if ((entry = RequireSelection(dialog)) == kNoEntry) return;
      entries[entry].visible = id == IDC_LAYER_SHOW;
      break;
    case IDC_LAYER_SHOW_ALL:
    case IDC_LAYER_HIDE_ALL:
      entry = SelectedEntry(dialog);
      for (LayerEntry& e : entries) e.visible = id == IDC_LAYER_SHOW_ALL;
      break;
    default:
      return;
  }
  SetupLayerList(dialog, *run, entry);
  FillLayerName(dialog, *run);
}

// Carries the working list over to the drawing. A removed layer's objects may be what the undo
// record holds or points into, so the record is given up first.
void ApplyLayering(const LayeringRun& run) {
  DocumentRec* document = gCurDocument;
  bool removing = false;
  for (const LayerEntry& e : run.entries) removing = removing || (e.removed && !e.current);
  if (removing) DisposeUndoForDocument(document);
  LayerRec* layer = document->firstLayer;
  size_t i = 0;
  for (; layer && i < run.entries.size(); ++i) {
    LayerRec* next = layer->nextLayer;
    const LayerEntry& e = run.entries[i];
    if (e.removed && layer != document->currentLayer) {
      DeleteLayer(layer);
    } else {
      std::snprintf(layer->name, sizeof layer->name, "%s", e.name.c_str());
      layer->visible = e.visible;
    }
    layer = next;
  }
  for (; i < run.entries.size(); ++i) {
    const LayerEntry& e = run.entries[i];
    if (e.removed) continue;
    if (LayerRec* added = CreateLayer(e.name.c_str(), e.visible, 1, nullptr))
      AppendLayerToDocument(added);
    else
      MessageBeep(MB_OK);  // no memory: the remaining new layers are not made
  }
  UpdateLayerMenu();
}

}  // namespace

INT_PTR CALLBACK LayeringProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    SetWindowLongPtrA(dialog, DWLP_USER, lParam);
    if (LayeringRun* run = reinterpret_cast<LayeringRun*>(lParam)) OnLayeringInit(dialog, run);
    return FALSE;
  }
  LayeringRun* run = RunOf(dialog);
  if (!run || !gCurDocument || !gCurDocument->docState || message != WM_COMMAND) return FALSE;
  const int id = LOWORD(wParam);
  if (id == IDOK) {
    ApplyLayering(*run);
    EndDialog(dialog, TRUE);
  } else if (id == IDCANCEL) {
    EndDialog(dialog, FALSE);
  } else if (id == IDC_LAYER_LIST) {
    if (HIWORD(wParam) == LBN_SELCHANGE) FillLayerName(dialog, *run);
  } else {
    OnLayerButton(dialog, run, id);
  }
  return TRUE;
}

bool LayeringDLOG(DocState* state) {
  if (!state || !gCurDocument) return false;
  LayeringRun run{state, {}};
  return DialogBoxParamA(gAppInstance, MAKEINTRESOURCEA(IDD_LAYERING), gFrameWindow, LayeringProc,
                         reinterpret_cast<LPARAM>(&run)) == TRUE;
}
