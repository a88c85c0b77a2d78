#include "platform/user/color_chooser_dlg.h"

#include <algorithm>
#include <cstdlib>
#include <string>

#include "platform/gdi/cdc.h"
#include "platform/gdi/sys_colors.h"
#include "platform/user/cdialog.h"
#include "platform/user/dialog_manager.h"
#include "platform/window/winapi.h"

namespace platform {
namespace {

constexpr int kColumns = 8;
constexpr int kBasicRows = kBasicColorCount / kColumns;
constexpr int kCustomRows = kCustomColorCount / kColumns;

// Geometry in dialog units ("MS Shell Dlg" 8).
constexpr int kSwatchX = 6;
constexpr int kSwatchStepX = 19;
constexpr int kSwatchStepY = 14;
constexpr int kSwatchCx = 16;
constexpr int kSwatchCy = 11;
constexpr int kBasicTop = 14;
constexpr int kCustomLabelTop = kBasicTop + kBasicRows * kSwatchStepY + 2;
constexpr int kCustomTop = kCustomLabelTop + 10;
constexpr int kAddTop = kCustomTop + kCustomRows * kSwatchStepY + 2;
constexpr int kFieldsTop = kAddTop + 18;
constexpr int kWidth = kSwatchX * 2 + kColumns * kSwatchStepX - (kSwatchStepX - kSwatchCx);

constexpr COLORREF Rgb(unsigned rrggbb) { return RGB((rrggbb >> 16) & 0xFF, (rrggbb >> 8) & 0xFF, rrggbb & 0xFF); }

// Light tints, pure hues, middle tones, dark, darker, then greys; hues run
// red, yellow, green, teal, cyan, blue, purple, magenta across.
constexpr std::array<COLORREF, kBasicColorCount> kBasic = {
    Rgb(0xFF8080), Rgb(0xFFFF80), Rgb(0x80FF80), Rgb(0x00FF80), Rgb(0x80FFFF), Rgb(0x0080FF), Rgb(0xFF80C0),
    Rgb(0xFF80FF),  //
    Rgb(0xFF0000), Rgb(0xFFFF00), Rgb(0x80FF00), Rgb(0x00FF40), Rgb(0x00FFFF), Rgb(0x0080C0), Rgb(0x8080C0),
    Rgb(0xFF00FF),  //
    Rgb(0x804040), Rgb(0xFF8040), Rgb(0x00FF00), Rgb(0x008080), Rgb(0x004080), Rgb(0x8080FF), Rgb(0x800040),
    Rgb(0xFF0080),  //
    Rgb(0x800000), Rgb(0xFF8000), Rgb(0x008000), Rgb(0x008040), Rgb(0x0000FF), Rgb(0x0000A0), Rgb(0x800080),
    Rgb(0x8000FF),  //
    Rgb(0x400000), Rgb(0x804000), Rgb(0x004000), Rgb(0x004040), Rgb(0x000080), Rgb(0x000040), Rgb(0x400040),
    Rgb(0x400080),  //
    Rgb(0x000000), Rgb(0x808000), Rgb(0x808040), Rgb(0x808080), Rgb(0x408080), Rgb(0xC0C0C0), Rgb(0x404040),
    Rgb(0xFFFFFF),
};

DialogTemplate ChooserTemplate() {
  DialogTemplate t;
  t.caption = "Color";
  t.cx = kWidth;
  t.cy = kFieldsTop + 44;
  t.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT | DS_CENTER;
  auto add = [&](int id, const char* cls, const char* text, int x, int y, int cx, int cy, DWORD style) {
    t.items.push_back(DialogItemTemplate{id, cls, text, x, y, cx, cy, style | WS_VISIBLE, 0});
  };
  auto grid = [&](int first, int rows, int top) {
    for (int i = 0; i < rows * kColumns; ++i) {
      // One tab stop for the grid: the arrows move within it.
      const DWORD style = BS_OWNERDRAW | (i == 0 ? WS_TABSTOP | WS_GROUP : 0);
      add(first + i, "BUTTON", "", kSwatchX + (i % kColumns) * kSwatchStepX, top + (i / kColumns) * kSwatchStepY,
          kSwatchCx, kSwatchCy, style);
    }
  };
  add(IDC_STATIC, "STATIC", "&Basic colors:", kSwatchX, 4, 100, 8, SS_LEFT);
  grid(kColorBasicFirst, kBasicRows, kBasicTop);
  add(IDC_STATIC, "STATIC", "&Custom colors:", kSwatchX, kCustomLabelTop, 100, 8, SS_LEFT);
  grid(kColorCustomFirst, kCustomRows, kCustomTop);
  add(kColorAddCustom, "BUTTON", "&Add to Custom Colors", kSwatchX, kAddTop, kWidth - 2 * kSwatchX, 14,
      BS_PUSHBUTTON | WS_TABSTOP | WS_GROUP);
  add(kColorCurrent, "STATIC", "", kSwatchX, kFieldsTop, 36, 40, SS_OWNERDRAW);
  const char* labels[] = {"&Red:", "&Green:", "Bl&ue:"};
  for (int i = 0; i < 3; ++i) {
    add(IDC_STATIC, "STATIC", labels[i], 48, kFieldsTop + 2 + i * 14, 24, 8, SS_LEFT);
    add(kColorRed + i, "EDIT", "", 74, kFieldsTop + i * 14, 24, 12,
        ES_NUMBER | ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP | WS_GROUP);
  }
  add(IDOK, "BUTTON", "OK", kWidth - kSwatchX - 48, kFieldsTop, 48, 14, BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP);
  add(IDCANCEL, "BUTTON", "Cancel", kWidth - kSwatchX - 48, kFieldsTop + 18, 48, 14,
      BS_PUSHBUTTON | WS_TABSTOP | WS_GROUP);
  return t;
}

bool IsBasic(int id) { return id >= kColorBasicFirst && id < kColorBasicFirst + kBasicColorCount; }
bool IsCustom(int id) { return id >= kColorCustomFirst && id < kColorCustomFirst + kCustomColorCount; }

class ColorChooserDialog : public CDialog {
 public:
  explicit ColorChooserDialog(const ColorRequest& request) : m_color(request.initial & 0x00FFFFFF) {
    if (request.customColors != nullptr) std::copy_n(request.customColors, kCustomColorCount, m_custom.begin());
    const HWND owner = request.owner != nullptr && ::IsWindow(request.owner) ? request.owner : ::GetActiveWindow();
    InitModalIndirect(ChooserTemplate(), owner != nullptr ? CWnd::FromHandle(owner) : nullptr);
  }

