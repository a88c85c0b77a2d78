// The verbs that answer what opens after them: pop-up menus, the colour
// chooser and the font dialog, answered or pictured; and the terminal's own
// List menu, whose entries `menu` chooses at once.
#include "terminal/script/script_verbs.h"

#include "platform/afx.h"
#include "platform/user/menu.h"
#include "terminal/commands/list_menu.h"
#include "terminal/script/chooser_answers.h"
#include "terminal/script/popup_pictures.h"

namespace terminal {

namespace verbs {

bool Menu(ScriptSession&, ScriptLine& line) {
  // An entry of the terminal's own List menu is chosen now.
  if (const ListMenuEntry* entry = FindListMenuEntry(line.words[1])) {
    if (RunListMenuEntry(*entry)) return true;
    return line.Fail("\"" + std::string(entry->text) + "\" is greyed: no list of the module is open");
  }
  platform::SetMenuResponder(line.words[1].empty() ? platform::MenuResponder()
                                                   : platform::ChooseMenuEntry(line.words[1]));
  return true;
}

bool AnswerColor(ScriptSession&, ScriptLine& line) { return AnswerNextColorChooser(line.words[1], line.error); }

bool AnswerFont(ScriptSession& session, ScriptLine& line) {
  return AnswerNextFontDialog(line.words[1], line.words[2], session.err, line.error);
}

bool SnapshotChooser(ScriptSession& session, ScriptLine& line) {
  PictureNextChooser(line.words[1], session.err);
  return true;
}

}  // namespace verbs

}  // namespace terminal
