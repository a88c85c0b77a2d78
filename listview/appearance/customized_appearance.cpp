#include "listview/appearance/customized_appearance.h"

#include <memory>
#include <string>

#include "controls/font_setting_dlg.h"
#include "listview/profile/appearance_line.h"
#include "listview/profile/settings_report.h"
#include "platform/comctl/tooltip.h"
#include "platform/gdi/font_families.h"
#include "platform/user/color_dialog.h"
#include "platform/user/data_exchange.h"
#include "platform/user/message_box.h"

namespace {

constexpr int kTextProperty = 0;
constexpr int kBackgroundProperty = 1;
constexpr COLORREF kTipTextColor = 0xFF0000;  // blue

// The keyword section, and what moves when it hides or shows.
constexpr int kSectionIds[] = {CCustomizedAppearance::kGroupId,        CCustomizedAppearance::kKeywordColumnId,
                               CCustomizedAppearance::kChangeColumnId, CCustomizedAppearance::kKeywordEditId,
                               CCustomizedAppearance::kAddKeywordId,   CCustomizedAppearance::kKeywordListId};
constexpr int kBelowSectionIds[] = {CCustomizedAppearance::kFontLabelId, CCustomizedAppearance::kFontButtonId,
                                    CCustomizedAppearance::kApplyId, IDCANCEL, CCustomizedAppearance::kFrameId};

std::unique_ptr<CCustomizedAppearance>& Instance() {
  static std::unique_ptr<CCustomizedAppearance> instance;
  return instance;
}

}  // namespace

namespace listview {

CCustomizedAppearance& AppearanceDialog() {
  if (!Instance()) Instance() = std::make_unique<CCustomizedAppearance>();
  return *Instance();
}

CCustomizedAppearance* ExistingAppearanceDialog() { return Instance().get(); }

}  // namespace listview

CCustomizedAppearance::CCustomizedAppearance() : CDialog(kTemplateId, nullptr) {}

void CCustomizedAppearance::DoDataExchange(CDataExchange* dx) {
  CDialog::DoDataExchange(dx);
  DDX_Control(dx, kPropertyId, m_propertyCombo);
  DDX_Control(dx, kFontButtonId, m_fontButton);
  DDX_Control(dx, kColorButtonId, m_colorButton);
  DDX_Control(dx, kKeywordListId, m_keywordList);
  DDX_Control(dx, kKeywordColumnId, m_keywordColumnCombo);
}

BOOL CCustomizedAppearance::OnInitDialog() {
  CDialog::OnInitDialog();
  m_bSectionShown = true;  // a new window shows the template's layout
  m_propertyCombo.AddString("Text");
  m_propertyCombo.AddString("Background");
  m_propertyCombo.SetCurSel(kBackgroundProperty);
  ShowFont();
  m_colorButton.SetColor(m_appearance.clrBack, m_appearance.clrBack);
  m_keywordList.InsertColumn(0, "Keyword", LVCFMT_LEFT, 100);
  m_keywordList.InsertColumn(1, "Color", LVCFMT_LEFT, 100);

  m_hToolTip = ::CreateWindowEx(0, TOOLTIPS_CLASS, "", WS_POPUP, 0, 0, 0, 0, m_hWnd, nullptr, nullptr, nullptr);
  AddTip(kKeywordColumnId, "Choose the column for Keywords");
  AddTip(kChangeColumnId, "Click to change column for Keywords");
  AddTip(kKeywordEditId, "Enter Text to add a keyword to list");
  AddTip(kAddKeywordId, "Click to add a keyword to list");
  ::SendMessage(m_hToolTip, TTM_SETDELAYTIME, TTDT_INITIAL, 1);
  ::SendMessage(m_hToolTip, TTM_SETTIPTEXTCOLOR, kTipTextColor, 0);
  return TRUE;
}

void CCustomizedAppearance::AddTip(int id, const char* text) {
  if (m_hToolTip == nullptr) return;
  TOOLINFO tool;
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  tool.hwnd = m_hWnd;
  tool.uId = reinterpret_cast<UINT_PTR>(::GetDlgItem(m_hWnd, id));
  tool.lpszText = const_cast<LPSTR>(text);  // copied by the tool-tip
  ::SendMessage(m_hToolTip, TTM_ADDTOOL, 0, reinterpret_cast<LPARAM>(&tool));
}

BOOL CCustomizedAppearance::PreTranslateMessage(MSG* msg) {
  if (m_hToolTip != nullptr) ::SendMessage(m_hToolTip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(msg));
  return CDialog::PreTranslateMessage(msg);
}

void CCustomizedAppearance::ShowFont() {
  // The button names the face the list is drawn with ("MS Shell Dlg 2" is
  // drawn as DejaVu Sans), as the font dialog does; the stored face is kept.
  const std::string drawn = platform::DrawnFamily(m_appearance.strFontFace.GetString());
  m_fontButton.SetFontDescription(drawn.c_str(), m_appearance.strFontSize, -1);
}

// ---- Showing ----

