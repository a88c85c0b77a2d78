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

#include "platform/base/wintypes.h"

class CException {
 public:
  CException(const CException&) = delete;
  CException& operator=(const CException&) = delete;
  virtual ~CException() = default;

  // Frees the exception if it was heap-allocated; a no-op otherwise.
  void Delete();

  // Copies a short description (always NUL-terminated, cut to nMaxError
  // bytes) into lpszError. Returns FALSE when there is no room at all.
  virtual BOOL GetErrorMessage(LPTSTR lpszError, UINT nMaxError, UINT* pnHelpContext = nullptr) const;

 protected:
  explicit CException(BOOL bAutoDelete = TRUE) : m_bAutoDelete(bAutoDelete) {}
  virtual const char* Description() const { return "Unknown error."; }

 private:
  BOOL m_bAutoDelete;
};

class CInvalidArgException : public CException {
 public:
  CInvalidArgException() = default;

 protected:
  const char* Description() const override { return "Invalid argument."; }
};

class CMemoryException : public CException {
 public:
  // The one static instance thrown by AfxThrowMemoryException is not auto-deleted.
  explicit CMemoryException(BOOL bAutoDelete = TRUE) : CException(bAutoDelete) {}

 protected:
  const char* Description() const override { return "Out of memory."; }
};

// Throw a new CInvalidArgException (caller of the try block must Delete() it).
[[noreturn]] void AfxThrowInvalidArgException();
// Throw the preallocated CMemoryException (Delete() on it does nothing).
[[noreturn]] void AfxThrowMemoryException();
