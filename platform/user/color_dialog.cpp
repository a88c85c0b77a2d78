#include "platform/user/color_dialog.h"

#include <array>
#include <utility>

#include "platform/window/cwnd.h"
#include "platform/window/messages.h"

namespace platform {
namespace {

constexpr COLORREF kWhite = 0x00FFFFFF;

struct ColorState {
  ColorResponder responder;
  std::vector<ColorRequest> log;
  std::array<COLORREF, 16> custom = WhiteCustomColors();

  static std::array<COLORREF, 16> WhiteCustomColors() {
    std::array<COLORREF, 16> white{};
    white.fill(kWhite);
    return white;
  }
};

// User-interface thread only, like every window function.
ColorState& State() {
  static ColorState state;
  return state;
}

}  // namespace

void SetColorResponder(ColorResponder responder) { State().responder = std::move(responder); }

ColorResponder CurrentColorResponder() { return State().responder; }

ColorResponder ChooseColorOnce(COLORREF color) {
  return [color, previous = State().responder](const ColorRequest&) -> std::optional<COLORREF> {
    // ChooseColor calls a copy of the installed responder, so replacing it
    // here does not destroy the closure that runs.
    SetColorResponder(previous);
    return color;
  };
}

std::vector<ColorRequest> ColorLog() { return State().log; }

void ResetColorChooser() {
  State().log.clear();
  State().responder = nullptr;
  State().custom = ColorState::WhiteCustomColors();
}

COLORREF* CustomColors() { return State().custom.data(); }

}  // namespace platform

BOOL ChooseColor(LPCHOOSECOLOR cc) {
  if (cc == nullptr || cc->lStructSize != sizeof(CHOOSECOLOR)) return FALSE;
  platform::ColorRequest request;
  request.owner = cc->hwndOwner;
  request.initial = (cc->Flags & CC_RGBINIT) ? cc->rgbResult : 0;
  request.customColors = cc->lpCustColors;
  // The responder may replace itself (ChooseColorOnce), so it runs from a copy.
  const platform::ColorResponder responder = platform::State().responder;
  request.chosen = responder ? responder(request) : std::nullopt;
  platform::State().log.push_back(request);
  if (!request.chosen) return FALSE;
  cc->rgbResult = *request.chosen & 0x00FFFFFF;
  return TRUE;
}

CColorDialog::CColorDialog(COLORREF initial, DWORD flags, CWnd* parent) {
  m_cc.hwndOwner = parent != nullptr ? parent->GetSafeHwnd() : nullptr;
  m_cc.rgbResult = initial;
  m_cc.lpCustColors = platform::CustomColors();
  m_cc.Flags = flags | CC_RGBINIT;
}

INT_PTR CColorDialog::DoModal() { return ::ChooseColor(&m_cc) ? IDOK : IDCANCEL; }
