// Line breaking of text blocks, as the multi-line edit control that types them does it.
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

  // A word starts at `at`: a line may be broken before it.
  bool IsWordStart(size_t at) const {
    return at > 0 && at < text.size() && IsBlank(text[at - 1]) && !IsBlank(text[at]);
  }

  // The word start before `at` - 1 (in the whole text), searched backwards; 0 for none.
  size_t WordStartBefore(size_t at) const {
    if (at > 0) --at;
    while (at > 0 && !IsWordStart(at)) --at;
    return at;
  }

  // The length of the first line of the `length` bytes from `start`, which are `total` units
  // wide, more than the box. The control guesses the break from the ratio of the widths and
  // tries the word starts from there back to the line's start; with none that fits it cuts the
  // word, one character short of what fits (at least one).
  size_t WrapLength(size_t start, size_t length, int total) const {
    long previous = static_cast<long>(length) - 1;
    float ratio = static_cast<float>(total) / static_cast<float>(width);
    if (ratio > 1.2f) ratio -= 0.2f;
    long next = static_cast<long>(static_cast<float>(previous) / ratio);
    if (next >= previous) next = previous - 1;
    int lineWidth = 0;
    do {
      const long at = next + static_cast<long>(start) > 0 ? static_cast<long>(start) + next : 0;
      previous = static_cast<long>(WordStartBefore(static_cast<size_t>(at))) - static_cast<long>(start);
      if (previous > 0)
        lineWidth = Width(start, start + static_cast<size_t>(previous));
      else
        previous = 0;
      next = previous - 1;
    } while (previous != 0 && lineWidth > width);
    if (previous != 0) return static_cast<size_t>(previous);
    size_t fits = 0, tooWide = length;  // Width(start, start + fits) fits, tooWide does not
    while (tooWide - fits > 1) {
      const size_t middle = fits + (tooWide - fits) / 2;
      if (Width(start, start + middle) <= width)
        fits = middle;
      else
        tooWide = middle;
    }
    return fits > 1 ? fits - 1 : 1;
  }

  void AddParagraph(size_t start, size_t end, bool wrap, std::vector<TextLine>* lines) const {
    for (;;) {
      const size_t length = end - start;
      const int total = wrap && length > 0 ? Width(start, end) : 0;
      if (!wrap || total <= width) break;
      const size_t cut = WrapLength(start, length, total);
      lines->push_back({static_cast<uint32_t>(start), static_cast<uint32_t>(cut)});
      start += cut;
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
    // A line ends at "\r\n", at "\r\r\n" (the extra '\r' belongs to no line) or at a lone '\n'.
    size_t at = start;
    while (at < text.size() && text[at] != '\n' &&
           !(text[at] == '\r' && at + 1 < text.size() && text[at + 1] == '\n'))
      ++at;
    if (at >= text.size()) break;
    size_t end = at, next = at + 1;
    if (text[at] == '\r') {
      next = at + 2;
      if (at > start && text[at - 1] == '\r') end = at - 1;
    }
    breaker.AddParagraph(start, end, wrap, lines);
    start = next;
  }
  breaker.AddParagraph(start, text.size(), wrap, lines);
}
