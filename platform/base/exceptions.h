// The framework's small exception hierarchy.
//
// Framework code throws these BY POINTER (`throw new CInvalidArgException`),
// and the catcher owns the object: it calls Delete() when done, e.g.
//
//   try { arr.GetAt(i); }
//   catch (CException* e) { e->Delete(); }
//
// Delete() frees heap-allocated exceptions and leaves the static
// out-of-memory object alone, so a handler never needs to know which it got.
#pragma once

#include "platform/base/export.h"

#include "platform/base/wintypes.h"

class PLATFORM_API CException {
 public:
  CException(const CException&) = delete;
  CException& operator=(const CException&) = delete;
  virtual ~CException() = default;

  // Frees the exception if it was heap-allocated; a no-op otherwise.
  void Delete();

 protected:
  explicit CException(BOOL bAutoDelete = TRUE) : m_bAutoDelete(bAutoDelete) {}

 private:
  BOOL m_bAutoDelete;
};

class PLATFORM_API CInvalidArgException : public CException {
 public:
  CInvalidArgException() = default;
};

class PLATFORM_API CMemoryException : public CException {
 public:
  // The one static instance thrown by AfxThrowMemoryException is not auto-deleted.
  explicit CMemoryException(BOOL bAutoDelete = TRUE) : CException(bAutoDelete) {}
};

// Throw a new CInvalidArgException (caller of the try block must Delete() it).
[[noreturn]] PLATFORM_API void AfxThrowInvalidArgException();
// Throw the preallocated CMemoryException (Delete() on it does nothing).
[[noreturn]] PLATFORM_API void AfxThrowMemoryException();
