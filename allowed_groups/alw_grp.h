// The "Allowed Groups" form: a modeless dialog in which a risk administrator
// chooses a user Category and describes a set of scrips, then adds, deletes
// or lists allowed groups on the server. The module holds exactly one form
// (see AllowedGroupsForm()); its window is created once and hidden, never
// destroyed, when closed.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>

#include "allowed_groups/core/allowed_group.h"
#include "allowed_groups/group_replies.h"
#include "allowed_groups/view_alg_grp_dlg.h"
#include "controls/auto_combo_box.h"
#include "mml/mml.h"
#include "platform/afx.h"
#include "platform/user/ccombobox.h"
#include "platform/user/cdialog.h"
#include "plugin/host_interface.h"

class CAlwGrpReqRx;
class CPluginContext;

class CAlwGrp : public CDialog, private IGroupReplies {
 public:
  CAlwGrp();
  ~CAlwGrp() override;

 protected:
  BOOL OnInitDialog() override;
  void DoDataExchange(CDataExchange* dx) override;
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

 private:
  // The replies the receiver hands on. A category reply's values are
  // appended, in order, to the category combo (which sorts them); nothing is
  // selected.
  void OnCategories(mnm_hndl reply) override;
  void OnCategoriesRefused() override;
  void OnListedGroup(std::unique_ptr<AllowedGroupRecord> record) override;

  // The group the controls describe for `category`; nothing (after telling
  // the user) when no exchange segment is chosen or the product box's text
  // names no product.
  std::optional<AllowedGroup> ChosenGroup(const CString& category);
  // The category the box names; nothing, after telling the user, when none.
  std::optional<CString> ChosenCategory();
  // The entry a box names: in a drop-down list the one chosen; in a box one
  // can type in, the entry its text is, as typed or else in another case
  // (when only one entry is). -1 when none.
  static int EntryNamed(const CComboBox& combo);
  // The view, made on first use with the context it sends its deletes through.
  CViewAlgGrpDlg& CreatedView();

  void OnExchangeChanged();
  void OnInstrumentChanged();
  void OnSymbolChanged();
  void OnOptionTypeChanged();
  void OnAllExpiryClicked();
  void OnAllCategoriesClicked();
  void OnAddGroup();
  void OnDeleteGroup();
  void OnViewGroup();

  // Asks the terminal to refill the scrip combos after a change at `level`;
  // false (after telling the user) when the terminal cannot.
  bool RefillScripCombos(int level);
  void ResetExpiry();
  static void InsertAny(CComboBox& combo);
  CString SelectedText(const CComboBox& combo) const;

  CComboBox m_cmbCategory;
  CAutoComboBox m_cmbExchange;
  CAutoComboBox m_cmbInstrument;
  CAutoComboBox m_cmbSymbol;
  CAutoComboBox m_cmbOptionType;
  CAutoComboBox m_cmbExpiry;
  CViewAlgGrpDlg m_viewDlg;
  CAutoComboBox m_cmbStrike;
  CComboBox m_cmbProduct;
  // Built on the first initialisation; the receiver is registered by the
  // context and declared first so that it outlives it.
  std::unique_ptr<CAlwGrpReqRx> m_pReceiver;
  std::unique_ptr<CPluginContext> m_pContext;
};

// The module's single form, constructed when the library loads.
CAlwGrp& AllowedGroupsForm();
