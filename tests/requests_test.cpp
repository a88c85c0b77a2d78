// The form's requests as they leave the terminal, byte for byte, and the
// replies as the receiver handles them.
#include <gtest/gtest.h>

#include <string_view>

#include "platform/user/combo_box.h"
#include "platform/user/message_box.h"
#include "terminal/readout/window_readers.h"
#include "terminal/server/message_codec.h"
#include "tests/plugin_harness.h"

namespace e2e {
namespace {

using terminal::Field;
using Strings = std::vector<std::string>;

// A reply from the server, handled as the terminal's loop would.
void Inject(terminal::Host& host, const std::vector<Field>& fields) {
  host.InjectReply(terminal::BuildMessage(fields));
  platform::PumpMessages();
}

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
      const std::string verb = id.empty() ? "click" : value == "on" || value == "off" ? "check" : "select";
      Do({verb + " \"Allowed Groups\" " + (id.empty() ? "" : id + " ") + "\"" + value + "\""});
    }
  }

  Strings Sent() { return terminal.Sent(); }
  // The boxes shown since `before` (a length of the message-box log), each
  // owned by the form.
  Strings BoxesSince(size_t before) {
    const auto log = platform::MessageBoxLog();
    Strings texts;
    for (size_t i = before; i < log.size(); ++i) {
      EXPECT_EQ(log[i].owner, terminal.Form()) << log[i].text;
      texts.push_back(log[i].text);
    }
    return texts;
  }

  // The wire-log line of a request: its name is the value of tag 0.
  static std::string Line(const std::vector<Field>& fields) {
    std::string name;
    for (const auto& [tag, value] : fields) {
      if (tag == 0) name = value;
    }
    return "SEND " + name + " " + terminal::Hex(terminal::BuildMessage(fields));
  }
  // A group request as the wire log shows it: add and delete lead with the
  // request name (tag 0), the user (54247) and the category (13034) in an
  // order of their own, then the segment (63001) and the fields in `rest`.
  enum class Kind { kAdd, kDelete };
  static std::string Group(Kind kind, const char* category, const char* segment, const std::vector<Field>& rest = {}) {
    std::vector<Field> fields =
        kind == Kind::kAdd ? std::vector<Field>{{0, "ks_publish_allowed_group"}, {13034, category}, {54247, "admin"}}
                           : std::vector<Field>{{0, "ks_delete_allowed_group"}, {54247, "admin"}, {13034, category}};
    fields.emplace_back(63001, segment);
    fields.insert(fields.end(), rest.begin(), rest.end());
    return Line(fields);
  }

  PluginHarness terminal;
};

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
      // BSE sends no instrument, the symbol in 63100 and the group in 10610.
      {{"20000=RETAIL", "20001=BSE", "20004=A", "20002=EQ", "20003=TCS", "Buy", "Add Group"},
       {Group(Kind::kAdd, "RETAIL", "bse_cm", {{12003, "B"}, {63100, "TCS"}, {10610, "A"}})}},
      // "Apply for all categories": one add for each category, no more.
      {{"20030=on", "Add Group", "20030=off"},
       [] {
         Strings each;
         for (const char* category : {"HNI", "INSTITUTION", "PROPRIETARY", "RETAIL"}) {
           each.push_back(Group(Kind::kAdd, category, "bse_cm", {{12003, "B"}, {63100, "TCS"}, {10610, "A"}}));
         }
         return each;
       }()},
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
  Strings logged(8, "ks_add_allowed_group request sent successfully");
  logged.insert(logged.begin(), "ks_get_category sent successfully");
  logged.push_back("ks_delete_group request sent successfully");
  EXPECT_EQ(terminal.Host().LogLines(), logged);
}

