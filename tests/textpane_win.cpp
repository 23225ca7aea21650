// The live edit control of the block being typed into, against the real EDIT control: its
// styles and font, the pane reading what is typed, the painted lines agreeing with the
// control's, re-alignment (also when no new control can be made) and the end of typing. Runs
// with no display: controls are parked under the message-only window.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "render/textdraw.h"
#include "tests/toolfixture.h"
#include "tools/textpane.h"
#include "tools/textpane_win.h"

namespace {

std::string Text(TextPane pane) {
  std::string text(GetTextPaneTextLength(pane) + 1, '\0');
  text.resize(GetTextPaneText(pane, &text[0], text.size()));
  return text;
}

FontRecord Font(int32_t height, int32_t weight, const char* face) {
  FontRecord font = {};
  font.height = height;
  font.weight = weight;
  font.charSet = ANSI_CHARSET;
  std::strncpy(font.faceName, face, sizeof font.faceName - 1);
  return font;
}

class TextEditorTest : public ToolTest {
 protected:
  void SetUp() override {
    ToolTest::SetUp();
    InstallTextEditorHooks();
  }
  void TearDown() override {
    DeactivateTEPane();
    ToolTest::TearDown();
  }
  ObjectRec* Block(const char* text, int16_t alignment, float width = 200) {
    TextPane pane = CreateTextPane(alignment);
    SetTextPaneText(pane, text, std::strlen(text));
    const FloatRect edit = {100, 100, 125, 100 + width};
    return BuildTextBlock(&edit, pane, layer_);
  }
  static HWND Editor(ObjectRec* text) { return static_cast<HWND>(GetTextPaneEditor(TextPaneOf(text))); }
};

TEST_F(TextEditorTest, OpensAnEditControlWithTheAlignmentStylesAndThePanesText) {
  const struct {
    int16_t alignment;
    DWORD style;
  } cases[] = {{kAlignLeft, 0x56001044}, {kAlignCentred, 0x56001045}, {kAlignRight, 0x56001046}};
  for (const auto& c : cases) {
    ObjectRec* text = Block("first\r\nsecond", c.alignment);
    HWND edit = OpenTextEditor(text, nullptr);
    ASSERT_NE(edit, nullptr) << "error " << GetLastError();
    char className[16] = {};
    GetClassNameA(edit, className, sizeof className);
    EXPECT_STREQ(className, "Edit");
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(edit, GWL_STYLE)), c.style);
    char shown[32] = {};
    GetWindowTextA(edit, shown, sizeof shown);
    EXPECT_STREQ(shown, "first\r\nsecond");
    EXPECT_EQ(OpenTextEditor(text, nullptr), edit) << "one control per block";
    CloseTextEditor(text);
    EXPECT_FALSE(IsWindow(edit));
  }
}

TEST_F(TextEditorTest, WhatIsTypedIsThePanesTextAndStaysWhenTheControlGoes) {
  ObjectRec* text = Block("abc", kAlignLeft);
  HWND edit = OpenTextEditor(text, nullptr);
  ASSERT_NE(edit, nullptr);
  SendMessageA(edit, EM_SETSEL, 3, 3);
  SendMessageA(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>("def\r\nline two"));
  EXPECT_EQ(Text(TextPaneOf(text)), "abcdef\r\nline two");
  // Far beyond the 32 KB an edit control takes by default.
  std::string longText;
  for (int line = 0; longText.size() < 100 * 1024; ++line)
    longText += "line " + std::to_string(line) + "\r\n";
  ASSERT_TRUE(SetTextPaneText(TextPaneOf(text), longText.data(), longText.size()));
  EXPECT_EQ(static_cast<size_t>(GetWindowTextLengthA(edit)), longText.size());
  EXPECT_TRUE(Text(TextPaneOf(text)) == longText);
  CloseTextEditor(text);
  EXPECT_TRUE(Text(TextPaneOf(text)) == longText);
  EXPECT_EQ(GetTextPaneEditor(TextPaneOf(text)), nullptr);
}

TEST_F(TextEditorTest, TheControlOwnsTheFontItShows) {
  ObjectRec* text = Block("font", kAlignRight);
  FontRecord bold = Font(-24, FW_BOLD, "Arial");
  SetTextPaneFont(TextPaneOf(text), &bold);
  HWND edit = OpenTextEditor(text, nullptr);
  ASSERT_NE(edit, nullptr);
  HGDIOBJ first = reinterpret_cast<HGDIOBJ>(SendMessageA(edit, WM_GETFONT, 0, 0));
  ASSERT_NE(first, nullptr);
  LOGFONTA shown = {};
  GetObjectA(first, sizeof shown, &shown);
  EXPECT_EQ(shown.lfHeight, -24);
  EXPECT_EQ(shown.lfWeight, FW_BOLD);
  // A new font replaces the old one, which is deleted; the margins stay 0.
  FontRecord plain = Font(12, FW_NORMAL, "Courier New");
  SetTextPaneFont(TextPaneOf(text), &plain);
  HGDIOBJ second = reinterpret_cast<HGDIOBJ>(SendMessageA(edit, WM_GETFONT, 0, 0));
  EXPECT_NE(second, first);
  EXPECT_EQ(GetObjectType(first), 0u);
  EXPECT_EQ(SendMessageA(edit, EM_GETMARGINS, 0, 0), 0);
  CloseTextEditor(text);
  EXPECT_EQ(GetObjectType(second), 0u);
}

// The control's lines: where each starts.
std::vector<int> ControlLineStarts(HWND edit) {
  std::vector<int> starts;
  const int count = static_cast<int>(SendMessageA(edit, EM_GETLINECOUNT, 0, 0));
  for (int line = 0; line < count; ++line)
    starts.push_back(static_cast<int>(SendMessageA(edit, EM_LINEINDEX, line, 0)));
  return starts;
}

