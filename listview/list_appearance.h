// The look of one list: colours, keyword colouring and font. One per list,
// and one process-wide default that a list without a stored appearance copies.
//
// Invariant: the two keyword arrays exist together or not at all, hold the
// same number of entries, and keywords are lower case; keyword i colours a
// row with colour i. Copies are deep (the list owns its arrays).
#pragma once

#include <memory>
#include <vector>

#include "platform/base/cstring.h"
#include "platform/base/wintypes.h"

struct sListAppearance {
  COLORREF clrBack = 0x000000;  // black
  COLORREF clrText = 0x00FF00;  // green
  std::unique_ptr<std::vector<COLORREF>> pKeywordColors;
  std::unique_ptr<std::vector<CString>> pKeywords;
  int nKeywordColumn = -1;  // -1: no keyword colouring
  int bFilterRow = 0;       // set while a filter list shows its filter row
  CString strFontFace = "MS Shell Dlg 2";
  CString strFontSize = "8";  // points

  sListAppearance() = default;
  sListAppearance(const sListAppearance& other) { *this = other; }
  sListAppearance& operator=(const sListAppearance& other);
  sListAppearance(sListAppearance&&) noexcept = default;
  sListAppearance& operator=(sListAppearance&&) noexcept = default;

  bool HasKeywords() const { return pKeywords != nullptr; }
  // Creates both arrays empty (replacing any).
  void StartKeywords();
  // Adds a keyword (stored lower case) with its colour; starts the arrays
  // when there are none.
  void AddKeyword(const CString& keyword, COLORREF color);
  // Removes both arrays.
  void ClearKeywords();
};

namespace listview {
// The process-wide default appearance; lists copy it, the appearance dialog
// may change it.
sListAppearance& DefaultAppearance();
}  // namespace listview
