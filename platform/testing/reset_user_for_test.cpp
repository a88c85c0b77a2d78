// ResetForTest for the tests of the user floor (see reset_layers.h).
#include "platform/testing/reset_for_test.h"
#include "platform/testing/reset_layers.h"

void platform::ResetForTest() {
  test_reset::ResetWindowLayers();
  test_reset::ResetUserLayer();
}
