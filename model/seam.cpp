// Text panes: the text, alignment and font of text blocks, kept in plain memory on both builds.
// The program's live editor, when a pane has one, holds the text being typed; the core reads it
// through the editor hooks.
#include <cstring>
#include <new>

#include "model/seam.h"

struct TextPaneTag {
  std::string text;
  int16_t alignment = kAlignLeft;
  bool hasFont = false;
  FontRecord font{};
  uint32_t version = 0;
  void* editor = nullptr;
  TextLineCache lines{};
};

TextPaneEditorHooks gTextPaneEditorHooks = {nullptr, nullptr, nullptr, nullptr};

namespace {

int16_t NormalAlignment(int16_t alignment) {
  return alignment == kAlignCentred || alignment == kAlignRight ? alignment : kAlignLeft;
}

bool StoreText(TextPane pane, const char* text, size_t length) {
  if (pane->text.size() == length && (length == 0 || std::memcmp(pane->text.data(), text, length) == 0))
    return true;
  try {
    pane->text.assign(text ? text : "", length);
  } catch (const std::bad_alloc&) {
    return false;
  }
  ++pane->version;
  return true;
}

// While an editor lives its text is the pane's: bring the store up to date before reading it.
void PullFromEditor(TextPane pane) {
  if (!pane || !pane->editor || !gTextPaneEditorHooks.readText) return;
  std::string text;
  try {
    if (gTextPaneEditorHooks.readText(pane->editor, &text)) StoreText(pane, text.data(), text.size());
  } catch (const std::bad_alloc&) {
    // The store keeps the text it had.
  }
}

}  // namespace

TextPane CreateTextPane(int16_t alignment) {
  TextPane pane = new (std::nothrow) TextPaneTag;
  if (pane) pane->alignment = NormalAlignment(alignment);
  return pane;
}

TextPane CopyTextPane(TextPane source) {
  if (!source) return nullptr;
  PullFromEditor(source);
  TextPane pane = CreateTextPane(source->alignment);
  if (!pane) return nullptr;
  if (!StoreText(pane, source->text.data(), source->text.size())) {
    delete pane;
    return nullptr;
  }
  pane->hasFont = source->hasFont;
  pane->font = source->font;
  return pane;
}

void DestroyTextPane(TextPane pane) {
  if (!pane) return;
  if (pane->editor && gTextPaneEditorHooks.destroyEditor) gTextPaneEditorHooks.destroyEditor(pane->editor);
  delete pane;
}

bool SetTextPaneText(TextPane pane, const char* text, size_t length) {
  if (!pane || (!text && length > 0)) return false;
  if (!StoreText(pane, text, length)) return false;
  if (pane->editor && gTextPaneEditorHooks.showText)
    gTextPaneEditorHooks.showText(pane->editor, text, length);
  return true;
}

size_t GetTextPaneTextLength(TextPane pane) {
  PullFromEditor(pane);
  return pane ? pane->text.size() : 0;
}

size_t GetTextPaneText(TextPane pane, char* buffer, size_t capacity) {
  if (!buffer || capacity == 0) return 0;
  buffer[0] = '\0';
  if (!pane) return 0;
  PullFromEditor(pane);
  const size_t count = pane->text.size() < capacity - 1 ? pane->text.size() : capacity - 1;
  std::memcpy(buffer, pane->text.data(), count);
  buffer[count] = '\0';
  return count;
}

const std::string& TextPaneText(TextPane pane) {
  static const std::string kNone;
  if (!pane) return kNone;
  PullFromEditor(pane);
  return pane->text;
}

int16_t GetTextPaneAlignment(TextPane pane) {
  return pane ? pane->alignment : kAlignLeft;
}

void SetTextPaneAlignment(TextPane pane, int16_t alignment) {
  if (!pane || pane->alignment == NormalAlignment(alignment)) return;
  pane->alignment = NormalAlignment(alignment);
  ++pane->version;
}

void SetTextPaneFont(TextPane pane, const FontRecord* font) {
  if (!pane) return;
  pane->hasFont = font != nullptr;
  if (font) {
    pane->font = *font;
    // The face is a C string: keep it terminated whatever the caller passed.
    pane->font.faceName[sizeof pane->font.faceName - 1] = '\0';
  }
  ++pane->version;
  if (pane->editor && gTextPaneEditorHooks.showFont)
    gTextPaneEditorHooks.showFont(pane->editor, pane->hasFont ? &pane->font : nullptr);
}

bool GetTextPaneFont(TextPane pane, FontRecord* font) {
  if (!pane || !pane->hasFont) return false;
  if (font) *font = pane->font;
  return true;
}

uint32_t GetTextPaneVersion(TextPane pane) {
  PullFromEditor(pane);
  return pane ? pane->version : 0;
}

TextLineCache* GetTextPaneLineCache(TextPane pane) {
  return pane ? &pane->lines : nullptr;
}

void* GetTextPaneEditor(TextPane pane) {
  return pane ? pane->editor : nullptr;
}

void AttachTextPaneEditor(TextPane pane, void* editor) {
  if (pane) pane->editor = editor;
}
