#include "listview/list_appearance.h"

sListAppearance& sListAppearance::operator=(const sListAppearance& other) {
  if (this == &other) return *this;
  clrBack = other.clrBack;
  clrText = other.clrText;
  pKeywordColors = other.pKeywordColors ? std::make_unique<std::vector<COLORREF>>(*other.pKeywordColors) : nullptr;
  pKeywords = other.pKeywords ? std::make_unique<std::vector<CString>>(*other.pKeywords) : nullptr;
  nKeywordColumn = other.nKeywordColumn;
  bFilterRow = other.bFilterRow;
  strFontFace = other.strFontFace;
  strFontSize = other.strFontSize;
  return *this;
}

void sListAppearance::StartKeywords() {
  pKeywordColors = std::make_unique<std::vector<COLORREF>>();
  pKeywords = std::make_unique<std::vector<CString>>();
}

void sListAppearance::AddKeyword(const CString& keyword, COLORREF color) {
  if (!HasKeywords()) StartKeywords();
  CString lower = keyword;
  lower.MakeLower();
  pKeywords->push_back(lower);
  pKeywordColors->push_back(color);
}

void sListAppearance::ClearKeywords() {
  pKeywordColors.reset();
  pKeywords.reset();
}

namespace listview {
sListAppearance& DefaultAppearance() {
  static sListAppearance appearance;
  return appearance;
}
}  // namespace listview
