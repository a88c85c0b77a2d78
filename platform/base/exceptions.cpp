#include "platform/base/exceptions.h"

void CException::Delete() {
  if (m_bAutoDelete) {
    delete this;
  }
}

void AfxThrowInvalidArgException() { throw new CInvalidArgException(); }

void AfxThrowMemoryException() {
  // Preallocated: when memory is short, allocating the exception could fail too.
  static CMemoryException s_memoryException(FALSE);
  throw &s_memoryException;
}
