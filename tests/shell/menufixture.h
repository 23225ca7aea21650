// What the tests of the menu commands start from: the menu bar loaded and one new drawing whose
// pane is a message-only window, so that they run without a display.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include "model/docstate.h"
#include "resources/resids.h"
#include "shell/shell.h"

class MenuFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    gAppInstance = GetModuleHandleA(nullptr);
    gMainMenu = LoadMenuA(gAppInstance, MAKEINTRESOURCEA(IDR_MAINMENU));
    ASSERT_NE(gMainMenu, nullptr);
    pane_ = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, gAppInstance, nullptr);
    ASSERT_NE(pane_, nullptr);
    document_ = CreateDocument();
    ASSERT_NE(document_, nullptr);
    gCurWindow = pane_;
  }
  void TearDown() override {
    gCurDocument = document_;
    DeleteDocument(document_);
    gCurWindow = nullptr;
    DestroyWindow(pane_);
    DestroyMenu(gMainMenu);
    gMainMenu = nullptr;
  }
  static bool Grey(int id) { return (GetMenuState(gMainMenu, id, MF_BYCOMMAND) & MF_GRAYED) != 0; }
  static bool Checked(int id) { return (GetMenuState(gMainMenu, id, MF_BYCOMMAND) & MF_CHECKED) != 0; }

  HWND pane_ = nullptr;
  DocumentRec* document_ = nullptr;
};
