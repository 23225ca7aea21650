// Line breaking of text blocks.
#include "model/textlines.h"

namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

struct Breaker {
  const std::string& text;
  int width;
  TextWidthFunction measure;
  void* context;

  int Width(size_t start, size_t end) const {
    return end > start ? measure(context, text.data() + start, end - start) : 0;
  }

  bool IsWordStart(size_t at) const { return IsBlank(text[at - 1]) && !IsBlank(text[at]); }

  // The end of the first line of [start, end), or `end` when the rest fits. Widths only grow
  // with the length, so the word starts are tried from the left until one no longer fits.
  size_t LineEnd(size_t start, size_t end) const {
    size_t fitting = 0;
    for (size_t at = start + 1; at < end; ++at) {
      if (!IsWordStart(at)) continue;
      if (Width(start, at) > width) break;
      fitting = at;
    }
    if (fitting == 0 || fitting == LastWordStart(start, end)) {
      if (Width(start, end) <= width) return end;
    }
    if (fitting != 0) return fitting;
    // No word boundary fits: as many characters as fit, at least one.
    size_t low = start + 1, high = end;  // Width(start, high) is too wide
    while (high - low > 1) {
      const size_t middle = low + (high - low) / 2;
      if (Width(start, middle) <= width)
        low = middle;
      else
        high = middle;
    }
    return low;
  }

  size_t LastWordStart(size_t start, size_t end) const {
    for (size_t at = end - 1; at > start; --at)
      if (IsWordStart(at)) return at;
    return 0;
  }

  void AddParagraph(size_t start, size_t end, bool wrap, std::vector<TextLine>* lines) const {
    while (wrap && end - start > 1) {
      const size_t cut = LineEnd(start, end);
      if (cut == end) break;
      lines->push_back({static_cast<uint32_t>(start), static_cast<uint32_t>(cut - start)});
      start = cut;
    }
    lines->push_back({static_cast<uint32_t>(start), static_cast<uint32_t>(end - start)});
  }
};

}  // namespace

void BreakTextLines(const std::string& text, int width, int averageCharWidth, TextWidthFunction measure,
                    void* context, std::vector<TextLine>* lines) {
  if (!lines) return;
  lines->clear();
  const Breaker breaker{text, width, measure, context};
  const bool wrap = measure && width > averageCharWidth;
  size_t start = 0;
  for (;;) {
    const size_t end = text.find("\r\n", start);
    if (end == std::string::npos) break;
    breaker.AddParagraph(start, end, wrap, lines);
    start = end + 2;
  }
  breaker.AddParagraph(start, text.size(), wrap, lines);
}
