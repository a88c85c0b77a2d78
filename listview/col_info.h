// sTarnColInfo: the description of one list column. Copied by value; the
// caption is also the key that links a header item to its record.
#pragma once

#include <cstring>

#include "platform/base/cstring.h"

// Comparison kinds of nSortType (the spreadsheet export gets them as types).
namespace sort_kind {
constexpr int kInteger = 1;  // atoi
constexpr int kFloat = 2;    // atof; "-" and "NA" count as -1 in the base sort
constexpr int kText = 3;     // strcmp, case-sensitive
constexpr int kLong = 4;     // atol
constexpr int kFloat5 = 5;
constexpr int kDateTime = 6;  // CompareDateTime1
constexpr int kFloat7 = 7;
constexpr int kText8 = 8;
constexpr int kFloat9 = 9;
}  // namespace sort_kind

struct sTarnColInfo {
  char szName[64] = {};    // NUL-terminated caption
  int nWidth = 0;          // default width in pixels
  int nFormat = 0;         // 0 left, 1 right, 2 centre
  int nSortType = 0;       // 1..9, see sort_kind
  CString strExpression;   // computed columns: formula with column indexes in double quotes
  CString strDescription;  // header tool-tip; for a computed column the formula as typed

  sTarnColInfo() = default;
  sTarnColInfo(const char* name, int width, int format, int sortType)
      : nWidth(width), nFormat(format), nSortType(sortType) {
    SetName(name);
  }
  // Copies at most 63 characters of `name`.
  void SetName(const char* name) {
    std::strncpy(szName, name != nullptr ? name : "", sizeof(szName) - 1);
    szName[sizeof(szName) - 1] = '\0';
  }
};
