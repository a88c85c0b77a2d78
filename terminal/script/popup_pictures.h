// Pictures of what shows only for a moment while a script runs: pop-up
// menus and message boxes (records, drawn after the fact) and the modal
// choosers (drawn while they are open). The snapshot-menu, snapshot-box and
// snapshot-chooser verbs; the administrator's guide is pictured with them.
#pragma once

#include <cstdio>
#include <string>

namespace terminal {

// A PNG of the last pop-up menu shown, its chosen entry highlighted; false
// with the reason when no menu has shown or the file cannot be written.
bool WriteLastMenuPicture(const std::string& path, std::string& error);

// A PNG of the last message box shown; false with the reason when none has
// shown or the file cannot be written.
bool WriteLastMessageBoxPicture(const std::string& path, std::string& error);

// The next chooser to open, the colour chooser (run as the "Color" dialog a
// person sees in the desktop mode) or a modal dialog such as the "Font
// Dialog", is pictured into `path` and then cancelled. A picture that cannot
// be written is told on `err`. Answers given earlier (answer-color,
// answer-font) are set aside for that one opening.
void PictureNextChooser(const std::string& path, std::FILE* err);

}  // namespace terminal