void CCustomizedAppearance::OnShowWindow(BOOL show, UINT status) {
  CDialog::OnShowWindow(show, status);
  if (show) LoadFromList();
}

void CCustomizedAppearance::LoadFromList() {
  if (m_pList != nullptr) m_appearance = m_pList->Appearance();
  m_keywordColumnCombo.ResetContent();
  m_keywordList.DeleteAllItems();

  // A list that takes no colours still takes a font: the font button, and
  // Apply and Cancel to apply it and to close, stay enabled.
  const BOOL enable = m_pList != nullptr && m_pList->AppliesColors();
  for (CWnd* child = GetWindow(GW_CHILD); child != nullptr; child = child->GetWindow(GW_HWNDNEXT)) {
    const int id = child->GetDlgCtrlID();
    if (id != kFontButtonId && id != kApplyId && id != IDCANCEL) child->EnableWindow(enable);
  }

  if (m_pList != nullptr && m_appearance.bFilterRow) {
    const CArray<sTarnColInfo>& columns = m_pList->ColumnRecords();
    for (int i = 0; i < columns.GetSize(); ++i) {
      const int item = m_keywordColumnCombo.AddString(columns[i].szName);
      m_keywordColumnCombo.SetItemData(item, static_cast<DWORD_PTR>(i));
      if (i == m_appearance.nKeywordColumn) m_keywordColumnCombo.SetCurSel(item);
    }
    // The column changes only after "..." (changing it empties the keywords).
    m_keywordColumnCombo.EnableWindow(FALSE);
    if (m_appearance.HasKeywords()) {
      const auto& keywords = *m_appearance.pKeywords;
      for (size_t i = 0; i < keywords.size(); ++i) {
        const int row = m_keywordList.InsertItem(m_keywordList.GetItemCount(), keywords[i]);
        m_keywordList.SetColorBox(row, 1, (*m_appearance.pKeywordColors)[i]);
      }
    }
  }
  m_propertyCombo.SetCurSel(kBackgroundProperty);
  OnPropertyChange();
  ShowFont();
}

// ---- Handlers ----

BOOL CCustomizedAppearance::OnCommand(WPARAM wParam, LPARAM lParam) {
  const int id = LOWORD(wParam);
  const UINT code = HIWORD(wParam);
  switch (id) {
    case kPropertyId:
      if (code == CBN_SELCHANGE) OnPropertyChange();
      return TRUE;
    case kKeywordColumnId:
      if (code == CBN_SELCHANGE) m_keywordList.DeleteAllItems();
      return TRUE;
    case kColorButtonId:
      if (code == BN_CLICKED) OnColorButton();
      return TRUE;
    case kFontButtonId:
      if (code == BN_CLICKED) OnFontButton();
      return TRUE;
    case kChangeColumnId:
      if (code == BN_CLICKED) m_keywordColumnCombo.EnableWindow(TRUE);
      return TRUE;
    case kAddKeywordId:
      if (code == BN_CLICKED) OnAddKeyword();
      return TRUE;
    case kApplyId:
      if (code == BN_CLICKED) OnApply();
      return TRUE;
    default: return CDialog::OnCommand(wParam, lParam);
  }
}

BOOL CCustomizedAppearance::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) {
  const auto* header = reinterpret_cast<NMHDR*>(lParam);
  if (header != nullptr && header->idFrom == static_cast<UINT_PTR>(kKeywordListId) && header->code == LVN_KEYDOWN &&
      reinterpret_cast<const NMLVKEYDOWN*>(lParam)->wVKey == VK_DELETE) {
    RemoveSelectedKeywords();
  }
  return CDialog::OnNotify(wParam, lParam, result);
}

BOOL CCustomizedAppearance::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  if (message == WM_XLISTCTRL_COLORBOX_CLICKED) {
    // The keyword's cell already shows its new colour; the text is ours to free.
    xlist::TakeColorBoxText(wParam);
    *result = 0;
    return TRUE;
  }
  return CDialog::OnWndMsg(message, wParam, lParam, result);
}

CCustomizedAppearance::Property CCustomizedAppearance::SelectedProperty() const {
  switch (m_propertyCombo.GetCurSel()) {
    case kTextProperty: return Property::Text;
    case kBackgroundProperty: return Property::Background;
    default: return Property::None;
  }
}

void CCustomizedAppearance::OnPropertyChange() {
  switch (SelectedProperty()) {
    case Property::Background:
      m_colorButton.SetColor(m_appearance.clrBack, m_appearance.clrBack);
      ShowKeywordSection(false);
      break;
    case Property::Text:
      m_colorButton.SetColor(m_appearance.clrText, m_appearance.clrText);
      ShowKeywordSection(m_appearance.bFilterRow != 0);
      break;
    case Property::None: break;
  }
}

