// The Edit menu's clipboard commands as the frame runs them: their greys, the picture Copy puts
// on the system clipboard, and the viewer's answers. Runs without a display: the current pane is
// a message-only window.
#include <windows.h>

#include <gtest/gtest.h>

#include "model/docstate.h"
#include "resources/resids.h"
#include "shell/clipbrd.h"
#include "shell/cmdids.h"
#include "shell/shell.h"
#include "tests/shell/menufixture.h"
#include "tools/buildobj.h"
#include "tools/scrap.h"
#include "tools/selhndlr.h"
#include "tools/undo.h"

namespace {

class ClipboardCommands : public MenuFixture {
 protected:
  void TearDown() override {
    FreeClipboardLayer();
    DisposeUndo();
    MenuFixture::TearDown();
  }
  void ExpectGreys(bool cut, bool copy, bool paste) {
    UpdateMenus();
    EXPECT_EQ(Grey(CMD_CUT), cut);
    EXPECT_EQ(Grey(CMD_CLEAR), cut);
    EXPECT_EQ(Grey(CMD_COPY), copy);
    EXPECT_EQ(Grey(CMD_PASTE), paste);
  }
};

TEST_F(ClipboardCommands, GreysFollowTheSelectionAndTheClipboard) {
  LayerRec* layer = document_->currentLayer;
  ObjectRec* rect = BuildRect(10, 10, 110, 60, layer, false);
  SelectLayer(layer, kDeselectMode, false);
  ExpectGreys(true, true, true);
  SelectObj(rect, kSelectMode, false);
  ExpectGreys(false, false, true);
  SetObjectLockFlags(rect, 1);
  ExpectGreys(true, false, true);  // a locked object may be copied, not cut
  SetObjectLockFlags(rect, 0);
  EXPECT_TRUE(DoCommand(nullptr, CMD_COPY, nullptr));
  ExpectGreys(false, false, false);
  EXPECT_TRUE(DoCommand(nullptr, CMD_PASTE, nullptr));
  EXPECT_NE(rect->nextObject, nullptr);
  // Cut takes the pasted copy out, and Undo brings it back.
  EXPECT_TRUE(DoCommand(nullptr, CMD_CUT, nullptr));
  EXPECT_EQ(rect->nextObject, nullptr);
  EXPECT_TRUE(DoCommand(nullptr, CMD_UNDO, nullptr));
  EXPECT_NE(rect->nextObject, nullptr);
}

TEST_F(ClipboardCommands, CopyPutsAMetafileThatPlaysOnTheSystemClipboard) {
  // The drawing's own pen: black.
  ObjectRec* rect = BuildRect(10, 10, 110, 60, document_->currentLayer, true);
  SelectObj(rect, kSelectMode, false);
  EXPECT_TRUE(DoCommand(nullptr, CMD_COPY, nullptr));
  ASSERT_TRUE(IsClipboardFormatAvailable(CF_METAFILEPICT));
  ASSERT_TRUE(OpenClipboard(pane_));
  HANDLE data = GetClipboardData(CF_METAFILEPICT);
  ASSERT_NE(data, nullptr);
  const METAFILEPICT* picture = static_cast<const METAFILEPICT*>(GlobalLock(data));
  ASSERT_NE(picture, nullptr);
  EXPECT_EQ(picture->mm, MM_ANISOTROPIC);
  // 100 by 50 points plus the margins, in hundredths of a millimetre.
  EXPECT_NEAR(picture->xExt, 110 * 2540 / 72, 40);
  EXPECT_NEAR(picture->yExt, 60 * 2540 / 72, 40);

  // Played into a white bitmap, the rectangle's outline shows.
  constexpr int kSide = 120;
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = kSide;
  info.bmiHeader.biHeight = -kSide;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  ASSERT_NE(bitmap, nullptr);
  HGDIOBJ old = SelectObject(dc, bitmap);
  const RECT all = {0, 0, kSide, kSide};
  FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  SetMapMode(dc, MM_ANISOTROPIC);
  SetViewportExtEx(dc, kSide, kSide * 60 / 110, nullptr);
  EXPECT_TRUE(PlayMetaFile(dc, picture->hMF));
  GdiFlush();
  int dark = 0;
  for (int i = 0; i < kSide * kSide; ++i)
    if ((static_cast<const uint32_t*>(bits)[i] & 0xFFFFFF) != 0xFFFFFF) ++dark;
  EXPECT_GT(dark, 100);
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
  GlobalUnlock(data);
  CloseClipboard();
}

TEST_F(ClipboardCommands, TheViewerNeverStopsALogOffAndClosesByHiding) {
  EXPECT_EQ(ClipboardDispatch(pane_, WM_QUERYENDSESSION, 0, 0), TRUE);
  gClipboardVisible = 1;
  EXPECT_EQ(ClipboardDispatch(pane_, WM_CLOSE, 0, 0), 0);
  EXPECT_EQ(gClipboardVisible, 0);
  EXPECT_TRUE(IsWindow(pane_));
}

}  // namespace
