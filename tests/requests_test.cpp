// The form's requests as they leave the terminal, byte for byte, and the
// replies as the receiver handles them.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include "platform/input/input_driver.h"
#include "platform/comctl/list_view.h"
#include "resources/resource.h"
#include "terminal/server/message_codec.h"
#include "terminal/host/log_pane.h"
#include "terminal/inspect/list_text.h"
#include "terminal/inspect/window_dump.h"
#include "terminal/script/script_runner.h"
#include "tests/plugin_harness.h"

namespace e2e {
namespace {

using terminal::Field;
using Strings = std::vector<std::string>;

class Requests : public ::testing::Test {
 protected:
  void SetUp() override {
    terminal.Init("admin", &terminal.Host().MainWindow());
    runner = std::make_unique<terminal::ScriptRunner>(
        terminal.Host(),
        [this](const std::string& key, std::string&) {
          terminal.HotKey(key.c_str());
          return true;
        },
        stdout, stderr);
  }

  // Runs script lines against the form; fails the test on the first that fails.
  void Do(std::initializer_list<const char*> lines) {
    for (const char* line : lines) {
      std::string error;
      const auto words = terminal::SplitScriptLine(line, error);
      ASSERT_TRUE(words && runner->RunLine(*words, error)) << line << ": " << error;
    }
  }

  // The wire lines of the requests sent since the last call.
  Strings Sent() {
    Strings sent;
    const auto& wire = terminal.Host().Wire();
    for (; wireSeen < wire.size(); ++wireSeen) {
      if (wire[wireSeen].rfind("SEND ", 0) == 0) sent.push_back(wire[wireSeen]);
    }
    return sent;
  }

  // The wire-log line of a request: its name is the value of tag 0.
  static std::string Line(const std::vector<Field>& fields) {
    std::string name;
    for (const auto& [tag, value] : fields) {
      if (tag == 0) name = value;
    }
    return "SEND " + name + " " + terminal::Hex(terminal::BuildMessage(fields));
  }

  // The records behind the view's rows, top first.
  std::vector<const AllowedGroupRecord*> Rows() { return terminal.View()->Rows(); }

  // Deletes the listed group in row `row` as the administrator does: that
  // row alone selected, then "Delete Group" (the view need not be shown).
  void DeleteListed(int row) {
    HWND view = terminal.View()->GetSafeHwnd();
    HWND list = GetDlgItem(view, IDC_GROUP_LIST);
    LVITEM state{};
    state.stateMask = LVIS_SELECTED;
    SendMessage(list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&state));
    state.state = LVIS_SELECTED;
    ASSERT_TRUE(SendMessage(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&state)));
    HWND button = GetDlgItem(view, IDC_DELETE_LISTED);
    SendMessage(view, WM_COMMAND, MAKEWPARAM(IDC_DELETE_LISTED, BN_CLICKED), reinterpret_cast<LPARAM>(button));
    platform::PumpMessages();
  }

  PluginHarness terminal;
  std::unique_ptr<terminal::ScriptRunner> runner;
  size_t wireSeen = 0;
};

TEST_F(Requests, CategoryRequestIsExactAndItsReplyFillsTheSortedCombo) {
  // 42 42 | 2 fields | tag 0, 15 bytes "ks_get_category" | tag 31003 (79 1B), 5 bytes "admin"
  EXPECT_EQ(Sent(), (Strings{"SEND ks_get_category 4242000000020000"
                             "0000000F6B735F6765745F63617465676F7279"
                             "791B0000000561646D696E"}));
  HWND category = GetDlgItem(terminal.Form(), 20000);
  ASSERT_EQ(SendMessage(category, CB_GETCOUNT, 0, 0), 4);
  char first[32] = {};
  SendMessage(category, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(first));
  EXPECT_STREQ(first, "HNI");
  EXPECT_EQ(SendMessage(category, CB_GETCURSEL, 0, 0), CB_ERR) << "nothing is selected";
}

