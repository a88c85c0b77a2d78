// The z-order rules: owned windows above their owners, a modal dialog above
// the window it disables and brought up by a click on it.
#include "platform/window/z_order.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/input/input_driver.h"
#include "platform/testing/reset_test.h"
#include "platform/window/cwnd.h"

namespace {

class ZOrderTest : public platform::ResetTest {
 protected:
  static HWND Make(const char* name, HWND owner, int x = 0) {
    return ::CreateWindowEx(0, "Test", name, WS_POPUP | WS_CAPTION | WS_VISIBLE, x, 0, 100, 80, owner, nullptr, nullptr,
                            nullptr);
  }
  // Top-level windows, top first.
  static std::vector<HWND> Order() {
    std::vector<HWND> order;
    for (HWND h = ::GetTopWindow(nullptr); h != nullptr; h = ::GetWindow(h, GW_HWNDNEXT)) order.push_back(h);
    return order;
  }
  static size_t At(HWND hwnd) {
    const std::vector<HWND> order = Order();
    return static_cast<size_t>(std::find(order.begin(), order.end(), hwnd) - order.begin());
  }
};

TEST_F(ZOrderTest, AClickOnADisabledOwnerBringsUpTheWindowItWaitsForAMinimisedOneActivatesItsOwner) {
  const HWND owner = Make("owner", nullptr);
  const HWND modal = Make("modal", owner);
  const HWND other = Make("other", nullptr, 300);
  ::EnableWindow(owner, FALSE);
  ::SetActiveWindow(other);
  ASSERT_GT(At(modal), At(other));

  EXPECT_FALSE(platform::input::Click(owner));
  EXPECT_EQ(std::tuple(::GetActiveWindow(), At(modal), platform::EnabledPopupOf(owner), platform::EnabledPopupOf(other)),
            std::tuple(modal, size_t{0}, modal, HWND{}));
  // A hidden or disabled one is nothing to wait for.
  ::ShowWindow(modal, SW_HIDE);
  EXPECT_EQ(platform::EnabledPopupOf(owner), nullptr);

  // A minimised window gives the activation to its owner, not to the window above that, and stays above it as a bar.
  const HWND owned = Make("owned", other);
  const HWND rival = Make("rival", nullptr);
  ::SetActiveWindow(owned);
  ASSERT_LT(At(rival), At(other));
  ::ShowWindow(owned, SW_MINIMIZE);
  EXPECT_EQ(::GetActiveWindow(), other);
  EXPECT_LT(At(owned), At(other));
  ::DestroyWindow(rival);
  EXPECT_EQ(::GetActiveWindow(), other) << "an inactive window goes without taking the activation along";
}

TEST_F(ZOrderTest, KeepOwnedAboveOwnersMovesOnlyWhatLiesBelowItsOwner) {
  const HWND a = Make("a", nullptr);
  const HWND b = Make("b", a);
  const HWND c = Make("c", nullptr);
  std::vector<HWND> list{a, c, b};
  platform::KeepOwnedAboveOwners(list);
  EXPECT_EQ(list, (std::vector<HWND>{b, a, c}));
  list = {c, b, a};
  platform::KeepOwnedAboveOwners(list);
  EXPECT_EQ(list, (std::vector<HWND>{c, b, a}));

  // A new owner lifts the window above it; an owner that would own itself is refused.
  ::SetWindowPos(c, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  EXPECT_EQ(::SetParent(c, b), nullptr);
  EXPECT_EQ(Order(), (std::vector<HWND>{c, b, a}));
  EXPECT_EQ(::SetParent(a, c), nullptr);
  EXPECT_EQ(::SetWindowLongPtr(b, GWL_HWNDPARENT, reinterpret_cast<LONG_PTR>(b)), 0);
  EXPECT_EQ(std::pair(::GetWindow(a, GW_OWNER), ::GetWindow(b, GW_OWNER)), std::pair(HWND{}, a));
}

}  // namespace
