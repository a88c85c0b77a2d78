#include "platform/base/cstring.h"

#include <gtest/gtest.h>

#include <strings.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "platform/testing/exception_testing.h"

namespace {

TEST(CStringBuffer, GetBufferReleaseBuffer) {
  CString s("abc");
  char* p = s.GetBuffer(10);
  std::strcpy(p, "0123456789");  // 10 characters and the terminator
  s.ReleaseBuffer();
  EXPECT_EQ(s, "0123456789");

  p = s.GetBuffer(0);  // keeps content
  EXPECT_EQ(std::string(p), "0123456789");
  p[4] = '\0';
  s.ReleaseBuffer();
  EXPECT_EQ(s, "0123");

  p = s.GetBufferSetLength(2);
  EXPECT_EQ(s.GetLength(), 2);
  p[0] = 'x';
  s.ReleaseBuffer(1);
  EXPECT_EQ(s, "x");
  s.GetBuffer(5);
  s.ReleaseBuffer(100);  // clamped to the buffer
  EXPECT_EQ(s.GetLength(), 5);
  s = "abc";
  s.ReleaseBuffer(0);
  EXPECT_TRUE(s.IsEmpty());
}

TEST(CStringFormat, ShortLongAndAppend) {
  CString s("old");
  s.Format("%s", "");
  EXPECT_EQ(s, "");
  const char* noFormat = nullptr;
  EXPECT_TRUE(ThrowsInvalidArg([&] { s.Format(noFormat, 0); }) && ThrowsInvalidArg([&] { s.AppendFormat(noFormat, 0); }));
  s.Format("%d-%s", 42, "x");
  EXPECT_EQ(s, "42-x");
  std::string big;
  for (const size_t n : {252u, 253u, 5000u}) {  // 255 characters, 256 (the first that is not short), many
    big.assign(n, 'q');
    s.Format("[%s]%d", big.c_str(), 7);
    EXPECT_EQ(s, ("[" + big + "]7").c_str());
  }
  s = "a";
  s.AppendFormat("%05d", 12);
  s.AppendFormat("%s", big.c_str());
  EXPECT_EQ(s.GetLength(), 1 + 5 + 5000);
  EXPECT_EQ(s.Mid(0, 6), "a00012");
  // Formatting into itself through a pointer to its own old content.
  s = "self";
  s.Format("%s%s", static_cast<LPCTSTR>(s), static_cast<LPCTSTR>(s));
  EXPECT_EQ(s, "selfself");
  s = CString('z', 300);
  s.AppendFormat("%s", static_cast<LPCTSTR>(s));
  EXPECT_EQ(s, CString('z', 600));
}

TEST(CStringTokenize, SkipsEmptyTokensAndEndsAtMinusOne) {
  // Each text gives these tokens, each with the position after it; then an
  // empty token at -1, which stays there.
  const struct {
    const char* text;
    const char* delimiters;
    std::vector<std::string> tokens;
  } cases[] = {{",,a,,b c,", ", ", {"a@4", "b@7", "c@9"}},
               {",,,", ",", {}},
               {"", ",", {}},
               {"last", ",", {"last@5"}},
               {"a b", "", {"a b@3"}}};
  for (const auto& c : cases) {
    const CString s(c.text);
    std::vector<std::string> tokens;
    int pos = 0;
    CString token = s.Tokenize(c.delimiters, pos);
    for (size_t n = 0; pos != -1 && n < 4; ++n, token = s.Tokenize(c.delimiters, pos)) {
      tokens.push_back(std::string(token.view()) + "@" + std::to_string(pos));
    }
    EXPECT_EQ(tokens, c.tokens) << c.text;
    EXPECT_EQ(token, "");
    EXPECT_EQ(s.Tokenize(c.delimiters, pos), "");
    EXPECT_EQ(pos, -1);
  }
}

// Every construction, read and edit against the same on a std::string, over
// short texts of a few letters (so that finds hit and miss) and positions
// from before the start to past the end: the clamps hold at each edge.
TEST(CStringModel, ReadsAndEditsAgreeWithStdStringAtEveryPosition) {
  const char withNul[] = {'a', '\0', 'b'};
  EXPECT_EQ(CString(withNul, 3).GetLength(), 3);
  EXPECT_EQ(CString(static_cast<const char*>(nullptr)) + CString(std::string_view("hello").substr(1, 3)), "ell");
  std::mt19937 random(38);
  const auto text = [&] {
    std::string t;
    for (int n = static_cast<int>(random() % 7); n > 0; --n) t += " ab\tB."[random() % 6];
    return t;
  };
  const auto clamp = [](int i, size_t size) { return static_cast<size_t>(std::clamp(i, 0, static_cast<int>(size))); };
  const auto index = [](size_t at) { return at == std::string::npos ? -1 : static_cast<int>(at); };
  const auto sign = [](int v) { return (v > 0) - (v < 0); };
  for (int round = 0; round < 3000; ++round) {
    const std::string m = text();
    const std::string other = text();
    const CString s(m.c_str());
    const int n = static_cast<int>(random() % 12) - 3;
    const int k = static_cast<int>(random() % 12) - 3;
    const char ch = "ab.x"[random() % 4];
    SCOPED_TRACE("'" + m + "' '" + other + "' " + std::to_string(n) + " " + std::to_string(k));
    const size_t size = m.size();
    const bool inside = n >= 0 && n < static_cast<int>(size);
    ASSERT_EQ(CString(m.c_str(), std::min(n, static_cast<int>(size))), m.substr(0, clamp(n, size)).c_str());
    ASSERT_EQ(CString(ch, n), std::string(clamp(n, 9), ch).c_str());
    ASSERT_TRUE(!inside || s[n] == m[static_cast<size_t>(n)]);
    ASSERT_EQ(ThrowsInvalidArg([&] { s.GetAt(n); }) && ThrowsInvalidArg([&] { CString(s).SetAt(n, ch); }), !inside);
    ASSERT_EQ(s.Left(n), m.substr(0, clamp(n, size)).c_str());
    ASSERT_EQ(s.Right(n), m.substr(size - clamp(n, size)).c_str());
    ASSERT_EQ(s.Mid(n), m.substr(clamp(n, size)).c_str());
    ASSERT_EQ(s.Mid(n, k), m.substr(clamp(n, size), clamp(k, size)).c_str());
    ASSERT_EQ(s.Find(ch, n), n < 0 || n >= static_cast<int>(size) ? -1 : index(m.find(ch, static_cast<size_t>(n))));
    ASSERT_EQ(s.Find(other.c_str(), n), n < 0 || n > static_cast<int>(size) ? -1 : index(m.find(other, clamp(n, size))));
    ASSERT_EQ(s.ReverseFind(ch), index(m.rfind(ch)));
    ASSERT_EQ(s.FindOneOf(other.c_str()), index(m.find_first_of(other)));
    ASSERT_EQ(s.SpanIncluding(other.c_str()), m.substr(0, m.find_first_not_of(other)).c_str());
    ASSERT_EQ(s.SpanExcluding(other.c_str()), m.substr(0, m.find_first_of(other)).c_str());
    ASSERT_EQ(sign(s.Compare(other.c_str())), sign(m.compare(other)));
    ASSERT_EQ(sign(s.CompareNoCase(other.c_str())), sign(::strcasecmp(m.c_str(), other.c_str())));
    ASSERT_EQ(s < CString(other.c_str()), m < other);
    ASSERT_EQ(s == other.c_str(), m == other);

    // Edits: the model first, then the string, then both compared.
    std::string e = m;
    CString t = s;
    if (inside) t.SetAt(n, ch), e[static_cast<size_t>(n)] = ch;
    ASSERT_EQ(t.Insert(n, other.c_str()), static_cast<int>(e.insert(clamp(n, e.size()), other).size()));
    ASSERT_EQ(t.Insert(k, ch), static_cast<int>(e.insert(clamp(k, e.size()), 1, ch).size()));
    if (n < static_cast<int>(e.size()) && k > 0) e.erase(clamp(n, e.size()), static_cast<size_t>(k));
    ASSERT_EQ(t.Delete(n, k), static_cast<int>(e.size()));
    ASSERT_EQ(t.Remove(ch), static_cast<int>(std::erase(e, ch)));
    ASSERT_EQ(t, e.c_str());
    const std::string from = other.substr(0, 2);
    int replaced = 0;
    std::string out;
    for (size_t at = 0; at <= e.size();) {
      if (!from.empty() && e.compare(at, from.size(), from) == 0) {
        out += "<>";
        at += from.size();
        ++replaced;
      } else if (at < e.size()) {
        out += e[at++];
      } else {
        break;
      }
    }
    ASSERT_EQ(t.Replace(from.c_str(), "<>"), replaced);
    ASSERT_EQ(t, out.c_str());
    const std::string blank = " \t";
    const size_t first = m.find_first_not_of(blank);
    const std::string trimmed = first == std::string::npos ? "" : m.substr(first, m.find_last_not_of(blank) - first + 1);
    ASSERT_EQ(CString(s).Trim(), trimmed.c_str());
    ASSERT_EQ(CString(s).TrimLeft(), m.substr(std::min(first, size)).c_str());
    ASSERT_EQ(CString(s).TrimRight(ch), m.substr(0, m.find_last_not_of(ch) + 1).c_str());
    std::string upper = m;
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    ASSERT_EQ(CString(s).MakeUpper(), upper.c_str());
  }
}

}  // namespace
