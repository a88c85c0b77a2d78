#include "platform/gdi/sys_colors.h"

#include <array>

#include "platform/gdi/system_change.h"

namespace {

constexpr int kColorCount = COLOR_MENUBAR + 1;

// The classic scheme; index 25 is not a colour of the platform.
constexpr std::array<COLORREF, kColorCount> kClassic = {
    RGB(192, 192, 192),  // scroll bar
    RGB(0, 128, 128),    // background (desktop)
    RGB(0, 0, 128),      // active caption
    RGB(128, 128, 128),  // inactive caption
    RGB(192, 192, 192),  // menu
    RGB(255, 255, 255),  // window
    RGB(0, 0, 0),        // window frame
    RGB(0, 0, 0),        // menu text
    RGB(0, 0, 0),        // window text
    RGB(255, 255, 255),  // caption text
    RGB(192, 192, 192),  // active border
    RGB(192, 192, 192),  // inactive border
    RGB(128, 128, 128),  // application workspace
    RGB(0, 0, 128),      // highlight
    RGB(255, 255, 255),  // highlight text
    RGB(192, 192, 192),  // button face
    RGB(128, 128, 128),  // button shadow
    RGB(128, 128, 128),  // grey text
    RGB(0, 0, 0),        // button text
    RGB(192, 192, 192),  // inactive caption text
    RGB(255, 255, 255),  // button highlight
    RGB(0, 0, 0),        // 3-D dark shadow
    RGB(192, 192, 192),  // 3-D light
    RGB(0, 0, 0),        // info text
    RGB(255, 255, 225),  // info background
    RGB(0, 0, 0),        // (none)
    RGB(0, 0, 255),      // hot-tracked item
    RGB(16, 132, 208),   // active caption gradient
    RGB(181, 181, 181),  // inactive caption gradient
    RGB(0, 0, 128),      // menu highlight
    RGB(192, 192, 192),  // menu bar
};

bool Known(int index) { return index >= 0 && index < kColorCount && index != 25; }

std::array<COLORREF, kColorCount>& Current() {
  static std::array<COLORREF, kColorCount> colors = kClassic;
  return colors;
}

}  // namespace

COLORREF GetSysColor(int index) { return Known(index) ? Current()[static_cast<size_t>(index)] : 0; }

BOOL SetSysColors(int count, const int* indices, const COLORREF* colors) {
  if (count < 0 || (count > 0 && (indices == nullptr || colors == nullptr))) return FALSE;
  for (int i = 0; i < count; ++i) {
    if (!Known(indices[i])) return FALSE;
  }
  for (int i = 0; i < count; ++i) Current()[static_cast<size_t>(indices[i])] = colors[i];
  platform::BroadcastSystemChange(platform::SystemChange::Colors);
  return TRUE;
}

namespace platform {

void ResetSysColors() { Current() = kClassic; }

bool IsSysColorIndex(int index) { return Known(index); }

}  // namespace platform
