// The verbs that read the server stand-in's store: print it, or compare
// it with a list.
#include "terminal/script/script_verbs.h"

#include <algorithm>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "platform/afx.h"
#include "platform/comctl/list_view.h"
#include "terminal/host/host.h"
#include "terminal/host/scrip_master.h"
#include "terminal/readout/list_text.h"
#include "terminal/script/listed_group.h"
#include "terminal/server/server_standin.h"

namespace terminal {

namespace verbs {

bool ServerRows(ScriptSession& session, ScriptLine& line) {
  try {
    for (const std::string& row : session.host.Server().Groups())
      std::fprintf(session.out, "SERVER: %s\n", row.c_str());
  } catch (const std::exception& e) {
    return line.Fail(std::string("the server's store cannot be read: ") + e.what());
  }
  return true;
}

bool ExpectServerRows(ScriptSession& session, ScriptLine& line) {
  // Each list cell by its caption, so that a moved column is still found.
  const auto columns = ListColumns(line.control);
  std::vector<int> indexOf;
  for (std::string_view caption : kListedGroupCaptions) {
    const auto found =
        std::find_if(columns.begin(), columns.end(), [&](const ListColumn& c) { return c.caption == caption; });
    if (found == columns.end())
      return line.Fail(line.ControlName() + " has no column \"" + std::string(caption) + "\"");
    indexOf.push_back(found->index);
  }
  std::multiset<std::string> shown;
  for (LRESULT row = 0, n = SendMessage(line.control, LVM_GETITEMCOUNT, 0, 0); row < n; ++row) {
    std::string cells;
    for (size_t i = 0; i < indexOf.size(); ++i) cells += (i > 0 ? "\t" : "") + ListCell(line.control, row, indexOf[i]);
    shown.insert(std::move(cells));
  }
  std::multiset<std::string> held;
  try {
    const ScripMaster& scrips = session.host.Scrips();
    const BseInstrumentOf instrumentOf = [&](const std::string& symbol) {
      const Scrip* scrip = scrips.FindTradingSymbol(symbol);
      return scrip != nullptr ? scrip->instrument : std::string();
    };
    for (const std::string& stored : session.host.Server().Groups()) {
      const auto cells = ListedGroup(stored, instrumentOf);
      if (!cells) return line.Fail("the server holds a group of another shape: " + stored);
      std::string joined;
      for (size_t i = 0; i < cells->size(); ++i) joined += (i > 0 ? "\t" : "") + (*cells)[i];
      held.insert(std::move(joined));
    }
  } catch (const std::exception& e) {
    return line.Fail(std::string("the server's store cannot be read: ") + e.what());
  }
  if (shown == held) return true;
  // Name one row each way: what the list shows beyond the store, what it lacks.
  std::vector<std::string> extra, missing;
  std::set_difference(shown.begin(), shown.end(), held.begin(), held.end(), std::back_inserter(extra));
  std::set_difference(held.begin(), held.end(), shown.begin(), shown.end(), std::back_inserter(missing));
  std::string why = line.ControlName() + " shows " + std::to_string(shown.size()) + " rows, the server holds " +
                    std::to_string(held.size());
  if (!extra.empty()) why += "; shown, not held: \"" + extra.front() + "\"";
  if (!missing.empty()) why += "; held, not shown: \"" + missing.front() + "\"";
  return line.Fail(why);
}

}  // namespace verbs

}  // namespace terminal
