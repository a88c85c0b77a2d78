// Tab and group navigation from inside a compound control: the walk starts
// at the dialog's own child that holds the focus, so Tab from a combo box's
// edit field goes to the control after the combo box.
#include <gtest/gtest.h>

#include "platform/user/cdialog.h"
#include "platform/user/combo_box.h"
#include "platform/window/winapi.h"
#include "platform/testing/reset_test.h"

namespace {

class DialogTabTest : public platform::ResetTest {
 protected:
  void SetUp() override {
    dialog =
        CreateWindowEx(0, "#32770", "Tabs", WS_POPUP | WS_VISIBLE, 0, 0, 300, 200, nullptr, nullptr, nullptr, nullptr);
  }
  void TearDown() override {
    if (IsWindow(dialog)) DestroyWindow(dialog);
  }

  HWND Child(const char* cls, DWORD style, int id, int y) {
    return CreateWindowEx(0, cls, "", WS_CHILD | WS_VISIBLE | style, 10, y, 100, 20, dialog,
                          reinterpret_cast<HMENU>(static_cast<intptr_t>(id)), nullptr, nullptr);
  }

  HWND dialog = nullptr;
};

TEST_F(DialogTabTest, WalkStartsFromTheDialogsChildThatHoldsTheFocus) {
  HWND before = Child("BUTTON", WS_TABSTOP | WS_GROUP, 1, 10);
  HWND combo = Child("COMBOBOX", WS_TABSTOP | WS_GROUP | CBS_DROPDOWN, 2, 40);
  HWND after = Child("BUTTON", WS_TABSTOP | WS_GROUP, 3, 90);
  HWND edit = GetDlgItem(combo, 1001);
  ASSERT_NE(edit, nullptr);
  EXPECT_EQ(GetNextDlgTabItem(dialog, edit, FALSE), after);
  EXPECT_EQ(GetNextDlgTabItem(dialog, edit, TRUE), before);
  EXPECT_EQ(GetNextDlgTabItem(dialog, after, TRUE), combo);
  // A group of one: the combo box itself.
  EXPECT_EQ(GetNextDlgGroupItem(dialog, edit, FALSE), combo);
}

}  // namespace
