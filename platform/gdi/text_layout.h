// DrawText's layout: where each line of a text goes in a rectangle, with
// the measures of platform/gdi/text_metrics.h.
//
//  - Unless DT_NOPREFIX, "&x" shows as "x" (the mnemonic) and "&&" as "&".
//  - Unless DT_SINGLELINE, "\n" (or "\r\n") starts a new line, and with
//    DT_WORDBREAK a line breaks at the last space that lets it fit the
//    rectangle's width; a word wider than the rectangle stands alone on its
//    line, overflowing it. Spaces at a break are dropped.
//  - DT_CENTER / DT_RIGHT align each line; DT_VCENTER / DT_BOTTOM place a
//    DT_SINGLELINE line vertically (integer halves round down).
//  - DT_END_ELLIPSIS (and the other ellipsis flags) cut a line that is too
//    wide and end it with "..." so that it fits.
//  - An empty text is one empty line.
// The height is the lines' total height, plus the offset of the first line
// from the rectangle's top when it was placed vertically. The extent is
// what DT_CALCRECT reports: the rectangle's top-left, as wide as the widest
// line (with DT_WORDBREAK at least as wide as the rectangle), as high as
// the lines.
#pragma once

#include <string_view>
#include <vector>

#include "platform/gdi/display_list.h"
#include "platform/gdi/text_metrics.h"
#include "platform/base/wintypes.h"

// DrawText formats.
constexpr UINT DT_TOP = 0x00000000;
constexpr UINT DT_LEFT = 0x00000000;
constexpr UINT DT_CENTER = 0x00000001;
constexpr UINT DT_RIGHT = 0x00000002;
constexpr UINT DT_VCENTER = 0x00000004;
constexpr UINT DT_BOTTOM = 0x00000008;
constexpr UINT DT_WORDBREAK = 0x00000010;
constexpr UINT DT_SINGLELINE = 0x00000020;
constexpr UINT DT_EXPANDTABS = 0x00000040;
constexpr UINT DT_NOCLIP = 0x00000100;
constexpr UINT DT_CALCRECT = 0x00000400;
constexpr UINT DT_NOPREFIX = 0x00000800;
constexpr UINT DT_EDITCONTROL = 0x00002000;
constexpr UINT DT_PATH_ELLIPSIS = 0x00004000;
constexpr UINT DT_END_ELLIPSIS = 0x00008000;
constexpr UINT DT_WORD_ELLIPSIS = 0x00040000;

namespace platform {

struct TextLayout {
  std::vector<TextLine> lines;
  int height = 0;
  RECT extent;
};

TextLayout LayOutText(const FontSpec& font, std::string_view text, const RECT& rect, UINT format);

}  // namespace platform
