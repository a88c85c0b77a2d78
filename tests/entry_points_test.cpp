// The plug-in's five entry points as a terminal drives them.
#include <gtest/gtest.h>

#include <string_view>

#include "platform/user/combo_box.h"
#include "terminal/readout/window_readers.h"
#include "terminal/server/message_codec.h"
#include "tests/plugin_harness.h"

namespace e2e {
namespace {

using Strings = std::vector<std::string>;

class EntryPoints : public ::testing::Test {
 protected:
  // Clicks "View Group" on the form: a list-all request, which carries the
  // user the plug-in keeps and is not sent without one. Whether it was sent
  // carrying `user`.
  bool ViewGroupSentFor(std::string_view user) {
    terminal.Do({R"(click "Allowed Groups" "View Group")"});
    const Strings sent = terminal.Sent();
    return sent.size() == 1 && sent[0].find(terminal::Hex(user)) != std::string::npos;
  }

  PluginHarness terminal;
};

// A terminal that closes leaves no main window or host behind for whatever
// runs next.
TEST(TerminalClose, LeavesNoMainWindowBehind) {
  {
    PluginHarness terminal;
    EXPECT_EQ(AfxGetMainWnd(), &terminal.Host().MainWindow());
    EXPECT_EQ(terminal::Host::Current(), &terminal.Host());
  }
  EXPECT_EQ(AfxGetMainWnd(), nullptr);
  EXPECT_EQ(terminal::Host::Current(), nullptr);
}

TEST_F(EntryPoints, InitOpensTheFormOnceAndKeepsTheFirstUser) {
  HINSTANCE resourcesBefore = AfxGetResourceHandle();
  CWnd& frame = terminal.Host().MainWindow();
  terminal.Init("admin", &frame);
  EXPECT_EQ(AfxGetResourceHandle(), resourcesBefore) << "the resource module is restored on the way out";
  HWND form = terminal.Form();
  ASSERT_NE(form, nullptr);
  EXPECT_TRUE(IsWindowVisible(form));
  EXPECT_EQ(GetWindow(form, GW_OWNER), frame.GetSafeHwnd());
  // 42 42 | 2 fields | tag 0, 15 bytes "ks_get_category" | tag 31003 (79 1B), 5 bytes "admin"
  EXPECT_EQ(terminal.Sent(), (Strings{"SEND ks_get_category 4242000000020000"
                                      "0000000F6B735F6765745F63617465676F7279"
                                      "791B0000000561646D696E"}));
  EXPECT_EQ(terminal.Host().LogLines(), (Strings{"ks_get_category sent successfully"}));
  // The reply fills the category combo, sorted, with nothing selected.
  HWND category = GetDlgItem(form, 20000);
  ASSERT_EQ(SendMessage(category, CB_GETCOUNT, 0, 0), 4);
  EXPECT_EQ(terminal::ItemText(category, CB_GETLBTEXTLEN, CB_GETLBTEXT, 0), "HNI");
  EXPECT_EQ(SendMessage(category, CB_GETCURSEL, 0, 0), CB_ERR);

  // Closing hides the form; a second Init shows the same window again and
  // keeps the first user.
  ::SendMessage(form, WM_CLOSE, 0, 0);
  platform::PumpMessages();
  EXPECT_FALSE(IsWindowVisible(form));
  EXPECT_TRUE(IsWindow(form));
  terminal.Init("intruder", &frame);
  EXPECT_EQ(terminal.Form(), form);
  EXPECT_TRUE(IsWindowVisible(form));
  EXPECT_EQ(terminal.Host().LogLines().size(), 1u) << "the form initialises once";
  EXPECT_TRUE(ViewGroupSentFor("admin"));
  EXPECT_TRUE(terminal.Boxes().empty());
}

TEST_F(EntryPoints, HotKeyIsExactAndBeforeInitOpensAParentlessForm) {
  terminal.HotKey("alt+a");
  terminal.HotKey("Alt+A", 1);
  terminal.HotKey("Alt+A ");
  EXPECT_EQ(terminal.Form(), nullptr);

  terminal.HotKey("Alt+A");
  HWND form = terminal.Form();
  ASSERT_NE(form, nullptr);
  EXPECT_TRUE(IsWindowVisible(form));
  EXPECT_EQ(GetWindow(form, GW_OWNER), nullptr);
  // With no user every request ends silently at its user field.
  EXPECT_FALSE(ViewGroupSentFor("admin"));
  EXPECT_TRUE(terminal.Host().LogLines().empty());
  EXPECT_TRUE(terminal.Host().Wire().empty());
}

}  // namespace
}  // namespace e2e
