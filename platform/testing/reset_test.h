// A test fixture that starts and ends on a clean headless platform.
#pragma once

#include <gtest/gtest.h>

#include "platform/testing/reset_for_test.h"

namespace platform {

// The reset runs before the fixture's own members are made and after they
// are gone, so a member window is destroyed by its object first, as in a
// program, and whatever outlives it by the reset.
class ResetTest : public ::testing::Test {
 protected:
  ResetTest() { ResetForTest(); }
  ~ResetTest() override { ResetForTest(); }
};

}  // namespace platform
