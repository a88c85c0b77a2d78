#include "terminal/script/chooser_answers.h"

#include <cctype>
#include <cstdlib>

#include "platform/afx.h"
#include "platform/input/input_driver.h"
#include "platform/user/color_dialog.h"
#include "platform/user/combo_box.h"
#include "platform/window/message_queue.h"

namespace terminal {
namespace {

constexpr char kFontDialogCaption[] = "Font Dialog";
// The font dialog's face and size lists.
constexpr int kFaceComboId = 33076;
constexpr int kSizeComboId = 33077;

bool SelectExact(HWND dialog, int id, const std::string& text) {
  HWND combo = ::GetDlgItem(dialog, id);
  if (combo == nullptr) return false;
  const LRESULT index =
      ::SendMessage(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(text.c_str()));
  if (index == CB_ERR) return false;
  ::SendMessage(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  return true;
}

std::string WindowText(HWND hwnd) {
  char text[256] = {};
  ::GetWindowText(hwnd, text, sizeof(text));
  return text;
}

}  // namespace

bool AnswerNextColorChooser(const std::string& rgb, std::string& error) {
  if (rgb.size() != 6 || !std::all_of(rgb.begin(), rgb.end(), [](unsigned char c) { return std::isxdigit(c); })) {
    error = "answer-color takes six hexadecimal digits RRGGBB, not \"" + rgb + "\"";
    return false;
  }
  const unsigned long value = std::strtoul(rgb.c_str(), nullptr, 16);
  const COLORREF color = RGB((value >> 16) & 0xFF, (value >> 8) & 0xFF, value & 0xFF);
  platform::SetColorResponder(platform::ChooseColorOnce(color));
  return true;
}

bool AnswerNextFontDialog(const std::string& face, const std::string& size, std::FILE* err, std::string& error) {
  char* end = nullptr;
  const long points = std::strtol(size.c_str(), &end, 10);
  if (size.empty() || *end != '\0' || points <= 0 || points > 999) {
    error = "answer-font takes a face and a whole number of points, not \"" + size + "\"";
    return false;
  }
  platform::SetModalResponder([face, size, err](HWND dialog) {
    if (WindowText(dialog) != kFontDialogCaption) return;
    // One answer: the responder goes before the dialog ends.
    platform::SetModalResponder(nullptr);
    const bool faceFound = SelectExact(dialog, kFaceComboId, face);
    const bool sizeFound = SelectExact(dialog, kSizeComboId, size);
    if (!faceFound || !sizeFound) {
      std::fprintf(err, "answer-font: the Font Dialog offers no %s \"%s\"; cancelled\n", faceFound ? "size" : "face",
                   faceFound ? size.c_str() : face.c_str());
    }
    platform::input::Click(::GetDlgItem(dialog, faceFound && sizeFound ? IDOK : IDCANCEL));
  });
  return true;
}

}  // namespace terminal