TEST_F(Requests, AddCarriesEveryChosenFieldInWireOrder) {
  Sent();
  Do({R"(select "Allowed Groups" 20000 "HNI")", R"(select "Allowed Groups" 20001 "NFO")",
      R"(select "Allowed Groups" 20002 "OPTIDX")", R"(select "Allowed Groups" 20003 "NIFTY")",
      R"(select "Allowed Groups" 20004 "CE")", R"(select "Allowed Groups" 9012 "26000")",
      R"(check "Allowed Groups" 1029 off)", R"(select "Allowed Groups" 20006 "29Dec2026")",
      R"(select "Allowed Groups" 9013 "NRML")", R"(click "Allowed Groups" "Sell")",
      R"(click "Allowed Groups" "Add Group")"});
  EXPECT_EQ(Sent(), (Strings{Line({{0, "ks_publish_allowed_group"},
                                   {13034, "HNI"},
                                   {54247, "admin"},
                                   {63001, "nse_fo"},
                                   {10106, "OPTIDX"},
                                   {64030, "NRML"},
                                   {12003, "S"},
                                   {3, "NIFTY"},
                                   {63006, "CE"},
                                   {66, "2600000"},
                                   {46002, "1483021800"}})}));
  Do({R"(click "Allowed Groups" "Delete Group")"});
  EXPECT_EQ(Sent(), (Strings{Line({{0, "ks_delete_allowed_group"},
                                   {54247, "admin"},
                                   {13034, "HNI"},
                                   {63001, "nse_fo"},
                                   {10106, "OPTIDX"},
                                   {3, "NIFTY"},
                                   {64030, "NRML"},
                                   {12003, "S"},
                                   {63006, "CE"},
                                   {66, "2600000"},
                                   {46002, "1483021800"}})}));
  EXPECT_EQ(terminal.Host().LogLines(),
            (Strings{"ks_get_category sent successfully", "ks_add_allowed_group request sent successfully",
                     "ks_delete_group request sent successfully"}));
}

TEST_F(Requests, UnrestrictedAddAndSegmentSpecificTags) {
  Sent();
  Do({R"(select "Allowed Groups" 20000 "RETAIL")", R"(select "Allowed Groups" 20001 "NSE")",
      R"(click "Allowed Groups" "Add Group")"});
  EXPECT_EQ(Sent(),
            (Strings{Line({{0, "ks_publish_allowed_group"}, {13034, "RETAIL"}, {54247, "admin"}, {63001, "nse_cm"}})}));
  // NSE sends its instrument in 10610; BSE sends no instrument, the symbol in
  // 63100 and the group in 10610.
  Do({R"(select "Allowed Groups" 20002 "EQ")", R"(click "Allowed Groups" "Add Group")"});
  EXPECT_EQ(
      Sent(),
      (Strings{Line(
          {{0, "ks_publish_allowed_group"}, {13034, "RETAIL"}, {54247, "admin"}, {63001, "nse_cm"}, {10610, "EQ"}})}));
  Do({R"(select "Allowed Groups" 20001 "BSE")", R"(select "Allowed Groups" 20004 "A")",
      R"(select "Allowed Groups" 20002 "EQ")", R"(select "Allowed Groups" 20003 "TCS")",
      R"(click "Allowed Groups" "Buy")", R"(click "Allowed Groups" "Add Group")"});
  const auto sent = Sent();
  ASSERT_EQ(sent.size(), 1u);
  EXPECT_EQ(sent[0], Line({{0, "ks_publish_allowed_group"},
                           {13034, "RETAIL"},
                           {54247, "admin"},
                           {63001, "bse_cm"},
                           {12003, "B"},
                           {63100, "TCS"},
                           {10610, "A"}}));
}

