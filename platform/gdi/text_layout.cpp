#include "platform/gdi/text_layout.h"

#include <algorithm>
#include <string>

namespace platform {
namespace {

std::string StripPrefixes(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '&' && i + 1 < text.size()) ++i;  // "&x" -> "x", "&&" -> "&"
    out += text[i];
  }
  return out;
}

std::vector<std::string> Paragraphs(const std::string& text, bool singleLine) {
  if (singleLine) return {text};
  std::vector<std::string> out;
  size_t start = 0;
  for (;;) {
    const size_t nl = text.find('\n', start);
    std::string line = text.substr(start, nl == std::string::npos ? std::string::npos : nl - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    out.push_back(std::move(line));
    if (nl == std::string::npos) return out;
    start = nl + 1;
  }
}

// Greedy word wrap of one paragraph to `width` pixels.
void Wrap(const FontSpec& font, const std::string& paragraph, int width, std::vector<std::string>& out) {
  std::string line;
  size_t i = 0;
  bool any = false;
  while (i < paragraph.size()) {
    const size_t wordEnd = std::min(paragraph.find(' ', i), paragraph.size());
    const std::string word = paragraph.substr(i, wordEnd - i);
    const std::string candidate = line.empty() ? word : line + " " + word;
    if (line.empty() || TextWidth(font, candidate) <= width) {
      line = candidate;
    } else {
      out.push_back(line);
      any = true;
      line = word;
    }
    i = wordEnd;
    while (i < paragraph.size() && paragraph[i] == ' ') ++i;
  }
  if (!line.empty() || !any) out.push_back(line);
}

std::string WithEllipsis(const FontSpec& font, const std::string& line, int width) {
  if (TextWidth(font, line) <= width) return line;
  std::string cut = line;
  while (!cut.empty() && TextWidth(font, cut + "...") > width) cut.pop_back();
  return cut + "...";
}

}  // namespace

TextLayout LayOutText(const FontSpec& font, std::string_view text, const RECT& rect, UINT format) {
  const bool singleLine = (format & DT_SINGLELINE) != 0;
  const std::string shown = (format & DT_NOPREFIX) ? std::string(text) : StripPrefixes(text);
  const int width = rect.right - rect.left;
  std::vector<std::string> rows;
  for (const std::string& paragraph : Paragraphs(shown, singleLine)) {
    if ((format & DT_WORDBREAK) && !singleLine) {
      Wrap(font, paragraph, width, rows);
    } else {
      rows.push_back(paragraph);
    }
  }
  const bool ellipsis = (format & (DT_END_ELLIPSIS | DT_PATH_ELLIPSIS | DT_WORD_ELLIPSIS)) != 0;
  const int lineHeight = MeasureFont(font).height;
  int top = rect.top;
  if (singleLine && (format & DT_VCENTER)) {
    top = rect.top + (rect.bottom - rect.top - lineHeight) / 2;
  } else if (singleLine && (format & DT_BOTTOM)) {
    top = rect.bottom - lineHeight;
  }
  TextLayout layout;
  int widest = 0;
  for (size_t i = 0; i < rows.size(); ++i) {
    TextLine line;
    line.text = ellipsis ? WithEllipsis(font, rows[i], width) : rows[i];
    line.width = TextWidth(font, line.text);
    int x = rect.left;
    if (format & DT_CENTER) {
      x = rect.left + (width - line.width) / 2;
    } else if (format & DT_RIGHT) {
      x = rect.right - line.width;
    }
    line.origin = POINT{x, top + static_cast<int>(i) * lineHeight};
    widest = std::max(widest, line.width);
    layout.lines.push_back(std::move(line));
  }
  const int textHeight = static_cast<int>(rows.size()) * lineHeight;
  layout.height = top - rect.top + textHeight;
  const int extentWidth = (format & DT_WORDBREAK) && !singleLine ? std::max(widest, width) : widest;
  layout.extent = RECT{rect.left, rect.top, rect.left + extentWidth, rect.top + textHeight};
  return layout;
}

}  // namespace platform
