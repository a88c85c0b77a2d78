#include "allowed_groups/alw_grp.h"

#include "allowed_groups/alw_grp_req_rx.h"
#include "allowed_groups/core/group_request.h"
#include "allowed_groups/core/request_tags.h"
#include "allowed_groups/core/segment_rules.h"
#include "allowed_groups/group_requests.h"
#include "plugin/plugin_context.h"
#include "plugin/terminal_link.h"
#include "resources/resource.h"

namespace {

constexpr const char* kAny = "--ANY--";
constexpr const char* kAll = "--ALL--";
constexpr const char* kNotCompatible = "Exe is not compatible with QLX";

}  // namespace

CAlwGrp& AllowedGroupsForm() {
  static CAlwGrp form;
  return form;
}

CAlwGrp::CAlwGrp() : CDialog(IDD_ALWGRP, nullptr) {}

CAlwGrp::~CAlwGrp() = default;

void CAlwGrp::DoDataExchange(CDataExchange* dx) {
  CDialog::DoDataExchange(dx);
  DDX_Control(dx, IDC_CATEGORY, m_cmbCategory);
  DDX_Control(dx, IDC_EXCHANGE, m_cmbExchange);
  DDX_Control(dx, IDC_INSTRUMENT, m_cmbInstrument);
  DDX_Control(dx, IDC_SYMBOL, m_cmbSymbol);
  DDX_Control(dx, IDC_OPTION_TYPE, m_cmbOptionType);
  DDX_Control(dx, IDC_EXPIRY, m_cmbExpiry);
  DDX_Control(dx, IDC_STRIKE, m_cmbStrike);
  DDX_Control(dx, IDC_PRODUCT, m_cmbProduct);
}

BOOL CAlwGrp::OnInitDialog() {
  CDialog::OnInitDialog();
  if (m_pContext == nullptr) {
    m_pReceiver = std::make_unique<CAlwGrpReqRx>(static_cast<IGroupReplies&>(*this));
    m_pContext = std::make_unique<CPluginContext>(*m_pReceiver);
  }
  SetIcon(::LoadIcon(AfxGetResourceHandle(), MAKEINTRESOURCE(IDI_PLUGIN)), TRUE);

  SendCategoryRequest(m_pContext.get());

  for (CComboBox* combo : {static_cast<CComboBox*>(&m_cmbInstrument), static_cast<CComboBox*>(&m_cmbSymbol),
                           static_cast<CComboBox*>(&m_cmbOptionType), static_cast<CComboBox*>(&m_cmbStrike)}) {
    InsertAny(*combo);
  }
  ResetExpiry();

  if (auto load = plugin::TerminalExport<PFN_pu_load_exchange_combo>("pu_load_exchange_combo"))
    load(this, IDC_EXCHANGE);
  if (auto load = plugin::TerminalExport<PFN_pu_load_product_type_combo>("pu_load_product_type_combo")) {
    load(this, IDC_PRODUCT);
  }
  m_cmbProduct.InsertString(0, kAll);
  m_cmbProduct.SetCurSel(0);
  m_cmbExchange.SetCurSel(0);
  CheckRadioButton(IDC_BOTH, IDC_SELL, IDC_BOTH);
  return TRUE;
}

BOOL CAlwGrp::OnCommand(WPARAM wParam, LPARAM lParam) {
  const int id = LOWORD(wParam);
  const UINT code = HIWORD(wParam);
  if (code == CBN_SELCHANGE) {
    switch (id) {
      case IDC_EXCHANGE: OnExchangeChanged(); return TRUE;
      case IDC_INSTRUMENT: OnInstrumentChanged(); return TRUE;
      case IDC_SYMBOL: OnSymbolChanged(); return TRUE;
      case IDC_OPTION_TYPE: OnOptionTypeChanged(); return TRUE;
      default: break;  // category, strike and expiry changes need nothing
    }
  } else if (code == BN_CLICKED) {
    switch (id) {
      case IDC_ALL_EXPIRY: OnAllExpiryClicked(); return TRUE;
      case IDC_ALL_CATEGORIES: OnAllCategoriesClicked(); return TRUE;
      case IDC_ADD_GROUP: OnAddGroup(); return TRUE;
      case IDC_DELETE_GROUP: OnDeleteGroup(); return TRUE;
      case IDC_VIEW_GROUP: OnViewGroup(); return TRUE;
      default: break;
    }
  }
  return CDialog::OnCommand(wParam, lParam);
}

