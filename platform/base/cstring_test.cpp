#include "platform/base/cstring.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/testing/exception_testing.h"

namespace {

TEST(CStringConstruct, FromPointersLengthsRepeatsAndNull) {
  EXPECT_EQ(CString("abc").GetLength(), 3);
  EXPECT_EQ(CString(static_cast<const char*>(nullptr)), "");
  EXPECT_EQ(CString("abcdef", 3), "abc");
  EXPECT_EQ(CString("abc", -2), "");
  EXPECT_EQ(CString('x', 4), "xxxx");
  EXPECT_EQ(CString('x', 0), "");
  const char withNul[] = {'a', '\0', 'b'};
  EXPECT_EQ(CString(withNul, 3).GetLength(), 3);
  EXPECT_EQ(CString(std::string_view("hello").substr(1, 3)), "ell");
}

TEST(CStringAccess, IndexOutsideThrowsInvalidArg) {
  CString s("ab");
  EXPECT_EQ(s[1], 'b');
  s.SetAt(0, 'z');
  EXPECT_EQ(s, "zb");
  EXPECT_TRUE(ThrowsInvalidArg([&] { s.GetAt(2); }));
  EXPECT_TRUE(ThrowsInvalidArg([&] { s.GetAt(-1); }));
  EXPECT_TRUE(ThrowsInvalidArg([&] { s.SetAt(2, 'x'); }));
  EXPECT_STREQ(static_cast<LPCTSTR>(s), "zb");
}

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
}

