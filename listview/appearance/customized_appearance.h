// CCustomizedAppearance: the modeless "Customized Appearance" dialog
// (template 1007) in which a list's background and text colours, its font
// and, for a list showing a filter row, keyword colouring are chosen. One
// instance serves the process (listview::AppearanceDialog); a list binds it
// to itself before showing it, and every showing reloads that list's
// appearance, so choices not applied are dropped.
//
// The keyword section (group "Depends on Column Text" with the column combo,
// "...", the keyword edit, "+" and the keyword list) shows only while the
// property is "Text" and the list has a filter row; hiding it moves the font
// row, the buttons and the frame up by the group's height and shrinks the
// dialog by as much. Keywords are kept longest first, so that the first
// keyword contained in a cell, which colours the row, is the longest one.
//
// " &Apply Settings" sets the list's font and colours at once, takes the
// keyword column and the keywords (lower case, with their colours), copies
// the appearance into the list, marks it customized and writes its
// appearance line; the dialog stays open. "&Cancel" hides it. A choice the
// appearance line could not give back (longer than the settings file keeps
// for it, or a keyword with a ",") is refused with a message box before
// anything changes, by "+" for the keyword that makes it so and by Apply;
// a write that fails shows the failed-save box (listview::ShowSettingsNotSaved).
#pragma once

#include "controls/clr_button.h"
#include "listview/host/list_host.h"
#include "listview/list_appearance.h"
#include "listview/profile/appearance_line.h"
#include "listview/xlist/x_list_ctrl.h"
#include "platform/user/ccombobox.h"
#include "platform/user/cdialog.h"

// Refusals of what the appearance line could not give back.
static_assert(listview::kAppearanceValueMaxLength == 999, "the message names the limit");
constexpr char kAppearanceTooLongMessage[] =
    "These keywords cannot be saved: with them the list's appearance line would pass the 999 characters the "
    "settings file keeps for it, and every keyword would be lost at the next start. Please remove some keywords "
    "or use shorter ones";
constexpr char kAppearanceNotReadBackMessage[] =
    "This cannot be saved: a keyword or the font holds a \",\" or a control character, which the settings file "
    "cannot give back. Please choose another keyword or font";

class CCustomizedAppearance : public CDialog {
 public:
  static constexpr UINT kTemplateId = 1007;
  static constexpr int kPropertyId = 1694;
  static constexpr int kFontButtonId = 1695;
  static constexpr int kApplyId = 1696;
  static constexpr int kColorButtonId = 1026;
  static constexpr int kKeywordColumnId = 3205;
  static constexpr int kChangeColumnId = 3206;
  static constexpr int kKeywordEditId = 3207;
  static constexpr int kKeywordListId = 3208;
  static constexpr int kFontLabelId = 3213;
  static constexpr int kFrameId = 3214;
  static constexpr int kGroupId = 3215;
  static constexpr int kAddKeywordId = 3216;

  CCustomizedAppearance();

  void Bind(listview::ListHost* list) { m_pList = list; }
  listview::ListHost* BoundList() const { return m_pList; }

  BOOL PreTranslateMessage(MSG* msg) override;

 protected:
  void DoDataExchange(CDataExchange* dx) override;
  BOOL OnInitDialog() override;
  void OnShowWindow(BOOL show, UINT status) override;
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
  BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) override;
  BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
  void OnOK() override {}  // Enter applies nothing; " &Apply Settings" does

 private:
  enum class Property { None, Text, Background };
  Property SelectedProperty() const;
  void LoadFromList();
  void OnPropertyChange();
  void OnColorButton();
  void OnFontButton();
  void OnAddKeyword();
  void RemoveSelectedKeywords();
  void OnApply();
  // The appearance Apply would store: the working copy with the keyword
  // column chosen and the keywords listed.
  sListAppearance Chosen();
  // Shows why `chosen` could not be saved; false when it can.
  bool RefuseUnsavable(const sListAppearance& chosen);
  void ShowKeywordSection(bool show);
  void AddTip(int id, const char* text);
  void ShowFont();

  listview::ListHost* m_pList = nullptr;
  CComboBox m_propertyCombo;
  CClrButton m_fontButton;
  CClrButton m_colorButton;
  sListAppearance m_appearance;
  HWND m_hToolTip = nullptr;
  CXListCtrl m_keywordList;
  CComboBox m_keywordColumnCombo;
  bool m_bSectionShown = true;  // as the template lays it out
};

namespace listview {
// The one appearance dialog of the process; its window is made on first use.
CCustomizedAppearance& AppearanceDialog();
// The same, or null while nobody has asked for it.
CCustomizedAppearance* ExistingAppearanceDialog();
}  // namespace listview
