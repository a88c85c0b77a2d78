// How people and scripts name a control of a window: by its numeric id
// ("20001"), by its own text ("Add Group"), by its label ("Exhg-Seg"), or by
// the plug-in's symbolic resource name ("IDC_EXCHANGE").
//
// A control whose text is its content (a combo box, a list view, an edit
// field) is known by its label: the nearest static text or check box just above it whose left
// edge lies over it, or else the titled group box around it when it is the
// only such control in that box.
//
// Symbolic names come from "control_names.txt" beside the executable (an
// installed terminal names its data folder instead), one "NAME NUMBER" a
// line, written by the build from the plug-in's resource header; the
// terminal reads them as data and works without them.
#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>

#include "platform/base/wintypes.h"

namespace terminal {

class ControlNames {
 public:
  // The names shipped beside the executable, or in the folder given to
  // ShipFrom (none when the file is missing).
  static const ControlNames& Shipped();
  // Where Shipped() reads them; takes effect only before its first call.
  static void ShipFrom(std::string folder);
  // "NAME NUMBER" lines; lines of any other shape are passed over.
  static ControlNames Parse(const std::string& text);

  std::optional<int> IdOf(const std::string& name) const;
  // The first name for an id; empty when it has none.
  std::string NameOf(int id) const;

 private:
  std::map<std::string, int> m_ids;
  std::map<int, std::string> m_names;
};

// The label of a combo box, list box, list view or edit field; empty when it
// has none (or is of another kind).
std::string LabelOf(HWND control);

// The control of `window` that `name` names. Among several (a check box and
// the combo box it labels), the first that `wanted` accepts wins; without
// one accepted, the first found. Null when nothing has the name.
HWND FindControl(HWND window, const std::string& name, const std::function<bool(HWND)>& wanted = {});

}  // namespace terminal
