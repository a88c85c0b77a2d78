// The colour chooser as a person sees it: the modal "Color" dialog that
// ShowColorChooser runs (the desktop mode installs it as the colour
// responder, platform/user/color_dialog.h).
//
//   +- Color ---------------------------------+
//   | Basic colors:                            |
//   |  [] [] [] [] [] [] [] []   6 rows of 8   |  ids kColorBasicFirst + row * 8 + column
//   | Custom colors:                           |
//   |  [] [] [] [] [] [] [] []   2 rows of 8   |  ids kColorCustomFirst + row * 8 + column
//   | [ Add to Custom Colors ]                 |
//   | +-----+  Red:   [255]        [  OK  ]    |
//   | |     |  Green: [128]        [Cancel]    |
//   | +-----+  Blue:  [  0]                    |
//   +------------------------------------------+
//
// A swatch is an owner-drawn button: a click selects its colour, and the
// arrow keys move the selection within its grid (Up/Down by a row, Left/
// Right by one, wrapping at the ends). The red, green and blue fields show
// the selected colour and set it when typed into (0 to 255; more reads as
// 255). "Add to Custom Colors" puts the colour into the custom swatch last
// clicked (the first at start) and moves on to the next one. OK (or Enter)
// answers the colour, Cancel, Escape or the close box cancel. The chooser
// opens on the request's initial colour, with its basic swatch selected when
// there is one.
#pragma once

#include <array>
#include <optional>

#include "platform/base/export.h"
#include "platform/base/wintypes.h"
#include "platform/user/color_dialog.h"

namespace platform {

constexpr int kColorBasicFirst = 800;   // 48 basic swatches
constexpr int kColorCustomFirst = 860;  // 16 custom swatches
constexpr int kColorRed = 706;
constexpr int kColorGreen = 707;
constexpr int kColorBlue = 708;
constexpr int kColorCurrent = 709;  // the chosen colour, large
constexpr int kColorAddCustom = 712;
constexpr int kBasicColorCount = 48;
constexpr int kCustomColorCount = 16;

// The basic colours, row by row (0x00BBGGRR).
const std::array<COLORREF, kBasicColorCount>& BasicColors();

// Runs the dialog modally over the request's owner: the colour chosen, or
// nullopt when cancelled. On OK the custom colours the person added are
// written back through request.customColors (when given).
PLATFORM_API std::optional<COLORREF> ShowColorChooser(const ColorRequest& request);

}  // namespace platform
