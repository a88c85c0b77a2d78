// The colour chooser, headless: ChooseColor (and CColorDialog around it)
// records what it was asked and lets a replaceable responder play the person
// who picks a colour or cancels, as menus and message boxes do.
//
// The default responder cancels (headless, nobody is there to pick); the
// desktop mode installs ShowColorChooser (platform/user/color_chooser_dlg.h),
// the modal "Color" dialog. A responder that answers a colour makes
// ChooseColor return TRUE with that colour in rgbResult; on a cancel the
// structure is left as it was and the result is FALSE. The chooser starts
// from rgbResult with CC_RGBINIT and from black without it.
#pragma once

#include <functional>
#include <optional>
#include <vector>

#include "platform/base/export.h"
#include "platform/base/wintypes.h"
#include "platform/window/messages.h"  // IDOK, IDCANCEL of DoModal

class CWnd;

constexpr DWORD CC_RGBINIT = 0x0001;
constexpr DWORD CC_FULLOPEN = 0x0002;
constexpr DWORD CC_PREVENTFULLOPEN = 0x0004;
constexpr DWORD CC_ANYCOLOR = 0x0100;

struct CHOOSECOLOR {
  DWORD lStructSize = sizeof(CHOOSECOLOR);
  HWND hwndOwner = nullptr;
  HWND hInstance = nullptr;
  COLORREF rgbResult = 0;
  COLORREF* lpCustColors = nullptr;  // 16 custom colours; the chooser may change them on OK
  DWORD Flags = 0;
  LPARAM lCustData = 0;
  void* lpfnHook = nullptr;
  LPCSTR lpTemplateName = nullptr;
};
using CHOOSECOLORA = CHOOSECOLOR;
using LPCHOOSECOLOR = CHOOSECOLOR*;

// TRUE with the chosen colour in rgbResult; FALSE when cancelled or when the
// structure is null or of the wrong size.
PLATFORM_API BOOL ChooseColor(LPCHOOSECOLOR cc);

// The framework's wrapper: DoModal runs the chooser and answers IDOK or
// IDCANCEL; GetColor is the chosen colour (the initial one until then). Its
// 16 custom colours are the process's own, white at first, so a colour added
// in one chooser is there in the next.
class PLATFORM_API CColorDialog {
 public:
  explicit CColorDialog(COLORREF initial = 0, DWORD flags = 0, CWnd* parent = nullptr);
  virtual ~CColorDialog() = default;
  CColorDialog(const CColorDialog&) = delete;  // m_cc points into the object
  CColorDialog& operator=(const CColorDialog&) = delete;

  virtual INT_PTR DoModal();
  COLORREF GetColor() const { return m_cc.rgbResult; }

  CHOOSECOLOR m_cc;
};

namespace platform {

// One opening of the chooser.
struct ColorRequest {
  HWND owner = nullptr;
  COLORREF initial = 0;
  COLORREF* customColors = nullptr;  // the caller's 16 custom colours, or null
  std::optional<COLORREF> chosen;    // filled in once answered; nullopt: cancelled
};

// Returns the colour picked, or nullopt to cancel.
using ColorResponder = std::function<std::optional<COLORREF>(const ColorRequest&)>;
// Installs a responder; an empty function restores the default (cancel).
PLATFORM_API void SetColorResponder(ColorResponder responder);
// A responder that picks `color` once and then puts back the responder that
// was installed when it was made, so only the next chooser is answered.
PLATFORM_API ColorResponder ChooseColorOnce(COLORREF color);

// The choosers opened so far, oldest first. For tests (not exported).
std::vector<ColorRequest> ColorLog();
// The responder installed now (empty: the default).
PLATFORM_API ColorResponder CurrentColorResponder();
// Empties the log, restores the default responder and turns CColorDialog's
// custom colours white again. The framework's own (AfxWinTerm, the floors'
// test resets): not exported.
void ResetColorChooser();

}  // namespace platform
