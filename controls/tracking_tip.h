// The tool-tip both CColorListBox and CAutoComboBox show for a text too
// wide for them: a top-most tracking tip owned by the control, with one
// tracking, transparent tool on the control, unlimited width (32767), the
// system highlight colours, margins of 0, -1, 0, -1 (a tight fit around the
// text) and the control's font.
#pragma once

#include "platform/base/cstring.h"
#include "platform/comctl/tooltip.h"
#include "platform/window/cwnd.h"

class CTrackingTip {
 public:
  CTrackingTip() = default;
  ~CTrackingTip();
  CTrackingTip(const CTrackingTip&) = delete;
  CTrackingTip& operator=(const CTrackingTip&) = delete;

  // Creates the tip for `owner` (once; later calls do nothing).
  void Create(CWnd& owner, bool withBorder);
  // Destroys the tip (the control's window is going); Create may follow.
  void Destroy();
  HWND GetSafeHwnd() const { return m_hWnd; }

  // The tool's text (copied by the tip), then the tip shown at a screen point.
  void SetText(const CString& text);
  void ShowAt(POINT screen);
  void Hide();
  void SetColors(COLORREF background, COLORREF text);
  void SetDelays(int initialMs, int autoPopMs);

 private:
  LRESULT Send(UINT message, WPARAM wParam, LPARAM lParam) const;
  HWND m_hWnd = nullptr;
  TOOLINFO m_tool;
  CString m_text;  // what m_tool.lpszText points at
};