TEST_F(Requests, StrikesAreScaledAndCurrencyStrikesFurther) {
  Sent();
  Do({R"(select "Allowed Groups" 20000 "HNI")", R"(select "Allowed Groups" 20001 "CDS")",
      R"(select "Allowed Groups" 20002 "OPTCUR")", R"(select "Allowed Groups" 20003 "USDINR")",
      R"(select "Allowed Groups" 9012 "88.25")", R"(click "Allowed Groups" "Add Group")"});
  const auto sent = Sent();
  ASSERT_EQ(sent.size(), 1u);
  EXPECT_NE(sent[0].find(terminal::Hex(terminal::BuildMessage({{66, "882500000"}})).substr(12)), std::string::npos)
      << sent[0];
  // MCX expiries are the end of the day, offset back into IST.
  Do({R"(select "Allowed Groups" 20001 "MCX")", R"(select "Allowed Groups" 20002 "FUTCOM")",
      R"(select "Allowed Groups" 20003 "GOLD")", R"(check "Allowed Groups" 1029 off)",
      R"(select "Allowed Groups" 20006 "18Dec2026")", R"(click "Allowed Groups" "Add Group")"});
  EXPECT_EQ(Sent(), (Strings{Line({{0, "ks_publish_allowed_group"},
                                   {13034, "HNI"},
                                   {54247, "admin"},
                                   {63001, "mcx_fo"},
                                   {10106, "FUTCOM"},
                                   {3, "GOLD"},
                                   {46002, "1797638399"}})}));
  // "All Expiry" checked again: the date still chosen in the combo is not sent.
  Do({R"(check "Allowed Groups" 1029 on)", R"(click "Allowed Groups" "Add Group")"});
  EXPECT_EQ(Sent(), (Strings{Line({{0, "ks_publish_allowed_group"},
                                   {13034, "HNI"},
                                   {54247, "admin"},
                                   {63001, "mcx_fo"},
                                   {10106, "FUTCOM"},
                                   {3, "GOLD"}})}));
}

TEST_F(Requests, AllCategoriesSendsOnePerCategoryButStillNeedsOneChosen) {
  Sent();
  Do({R"(check "Allowed Groups" "Apply for all categories" on)"});
  EXPECT_FALSE(IsWindowEnabled(GetDlgItem(terminal.Form(), 20000)));
  Do({R"(click "Allowed Groups" "Add Group")"});
  EXPECT_EQ(terminal.Boxes(), (Strings{"Please Select a valid Category"}));
  EXPECT_EQ(platform::MessageBoxLog().back().owner, terminal.Form());
  EXPECT_TRUE(Sent().empty());

  Do({R"(check "Allowed Groups" "Apply for all categories" off)", R"(select "Allowed Groups" 20000 "RETAIL")",
      R"(select "Allowed Groups" 20001 "NFO")", R"(check "Allowed Groups" "Apply for all categories" on)",
      R"(click "Allowed Groups" "Add Group")"});
  Strings expected;
  for (const char* category : {"HNI", "INSTITUTION", "PROPRIETARY", "RETAIL"}) {
    expected.push_back(Line({{0, "ks_publish_allowed_group"}, {13034, category}, {54247, "admin"}, {63001, "nse_fo"}}));
  }
  EXPECT_EQ(Sent(), expected);
  // Deleting ignores "all categories".
  Do({R"(click "Allowed Groups" "Delete Group")"});
  EXPECT_EQ(Sent().size(), 1u);
}

TEST_F(Requests, CascadeResetsTheCombosBelowAChange) {
  Do({R"(select "Allowed Groups" 20001 "NFO")", R"(select "Allowed Groups" 20002 "OPTIDX")",
      R"(select "Allowed Groups" 20003 "NIFTY")", R"(select "Allowed Groups" 20004 "PE")",
      R"(check "Allowed Groups" 1029 off)"});
  HWND form = terminal.Form();
  EXPECT_TRUE(IsWindowEnabled(GetDlgItem(form, 20006)));
  Do({R"(select "Allowed Groups" 20001 "MCX")"});
  for (int id : {20002, 20003, 20004, 9012}) {
    char text[32] = {};
    GetWindowText(GetDlgItem(form, id), text, sizeof text);
    EXPECT_STREQ(text, "--ANY--") << id;
  }
  EXPECT_EQ(IsDlgButtonChecked(form, 1029), static_cast<UINT>(BST_CHECKED));
  char caption[32] = {};
  GetDlgItemText(form, 1029, caption, sizeof caption);
  EXPECT_STREQ(caption, "All Expiry");
  EXPECT_FALSE(IsWindowEnabled(GetDlgItem(form, 20006)));

  // For BSE an instrument and then a symbol leave the group combo as the
  // terminal filled it: still one "--ANY--", still the chosen group.
  Do({R"(select "Allowed Groups" 20001 "BSE")", R"(select "Allowed Groups" 20004 "T")",
      R"(select "Allowed Groups" 20002 "EQ")", R"(select "Allowed Groups" 20003 "RPOWER")"});
  HWND group = GetDlgItem(form, 20004);
  EXPECT_EQ(SendMessage(group, CB_FINDSTRINGEXACT, 0, reinterpret_cast<LPARAM>("--ANY--")), 0)
      << "the search after the first \"--ANY--\" wraps round to it";
  char chosen[32] = {};
  GetWindowText(group, chosen, sizeof chosen);
  EXPECT_STREQ(chosen, "T");
}

