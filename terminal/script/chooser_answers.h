// What a script answers to the choosers that open after it: the colour
// chooser (answer-color) and the "Font Dialog" (answer-font). Each answer
// serves the next chooser only; after it, choosers are cancelled again.
#pragma once

#include <cstdio>
#include <string>

namespace terminal {

// `rgb` is six hexadecimal digits, red, green, blue ("FF0000" is red).
// False with the reason for anything else.
bool AnswerNextColorChooser(const std::string& rgb, std::string& error);

// The next modal dialog captioned "Font Dialog" selects `face` (exactly)
// and `size` and presses OK; when it does not offer one of them it presses
// Cancel and writes why to `err`. A modal dialog of another caption is left
// to the platform (on the manual clock it ends cancelled). False with the
// reason when `size` is no whole number of points.
bool AnswerNextFontDialog(const std::string& face, const std::string& size, std::FILE* err, std::string& error);

}  // namespace terminal