// A box one can type in chooses the entry its text names, in any case; a
// text naming none, or no exchange segment at all, stops the request with
// a box of the form naming the box, and sends nothing (no product sent
// would mean every product).
TEST_F(Requests, ATypedTextChoosesTheEntryItNamesOrNothingIsSent) {
  HWND form = terminal.Form();
  // A box by its id, or by its label (as "Category" names the first).
  auto type = [&](const std::string& box, const char* text) {
    Do({"type \"Allowed Groups\" \"" + box + "\" \"" + std::string(text) + "\""});
  };
  Form({"20001=NFO", "20002=FUTIDX"});
  Sent();
  const std::vector<Field> futures{{10106, "FUTIDX"}};

  // Typed exactly as listed, or in another case: chosen, and shown as listed.
  type("Category", "RETAIL");
  Form({"Add Group"});
  type("Category", "hni");
  Form({"Delete Group"});
  EXPECT_EQ(terminal::WindowText(GetDlgItem(form, 20000)), "HNI");
  type("9013", "nrml");
  Form({"Add Group"});
  EXPECT_EQ(Sent(),
            (Strings{Group(Kind::kAdd, "RETAIL", "nse_fo", futures), Group(Kind::kDelete, "HNI", "nse_fo", futures),
                     Group(Kind::kAdd, "HNI", "nse_fo", {{10106, "FUTIDX"}, {64030, "NRML"}})}));

  // A text naming no entry: one box each, for every category at once too.
  size_t before = platform::MessageBoxLog().size();
  type("9013", "XYZ");
  Form({"Add Group", "Delete Group", "20030=on", "Add Group", "20030=off"});
  Do({"key \"Allowed Groups\" 9013 Delete"});  // the focus selects the text; Delete empties the box
  Form({"Add Group"});
  EXPECT_EQ(BoxesSince(before), Strings(4, "Please select a valid Product"));
  type("9013", "--ALL--");
  EXPECT_EQ(Sent(), Strings{});

  // Every box of the form one can type in refuses a text naming nothing,
  // for an add and a delete alike.
  Form({"20000=HNI"});
  for (HWND child = GetWindow(form, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
    if (!terminal::IsWindowClass(child, "ComboBox") || GetDlgItem(child, kComboEditId) == nullptr) continue;
    const int id = GetDlgCtrlID(child);
    SCOPED_TRACE(id);
    const std::string was = terminal::WindowText(child);
    before = platform::MessageBoxLog().size();
    type(std::to_string(id), "no such entry");
    Form({"Add Group", "Delete Group"});
    const Strings boxes = BoxesSince(before);
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0], boxes[1]);
    EXPECT_EQ(Sent(), Strings{});
    type(std::to_string(id), was.c_str());
  }

  // Two categories alike but for case: the one typed exactly is chosen, and
  // a text in a third case names neither.
  Inject(terminal.Host(), {{32767, "ks_get_category"}, {32766, "5"}, {13034, "Retail"}});
  type("Category", "Retail");
  Form({"Add Group"});
  EXPECT_EQ(Sent(), (Strings{Group(Kind::kAdd, "Retail", "nse_fo", futures)}));
  before = platform::MessageBoxLog().size();
  type("Category", "retail");
  Form({"Add Group"});
  EXPECT_EQ(BoxesSince(before), Strings{"Please Select a valid Category"});
  EXPECT_EQ(Sent(), Strings{});

  // Without an exchange segment (the terminal offered none): one box a
  // click, for every category at once too, and nothing sent.
  SendMessage(GetDlgItem(form, 20001), CB_RESETCONTENT, 0, 0);
  type("20000", "HNI");
  before = platform::MessageBoxLog().size();
  Form({"Add Group", "Delete Group", "20030=on", "Add Group"});
  EXPECT_EQ(BoxesSince(before), Strings(3, "Please Specify the exchange"));
  EXPECT_EQ(Sent(), Strings{});
}

TEST_F(Requests, RepliesFromAHostileServerAreHandledOrIgnored) {
  auto& host = terminal.Host();
  Sent();
  Inject(host, {{13034, "no name"}});
  Inject(host, {{32767, "ks_publish_allowed_group"}, {32766, "1"}});
  EXPECT_TRUE(terminal.Boxes().empty());
  // Status 0 is fatal; the category reply then asks for peer data.
  Inject(host, {{32767, "ks_get_category"}, {32766, "0"}});
  EXPECT_EQ(terminal.Boxes(), (Strings{"Fatal error.Please contact administrator."}));
  EXPECT_EQ(Sent(), (Strings{Line({{0, "ks_get_user_peer_data"}, {31003, "admin"}})}));
  EXPECT_EQ(host.LogLines().back(), "ks_get_user_peer_data Request sent successfully");
}