  COLORREF Color() const { return m_color; }
  const std::array<COLORREF, kCustomColorCount>& Custom() const { return m_custom; }

 protected:
  BOOL OnInitDialog() override {
    CDialog::OnInitDialog();
    const auto basic = std::find(kBasic.begin(), kBasic.end(), m_color);
    m_selected = basic != kBasic.end() ? kColorBasicFirst + static_cast<int>(basic - kBasic.begin()) : 0;
    ShowFields();
    // The selected swatch takes the focus when the dialog shows, so the
    // arrows start from it.
    if (m_selected == 0) return TRUE;
    if (DialogModel* model = DialogModelOf(m_hWnd)) model->SaveFocus(::GetDlgItem(m_hWnd, m_selected));
    return FALSE;
  }

  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override {
    const int id = LOWORD(wParam);
    const UINT code = HIWORD(wParam);
    if ((IsBasic(id) || IsCustom(id)) && code == BN_CLICKED) {
      if (IsCustom(id)) m_slot = id - kColorCustomFirst;
      Select(id);
      return TRUE;
    }
    if (id == kColorAddCustom && code == BN_CLICKED) {
      m_custom[static_cast<size_t>(m_slot)] = m_color;
      ::InvalidateRect(::GetDlgItem(m_hWnd, kColorCustomFirst + m_slot), nullptr, TRUE);
      m_slot = (m_slot + 1) % kCustomColorCount;
      return TRUE;
    }
    if (id >= kColorRed && id <= kColorBlue && code == EN_CHANGE && !m_showing) {
      FromFields();
      return TRUE;
    }
    return CDialog::OnCommand(wParam, lParam);
  }

  BOOL PreTranslateMessage(MSG* msg) override {
    if (msg->message == WM_KEYDOWN) {
      const int focused = ::GetDlgCtrlID(::GetFocus());
      if ((IsBasic(focused) || IsCustom(focused)) && MoveWithArrow(focused, static_cast<UINT>(msg->wParam))) {
        return TRUE;
      }
    }
    return CDialog::PreTranslateMessage(msg);
  }

