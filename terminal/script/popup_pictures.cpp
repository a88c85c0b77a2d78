#include "terminal/script/popup_pictures.h"

#include "platform/afx.h"
#include "platform/input/input_driver.h"
#include "platform/render/image.h"
#include "platform/render/menu_picture.h"
#include "platform/render/message_box_picture.h"
#include "platform/render/window_renderer.h"
#include "platform/user/color_chooser_dlg.h"
#include "platform/user/color_dialog.h"
#include "platform/user/menu.h"
#include "platform/user/message_box.h"
#include "platform/window/message_queue.h"

namespace terminal {
namespace {

bool Save(const platform::Image& image, const std::string& path, std::string& error) {
  if (platform::SavePng(image, path)) return true;
  error = "cannot write " + path;
  return false;
}

}  // namespace

bool WriteLastMenuPicture(const std::string& path, std::string& error) {
  const std::vector<platform::MenuRecord> menus = platform::MenuLog();
  if (menus.empty()) {
    error = "no pop-up menu has shown";
    return false;
  }
  return Save(platform::RenderPopupMenu(menus.back()), path, error);
}

bool WriteLastMessageBoxPicture(const std::string& path, std::string& error) {
  const std::vector<platform::MessageBoxRecord> boxes = platform::MessageBoxLog();
  if (boxes.empty()) {
    error = "no message box has shown";
    return false;
  }
  return Save(platform::RenderMessageBox(boxes.back()), path, error);
}

void PictureNextChooser(const std::string& path, std::FILE* err) {
  // Both responders are one-shot: whichever chooser comes first puts the
  // colour answer back and leaves later modal dialogs alone. They run from
  // copies, so replacing them inside is safe.
  const platform::ColorResponder previousColor = platform::CurrentColorResponder();
  platform::SetModalResponder([path, err, previousColor](HWND dialog) {
    platform::SetModalResponder(nullptr);
    platform::SetColorResponder(previousColor);
    std::string why;
    if (!platform::WriteWindowPicture(dialog, path, &why)) std::fprintf(err, "snapshot-chooser: %s\n", why.c_str());
    platform::input::Click(::GetDlgItem(dialog, IDCANCEL));
  });
  platform::SetColorResponder(
      [](const platform::ColorRequest& request) { return platform::ShowColorChooser(request); });
}

}  // namespace terminal