TEST_F(Requests, ListAllRepliesBecomeMergedRecords) {
  Do({R"(select "Allowed Groups" 20000 "HNI")", R"(select "Allowed Groups" 20001 "NFO")",
      R"(select "Allowed Groups" 20002 "OPTIDX")", R"(select "Allowed Groups" 20003 "NIFTY")",
      R"(select "Allowed Groups" 9012 "26000")", R"(check "Allowed Groups" 1029 off)",
      R"(select "Allowed Groups" 20006 "29Dec2026")", R"(click "Allowed Groups" "Add Group")",
      R"(click "Allowed Groups" "Add Group")", R"(select "Allowed Groups" 20001 "BSE")",
      R"(select "Allowed Groups" 20004 "B")", R"(select "Allowed Groups" 20003 "SUZLON")",
      R"(click "Allowed Groups" "Add Group")", R"(click "Allowed Groups" "View Group")"});
  ASSERT_NE(terminal::FindTopLevelWindow("View Allowed Group"), nullptr);
  EXPECT_TRUE(IsWindowVisible(terminal::FindTopLevelWindow("View Allowed Group")));
  const auto rows = Rows();
  ASSERT_EQ(rows.size(), 2u) << "two identical groups merge into one row";
  const AllowedGroupRecord& bse = *rows[0];  // newest on top
  EXPECT_EQ(bse.strExchangeCode, "bse_cm");
  EXPECT_EQ(bse.strInstrument, "EQ") << "looked up from the trading symbol";
  EXPECT_EQ(bse.strSymbol, "SUZLON");
  EXPECT_EQ(bse.strOptionType, "B");
  EXPECT_EQ(bse.strExpiry, "ALL");
  EXPECT_EQ(bse.dStrike, 0);
  const AllowedGroupRecord& nfo = *rows[1];
  EXPECT_EQ(nfo.strCategory, "HNI");
  EXPECT_EQ(nfo.strInstrument, "OPTIDX");
  EXPECT_EQ(nfo.strOptionType, "ALL");
  EXPECT_EQ(nfo.dStrike, 2600000);
  EXPECT_EQ(nfo.strExpiry, "29/12/2026") << "server seconds back to the IST date";
  EXPECT_EQ(nfo.strProduct, "ALL");
  EXPECT_EQ(nfo.strSide, "ALL");

  // A second View Group starts the list afresh.
  Sent();
  Do({R"(click "Allowed Groups" "View Group")"});
  EXPECT_EQ(Sent(), (Strings{Line({{54247, "admin"}, {0, "ks_get_all_allowed_groups"}})}));
  EXPECT_EQ(Rows().size(), 2u);

  // Deleting a listed group names it as the server listed it: "ALL" fields
  // and a zero strike stay out, the expiry goes back to server seconds.
  DeleteListed(1);
  EXPECT_EQ(Sent(), (Strings{Line({{54247, "admin"},
                                   {0, "ks_delete_allowed_group"},
                                   {13034, "HNI"},
                                   {63001, "nse_fo"},
                                   {10106, "OPTIDX"},
                                   {3, "NIFTY"},
                                   {66, "2600000"},
                                   {46002, "1483021800"}})}));
  DeleteListed(0);
  EXPECT_EQ(Sent(), (Strings{Line({{54247, "admin"},
                                   {0, "ks_delete_allowed_group"},
                                   {13034, "HNI"},
                                   {63001, "bse_cm"},
                                   {63100, "SUZLON"},
                                   {10610, "B"}})}));
  // Nothing is logged for these; the server removed both.
  EXPECT_EQ(terminal.Host().LogLines().back(), "ks_get_all_allowed_groups request sent successfully");
  EXPECT_EQ(terminal.Host().Server().GroupCount(), 0);
}

