// The parts of the classic desktop look that controls leave to the window
// system: frames and captions of windows, the 3-D faces of buttons, the
// boxes of check boxes and radio buttons, group-box frames, static frames,
// a drop-down list's field and arrow, scroll bars, an edit's selection and
// caret. A control's own display list (its text, an owner's drawing) goes
// between DrawUnderContent and DrawOverContent.
//
// Non-client parts take image coordinates; the other two take the
// window's client coordinates (the painter translated to its client area).
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/render/painter.h"
#include "platform/base/wintypes.h"
#include "platform/user/menu.h"

namespace platform {

// The window's class name in lower case ("button", "#32770", ...).
std::string LowerClassName(HWND window);

void DrawNonClient(const Painter& painter, HWND window, const RECT& windowRect, const RECT& clientRect);
void DrawUnderContent(const Painter& painter, HWND window, const RECT& client);
void DrawOverContent(const Painter& painter, HWND window, const RECT& client);

// A caption bar: gradient, small icon, bold title, close box.
struct CaptionLook {
  // Minimise and maximise boxes come as a pair: the one the style lacks is
  // greyed, and the box of the state the window is in restores it.
  struct MinMaxBoxes {
    bool minimizeEnabled;
    bool maximizeEnabled;
    bool minimized;
    bool maximized;
  };
  std::string text;
  bool active = true;
  bool icon = false;
  bool closeBox = true;
  std::optional<MinMaxBoxes> minMax;  // none: neither box
  LRESULT pushed = 0;                 // the box held down (HTMINBUTTON, HTMAXBUTTON, HTCLOSE)
};
void DrawCaption(const Painter& painter, const CaptionLook& look, const RECT& bar);

// A push button of the window system's own (a message box's): face, 3-D
// edge, the default's black frame, the caption centred in the dialog font.
void DrawPushButton(const Painter& painter, const RECT& r, std::string_view caption, bool isDefault);

// A pop-up menu drawn with its top-left corner at `origin`, as its picture
// is (defined with the menu pictures, menu_picture.cpp).
void PaintPopupMenu(const Painter& painter, const MenuRecord& menu, POINT origin);

// Whether the window draws all of itself (owner-drawn): its grey text is
// its owner's choice and is not embossed.
bool IsOwnerDrawn(HWND window);

}  // namespace platform