TEST_F(TextEditorTest, PaintedLinesAreTheControlsLines) {
  const char* texts[] = {
      "short",
      "one\r\ntwo\r\n\r\nfour",
      "The quick brown fox jumps over the lazy dog and keeps on running far away",
      "Supercalifragilisticexpialidocious words without any blank to break at all",
      "blanks    between   words    that    wrap  around",
      "Room 12\r\nFinish: oak floor, painted walls, two windows facing the garden",
  };
  const int widths[] = {60, 97, 150, 200};
  const FontRecord fonts[] = {Font(-11, FW_NORMAL, "Courier New"), Font(-16, FW_NORMAL, "Arial"),
                              Font(-13, FW_BOLD, "Times New Roman")};
  int compared = 0;
  for (const FontRecord& font : fonts) {
    for (int width : widths) {
      for (const char* sample : texts) {
        ObjectRec* text = Block(sample, kAlignLeft, static_cast<float>(width));
        SetTextPaneFont(TextPaneOf(text), &font);
        const TextLineCache* layout = LayOutTextBlock(text);
        ASSERT_NE(layout, nullptr);
        std::vector<int> painted;
        for (const TextLine& line : layout->lines) painted.push_back(static_cast<int>(line.start));
        HWND edit = OpenTextEditor(text, nullptr);
        ASSERT_NE(edit, nullptr);
        EXPECT_EQ(TextBlockBoxWidth(text), width);
        EXPECT_EQ(ControlLineStarts(edit), painted) << font.faceName << " " << width << ": " << sample;
        ++compared;
        DeleteObj(text);
      }
    }
  }
  EXPECT_EQ(compared, 72);
}

HHOOK gRefuseHook = nullptr;
LRESULT CALLBACK RefuseWindows(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_CREATEWND) return 1;  // no window is made
  return CallNextHookEx(gRefuseHook, code, wParam, lParam);
}

TEST_F(TextEditorTest, ChangingAlignmentKeepsTheOldControlWhenNoNewOneCanBeMade) {
  ObjectRec* text = Block("aligned", kAlignLeft);
  HWND edit = OpenTextEditor(text, nullptr);
  ASSERT_NE(edit, nullptr);
  doc_->activeTextWindow = edit;
  SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("typed"));

  gRefuseHook = SetWindowsHookExA(WH_CBT, RefuseWindows, nullptr, GetCurrentThreadId());
  ASSERT_NE(gRefuseHook, nullptr);
  ChangeTextBlockAlignment(text, kAlignCenterCommand);
  UnhookWindowsHookEx(gRefuseHook);
  EXPECT_TRUE(IsWindow(edit));
  EXPECT_EQ(Editor(text), edit);
  EXPECT_EQ(GetTextPaneAlignment(TextPaneOf(text)), kAlignLeft);
  EXPECT_EQ(Text(TextPaneOf(text)), "typed");

  ChangeTextBlockAlignment(text, kAlignCenterCommand);
  HWND replacement = Editor(text);
  ASSERT_NE(replacement, nullptr);
  EXPECT_NE(replacement, edit);
  EXPECT_FALSE(IsWindow(edit));
  EXPECT_EQ(doc_->activeTextWindow, replacement);
  EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(replacement, GWL_STYLE)), 0x56001045u);
  EXPECT_EQ(GetTextPaneAlignment(TextPaneOf(text)), kAlignCentred);
  EXPECT_EQ(Text(TextPaneOf(text)), "typed");
}

TEST_F(TextEditorTest, EndingTypingInAnEmptyBlockDeletesItOnce) {
  ObjectRec* kept = Block("kept", kAlignLeft);
  ObjectRec* text = Block("x", kAlignLeft);
  SetObjectSelectFlags(text, 0);  // opened by a click: not selected
  HWND edit = OpenTextEditor(text, nullptr);
  ASSERT_NE(edit, nullptr);
  doc_->activeTextWindow = edit;
  SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(""));
  DeactivateTEPane();
  EXPECT_EQ(doc_->activeTextWindow, nullptr);
  EXPECT_FALSE(IsWindow(edit));
  EXPECT_EQ(layer_->firstObject, kept);
  EXPECT_EQ(kept->nextObject, nullptr);
  DeactivateTEPane();  // nothing left to end
  EXPECT_EQ(layer_->firstObject, kept);
}

TEST_F(TextEditorTest, ResizingFollowsTheLinesOfTheText) {
  ObjectRec* text = Block("one", kAlignLeft);
  const FontRecord font = Font(-20, FW_NORMAL, "Arial");
  SetTextPaneFont(TextPaneOf(text), &font);
  const TextLineCache* layout = LayOutTextBlock(text);
  ASSERT_NE(layout, nullptr);
  const int lineHeight = layout->lineHeight;
  AdjustTextObjectSize(text);
  EXPECT_EQ(text->bounds.bottom - text->bounds.top, static_cast<float>(lineHeight + 6));
  // Typed into: the control's own line count.
  HWND edit = OpenTextEditor(text, nullptr);
  ASSERT_NE(edit, nullptr);
  SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("one\r\ntwo\r\nthree"));
  AdjustTextObjectSize(text);
  EXPECT_EQ(text->bounds.bottom - text->bounds.top, static_cast<float>(3 * lineHeight + 6));
  EXPECT_EQ(text->bounds.right - text->bounds.left, 206.0f);
  RECT client;
  GetClientRect(edit, &client);
  EXPECT_EQ(client.bottom, 3 * lineHeight);
}

}  // namespace