TEST_F(Requests, ViewDeletesTheSelectedGroupsAndDropsTheirRowsAtOnce) {
  Do({R"(select "Allowed Groups" 20000 "HNI")", R"(select "Allowed Groups" 20001 "NSE")",
      R"(click "Allowed Groups" "Add Group")", R"(select "Allowed Groups" 20001 "NFO")",
      R"(click "Allowed Groups" "Add Group")", R"(select "Allowed Groups" 20001 "CDS")",
      R"(select "Allowed Groups" 20002 "OPTCUR")", R"(select "Allowed Groups" 20003 "USDINR")",
      R"(select "Allowed Groups" 9012 "88.25")", R"(click "Allowed Groups" "Add Group")",
      R"(click "Allowed Groups" "View Group")"});
  HWND view = terminal::FindTopLevelWindow("View Allowed Group");
  HWND list = GetDlgItem(view, 20016);
  ASSERT_EQ(SendMessage(list, LVM_GETITEMCOUNT, 0, 0), 3);
  EXPECT_EQ(terminal::ListCell(list, 0, 5), "88.25") << "currency strikes come back from server units";

  // Rows 0 and 2 (CDS and NSE) selected with Ctrl: two requests in row
  // order, both rows gone before any reply.
  Do({R"(select "View Allowed Group" 20016 "#0")"});
  RECT row2{};
  SendMessage(list, LVM_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&row2));
  ASSERT_TRUE(
      platform::input::ClickAt(list, POINT{row2.left + 4, (row2.top + row2.bottom) / 2}, platform::input::kControl));
  Sent();
  Do({R"(click "View Allowed Group" "Delete Group")"});
  const auto sent = Sent();
  ASSERT_EQ(sent.size(), 2u);
  EXPECT_NE(sent[0].find(terminal::Hex(std::string_view("cde_fo"))), std::string::npos);
  EXPECT_NE(sent[1].find(terminal::Hex(std::string_view("nse_cm"))), std::string::npos);
  ASSERT_EQ(SendMessage(list, LVM_GETITEMCOUNT, 0, 0), 1);
  EXPECT_EQ(Rows()[0]->strExchangeCode, "nse_fo");
  EXPECT_EQ(terminal.Host().Server().GroupCount(), 1);

  // Row 0's selection passed to the row that followed it; the last row's
  // had no row to pass to.
  ASSERT_EQ(SendMessage(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED), 0);
  Do({R"(click "View Allowed Group" "Delete Group")"});
  ASSERT_EQ(Sent().size(), 1u);
  EXPECT_EQ(SendMessage(list, LVM_GETITEMCOUNT, 0, 0), 0);
  EXPECT_EQ(terminal.Host().Server().GroupCount(), 0);

  Do({R"(click "View Allowed Group" "Delete Group")"});
  EXPECT_EQ(terminal.Boxes(), (Strings{"Please select a group to delete"}));
  EXPECT_EQ(platform::MessageBoxLog().back().owner, view);
  EXPECT_TRUE(Sent().empty());
}

TEST_F(Requests, RepliesFromAHostileServerAreHandledOrIgnored) {
  auto& host = terminal.Host();
  auto inject = [&](const std::vector<Field>& fields) {
    host.InjectReply(terminal::BuildMessage(fields));
    platform::PumpMessages();
  };
  Sent();
  inject({{13034, "no name"}});
  inject({{32767, "ks_publish_allowed_group"}, {32766, "1"}});
  EXPECT_TRUE(terminal.Boxes().empty());
  // Status 0 is fatal; the category reply then asks for peer data.
  inject({{32767, "ks_get_category"}, {32766, "0"}});
  EXPECT_EQ(terminal.Boxes(), (Strings{"Fatal error.Please contact administrator."}));
  EXPECT_EQ(Sent(), (Strings{Line({{0, "ks_get_user_peer_data"}, {31003, "admin"}})}));
  EXPECT_EQ(host.LogLines().back(), "ks_get_user_peer_data Request sent successfully");

  // Values no buffer or number holds are kept as sent, never written past a buffer.
  inject({{32767, "ks_get_all_allowed_groups"},
          {13034, "X"},
          {63001, "nse_fo"},
          {46002, std::string(40, '9')},
          {66, std::string(100, '7')}});
  ASSERT_EQ(Rows().size(), 1u);
  EXPECT_EQ(Rows()[0]->strExpiry, std::string(40, '9').c_str()) << "no date fits 32 bits";
  EXPECT_EQ(Rows()[0]->strStrikeAsSent, std::string(100, '7').c_str());
  EXPECT_EQ(Rows()[0]->dStrike, 0);
  // A delete of that row names the group as the server sent it.
  Sent();
  DeleteListed(0);
  EXPECT_EQ(Sent(), (Strings{Line({{54247, "admin"},
                                   {0, "ks_delete_allowed_group"},
                                   {13034, "X"},
                                   {63001, "nse_fo"},
                                   {66, std::string(100, '7')},
                                   {46002, std::string(40, '9')}})}));

  // Fields present but empty restrict nothing, as missing ones: "ALL", and a
  // delete of that row leaves them out.
  inject({{32767, "ks_get_all_allowed_groups"},
          {13034, "Y"},
          {63001, "nse_fo"},
          {10106, ""},
          {3, ""},
          {63006, ""},
          {64030, ""},
          {12003, ""}});
  ASSERT_EQ(Rows().size(), 1u) << "the deleted row left at once";
  const AllowedGroupRecord& empty = *Rows()[0];
  EXPECT_EQ(empty.strCategory, "Y");
  for (const CGroupText* field :
       {&empty.strInstrument, &empty.strSymbol, &empty.strOptionType, &empty.strProduct, &empty.strSide}) {
    EXPECT_EQ(*field, "ALL");
  }
  Sent();
  DeleteListed(0);
  EXPECT_EQ(Sent(),
            (Strings{Line({{54247, "admin"}, {0, "ks_delete_allowed_group"}, {13034, "Y"}, {63001, "nse_fo"}})}));

  // A compact-form reply is not a reply of this connection: ignored.
  const char compact[] = {0x41, 0x41, 0x00, 0x01, 0x7F, static_cast<char>(0xFF),
                          0x00, 0x0F, 'k',  's',  '_',  'g',
                          'e',  't',  '_',  'c',  'a',  't',
                          'e',  'g',  'o',  'r',  'y'};
  host.InjectReply(std::vector<char>(std::begin(compact), std::end(compact)));
  platform::PumpMessages();
  EXPECT_EQ(terminal.Boxes().size(), 1u);
  EXPECT_TRUE(Sent().empty());
}

}  // namespace
}  // namespace e2e

