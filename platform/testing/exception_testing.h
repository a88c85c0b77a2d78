// Test helper: framework exceptions are thrown by pointer and must be
// Delete()d by the catcher, which gtest's EXPECT_THROW would leak.
#pragma once

#include "platform/base/exceptions.h"

// True when f() throws a CInvalidArgException* (which is then deleted).
template <class F>
bool ThrowsInvalidArg(F&& f) {
  try {
    f();
  } catch (CInvalidArgException* e) {
    e->Delete();
    return true;
  } catch (CException* e) {
    e->Delete();
  }
  return false;
}
