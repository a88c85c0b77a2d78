// The verbs that answer what opens after them: pop-up menus, the colour
// chooser and the font dialog.
#include "terminal/script/script_verbs.h"

#include "platform/afx.h"
#include "platform/user/menu.h"
#include "terminal/script/chooser_answers.h"

namespace terminal {

namespace verbs {

bool Menu(ScriptSession&, ScriptLine& line) {
  platform::SetMenuResponder(line.words[1].empty() ? platform::MenuResponder()
                                                   : platform::ChooseMenuEntry(line.words[1]));
  return true;
}

bool AnswerColor(ScriptSession&, ScriptLine& line) { return AnswerNextColorChooser(line.words[1], line.error); }

bool AnswerFont(ScriptSession& session, ScriptLine& line) {
  return AnswerNextFontDialog(line.words[1], line.words[2], session.err, line.error);
}

}  // namespace verbs

}  // namespace terminal