namespace e2e {
namespace {

// The main window's log: the plug-in's lines and the server's refusals, as they came.
TEST_F(Requests, TheMainWindowsLogShowsEveryLineAndEveryRefusalNewestLast) {
  Do({R"(select "Allowed Groups" 20000 "HNI")", R"(select "Allowed Groups" 20001 "NSE")",
      R"(click "Allowed Groups" "Add Group")", R"(click "Allowed Groups" "Delete Group")",
      R"(click "Allowed Groups" "Delete Group")"});
  const auto& host = terminal.Host();
  ASSERT_EQ(host.ServerFailures().size(), 1u) << "the second delete finds no such group";
  const HWND log = terminal.Host().LogWindow();
  const auto count = static_cast<int>(::SendMessage(log, LB_GETCOUNT, 0, 0));
  Strings shown;
  for (int i = 0; i < count; ++i) {
    char text[512] = {};
    ::SendMessage(log, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
    shown.emplace_back(text);
  }
  Strings expected = host.LogLines();
  // The refusal comes back while the request is sent, before the plug-in logs it as sent.
  expected.insert(expected.end() - 1, host.ServerFailures()[0]);
  EXPECT_EQ(shown, expected);
  EXPECT_EQ(shown.back(), "ks_delete_group request sent successfully");
  EXPECT_EQ(::SendMessage(log, LB_GETTOPINDEX, 0, 0), std::max(0, count - terminal::LogPane::kVisibleLines));
}

}  // namespace
}  // namespace e2e