void CAlwGrp::OnCategories(mnm_hndl reply) {
  int error = 0;
  int32_t count = 0;
  if (!mnm_get_field_count(reply, tag::kCategory, &count, &error)) return;
  for (int32_t i = 0; i < count; ++i) {
    mml_data value{};
    if (mnm_get_field(reply, tag::kCategory, i, &value, &error)) {
      CString category;
      category.Format("%.*s", static_cast<int>(value.len), value.data);
      m_cmbCategory.AddString(category);
    }
  }
}

void CAlwGrp::OnCategoriesRefused() { SendPeerDataRequest(m_pContext.get()); }

void CAlwGrp::InsertAny(CComboBox& combo) {
  combo.InsertString(0, kAny);
  combo.SetCurSel(0);
}

void CAlwGrp::ResetExpiry() {
  CheckDlgButton(IDC_ALL_EXPIRY, BST_CHECKED);
  SetDlgItemText(IDC_ALL_EXPIRY, "All Expiry");
  m_cmbExpiry.EnableWindow(FALSE);
}

CString CAlwGrp::SelectedText(const CComboBox& combo) const {
  CString text;
  const int index = combo.GetCurSel();
  if (index >= 0) combo.GetLBText(index, text);
  return text;
}

bool CAlwGrp::RefillScripCombos(int level) {
  auto refill = plugin::TerminalExport<PFN_pu_fill_scrip_combos_with_bse_grp>("pu_fill_scrip_combos_with_bse_grp");
  if (refill == nullptr) {
    AfxMessageBox(kNotCompatible);
    return false;
  }
  refill(this, IDC_EXCHANGE, IDC_INSTRUMENT, IDC_SYMBOL, IDC_EXPIRY, IDC_OPTION_TYPE, IDC_STRIKE, level);
  return true;
}

void CAlwGrp::OnExchangeChanged() {
  if (!RefillScripCombos(0)) return;
  InsertAny(m_cmbInstrument);
  InsertAny(m_cmbSymbol);
  InsertAny(m_cmbOptionType);
  InsertAny(m_cmbStrike);
  ResetExpiry();
}

void CAlwGrp::OnInstrumentChanged() {
  if (!RefillScripCombos(1)) return;
  if (SelectedText(m_cmbExchange) != "BSE") {
    InsertAny(m_cmbSymbol);
    InsertAny(m_cmbOptionType);
    InsertAny(m_cmbStrike);
  }
  ResetExpiry();
}

void CAlwGrp::OnSymbolChanged() {
  if (!RefillScripCombos(2)) return;
  if (SelectedText(m_cmbInstrument) == "OPTCUR" || SelectedText(m_cmbExchange) != "BSE") {
    InsertAny(m_cmbOptionType);
    InsertAny(m_cmbStrike);
  }
  ResetExpiry();
}

void CAlwGrp::OnOptionTypeChanged() {
  // Only for BSE does this combo hold something that drives the others: the group.
  if (SelectedText(m_cmbExchange) != "BSE") return;
  if (!RefillScripCombos(3)) return;
  InsertAny(m_cmbInstrument);
  InsertAny(m_cmbSymbol);
}

void CAlwGrp::OnAllExpiryClicked() {
  const bool anyExpiry = IsDlgButtonChecked(IDC_ALL_EXPIRY) == BST_CHECKED;
  SetDlgItemText(IDC_ALL_EXPIRY, anyExpiry ? "All Expiry" : "Expiry");
  m_cmbExpiry.EnableWindow(anyExpiry ? FALSE : TRUE);
}

void CAlwGrp::OnAllCategoriesClicked() {
  m_cmbCategory.EnableWindow(IsDlgButtonChecked(IDC_ALL_CATEGORIES) == BST_CHECKED ? FALSE : TRUE);
}

int CAlwGrp::EntryNamed(const CComboBox& combo) {
  if ((combo.GetStyle() & 3) == CBS_DROPDOWNLIST) return combo.GetCurSel();
  CString typed;
  combo.GetWindowText(typed);
  if (typed.IsEmpty()) return -1;
  int found = -1;
  int alike = 0;
  for (int i = 0, n = combo.GetCount(); i < n; ++i) {
    CString entry;
    combo.GetLBText(i, entry);
    if (entry == typed) return i;
    if (entry.CompareNoCase(typed) == 0 && alike++ == 0) found = i;
  }
  return alike == 1 ? found : -1;
}

