#include "listview/common/compare_cells.h"

#include <cstdlib>
#include <cstring>

#include <string>

#include "dateutil/dateutil.h"

namespace listview {
namespace {

int Sign(double value) { return value > 0 ? 1 : (value < 0 ? -1 : 0); }
// Whole numbers are subtracted in 64 bits so that far-apart values keep
// their order instead of wrapping; only the sign matters to a sort.
int Sign(long long value) { return value > 0 ? 1 : (value < 0 ? -1 : 0); }
long long Whole(const CString& text) { return std::atol(text); }

int CompareDates(const CString& a, const CString& b, int direction) {
  std::string first(a.GetString());
  std::string second(b.GetString());
  return CompareDateTime1(first.data(), second.data(), direction);
}

// A cell that shows no number ("-" or "NA") sorts with -1.
double FloatOrMinusOne(const CString& text) {
  if (text == "-" || text == "NA") return -1;
  return std::atof(text);
}

}  // namespace

int CompareCellsBase(int sortType, const CString& a, const CString& b, int direction) {
  switch (sortType) {
    case 1:
    case 4: return Sign(Whole(b) - Whole(a)) * direction;
    case 2:
    case 5:
    case 7:
    case 9: return Sign(FloatOrMinusOne(b) - FloatOrMinusOne(a)) * direction;
    case 3:
    case 8: return std::strcmp(b, a) * direction;
    case 6: return CompareDates(a, b, direction);
    default: return 0;
  }
}

int CompareCellsFiltered(int sortType, const CString& a, const CString& b, int direction) {
  switch (sortType) {
    case 1: return Sign(static_cast<long long>(std::atoi(b)) - std::atoi(a)) * direction;
    case 2:
    case 5: return Sign(std::atof(b) - std::atof(a)) * direction;
    case 3: return std::strcmp(b, a) * direction;
    case 4: return Sign(Whole(b) - Whole(a)) * direction;
    case 6: return CompareDates(a, b, direction);
    default: return 0;
  }
}

}  // namespace listview
