// Text blocks without windows: the pane store and its live-editor hooks, line breaking, and the
// text tools' logic (building, matching, sizing, alignment, fonts, the end of typing), through
// save, read and undo.
#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "files/drxfile.h"
#include "model/objstuff.h"
#include "model/textfont.h"
#include "model/textlines.h"
#include "tests/toolfixture.h"
#include "tools/drxfont.h"
#include "tools/textpane.h"

namespace {

std::string Text(TextPane pane) {
  std::string text(GetTextPaneTextLength(pane) + 1, '\0');
  text.resize(GetTextPaneText(pane, &text[0], text.size()));
  return text;
}

FontRecord Font(int32_t height, const char* face) {
  FontRecord font = {};
  font.height = height;
  std::strncpy(font.faceName, face, sizeof font.faceName - 1);
  return font;
}

// A stand-in for the program's edit control: its own text, and what the pane told it.
struct FakeEditor {
  std::string text;
  std::string shown;
  int fontsShown = 0;
  bool destroyed = false;
};

class FakeEditorHooks {
 public:
  FakeEditorHooks() {
    saved_ = gTextPaneEditorHooks;
    gTextPaneEditorHooks.readText = [](void* editor, std::string* text) {
      *text = static_cast<FakeEditor*>(editor)->text;
      return true;
    };
    gTextPaneEditorHooks.showText = [](void* editor, const char* text, size_t length) {
      static_cast<FakeEditor*>(editor)->shown.assign(text, length);
    };
    gTextPaneEditorHooks.showFont = [](void* editor, const FontRecord*) {
      ++static_cast<FakeEditor*>(editor)->fontsShown;
    };
    gTextPaneEditorHooks.destroyEditor = [](void* editor) {
      static_cast<FakeEditor*>(editor)->destroyed = true;
    };
  }
  ~FakeEditorHooks() { gTextPaneEditorHooks = saved_; }

