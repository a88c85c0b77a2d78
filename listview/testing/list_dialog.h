// A dialog that holds one report list of a given class under control id
// 20016, for the list framework's tests: the list is attached by data
// exchange and set up by the test's function before its columns are built,
// as a real owner does in its dialog initialisation.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/afx.h"
#include "platform/user/data_exchange.h"
#include "platform/user/cdialog.h"
#include "platform/comctl/clistctrl.h"
#include "platform/comctl/list_view.h"
#include "platform/testing/list_text.h"
#include "platform/user/dialog_resources.h"

namespace listview::testing {

inline const HINSTANCE kTestModule = reinterpret_cast<HINSTANCE>(uintptr_t{0x7100});
constexpr UINT kListDialogId = 7100;
constexpr int kListId = 20016;

inline void RegisterListDialog(DWORD listStyle = LVS_REPORT | LVS_SHOWSELALWAYS) {
  platform::DialogTemplate dialog;
  dialog.id = kListDialogId;
  dialog.caption = "Lists";
  dialog.cx = 300;
  dialog.cy = 150;
  dialog.style = WS_POPUP | WS_CAPTION | WS_VISIBLE | DS_SETFONT;
  dialog.items.push_back({kListId, WC_LISTVIEW, "", 5, 5, 290, 140, WS_CHILD | WS_VISIBLE | WS_TABSTOP | listStyle, 0});
  platform::RegisterDialogTemplate(kTestModule, dialog);
  AfxSetResourceHandle(kTestModule);
}

inline void UnregisterListDialog() {
  platform::RemoveModuleResources(kTestModule);
  AfxSetResourceHandle(nullptr);
}

// The header's captions in display order.
inline std::vector<std::string> HeaderCaptions(CListCtrl& list) {
  std::vector<std::string> captions;
  CHeaderCtrl* header = list.GetHeaderCtrl();
  for (int i = 0; header != nullptr && i < header->GetItemCount(); ++i) {
    captions.push_back(platform::testing::HeaderItemText(header->GetSafeHwnd(), header->OrderToIndex(i)));
  }
  return captions;
}

template <class List>
class CListDialog : public CDialog {
 public:
  explicit CListDialog(std::function<void(List&)> setup) : CDialog(kListDialogId, nullptr), m_setup(std::move(setup)) {}
  // Declared before the list, which notifies while its window goes.
  std::vector<UINT> notifications;             // WM_NOTIFY codes from the list, in order
  std::function<void(const NMHDR&)> onNotify;  // an owner's reaction, if any
  int drawRequests = 0;                        // WM_DRAWITEM messages sent to the dialog
  List list;

 protected:
  void DoDataExchange(CDataExchange* dx) override {
    CDialog::DoDataExchange(dx);
    DDX_Control(dx, kListId, list);
  }
  BOOL OnInitDialog() override {
    CDialog::OnInitDialog();
    if (m_setup) m_setup(list);
    return TRUE;
  }
  BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override {
    if (message == WM_DRAWITEM) ++drawRequests;
    return CDialog::OnWndMsg(message, wParam, lParam, result);
  }
  BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) override {
    const auto* header = reinterpret_cast<NMHDR*>(lParam);
    if (header->idFrom == static_cast<UINT_PTR>(kListId)) notifications.push_back(header->code);
    if (onNotify) onNotify(*header);
    return CDialog::OnNotify(wParam, lParam, result);
  }

 private:
  std::function<void(List&)> m_setup;
};

}  // namespace listview::testing
