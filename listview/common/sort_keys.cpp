#include "listview/common/sort_keys.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <numeric>
#include <string_view>
#include <unordered_map>

#include "dateutil/dateutil.h"

namespace listview {

namespace {

int Sign(double value) { return value > 0 ? 1 : (value < 0 ? -1 : 0); }
int Sign(long long value) { return value > 0 ? 1 : (value < 0 ? -1 : 0); }

// The exported comparison only reads its texts (its C signature takes them
// writable); no copy is made for each of a sort's millions of comparisons.
int CompareDates(const CString& a, const CString& b, int direction) {
  return CompareDateTime1(const_cast<char*>(a.GetString()), const_cast<char*>(b.GetString()), direction);
}

// A cell read as atof reads it. A plain decimal (what the lists show) goes
// through from_chars, several times faster and, both rounding correctly, to
// the same double; anything from_chars does not take whole (white space, a
// sign '+', hexadecimal, trailing text, out of range) goes to atof itself.
double ReadFloat(const CString& text) {
  const char* begin = text.GetString();
  const char* end = begin + text.GetLength();
  double value = 0;
  const auto [stop, error] = std::from_chars(begin, end, value);
  if (error == std::errc() && stop == end) return value;
  return std::atof(begin);
}

// yyyymmdd of a text of exactly "dd/mm/yyyy" (digits), else -1.
int PlainDateKey(const CString& text) {
  if (text.GetLength() != 10) return -1;
  const char* t = text.GetString();
  if (t[2] != '/' || t[5] != '/') return -1;
  int key = 0;
  for (const int at : {6, 7, 8, 9, 3, 4, 0, 1}) {
    if (std::isdigit(static_cast<unsigned char>(t[at])) == 0) return -1;
    key = key * 10 + (t[at] - '0');
  }
  return key;
}

// Each text's rank among the column's distinct texts in strcmp's order,
// when the column holds few distinct texts (a category, an expiry, a side):
// a million rows then sort as numbers. Empty when the texts mostly differ,
// where ranking them would cost more than it saves.
std::vector<int> RanksOfFewTexts(const std::vector<CString>& texts) {
  const size_t limit = texts.size() / 16 + 16;
  std::unordered_map<std::string_view, int> ids;
  std::vector<int> ranks(texts.size());
  for (size_t i = 0; i < texts.size(); ++i) {
    // Up to the first NUL, as strcmp reads it. The count grows only as a
    // text is added, so it passes the limit there.
    const auto at = ids.try_emplace(std::string_view(texts[i].GetString()), static_cast<int>(ids.size())).first;
    if (ids.size() > limit) return {};
    ranks[i] = at->second;
  }
  std::vector<std::string_view> distinct(ids.size());
  for (const auto& [text, id] : ids) distinct[static_cast<size_t>(id)] = text;
  // string_view compares bytes as unsigned, shorter first on a common prefix: strcmp's order.
  std::vector<int> byText(distinct.size());
  std::iota(byText.begin(), byText.end(), 0);
  std::sort(byText.begin(), byText.end(),
            [&](int a, int b) { return distinct[static_cast<size_t>(a)] < distinct[static_cast<size_t>(b)]; });
  std::vector<int> rankOfId(distinct.size());
  for (size_t r = 0; r < byText.size(); ++r) rankOfId[static_cast<size_t>(byText[r])] = static_cast<int>(r);
  for (int& rank : ranks) rank = rankOfId[static_cast<size_t>(rank)];
  return ranks;
}

// A key and the row it came from; ties go by row, which makes the order a
// stable sort's.
template <class Key>
struct Keyed {
  Key key;
  int row;
};

// Sorts by key, lower keys first when `ascending`, ties by row: the order a
// stable sort gives, from a quick sort of a strict total order.
template <class Key>
void SortKeyed(std::vector<Keyed<Key>>& rows, bool ascending) {
  std::sort(rows.begin(), rows.end(), [ascending](const Keyed<Key>& x, const Keyed<Key>& y) {
    const Key& first = ascending ? x.key : y.key;
    const Key& second = ascending ? y.key : x.key;
    return first < second || (!(second < first) && x.row < y.row);
  });
}

}  // namespace

SortKeys::SortKeys(CompareRules rules, int sortType) : m_minusOneWords(rules == CompareRules::kBase) {
  const bool base = rules == CompareRules::kBase;
  switch (sortType) {
    case 1:
      m_kind = Kind::kWhole;
      m_intOnly = !base;
      break;
    case 4: m_kind = Kind::kWhole; break;
    case 2:
    case 5: m_kind = Kind::kFloat; break;
    case 7:
    case 9: m_kind = base ? Kind::kFloat : Kind::kNone; break;
    case 3: m_kind = Kind::kText; break;
    case 8: m_kind = base ? Kind::kText : Kind::kNone; break;
    case 6: m_kind = Kind::kDate; break;
    default: m_kind = Kind::kNone; break;
  }
}

void SortKeys::Add(const CString& text) {
  switch (m_kind) {
    case Kind::kWhole:
      m_whole.push_back(m_intOnly ? static_cast<long long>(std::atoi(text)) : static_cast<long long>(std::atol(text)));
      break;
    case Kind::kFloat:
      m_float.push_back(m_minusOneWords && (text == "-" || text == "NA") ? -1.0 : ReadFloat(text));
      break;
    case Kind::kText:
    case Kind::kDate: m_text.push_back(text); break;
    case Kind::kNone: m_whole.push_back(0); break;
  }
}

void SortKeys::Resize(size_t rows) {
  switch (m_kind) {
    case Kind::kFloat: m_float.resize(rows); break;
    case Kind::kText:
    case Kind::kDate: m_text.resize(rows); break;
    default: m_whole.resize(rows); break;
  }
}

void SortKeys::Set(size_t row, const CString& text) {
  switch (m_kind) {
    case Kind::kWhole:
      m_whole[row] = m_intOnly ? static_cast<long long>(std::atoi(text)) : static_cast<long long>(std::atol(text));
      break;
    case Kind::kFloat: m_float[row] = m_minusOneWords && (text == "-" || text == "NA") ? -1.0 : ReadFloat(text); break;
    case Kind::kText:
    case Kind::kDate: m_text[row] = text; break;
    case Kind::kNone: break;
  }
}

size_t SortKeys::Size() const {
  switch (m_kind) {
    case Kind::kFloat: return m_float.size();
    case Kind::kText:
    case Kind::kDate: return m_text.size();
    default: return m_whole.size();
  }
}

int SortKeys::Compare(size_t a, size_t b, int direction) const {
  switch (m_kind) {
    case Kind::kWhole: return Sign(m_whole[b] - m_whole[a]) * direction;
    case Kind::kFloat: return Sign(m_float[b] - m_float[a]) * direction;
    case Kind::kText: return std::strcmp(m_text[b], m_text[a]) * direction;
    case Kind::kDate: return CompareDates(m_text[a], m_text[b], direction);
    case Kind::kNone: return 0;
  }
  return 0;
}

std::vector<int> SortKeys::Order(int direction) const {
  const int count = static_cast<int>(Size());
  std::vector<int> order(static_cast<size_t>(count));
  std::iota(order.begin(), order.end(), 0);
  // With d = -1 a row goes first when its key is smaller (ascending).
  const bool ascending = direction < 0;
  switch (m_kind) {
    case Kind::kNone: return order;
    case Kind::kFloat: {
      // A NaN compares equal to every number, which no strict order can say:
      // such a column takes the stable sort with the comparison itself.
      if (std::any_of(m_float.begin(), m_float.end(), [](double v) { return std::isnan(v); })) break;
      if (direction == 0) return order;
      std::vector<Keyed<double>> rows(order.size());
      for (int i = 0; i < count; ++i) rows[static_cast<size_t>(i)] = {m_float[static_cast<size_t>(i)], i};
      // Infinities of one sign compare equal (their difference is NaN) and
      // so they do here: neither is below the other.
      SortKeyed(rows, ascending);
      for (int i = 0; i < count; ++i) order[static_cast<size_t>(i)] = rows[static_cast<size_t>(i)].row;
      return order;
    }
    case Kind::kWhole: {
      if (direction == 0) return order;
      std::vector<Keyed<long long>> rows(order.size());
      for (int i = 0; i < count; ++i) rows[static_cast<size_t>(i)] = {m_whole[static_cast<size_t>(i)], i};
      SortKeyed(rows, ascending);
      for (int i = 0; i < count; ++i) order[static_cast<size_t>(i)] = rows[static_cast<size_t>(i)].row;
      return order;
    }
    case Kind::kText: {
      if (direction == 0) return order;
      if (const std::vector<int> ranks = RanksOfFewTexts(m_text); !ranks.empty()) {
        std::vector<Keyed<int>> rows(order.size());
        for (int i = 0; i < count; ++i) rows[static_cast<size_t>(i)] = {ranks[static_cast<size_t>(i)], i};
        SortKeyed(rows, ascending);
        for (int i = 0; i < count; ++i) order[static_cast<size_t>(i)] = rows[static_cast<size_t>(i)].row;
        return order;
      }
      // The texts move with their rows: comparing neighbours in memory is
      // cheaper than reaching each text through its row number.
      std::vector<Keyed<CString>> rows(order.size());
      for (int i = 0; i < count; ++i) rows[static_cast<size_t>(i)] = {m_text[static_cast<size_t>(i)], i};
      std::sort(rows.begin(), rows.end(), [ascending](const Keyed<CString>& x, const Keyed<CString>& y) {
        const int c = ascending ? std::strcmp(x.key, y.key) : std::strcmp(y.key, x.key);
        return c < 0 || (c == 0 && x.row < y.row);
      });
      for (int i = 0; i < count; ++i) order[static_cast<size_t>(i)] = rows[static_cast<size_t>(i)].row;
      return order;
    }
    case Kind::kDate: {
      // A column of nothing but "dd/mm/yyyy" texts compares as the numbers
      // yyyymmdd (the comparison reads such texts field by field, year
      // first): a strict order, which a quick sort of the numbers keeps,
      // ties by row as the merge sort below would.
      std::vector<Keyed<int>> rows(order.size());
      bool plain = direction != 0;
      for (int i = 0; i < count && plain; ++i) {
        const int key = PlainDateKey(m_text[static_cast<size_t>(i)]);
        plain = key >= 0;
        rows[static_cast<size_t>(i)] = {key, i};
      }
      if (!plain) break;
      // The date comparison's direction is the other way round: 1 puts the
      // earlier date first.
      SortKeyed(rows, !ascending);
      for (int i = 0; i < count; ++i) order[static_cast<size_t>(i)] = rows[static_cast<size_t>(i)].row;
      return order;
    }
  }
  // Dates compare by their form, which is no strict weak order over mixed
  // texts: the merge sort stays safe and stable whatever the answers.
  std::stable_sort(order.begin(), order.end(), [this, direction](int x, int y) {
    return Compare(static_cast<size_t>(x), static_cast<size_t>(y), direction) < 0;
  });
  return order;
}

}  // namespace listview
