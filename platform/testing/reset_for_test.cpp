// ResetForTest for programs that link the whole platform (see reset_layers.h).
#include "platform/testing/reset_for_test.h"

#include "platform/comctl/image_list_drag.h"
#include "platform/testing/reset_layers.h"

void platform::ResetForTest() {
  test_reset::ResetWindowLayers();
  test_reset::ResetUserLayer();
  ImageList_EndDrag();
}