void CCustomizedAppearance::ShowKeywordSection(bool show) {
  if (show == m_bSectionShown) return;
  CWnd* group = GetDlgItem(kGroupId);
  if (group == nullptr) return;
  CRect groupRect;
  group->GetWindowRect(&groupRect);
  const int dy = show ? groupRect.Height() : -groupRect.Height();
  for (const int id : kSectionIds) {
    if (CWnd* control = GetDlgItem(id); control != nullptr) control->ShowWindow(show ? SW_SHOW : SW_HIDE);
  }
  for (const int id : kBelowSectionIds) {
    CWnd* control = GetDlgItem(id);
    if (control == nullptr) continue;
    CRect rect;
    control->GetWindowRect(&rect);
    ScreenToClient(&rect);
    control->SetWindowPos(nullptr, rect.left, rect.top + dy, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  CRect window;
  GetWindowRect(&window);
  SetWindowPos(nullptr, 0, 0, window.Width(), window.Height() + dy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  m_bSectionShown = show;
}

void CCustomizedAppearance::OnColorButton() {
  const Property property = SelectedProperty();
  if (property == Property::None) return;
  CColorDialog chooser(m_colorButton.GetFaceColor(), CC_FULLOPEN, this);
  if (chooser.DoModal() != IDOK) return;
  const COLORREF color = chooser.GetColor();
  m_colorButton.SetColor(color, color);
  (property == Property::Background ? m_appearance.clrBack : m_appearance.clrText) = color;
}

void CCustomizedAppearance::OnFontButton() {
  if (SelectedProperty() == Property::None) return;
  CFontSettingDlg dialog(m_appearance.strFontFace, m_appearance.strFontSize, this);
  if (dialog.DoModal() != IDOK) return;
  m_appearance.strFontFace = dialog.GetFontFace();
  m_appearance.strFontSize = dialog.GetFontSize();
  ShowFont();
}

void CCustomizedAppearance::OnAddKeyword() {
  CString keyword;
  GetDlgItemText(kKeywordEditId, keyword);
  if (keyword.IsEmpty()) {
    MessageBox("Enter text to add a new keyword to list");
    return;
  }
  // Before the first keyword that is not longer: longest first, and a new
  // keyword goes ahead of those as long as it. The row past the last reads
  // as empty text, shorter than any keyword: the walk stops there at the latest.
  int row = 0;
  while (m_keywordList.GetItemText(row, 0).GetLength() > keyword.GetLength()) ++row;
  row = m_keywordList.InsertItem(row, keyword);
  m_keywordList.SetColorBox(row, 1, m_appearance.clrText);
  // Told now, while the person still has the keyword in hand, rather than
  // at Apply: the keyword stays in the edit, the list as it was.
  if (RefuseUnsavable(Chosen())) {
    m_keywordList.DeleteItem(row);
    return;
  }
  SetDlgItemText(kKeywordEditId, "");
}

void CCustomizedAppearance::RemoveSelectedKeywords() {
  for (int row = m_keywordList.GetItemCount() - 1; row >= 0; --row) {
    if (m_keywordList.GetItemState(row, LVIS_SELECTED) & LVIS_SELECTED) m_keywordList.DeleteItem(row);
  }
}

sListAppearance CCustomizedAppearance::Chosen() {
  sListAppearance chosen = m_appearance;
  if (const int column = m_keywordColumnCombo.GetCurSel(); column != CB_ERR) {
    chosen.nKeywordColumn = static_cast<int>(m_keywordColumnCombo.GetItemData(column));
    chosen.StartKeywords();
    for (int row = 0; row < m_keywordList.GetItemCount(); ++row) {
      COLORREF color = chosen.clrText;
      m_keywordList.GetColorBox(row, 1, &color);
      chosen.AddKeyword(m_keywordList.GetItemText(row, 0), color);  // stored lower case
    }
  }
  return chosen;
}

bool CCustomizedAppearance::RefuseUnsavable(const sListAppearance& chosen) {
  switch (listview::CheckAppearanceLine(chosen)) {
    case listview::AppearanceLineFit::kFits: return false;
    case listview::AppearanceLineFit::kTooLong: MessageBox(kAppearanceTooLongMessage); return true;
    case listview::AppearanceLineFit::kNotReadBack: MessageBox(kAppearanceNotReadBackMessage); return true;
  }
  return true;
}

void CCustomizedAppearance::OnApply() {
  if (m_pList == nullptr) return;
  // What the settings file could not give back is refused before the list
  // or the file changes: applied, it would be gone at the next start, and
  // the next save would write the loss over the stored line.
  sListAppearance chosen = Chosen();
  if (RefuseUnsavable(chosen)) return;
  m_appearance = std::move(chosen);
  m_pList->SetListFont(m_appearance.strFontFace, m_appearance.strFontSize);
  CListCtrl& window = m_pList->HostList();
  if (m_pList->AppliesColors()) {
    window.SetBkColor(m_appearance.clrBack);
    window.SetTextBkColor(m_appearance.clrBack);
    window.SetTextColor(m_appearance.clrText);
  }
  window.Invalidate();
  m_pList->Appearance() = m_appearance;
  m_pList->MarkCustomized();
  if (!listview::WriteAppearanceLine(m_pList->ProfileName(), window.GetDlgCtrlID(), m_appearance)) {
    listview::ShowSettingsNotSaved();
  }
}
