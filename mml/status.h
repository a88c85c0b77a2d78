// The middleware's result convention in one place: non-zero on success and
// 0 on failure, with the error code written through the caller's pointer
// (which may be null when the caller does not want it).
#pragma once

namespace mml {

inline int succeed(int* err) {
  if (err != nullptr) *err = 0;
  return 1;
}

inline int fail(int* err, int code) {
  if (err != nullptr) *err = code;
  return 0;
}

}  // namespace mml