  void OnDrawItem(int id, LPDRAWITEMSTRUCT dis) override {
    if (dis == nullptr) return;
    CDC* dc = CDC::FromHandle(dis->hDC);
    CRect r(dis->rcItem);
    dc->FillSolidRect(&r, ::GetSysColor(COLOR_BTNFACE));
    if (id == kColorCurrent) {
      dc->Draw3dRect(&r, ::GetSysColor(COLOR_BTNSHADOW), ::GetSysColor(COLOR_BTNHIGHLIGHT));
      r.DeflateRect(1, 1);
      dc->FillSolidRect(&r, m_color);
      return;
    }
    const COLORREF color = IsBasic(id) ? kBasic[static_cast<size_t>(id - kColorBasicFirst)]
                                       : m_custom[static_cast<size_t>(id - kColorCustomFirst)];
    CRect swatch = r;
    swatch.DeflateRect(2, 2);
    if (id == m_selected) {
      // The chosen swatch: a black frame round it, a white ring inside.
      dc->Draw3dRect(&r, RGB(0, 0, 0), RGB(0, 0, 0));
      CRect ring = r;
      ring.DeflateRect(1, 1);
      dc->Draw3dRect(&ring, RGB(255, 255, 255), RGB(255, 255, 255));
    } else {
      CRect edge = swatch;
      edge.InflateRect(1, 1);
      dc->Draw3dRect(&edge, ::GetSysColor(COLOR_BTNSHADOW), ::GetSysColor(COLOR_BTNHIGHLIGHT));
    }
    dc->FillSolidRect(&swatch, color);
    // The selection frame already marks where the arrows act; a focused
    // swatch that is not selected (reached by Tab) gets the dotted frame.
    if ((dis->itemState & ODS_FOCUS) && id != m_selected) dc->DrawFocusRect(&r);
  }

 private:
  void Select(int id) {
    const int old = std::exchange(m_selected, id);
    if (old != 0) ::InvalidateRect(::GetDlgItem(m_hWnd, old), nullptr, TRUE);
    ::InvalidateRect(::GetDlgItem(m_hWnd, id), nullptr, TRUE);
    m_color = IsBasic(id) ? kBasic[static_cast<size_t>(id - kColorBasicFirst)]
                          : m_custom[static_cast<size_t>(id - kColorCustomFirst)];
    ShowFields();
  }

  bool MoveWithArrow(int from, UINT key) {
    const int first = IsBasic(from) ? kColorBasicFirst : kColorCustomFirst;
    const int count = IsBasic(from) ? kBasicColorCount : kCustomColorCount;
    int step = 0;
    switch (key) {
      case VK_LEFT: step = -1; break;
      case VK_RIGHT: step = 1; break;
      case VK_UP: step = -kColumns; break;
      case VK_DOWN: step = kColumns; break;
      default: return false;
    }
    const int to = first + ((from - first + step) % count + count) % count;
    ::SetFocus(::GetDlgItem(m_hWnd, to));
    Select(to);
    return true;
  }

  void ShowFields() {
    m_showing = true;
    const int parts[] = {GetRValue(m_color), GetGValue(m_color), GetBValue(m_color)};
    for (int i = 0; i < 3; ++i) ::SetDlgItemText(m_hWnd, kColorRed + i, std::to_string(parts[i]).c_str());
    m_showing = false;
    ::InvalidateRect(::GetDlgItem(m_hWnd, kColorCurrent), nullptr, TRUE);
  }

  // A field typed into: the colour it and the other two make; no swatch
  // stays selected unless one has that colour.
  void FromFields() {
    int parts[3] = {};
    for (int i = 0; i < 3; ++i) {
      char text[16] = {};
      ::GetDlgItemText(m_hWnd, kColorRed + i, text, sizeof text);
      parts[i] = std::clamp(std::atoi(text), 0, 255);
    }
    m_color = RGB(parts[0], parts[1], parts[2]);
    const int old = std::exchange(m_selected, 0);
    if (old != 0) ::InvalidateRect(::GetDlgItem(m_hWnd, old), nullptr, TRUE);
    const auto basic = std::find(kBasic.begin(), kBasic.end(), m_color);
    if (basic != kBasic.end()) {
      m_selected = kColorBasicFirst + static_cast<int>(basic - kBasic.begin());
      ::InvalidateRect(::GetDlgItem(m_hWnd, m_selected), nullptr, TRUE);
    }
    ::InvalidateRect(::GetDlgItem(m_hWnd, kColorCurrent), nullptr, TRUE);
  }

  COLORREF m_color;
  std::array<COLORREF, kCustomColorCount> m_custom{};
  int m_selected = 0;  // id of the selected swatch; 0 for none
  int m_slot = 0;      // the custom swatch "Add to Custom Colors" fills next
  bool m_showing = false;
};

}  // namespace

const std::array<COLORREF, kBasicColorCount>& BasicColors() { return kBasic; }

std::optional<COLORREF> ShowColorChooser(const ColorRequest& request) {
  ColorChooserDialog dialog(request);
  if (dialog.DoModal() != IDOK) return std::nullopt;
  if (request.customColors != nullptr) std::copy(dialog.Custom().begin(), dialog.Custom().end(), request.customColors);
  return dialog.Color();
}

}  // namespace platform