 private:
  TextPaneEditorHooks saved_;
};

TEST(TextPaneStore, KeepsTextAlignmentAndFontAndCopiesThem) {
  TextPane pane = CreateTextPane(kAlignRight);
  ASSERT_NE(pane, nullptr);
  EXPECT_EQ(Text(pane), "");
  EXPECT_FALSE(GetTextPaneFont(pane, nullptr));
  const uint32_t fresh = GetTextPaneVersion(pane);

  // Only `length` bytes count, NULs and line breaks included.
  const char bytes[] = "one\r\ntwo\0three|garbage";
  const size_t length = sizeof bytes - 1 - std::strlen("|garbage");
  ASSERT_TRUE(SetTextPaneText(pane, bytes, length));
  EXPECT_EQ(Text(pane), std::string(bytes, length));
  EXPECT_NE(GetTextPaneVersion(pane), fresh);
  char small[4];
  EXPECT_EQ(GetTextPaneText(pane, small, sizeof small), 3u);
  EXPECT_STREQ(small, "one");

  FontRecord font = Font(-20, "Arial");
  std::memset(font.faceName + 6, 'x', sizeof font.faceName - 6);  // an unterminated face
  SetTextPaneFont(pane, &font);
  FontRecord read;
  ASSERT_TRUE(GetTextPaneFont(pane, &read));
  EXPECT_EQ(read.height, -20);
  EXPECT_EQ(read.faceName[sizeof read.faceName - 1], '\0');

  // Unknown alignments are left; the version moves only on a real change.
  const uint32_t before = GetTextPaneVersion(pane);
  SetTextPaneAlignment(pane, kAlignRight);
  EXPECT_EQ(GetTextPaneVersion(pane), before);
  SetTextPaneAlignment(pane, 7);
  EXPECT_EQ(GetTextPaneAlignment(pane), kAlignLeft);
  EXPECT_NE(GetTextPaneVersion(pane), before);
  SetTextPaneAlignment(pane, kAlignCentred);

  TextPane copy = CopyTextPane(pane);
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(Text(copy), Text(pane));
  EXPECT_EQ(GetTextPaneAlignment(copy), kAlignCentred);
  ASSERT_TRUE(GetTextPaneFont(copy, &read));
  EXPECT_STREQ(read.faceName, font.faceName);
  EXPECT_EQ(GetTextPaneEditor(copy), nullptr);
  DestroyTextPane(copy);
  DestroyTextPane(pane);
}

TEST(TextPaneStore, ALiveEditorIsThePanesTextUntilItIsDetached) {
  FakeEditorHooks hooks;
  FakeEditor editor;
  TextPane pane = CreateTextPane(kAlignLeft);
  ASSERT_TRUE(SetTextPaneText(pane, "stored", 6));
  AttachTextPaneEditor(pane, &editor);
  EXPECT_EQ(GetTextPaneEditor(pane), &editor);

  // Typing shows through every reader: text, length, version, copies.
  editor.text = "stored";
  const uint32_t before = GetTextPaneVersion(pane);
  editor.text = "typed\r\nlines";
  EXPECT_EQ(Text(pane), "typed\r\nlines");
  EXPECT_EQ(TextPaneText(pane), "typed\r\nlines");
  EXPECT_NE(GetTextPaneVersion(pane), before);
  TextPane copy = CopyTextPane(pane);
  EXPECT_EQ(Text(copy), "typed\r\nlines");
  DestroyTextPane(copy);

  // What the core sets reaches the editor.
  ASSERT_TRUE(SetTextPaneText(pane, "set", 3));
  EXPECT_EQ(editor.shown, "set");
  FontRecord font = Font(-12, "Courier New");
  SetTextPaneFont(pane, &font);
  EXPECT_EQ(editor.fontsShown, 1);

  // Detached, the pane keeps the last text it read; freeing it frees a live editor only.
  editor.text = "last";
  EXPECT_EQ(Text(pane), "last");
  AttachTextPaneEditor(pane, nullptr);
  editor.text = "gone";
  EXPECT_EQ(Text(pane), "last");
  DestroyTextPane(pane);
  EXPECT_FALSE(editor.destroyed);

  TextPane live = CreateTextPane(kAlignLeft);
  AttachTextPaneEditor(live, &editor);
  DestroyTextPane(live);
  EXPECT_TRUE(editor.destroyed);
}

// Every character 10 units wide, blanks included.
int TenEach(void*, const char*, size_t length) {
  return static_cast<int>(length) * 10;
}

std::vector<std::string> Lines(const std::string& text, int width) {
  std::vector<TextLine> lines;
  BreakTextLines(text, width, 10, TenEach, nullptr, &lines);
  std::vector<std::string> out;
  for (const TextLine& line : lines) out.push_back(text.substr(line.start, line.length));
  return out;
}

TEST(TextLines, BreakAtLineEndsAndWrapAtWordsLikeTheEditControl) {
  using L = std::vector<std::string>;
  const struct {
    const char* text;
    int width;
    L lines;
  } cases[] = {
      {"", 100, {""}},
      {"one\r\ntwo", 100, {"one", "two"}},
      {"end\r\n", 100, {"end", ""}},
      {"\r\n\r\n", 100, {"", "", ""}},
      // A lone line feed ends a line too, "\r\r\n" is one break, a lone return is text.
      {"lone\nfeed\rreturn", 1000, {"lone", "feed\rreturn"}},
      {"soft\r\r\nbreak", 1000, {"soft", "break"}},
      // Wraps before a word start that fits, its blanks staying on the line; the search starts
      // from the control's guess (8 of 11 here), so "aaa bbb " is never tried.
      {"aaa bbb ccc", 80, {"aaa ", "bbb ccc"}},
      {"aaa bbb ccc", 110, {"aaa bbb ccc"}},
      {"para one\r\npara two two", 90, {"para one", "para ", "two two"}},
      // No word start before the guess: cut one character short of what fits.
      {"aaa   bbb", 60, {"aaa  ", " bbb"}},
      {"aaa bbb", 30, {"aa", "a ", "bbb"}},
      {"abcdefghij", 40, {"abc", "def", "ghij"}},
      // Boxes no wider than a character wrap nothing.
      {"x", 5, {"x"}},
      {"aaa bbb", 10, {"aaa bbb"}},
  };
  for (const auto& c : cases)
    EXPECT_EQ(Lines(c.text, c.width), c.lines) << '"' << c.text << "\" in " << c.width;
}

class TextToolTest : public ToolTest {
 protected:
  // A text block around the edit rectangle, typed with `text`.
  ObjectRec* Block(const char* text, float left = 100, float top = 100, float right = 300,
                   float bottom = 125) {
    TextPane pane = CreateTextPane(kAlignLeft);
    SetTextPaneText(pane, text, std::strlen(text));
    const FloatRect edit = {top, left, bottom, right};
    return BuildTextBlock(&edit, pane, layer_);
  }
};

TEST_F(TextToolTest, BuildTextBlockFramesTheEditRectangle) {
  doc_->docState->penColor = RGB16{1, 2, 3};
  ObjectRec* text = Block("note");
  ASSERT_NE(text, nullptr);
  EXPECT_EQ(text->kind, kTextBlockKind);
  EXPECT_EQ(text->closed, 1);
  EXPECT_EQ(text->lineWeight, 0.0f);
  EXPECT_EQ(text->lineType, kSolidLineType);
  EXPECT_EQ(text->fillPattern, kNoFill);
  EXPECT_EQ(text->penColor.blue, 3);
  const float xs[4] = {97, 303, 303, 97}, ys[4] = {97, 97, 128, 128};  // a 200 x 25 box: 206 x 31
  int i = 0;
  for (PointRec* p = text->firstPoint; p; p = p->nextPoint, ++i) {
    ASSERT_LT(i, 4);
    EXPECT_EQ(p->x, xs[i]);
    EXPECT_EQ(p->y, ys[i]);
    EXPECT_EQ(p->selected, 1);
  }
  EXPECT_EQ(i, 4);
  EXPECT_EQ(text->bounds.right - text->bounds.left, 206.0f);

  const FloatRect bad = {0, 0, std::numeric_limits<float>::infinity(), 10};
  TextPane pane = CreateTextPane(kAlignLeft);
  EXPECT_EQ(BuildTextBlock(&bad, pane, layer_), nullptr);
  DestroyTextPane(pane);  // still the caller's
}

TEST_F(TextToolTest, SizeTextPaneKeepsTopLeftAndRight) {
  ObjectRec* text = Block("two\r\nlines");
  const IntRect lines = {0, 0, 200, 26};
  SizeTextPane(text, &lines);
  EXPECT_EQ(text->bounds.top, 97.0f);
  EXPECT_EQ(text->bounds.left, 97.0f);
  EXPECT_EQ(text->bounds.right, 303.0f);
  EXPECT_EQ(text->bounds.bottom, 97.0f + 26 + 6);
  EXPECT_EQ(text->firstPoint->nextPoint->nextPoint->y, 129.0f);
}

TEST_F(TextToolTest, MatchFindsTheBlockOfAnEditorInVisibleLayers) {
  int editorA = 0, editorB = 0;
  ObjectRec* a = Block("a");
  ObjectRec* b = Block("b", 0, 0, 50, 20);
  SetObjectSelectFlags(b, 0);
  AttachTextPaneEditor(TextPaneOf(a), &editorA);
  AttachTextPaneEditor(TextPaneOf(b), &editorB);
  EXPECT_EQ(MatchTextPaneToObject(&editorA, false), a);
  EXPECT_EQ(MatchTextPaneToObject(&editorB, false), b);
  EXPECT_EQ(MatchTextPaneToObject(&editorB, true), nullptr);
  EXPECT_EQ(MatchTextPaneToObject(nullptr, false), nullptr);
  layer_->visible = 0;
  EXPECT_EQ(MatchTextPaneToObject(&editorA, false), nullptr);
  layer_->visible = 1;
  AttachTextPaneEditor(TextPaneOf(a), nullptr);
  AttachTextPaneEditor(TextPaneOf(b), nullptr);
}

TEST_F(TextToolTest, AlignmentAndFontCommandsChangeSelectedBlocksWithText) {
  ObjectRec* full = Block("text");
  ObjectRec* empty = Block("", 0, 0, 50, 20);
  ObjectRec* other = Block("not selected", 0, 200, 50, 220);
  SetObjectSelectFlags(other, 0);
  SelectedObjectAllLayers(doc_->firstLayer, true, kOpAlignCenter, nullptr);
  EXPECT_EQ(GetTextPaneAlignment(TextPaneOf(full)), kAlignCentred);
  EXPECT_EQ(GetTextPaneAlignment(TextPaneOf(empty)), kAlignLeft) << "an empty block keeps its alignment";
  EXPECT_EQ(GetTextPaneAlignment(TextPaneOf(other)), kAlignLeft);
  SelectedObjectAllLayers(doc_->firstLayer, true, kOpAlignRight, nullptr);
  EXPECT_EQ(GetTextPaneAlignment(TextPaneOf(full)), kAlignRight);

  // The selection summary shows the blocks' alignment as its command.
  RebuildSelectionState();
  EXPECT_EQ(doc_->docState->selectionState.alignment, kAlignRightCommand);

  const FontRecord font = Font(-30, "Arial");
  const RGB16 saved = gFontColor;
  gFontColor = RGB16{65535, 0, 0};
  SelectedObjectAllLayers(doc_->firstLayer, true, kOpFont, const_cast<FontRecord*>(&font));
  FontRecord read;
  ASSERT_TRUE(GetTextPaneFont(TextPaneOf(full), &read));
  EXPECT_EQ(read.height, -30);
  EXPECT_EQ(full->penColor.red, 65535);
  EXPECT_FALSE(GetTextPaneFont(TextPaneOf(other), &read));
  gFontColor = saved;

  EXPECT_EQ(PaneAlignmentOfCommand(kAlignLeftCommand), kAlignLeft);
  EXPECT_EQ(CommandOfPaneAlignment(kAlignCentred), kAlignCenterCommand);
}

TEST_F(TextToolTest, EndingTypingDeletesSelectedEmptyBlocksAndForgetsTheirEditor) {
  FakeEditorHooks hooks;
  FakeEditor editor;
  ObjectRec* typed = Block("kept");
  ObjectRec* blank = Block("", 0, 0, 50, 20);
  ObjectRec* unselected = Block("", 0, 200, 50, 220);
  SetObjectSelectFlags(unselected, 0);
  AttachTextPaneEditor(TextPaneOf(blank), &editor);
  doc_->activeTextWindow = &editor;
  TopLevelObjectAllLayers(doc_->firstLayer, kOpEndTextEdit, nullptr);
  EXPECT_EQ(CountObjects(layer_), 2);
  EXPECT_EQ(layer_->firstObject, typed);
  EXPECT_EQ(typed->nextObject, unselected);
  EXPECT_EQ(doc_->activeTextWindow, nullptr);
  EXPECT_TRUE(editor.destroyed);

  EXPECT_FALSE(DeleteEmptyTextBlock(typed));
  EXPECT_TRUE(DeleteEmptyTextBlock(unselected));
  EXPECT_EQ(CountObjects(layer_), 1);
}

TEST_F(TextToolTest, TextSurvivesSaveReadAndUndo) {
  FakeEditorHooks hooks;
  FakeEditor editor;
  ObjectRec* text = Block("old");
  const FontRecord font = Font(-16, "Times New Roman");
  SetTextPaneFont(TextPaneOf(text), &font);
  SetTextPaneAlignment(TextPaneOf(text), kAlignCentred);
  // Saved while typing: the file gets what is typed.
  AttachTextPaneEditor(TextPaneOf(text), &editor);
  editor.text = "typed\r\nnow";
  const std::string path = ::testing::TempDir() + "textpane-roundtrip.drx";
  ASSERT_TRUE(DrxFileWrite(path.c_str())) << DrxFailureText(gDrxFileFailure);
  AttachTextPaneEditor(TextPaneOf(text), nullptr);

  DeleteDocument(doc_);
  doc_ = CreateDocument();
  ASSERT_TRUE(DrxFileRead(path.c_str())) << DrxFailureText(gDrxFileFailure);
  layer_ = doc_->firstLayer;
  ObjectRec* read = layer_->firstObject;
  ASSERT_NE(read, nullptr);
  ASSERT_EQ(read->kind, kTextBlockKind);
  EXPECT_EQ(Text(TextPaneOf(read)), "typed\r\nnow");
  EXPECT_EQ(GetTextPaneAlignment(TextPaneOf(read)), kAlignCentred);
  FontRecord readFont;
  ASSERT_TRUE(GetTextPaneFont(TextPaneOf(read), &readFont));
  EXPECT_EQ(std::memcmp(&readFont, &font, sizeof font), 0);
  EXPECT_EQ(GetTextPaneEditor(TextPaneOf(read)), nullptr) << "a read block has no editor";

  // Cleared and undone: the same block with the same pane comes back.
  SetObjectSelectFlags(read, 1);
  TextPane pane = TextPaneOf(read);
  BeginUndo(doc_, kUndoClear);
  EXPECT_EQ(ClearSelectionWithUndo(), 1);
  EXPECT_EQ(layer_->firstObject, nullptr);
  ASSERT_TRUE(Undo());
  ASSERT_EQ(layer_->firstObject, read);
  EXPECT_EQ(TextPaneOf(read), pane);
  EXPECT_EQ(Text(pane), "typed\r\nnow");
}

}  // namespace
