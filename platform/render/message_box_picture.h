// Pictures of message boxes. Boxes are not windows here (a responder answers
// them, platform/user/message_box.h), so their picture is laid out from the
// record as the platform lays a box out:
//   - a dialog frame and caption (none given: "Error");
//   - the icon of MB_ICONMASK, 32 x 32, 11 pixels in from the top-left;
//   - the text in the dialog font, wrapped at 450 pixels, beside the icon;
//   - the buttons of MB_TYPEMASK, 75 x 23 and 6 apart, centred 14 pixels
//     below the text; the one MB_DEFMASK names framed as the default.
#pragma once

#include "platform/base/export.h"

#include "platform/render/image.h"
#include "platform/user/message_box.h"

namespace platform {

PLATFORM_API Image RenderMessageBox(const MessageBoxRecord& box);

}  // namespace platform
