// The form's requests as they leave the terminal, byte for byte, and the
// replies as the receiver handles them.
#include <gtest/gtest.h>

#include "platform/comctl/list_view.h"
#include "resources/resource.h"
#include "terminal/server/message_codec.h"
#include "terminal/host/log_pane.h"
#include "terminal/readout/list_text.h"
#include "terminal/readout/window_dump.h"
#include "tests/plugin_harness.h"

namespace e2e {
namespace {

using terminal::Field;
using Strings = std::vector<std::string>;

class Requests : public ::testing::Test {
 protected:
  void SetUp() override { terminal.Init("admin", &terminal.Host().MainWindow()); }

  void Do(std::initializer_list<std::string> lines) { terminal.Do(lines); }
  // Acts on the form: "ID=on" and "ID=off" set the check box ID, "ID=TEXT"
  // chooses TEXT in the combo ID, and a caption clicks that button.
  void Form(const std::vector<std::string_view>& steps) {
    for (const std::string_view step : steps) {
      const size_t eq = step.find('=');
      const std::string id(step.substr(0, eq == std::string_view::npos ? 0 : eq));
      const std::string value(step.substr(eq == std::string_view::npos ? 0 : eq + 1));
      if (id.empty()) {
        Do({"click \"Allowed Groups\" \"" + value + "\""});
      } else {
        Do({(value == "on" || value == "off" ? "check" : "select") + std::string(" \"Allowed Groups\" ") + id + " \"" +
            value + "\""});
      }
    }
  }

  Strings Sent() { return terminal.Sent(); }

  // The wire-log line of a request: its name is the value of tag 0.
  static std::string Line(const std::vector<Field>& fields) {
    std::string name;
    for (const auto& [tag, value] : fields) {
      if (tag == 0) name = value;
    }
    return "SEND " + name + " " + terminal::Hex(terminal::BuildMessage(fields));
  }
  // A group request as the wire log shows it: each kind leads with the
  // request name (tag 0), the user (54247) and the category (13034) in an
  // order of its own, then the segment (63001) and the fields in `rest`.
  enum class Kind { kAdd, kDelete, kListedDelete };
  static std::string Group(Kind kind, const char* category, const char* segment, const std::vector<Field>& rest = {}) {
    std::vector<Field> fields;
    if (kind == Kind::kAdd) {
      fields = {{0, "ks_publish_allowed_group"}, {13034, category}, {54247, "admin"}};
    } else if (kind == Kind::kDelete) {
      fields = {{0, "ks_delete_allowed_group"}, {54247, "admin"}, {13034, category}};
    } else {
      fields = {{54247, "admin"}, {0, "ks_delete_allowed_group"}, {13034, category}};
    }
    fields.emplace_back(63001, segment);
    fields.insert(fields.end(), rest.begin(), rest.end());
    return Line(fields);
  }

  // The records behind the view's rows, top first.
  std::vector<const AllowedGroupRecord*> Rows() { return terminal.View()->Rows(); }

  // Deletes the listed group in row `row` as the administrator does: that
  // row alone selected, then "Delete Group".
  void DeleteListed(int row) {
    Do({"select \"View Allowed Group\" 20016 \"#" + std::to_string(row) + "\"",
        R"(click "View Allowed Group" "Delete Group")"});
  }

