// The server's frame object: OLE for the whole program, the switch that tells it was started for
// embedding, the class offer, and the menus of an embedded drawing.
#include <cstdio>
#include <new>

#include "ole/cosmo.h"
#include "ole/oleserver.h"
#include "shell/cmdids.h"
#include "shell/cmdline.h"
#include "shell/shell.h"

CCosmoFrame* pFR = nullptr;

namespace {

constexpr char kSaveCopyAs[] = "Save Copy As...";
constexpr char kExitAndReturn[] = "E&xit and return to ";
constexpr char kTitleIn[] = "Draxel Design in ";
constexpr int kMenuTextSize = 160;

// The pull-down of the menu bar holding `id` (the File menu holds Exit), or null.
HMENU MenuHolding(HMENU bar, UINT id) {
  const int count = bar ? GetMenuItemCount(bar) : 0;
  for (int i = 0; i < count; ++i) {
    HMENU menu = GetSubMenu(bar, i);
    if (menu && GetMenuState(menu, id, MF_BYCOMMAND) != static_cast<UINT>(-1)) return menu;
  }
  return nullptr;
}

}  // namespace

CCosmoFrame::CCosmoFrame() = default;

CCosmoFrame::~CCosmoFrame() {
  if (dwRegCO) CoRevokeClassObject(dwRegCO);
  if (pIClassFactory) pIClassFactory->Release();
  if (fOleInitialized) {
    OleFlushClipboard();
    OleUninitialize();
  }
}

// The system's own splitting, so that the switch is found after a quoted program path too.
void CCosmoFrame::ParseCommandLine() {
  fEmbedding = CommandLineHasEmbedding();
  fParsed = true;
}

bool CCosmoFrame::Init() {
  if (FAILED(OleInitialize(nullptr))) return false;
  fOleInitialized = true;
  ParseCommandLine();
  if (!fEmbedding) return true;
  pIClassFactory = new (std::nothrow) CFigureClassFactory(this);
  if (!pIClassFactory) return false;
  pIClassFactory->AddRef();
  return SUCCEEDED(CoRegisterClassObject(CLSID_CosmoFigure, pIClassFactory, CLSCTX_LOCAL_SERVER,
                                         REGCLS_SINGLEUSE, &dwRegCO));
}

CCosmoDoc* CCosmoFrame::CreateDoc() {
  return new (std::nothrow) CCosmoDoc(this);
}

CCosmoDoc* CCosmoFrame::NewDocument() {
  CCosmoDoc* doc = CreateDoc();
  if (doc && !doc->Init()) {
    delete doc;
    return nullptr;
  }
  return doc;
}

CCosmoDoc* CCosmoFrame::CreateNewDocument() {
  CCosmoDoc* doc = NewDocument();
  if (!doc) return nullptr;
  doc->Load(true, nullptr);
  doc->pFigure_->FrameSet(this);
  return doc;
}

void CCosmoFrame::ObjectReleased() {
  if (fEmbedding && cLocks == 0 && gFrameWindow) PostMessageA(gFrameWindow, WM_CLOSE, 0, 0);
}

void CCosmoFrame::UpdateEmbeddingUI(bool embedding, CCosmoDoc* doc, const char*, const char* objectName) {
  if (embedding && gFrameWindow) {
    HMENU file = MenuHolding(GetMenu(gFrameWindow), CMD_EXIT);
    if (file) {
      for (UINT id : {CMD_NEW, CMD_OPEN, CMD_CLOSE, CMD_SAVE}) DeleteMenu(file, id, MF_BYCOMMAND);
      ModifyMenuA(file, CMD_SAVE_AS, MF_BYCOMMAND | MF_STRING, CMD_SAVE_AS, kSaveCopyAs);
      char exitText[kMenuTextSize];
      std::snprintf(exitText, sizeof exitText, "%s%s", kExitAndReturn, objectName);
      ModifyMenuA(file, CMD_EXIT, MF_BYCOMMAND | MF_STRING, CMD_EXIT, exitText);
      DrawMenuBar(gFrameWindow);
    }
  }
  char title[kMenuTextSize];
  std::snprintf(title, sizeof title, "%s%s", kTitleIn, objectName);
  HWND window = doc && doc->Window() ? doc->Window() : ActiveDrawingWindow();
  SetDrawingCaption(window, title);
}

bool StartOleServer() {
  if (pFR) return true;
  pFR = new (std::nothrow) CCosmoFrame;
  if (!pFR) return false;
  if (!pFR->Init()) {
    delete pFR;
    pFR = nullptr;
    return false;
  }
  return true;
}

void CloseOLEClient() {
  delete pFR;
  pFR = nullptr;
}

bool OleServerEmbedding() {
  return pFR && pFR->fEmbedding;
}
