#include "listview/filter/filter_text.h"

#include <algorithm>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "listview/host/list_owned_dialog.h"
#include "platform/user/data_exchange.h"
#include "platform/window/cursor.h"

namespace ids = filter_text_ids;

namespace {

struct TextHash {
  using is_transparent = void;
  size_t operator()(std::string_view text) const { return std::hash<std::string_view>{}(text); }
};

}  // namespace

namespace listview {

CString JoinFilterTexts(const CStringArray& texts) {
  CString joined;
  for (INT_PTR i = 0; i < texts.GetSize(); ++i) {
    if (i > 0) joined += "~";
    joined += texts[i];
  }
  return joined;
}

}  // namespace listview

CFilterText& TheFilterText() {
  static CFilterText popup;
  return popup;
}

CFilterText::CFilterText() : CDialog(ids::kDialog, nullptr) {}

void CFilterText::DoDataExchange(CDataExchange* dx) {
  CDialog::DoDataExchange(dx);
  DDX_Control(dx, ids::kTexts, m_lstTexts);
}

void CFilterText::Open(listview::FilterTextSource* list, int position) {
  if (list == nullptr) return;
  bool ok = false;
  if (listview::CreateForList(*this, ids::kDialog, list->SourceWindow(), ok))
    m_lstTexts.SetHorizontalExtent(ids::kHorizontalExtent);
  if (!ok) return;
  POINT cursor{};
  GetCursorPos(&cursor);
  SetWindowPos(&wndTop, cursor.x, cursor.y, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
  Fill(*list, position);
  Bind(list, position);
  // Active, so that Enter reaches it and a click elsewhere closes it.
  m_lstTexts.SetFocus();
}

void CFilterText::Fill(const listview::FilterTextSource& list, int position) {
  m_lstTexts.ResetContent();
  // Each distinct text (exact: the list box's own search ignores case) with
  // the first row that shows it, found by hash and view so that a text seen
  // before, as most are, costs no copy. The rows are read in store order,
  // which is quicker, and the texts then go into the list box in the order
  // of their first rows, as a walk down the rows would add them (texts the
  // sorted list box ranks equal keep that order).
  std::unordered_map<std::string, int, TextHash, std::equal_to<>> firstRow;
  list.ForEachShownText(position, [&](int row, const CString& text) {
    if (const auto found = firstRow.find(text.view()); found != firstRow.end()) {
      found->second = std::min(found->second, row);
    } else {
      firstRow.emplace(text.view(), row);
    }
  });
  std::vector<std::pair<int, const std::string*>> texts;
  texts.reserve(firstRow.size());
  for (const auto& [seen, row] : firstRow) texts.emplace_back(row, &seen);
  std::sort(texts.begin(), texts.end());
  for (const auto& entry : texts) m_lstTexts.AddString(entry.second->c_str());
}

void CFilterText::Bind(listview::FilterTextSource* list, int position) {
  m_pList = list;
  m_nPosition = position;
}

void CFilterText::Apply() {
  if (m_pList == nullptr) return;
  const int count = m_lstTexts.GetSelCount();
  if (count <= 0) return;
  std::vector<int> chosen(static_cast<size_t>(count));
  const int got = m_lstTexts.GetSelItems(count, chosen.data());
  CStringArray texts;
  for (int i = 0; i < got; ++i) {
    CString text;
    m_lstTexts.GetText(chosen[static_cast<size_t>(i)], text);
    texts.Add(text);
  }
  m_pList->SetHeaderFilterText(m_nPosition, listview::JoinFilterTexts(texts), 0);
}

BOOL CFilterText::OnCommand(WPARAM wParam, LPARAM lParam) {
  if (LOWORD(wParam) == ids::kTexts && HIWORD(wParam) == LBN_DBLCLK) {
    Apply();
    return TRUE;
  }
  return CDialog::OnCommand(wParam, lParam);
}

// Enter applies; the pop-up closes when the list takes the activation back.
void CFilterText::OnOK() { Apply(); }

void CFilterText::OnActivate(UINT state, CWnd* other, BOOL minimized) {
  CDialog::OnActivate(state, other, minimized);
  if (state == WA_INACTIVE && IsWindowVisible()) ShowWindow(SW_HIDE);
}