// A change resets the combos below it: a segment every one (and "All
// Expiry" is checked again), a symbol the option type and strike, except
// for a BSE instrument other than OPTCUR, whose type box holds the chosen
// group and keeps one "--ANY--", as the terminal filled it.
TEST_F(Requests, AChangeResetsTheCombosBelowItButABseGroupStaysUnlessTheInstrumentIsOptcur) {
  struct Case {
    std::vector<std::string_view> steps;  // the last one makes the change
    const char* typeAfter;
    std::vector<int> alsoReset;  // besides the strike
  };
  const Case cases[] = {
      {{"20001=BSE", "20004=T", "20002=EQ", "20003=RPOWER"}, "T", {}},
      {{"20001=BSE", "20004=A", "20002=OPTCUR", "20003=USDINR"}, "--ANY--", {}},
      {{"20001=NFO", "20002=OPTIDX", "20003=NIFTY", "20004=CE", "20003=BANKNIFTY"}, "--ANY--", {}},
      {{"20001=NFO", "20002=OPTIDX", "20003=NIFTY", "20004=PE", "1029=off", "20001=MCX"}, "--ANY--", {20002, 20003}}};
  HWND form = terminal.Form();
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.steps[0]) + " " + std::string(c.steps.back()));
    Form(c.steps);
    EXPECT_EQ(terminal::WindowText(GetDlgItem(form, 20004)), c.typeAfter);
    if (std::string_view(c.typeAfter) != "--ANY--") {
      EXPECT_EQ(SendMessage(GetDlgItem(form, 20004), CB_FINDSTRINGEXACT, 0, reinterpret_cast<LPARAM>("--ANY--")), 0)
          << "the search after the first \"--ANY--\" wraps round to it";
    }
    EXPECT_EQ(terminal::WindowText(GetDlgItem(form, 9012)), "--ANY--");
    for (int id : c.alsoReset) EXPECT_EQ(terminal::WindowText(GetDlgItem(form, id)), "--ANY--") << id;
    EXPECT_EQ(IsDlgButtonChecked(form, 1029), static_cast<UINT>(BST_CHECKED));
    EXPECT_EQ(terminal::WindowText(GetDlgItem(form, 1029)), "All Expiry");
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(form, 20006)));
  }
}

// Every request the terminal refuses shows its box and logs the same line;
// nothing is logged as sent and nothing reaches the wire.
TEST(RefusedSends, EachRequestShowsItsBoxAndLogsIt) {
  PluginHarness terminal;
  terminal::Host& host = terminal.Host();
  host.Channel().refuseSends = true;
  terminal.Init("admin", &host.MainWindow());  // the category request
  Inject(host, {{32767, "ks_get_category"}, {32766, "5"}, {13034, "HNI"}});
  Inject(host, {{32767, "ks_get_category"}, {32766, "0"}});  // refused: the peer data request follows
  terminal.Do({"select \"Allowed Groups\" 20000 \"HNI\"", "select \"Allowed Groups\" 20001 \"NFO\"",
               "click \"Allowed Groups\" \"Add Group\"", "click \"Allowed Groups\" \"Delete Group\"",
               "click \"Allowed Groups\" \"View Group\""});
  // A group listed all the same, deleted from the list: its refusal shows the box only.
  Inject(host, {{32767, "ks_get_all_allowed_groups"}, {32766, "5"}, {13034, "HNI"}, {63001, "nse_fo"}});
  terminal.Do({"select \"View Allowed Group\" 20016 \"#0\"", "click \"View Allowed Group\" \"Delete Group\""});
  const Strings refused{"ks_get_category Request Failure", "ks_get_user_peer_data Request Failure",
                        "ks_add_allowed_group Request Failure", "ks_delete_group Request Failure",
                        "ks_get_all_allowed_groups Request Failure"};
  Strings boxes = refused;
  boxes.insert(boxes.begin() + 1, "Fatal error.Please contact administrator.");
  boxes.push_back("ks_delete_group Request Failure");
  EXPECT_EQ(terminal.Boxes(), boxes);
  EXPECT_EQ(host.LogLines(), refused);
  EXPECT_EQ(terminal.Sent(), Strings{});
}

// The plug-in's five entry points as a terminal drives them.
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
