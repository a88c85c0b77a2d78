#include "platform/base/exceptions.h"

#include <algorithm>
#include <cstring>

void CException::Delete() {
  if (m_bAutoDelete) {
    delete this;
  }
}

BOOL CException::GetErrorMessage(LPTSTR lpszError, UINT nMaxError, UINT* pnHelpContext) const {
  if (pnHelpContext != nullptr) {
    *pnHelpContext = 0;
  }
  if (lpszError == nullptr || nMaxError == 0) {
    return FALSE;
  }
  const char* text = Description();
  const size_t n = std::min<size_t>(std::strlen(text), nMaxError - 1);
  std::memcpy(lpszError, text, n);
  lpszError[n] = '\0';
  return TRUE;
}

void AfxThrowInvalidArgException() { throw new CInvalidArgException(); }

void AfxThrowMemoryException() {
  // Preallocated: when memory is short, allocating the exception could fail too.
  static CMemoryException s_memoryException(FALSE);
  throw &s_memoryException;
}
