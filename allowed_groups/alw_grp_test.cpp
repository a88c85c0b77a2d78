// The Allowed Groups form in a program that lacks the terminal's exports:
// what the user sees when a scrip combo changes.
#include "allowed_groups/alw_grp.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/testing/reset_for_test.h"
#include "platform/user/message_box.h"
#include "resources/module_resources.h"
#include "resources/resource.h"

namespace {

const HINSTANCE kModule = reinterpret_cast<HINSTANCE>(uintptr_t{0x7201});

std::vector<std::string> Items(HWND combo) {
  std::vector<std::string> items;
  for (int i = 0; i < ::SendMessage(combo, CB_GETCOUNT, 0, 0); ++i) {
    char text[64] = {};
    ::SendMessage(combo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
    items.emplace_back(text);
  }
  return items;
}

// Without the terminal's refill the form says so once per change and leaves
// every combo and the expiry choice as they were: no second "--ANY--".
TEST(AllowedGroupsForm, AScripChangeWithoutTheTerminalsRefillSaysSoAndChangesNothing) {
  platform::ResetForTest();
  resources::RegisterModuleResources(kModule);
  AfxSetResourceHandle(kModule);
  {
    CAlwGrp form;
    ASSERT_TRUE(form.Create(IDD_ALWGRP, nullptr));
    const HWND exchange = ::GetDlgItem(form.m_hWnd, IDC_EXCHANGE);
    ::SendMessage(exchange, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("BSE"));
    ::CheckDlgButton(form.m_hWnd, IDC_ALL_EXPIRY, BST_UNCHECKED);
    const std::vector<int> combos = {IDC_INSTRUMENT, IDC_SYMBOL, IDC_OPTION_TYPE, IDC_STRIKE};
    std::vector<std::vector<std::string>> before;
    for (const int id : combos) before.push_back(Items(::GetDlgItem(form.m_hWnd, id)));
    for (const int id : {IDC_EXCHANGE, IDC_INSTRUMENT, IDC_SYMBOL, IDC_OPTION_TYPE}) {
      SCOPED_TRACE(id);
      const HWND combo = ::GetDlgItem(form.m_hWnd, id);
      ::SendMessage(combo, CB_SETCURSEL, 0, 0);
      platform::ClearMessageBoxLog();
      ::SendMessage(form.m_hWnd, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
      ASSERT_EQ(platform::MessageBoxLog().size(), 1u);
      EXPECT_EQ(platform::MessageBoxLog()[0].text, "Exe is not compatible with QLX");
      for (size_t i = 0; i < combos.size(); ++i) {
        EXPECT_EQ(Items(::GetDlgItem(form.m_hWnd, combos[i])), before[i]) << combos[i];
      }
      EXPECT_EQ(::IsDlgButtonChecked(form.m_hWnd, IDC_ALL_EXPIRY), BST_UNCHECKED) << "the expiry choice stays";
    }
    form.DestroyWindow();
  }
  platform::RemoveModuleResources(kModule);
  AfxSetResourceHandle(nullptr);
  platform::ResetForTest();
}

}  // namespace