TEST(CStringFormat, ShortLongAndAppend) {
  CString s;
  s.Format("%d-%s", 42, "x");
  EXPECT_EQ(s, "42-x");
  const std::string big(5000, 'q');
  s.Format("[%s]%d", big.c_str(), 7);
  EXPECT_EQ(s.GetLength(), 5003);
  EXPECT_EQ(s.Right(2), "]7");
  EXPECT_EQ(s.Left(2), "[q");
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

TEST(CStringExtract, ClampedNeverThrows) {
  const CString s("hello");
  EXPECT_EQ(s.Left(-1), "");
  EXPECT_EQ(s.Left(99), "hello");
  EXPECT_EQ(s.Right(2), "lo");
  EXPECT_EQ(s.Right(99), "hello");
  EXPECT_EQ(s.Right(-3), "");
  EXPECT_EQ(s.Mid(1), "ello");
  EXPECT_EQ(s.Mid(5), "");
  EXPECT_EQ(s.Mid(99), "");
  EXPECT_EQ(s.Mid(-2, 2), "he");
  EXPECT_EQ(s.Mid(3, 99), "lo");
  EXPECT_EQ(s.Mid(2, -1), "");
  EXPECT_EQ(s.Mid(4, 0x7fffffff), "o");  // no overflow in first + count
  EXPECT_EQ(s.SpanIncluding("leh"), "hell");
  EXPECT_EQ(s.SpanExcluding("lo"), "he");
  EXPECT_EQ(s.SpanExcluding("xyz"), "hello");
}

TEST(CStringTokenize, SkipsEmptyTokensAndEndsAtMinusOne) {
  const CString s(",,a,,b c,");
  int pos = 0;
  EXPECT_EQ(s.Tokenize(", ", pos), "a");
  EXPECT_EQ(s.Tokenize(", ", pos), "b");
  EXPECT_EQ(s.Tokenize(", ", pos), "c");
  EXPECT_EQ(pos, 9);
  EXPECT_EQ(s.Tokenize(", ", pos), "");
  EXPECT_EQ(pos, -1);
  EXPECT_EQ(s.Tokenize(", ", pos), "");  // stays at the end
  EXPECT_EQ(pos, -1);

  pos = 0;
  EXPECT_EQ(CString(",,,").Tokenize(",", pos), "");
  EXPECT_EQ(pos, -1);
  pos = 0;
  EXPECT_EQ(CString("").Tokenize(",", pos), "");
  EXPECT_EQ(pos, -1);
  pos = 0;
  EXPECT_EQ(CString("last").Tokenize(",", pos), "last");
  EXPECT_EQ(CString("last").Tokenize(",", pos), "");
  EXPECT_EQ(pos, -1);
  pos = 0;
  EXPECT_EQ(CString("a b").Tokenize("", pos), "a b");
  EXPECT_EQ(CString("a b").Tokenize("", pos), "");
  EXPECT_EQ(pos, -1);
}

TEST(CStringSearch, FindVariants) {
  const CString s("abcabc");
  EXPECT_EQ(s.Find('c'), 2);
  EXPECT_EQ(s.Find('c', 3), 5);
  EXPECT_EQ(s.Find('c', 6), -1);
  EXPECT_EQ(s.Find('c', -1), -1);
  EXPECT_EQ(s.Find("bc", 2), 4);
  EXPECT_EQ(s.Find("zz"), -1);
  EXPECT_EQ(s.Find("abc", 99), -1);
  EXPECT_EQ(s.ReverseFind('a'), 3);
  EXPECT_EQ(s.ReverseFind('z'), -1);
  EXPECT_EQ(s.FindOneOf("xc"), 2);
  EXPECT_EQ(s.FindOneOf("xyz"), -1);
}

TEST(CStringEdit, ReplaceRemoveInsertDelete) {
  CString s("aaaa");
  EXPECT_EQ(s.Replace("aa", "b"), 2);  // non-overlapping, left to right
  EXPECT_EQ(s, "bb");
  s = "aaa";
  EXPECT_EQ(s.Replace("aa", "aaa"), 1);  // replaced text is not rescanned
  EXPECT_EQ(s, "aaaa");
  s = "x.y.z";
  EXPECT_EQ(s.Replace(".", ""), 2);
  EXPECT_EQ(s, "xyz");
  EXPECT_EQ(s.Replace("", "q"), 0);
  EXPECT_EQ(s.Replace('y', 'Y'), 1);
  EXPECT_EQ(s, "xYz");
  s = "banana";
  EXPECT_EQ(s.Remove('a'), 3);
  EXPECT_EQ(s, "bnn");
  EXPECT_EQ(s.Insert(1, 'X'), 4);
  EXPECT_EQ(s.Insert(99, "end"), 7);
  EXPECT_EQ(s.Insert(-5, "<"), 8);
  EXPECT_EQ(s, "<bXnnend");
  EXPECT_EQ(s.Delete(2, 1), 7);
  EXPECT_EQ(s.Delete(5, 99), 5);
  EXPECT_EQ(s.Delete(99, 1), 5);
  EXPECT_EQ(s, "<bnne");
}

TEST(CStringEdit, TrimAndCase) {
  CString s(" \t x y \r\n");
  EXPECT_EQ(s.Trim(), "x y");
  s = "--a-b--";
  EXPECT_EQ(CString(s).TrimLeft('-'), "a-b--");
  EXPECT_EQ(CString(s).TrimRight('-'), "--a-b");
  EXPECT_EQ(CString("xyaxy").Trim("xy"), "a");
  EXPECT_EQ(CString("xxxx").Trim('x'), "");
  EXPECT_EQ(CString("   ").TrimRight(), "");
  EXPECT_EQ(CString("MiXed1").MakeUpper(), "MIXED1");
  EXPECT_EQ(CString("MiXed1").MakeLower(), "mixed1");
  EXPECT_EQ(CString("abc").MakeReverse(), "cba");
}

TEST(CStringCompare, OrderingAndOperators) {
  const CString a("apple");
  const CString b("Banana");
  EXPECT_GT(a.Compare(b), 0);  // byte order: 'B' < 'a'
  EXPECT_LT(a.CompareNoCase(b), 0);
  EXPECT_EQ(CString("ABC").CompareNoCase("abc"), 0);
  EXPECT_EQ(a.Compare("apple"), 0);
  EXPECT_LT(CString("ab").Compare("abc"), 0);
  EXPECT_TRUE(a == "apple");
  EXPECT_TRUE("apple" == a);
  EXPECT_TRUE(a != b);
  EXPECT_TRUE(b < a);
  EXPECT_TRUE(a > "Zebra");
  EXPECT_TRUE("Zebra" < a);
  EXPECT_TRUE(a <= "apple" && a >= "apple");
  CString c = a + "-" + b + '!';
  EXPECT_EQ(c, "apple-Banana!");
  c += CString("?");
  c += 'x';
  c += "yz";
  EXPECT_EQ("<" + c, "<apple-Banana!?xyz");
}

}  // namespace