std::optional<CString> CAlwGrp::ChosenCategory() {
  // The box can be typed in: a text naming a category (in any case) counts
  // as choosing it, as a person typing "RETAIL" means; a text naming none
  // is no choice.
  const int index = EntryNamed(m_cmbCategory);
  if (index < 0) {
    MessageBox("Please Select a valid Category");
    return std::nullopt;
  }
  m_cmbCategory.SetCurSel(index);  // shows the category as the server knows it
  return SelectedText(m_cmbCategory);
}

std::optional<AllowedGroup> CAlwGrp::ChosenGroup(const CString& category) {
  if (m_cmbExchange.GetCurSel() < 0) {
    MessageBox("Please Specify the exchange");
    return std::nullopt;
  }
  // The product box can be typed in. A text that names no product would
  // otherwise send no product, which the server reads as every product: a
  // group wider than the one meant. Refuse it; a text naming a product, in
  // any case, chooses it. (The scrip boxes are drop-down lists: what they
  // show is always one of their entries.)
  const int product = EntryNamed(m_cmbProduct);
  if (product < 0) {
    MessageBox("Please select a valid Product");
    return std::nullopt;
  }
  m_cmbProduct.SetCurSel(product);
  // Index 0 of a scrip combo is "--ANY--", of the product combo "--ALL--":
  // nothing chosen, nothing sent.
  auto chosen = [this](const CComboBox& combo) -> std::optional<CString> {
    if (combo.GetCurSel() <= 0) return std::nullopt;
    return SelectedText(combo);
  };
  AllowedGroup group;
  group.category = category;
  group.exchangeCode = ExchangeCodeOf(SelectedText(m_cmbExchange));
  const SegmentRules& rules = RulesForCode(group.exchangeCode->view());
  group.instrument = chosen(m_cmbInstrument);
  group.symbol = chosen(m_cmbSymbol);
  group.optionType = chosen(m_cmbOptionType);
  if (const auto price = chosen(m_cmbStrike)) group.strike = StrikeInServerUnits(price->view(), rules);
  if (IsDlgButtonChecked(IDC_ALL_EXPIRY) != BST_CHECKED && m_cmbExpiry.GetCurSel() >= 0) {
    group.expiry = ExpiryInServerSeconds(SelectedText(m_cmbExpiry), rules.expiryKind);
  }
  group.product = chosen(m_cmbProduct);
  if (IsDlgButtonChecked(IDC_BUY) == BST_CHECKED) group.side = "B";
  else if (IsDlgButtonChecked(IDC_SELL) == BST_CHECKED) group.side = "S";
  return group;
}

void CAlwGrp::OnAddGroup() {
  // Even with "Apply for all categories" a category must be chosen.
  const std::optional<CString> category = ChosenCategory();
  if (!category) return;
  // Once for every category: a box refusing the group says so once.
  std::optional<AllowedGroup> group = ChosenGroup(*category);
  if (!group) return;
  if (IsDlgButtonChecked(IDC_ALL_CATEGORIES) == BST_CHECKED) {
    for (int i = 0, n = m_cmbCategory.GetCount(); i < n; ++i) {
      m_cmbCategory.GetLBText(i, group->category.emplace());
      SendAddRequest(m_pContext.get(), *group);
    }
  } else {
    SendAddRequest(m_pContext.get(), *group);
  }
}

void CAlwGrp::OnDeleteGroup() {
  const std::optional<CString> category = ChosenCategory();
  if (!category) return;
  if (const std::optional<AllowedGroup> group = ChosenGroup(*category)) SendDeleteRequest(m_pContext.get(), *group);
}

CViewAlgGrpDlg& CAlwGrp::CreatedView() {
  if (m_viewDlg.GetSafeHwnd() == nullptr) m_viewDlg.Create(m_pContext.get());
  return m_viewDlg;
}

void CAlwGrp::OnListedGroup(std::unique_ptr<AllowedGroupRecord> record) { CreatedView().AddOrMerge(std::move(record)); }

void CAlwGrp::OnViewGroup() {
  if (m_viewDlg.GetSafeHwnd() != nullptr) m_viewDlg.RemoveAllRows();
  CreatedView();
  SendListAllRequest(m_pContext.get());
  m_viewDlg.ShowWindow(SW_SHOW);
  m_viewDlg.BringWindowToTop();
}