  PluginHarness terminal;
};

TEST_F(Requests, CategoryRequestIsExactAndItsReplyFillsTheSortedCombo) {
  // 42 42 | 2 fields | tag 0, 15 bytes "ks_get_category" | tag 31003 (79 1B), 5 bytes "admin"
  EXPECT_EQ(Sent(), (Strings{"SEND ks_get_category 4242000000020000"
                             "0000000F6B735F6765745F63617465676F7279"
                             "791B0000000561646D696E"}));
  HWND category = GetDlgItem(terminal.Form(), 20000);
  ASSERT_EQ(SendMessage(category, CB_GETCOUNT, 0, 0), 4);
  EXPECT_EQ(terminal::ItemText(category, CB_GETLBTEXTLEN, CB_GETLBTEXT, 0), "HNI");
  EXPECT_EQ(SendMessage(category, CB_GETCURSEL, 0, 0), CB_ERR) << "nothing is selected";
}

// One form, acted on step by step: each step's requests, exactly as sent.
TEST_F(Requests, EachRequestCarriesTheChosenFieldsUnderItsSegmentsTagsInWireOrder) {
  struct Step {
    std::vector<std::string_view> form;
    Strings sent;
  };
  const Step steps[] = {
      // MCX expiries are the end of the day, offset back into IST.
      {{"20000=HNI", "20001=MCX", "20002=FUTCOM", "20003=GOLD", "1029=off", "20006=18Dec2026", "Add Group"},
       {Group(Kind::kAdd, "HNI", "mcx_fo", {{10106, "FUTCOM"}, {3, "GOLD"}, {46002, "1797638399"}})}},
      // "All Expiry" checked again: the date still chosen in the combo is not sent.
      {{"1029=on", "Add Group"}, {Group(Kind::kAdd, "HNI", "mcx_fo", {{10106, "FUTCOM"}, {3, "GOLD"}})}},
      // Nothing chosen below the segment restricts nothing; NSE sends its instrument in 10610.
      {{"20000=RETAIL", "20001=NSE", "Add Group", "20002=EQ", "Add Group"},
       {Group(Kind::kAdd, "RETAIL", "nse_cm"), Group(Kind::kAdd, "RETAIL", "nse_cm", {{10610, "EQ"}})}},
      // BSE sends no instrument, the symbol in 63100 and the group in 10610.
      {{"20001=BSE", "20004=A", "20002=EQ", "20003=TCS", "Buy", "Add Group"},
       {Group(Kind::kAdd, "RETAIL", "bse_cm", {{12003, "B"}, {63100, "TCS"}, {10610, "A"}})}},
      // Every field chosen: add and delete, each in its own order.
      {{"20000=HNI", "20001=NFO", "20002=OPTIDX", "20003=NIFTY", "20004=CE", "9012=26000", "1029=off",
        "20006=29Dec2026", "9013=NRML", "Sell", "Add Group"},
       {Group(Kind::kAdd, "HNI", "nse_fo",
              {{10106, "OPTIDX"},
               {64030, "NRML"},
               {12003, "S"},
               {3, "NIFTY"},
               {63006, "CE"},
               {66, "2600000"},
               {46002, "1483021800"}})}},
      {{"Delete Group"},
       {Group(Kind::kDelete, "HNI", "nse_fo",
              {{10106, "OPTIDX"},
               {3, "NIFTY"},
               {64030, "NRML"},
               {12003, "S"},
               {63006, "CE"},
               {66, "2600000"},
               {46002, "1483021800"}})}},
  };
  Sent();
  for (const Step& step : steps) {
    SCOPED_TRACE(std::string(step.form.front()));
    Form(step.form);
    EXPECT_EQ(Sent(), step.sent);
  }
  Strings logged(6, "ks_add_allowed_group request sent successfully");
  logged.insert(logged.begin(), "ks_get_category sent successfully");
  logged.push_back("ks_delete_group request sent successfully");
  EXPECT_EQ(terminal.Host().LogLines(), logged);
}

TEST_F(Requests, AllCategoriesSendsOnePerCategoryButStillNeedsOneChosen) {
  Sent();
  Form({"20030=on"});
  EXPECT_FALSE(IsWindowEnabled(GetDlgItem(terminal.Form(), 20000)));
  Form({"Add Group"});
  EXPECT_EQ(terminal.Boxes(), (Strings{"Please Select a valid Category"}));
  EXPECT_EQ(platform::MessageBoxLog().back().owner, terminal.Form());
  EXPECT_TRUE(Sent().empty());

  Form({"20030=off", "20000=RETAIL", "20001=NFO", "20030=on", "Add Group"});
  Strings expected;
  for (const char* category : {"HNI", "INSTITUTION", "PROPRIETARY", "RETAIL"}) {
    expected.push_back(Group(Kind::kAdd, category, "nse_fo"));
  }
  EXPECT_EQ(Sent(), expected);
  // Deleting ignores "all categories".
  Form({"Delete Group"});
  EXPECT_EQ(Sent().size(), 1u);
}

TEST_F(Requests, CascadeResetsTheCombosBelowAChange) {
  Form({"20001=NFO", "20002=OPTIDX", "20003=NIFTY", "20004=PE", "1029=off"});
  HWND form = terminal.Form();
  EXPECT_TRUE(IsWindowEnabled(GetDlgItem(form, 20006)));
  Form({"20001=MCX"});
  for (int id : {20002, 20003, 20004, 9012}) EXPECT_EQ(terminal::WindowText(GetDlgItem(form, id)), "--ANY--") << id;
  EXPECT_EQ(IsDlgButtonChecked(form, 1029), static_cast<UINT>(BST_CHECKED));
  EXPECT_EQ(terminal::WindowText(GetDlgItem(form, 1029)), "All Expiry");
  EXPECT_FALSE(IsWindowEnabled(GetDlgItem(form, 20006)));

  // For BSE an instrument and then a symbol leave the group combo as the
  // terminal filled it: still one "--ANY--", still the chosen group.
  Form({"20001=BSE", "20004=T", "20002=EQ", "20003=RPOWER"});
  HWND group = GetDlgItem(form, 20004);
  EXPECT_EQ(SendMessage(group, CB_FINDSTRINGEXACT, 0, reinterpret_cast<LPARAM>("--ANY--")), 0)
      << "the search after the first \"--ANY--\" wraps round to it";
  EXPECT_EQ(terminal::WindowText(group), "T");
}

TEST_F(Requests, ListAllRepliesBecomeMergedRecords) {
  Form({"20000=HNI", "20001=NFO", "20002=OPTIDX", "20003=NIFTY", "9012=26000", "1029=off", "20006=29Dec2026",
        "Add Group", "Add Group", "20001=BSE", "20004=B", "20003=SUZLON", "Add Group", "View Group"});
  ASSERT_NE(terminal::FindTopLevelWindow("View Allowed Group"), nullptr);
  EXPECT_TRUE(IsWindowVisible(terminal::FindTopLevelWindow("View Allowed Group")));
  const auto rows = Rows();
  ASSERT_EQ(rows.size(), 2u) << "two identical groups merge into one row";
  // Newest on top; a BSE group's instrument is the terminal's for its symbol.
  EXPECT_EQ(rows[0]->strSymbol, "SUZLON");
  EXPECT_EQ(rows[0]->strInstrument, "EQ");
  EXPECT_EQ(rows[1]->strExpiry, "29/12/2026") << "server seconds back to the IST date";

  // A second View Group starts the list afresh.
  Sent();
  Form({"View Group"});
  EXPECT_EQ(Sent(), (Strings{Line({{54247, "admin"}, {0, "ks_get_all_allowed_groups"}})}));
  EXPECT_EQ(Rows().size(), 2u);

  // Deleting a listed group names it as the server listed it: "ALL" fields
  // and a zero strike stay out, the expiry goes back to server seconds.
  DeleteListed(1);
  EXPECT_EQ(Sent(), (Strings{Group(Kind::kListedDelete, "HNI", "nse_fo",
                                   {{10106, "OPTIDX"}, {3, "NIFTY"}, {66, "2600000"}, {46002, "1483021800"}})}));
  DeleteListed(0);
  EXPECT_EQ(Sent(), (Strings{Group(Kind::kListedDelete, "HNI", "bse_cm", {{63100, "SUZLON"}, {10610, "B"}})}));
  // Nothing is logged for these; the server removed both.
  EXPECT_EQ(terminal.Host().LogLines().back(), "ks_get_all_allowed_groups request sent successfully");
  EXPECT_EQ(terminal.Host().Server().GroupCount(), 0);
}

TEST_F(Requests, ViewDeletesTheSelectedGroupsAndDropsTheirRowsAtOnce) {
  Form({"20000=HNI", "20001=NSE", "Add Group", "20001=NFO", "Add Group", "20001=CDS", "20002=OPTCUR", "20003=USDINR",
        "9012=88.25", "Add Group", "View Group"});
  HWND view = terminal::FindTopLevelWindow("View Allowed Group");
  HWND list = GetDlgItem(view, 20016);
  ASSERT_EQ(SendMessage(list, LVM_GETITEMCOUNT, 0, 0), 3);
  const Strings added = Sent();  // the categories, three adds, the list
  ASSERT_EQ(added.size(), 5u);
  EXPECT_NE(added[3].find(terminal::Hex(std::string_view("882500000"))), std::string::npos)
      << "currency strikes carry five more decimals on the wire";
  EXPECT_EQ(terminal::ListCell(list, 0, 5), "88.25") << "currency strikes come back from server units";

  // Rows 0 and 2 (CDS and NSE) selected with Ctrl: two requests in row
  // order, both rows gone before any reply.
  Do({R"(select "View Allowed Group" 20016 "#0")", R"(select-more "View Allowed Group" 20016 "#2")"});
  Sent();
  Do({R"(click "View Allowed Group" "Delete Group")"});
  const auto sent = Sent();
  ASSERT_EQ(sent.size(), 2u);
  EXPECT_NE(sent[0].find(terminal::Hex(std::string_view("cde_fo"))), std::string::npos);
  EXPECT_NE(sent[1].find(terminal::Hex(std::string_view("nse_cm"))), std::string::npos);
  ASSERT_EQ(SendMessage(list, LVM_GETITEMCOUNT, 0, 0), 1);
  EXPECT_EQ(Rows()[0]->strExchangeCode, "nse_fo");
  EXPECT_EQ(terminal.Host().Server().GroupCount(), 1);
  // (Where the selection goes, and "Delete Group" with none: view_alg_grp_dlg_test.cpp.)
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

  // A compact-form reply is not a reply of this connection: ignored.
  // 41 41 | 1 field | tag 0x7FFF | 15 bytes "ks_get_category"
  const std::string_view compact("AA\x00\x01\x7F\xFF\x00\x0Fks_get_category", 23);
  host.InjectReply(std::vector<char>(compact.begin(), compact.end()));
  platform::PumpMessages();
  EXPECT_EQ(terminal.Boxes().size(), 1u);
  EXPECT_TRUE(Sent().empty());
}

// The main window's log: the plug-in's lines and the server's refusals, as they came.
TEST_F(Requests, TheMainWindowsLogShowsEveryLineAndEveryRefusalNewestLast) {
  Form({"20000=HNI", "20001=NSE", "Add Group", "Delete Group", "Delete Group"});
  const auto& host = terminal.Host();
  ASSERT_EQ(host.ServerFailures().size(), 1u) << "the second delete finds no such group";
  const HWND log = terminal.Host().LogWindow();
  const auto count = static_cast<int>(::SendMessage(log, LB_GETCOUNT, 0, 0));
  Strings shown;
  for (int i = 0; i < count; ++i) shown.push_back(terminal::ItemText(log, LB_GETTEXTLEN, LB_GETTEXT, i));
  Strings expected = host.LogLines();
  // The refusal comes back while the request is sent, before the plug-in logs it as sent.
  expected.insert(expected.end() - 1, host.ServerFailures()[0]);
  EXPECT_EQ(shown, expected);
  EXPECT_EQ(shown.back(), "ks_delete_group request sent successfully");
  EXPECT_EQ(::SendMessage(log, LB_GETTOPINDEX, 0, 0), std::max(0, count - terminal::LogPane::kVisibleLines));
}

}  // namespace
}  // namespace e2e
