// Short casts for the control wrappers' one-line SendMessage calls. For the
// wrappers' .cpp files only; bring them in with a using-declaration.
#pragma once

#include "platform/base/wintypes.h"

namespace platform::wrapper_params {

// An int as WPARAM, sign-extended so that -1 ("none", "from the start")
// reads back as -1 when the control casts it to int.
inline WPARAM W(int v) { return static_cast<WPARAM>(static_cast<INT_PTR>(v)); }

template <class T>
LPARAM L(T* p) {
  return reinterpret_cast<LPARAM>(p);
}

}  // namespace platform::wrapper_params
