#include <gtest/gtest.h>

#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "platform/user/clipboard.h"
#include "platform/kernel/global_memory.h"
#include "platform/window/winapi.h"

namespace {

HGLOBAL TextBlock(const char* text) {
  const size_t size = std::strlen(text) + 1;
  HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, size);
  std::memcpy(::GlobalLock(block), text, size);
  ::GlobalUnlock(block);
  return block;
}

class ClipboardTest : public ::testing::Test {
 protected:
  void SetUp() override { platform::ResetClipboard(); }
  void TearDown() override { platform::ResetClipboard(); }
  HWND a = reinterpret_cast<HWND>(0x100);
  HWND b = reinterpret_cast<HWND>(0x200);
};

TEST_F(ClipboardTest, OneOpenerAtATimeAndDataOnlyWhileOpen) {
  ASSERT_TRUE(::OpenClipboard(a));
  EXPECT_FALSE(::OpenClipboard(b));
  ASSERT_TRUE(::EmptyClipboard());
  EXPECT_EQ(std::pair(::GetOpenClipboardWindow(), ::GetClipboardOwner()), std::pair(a, a));
  HGLOBAL block = TextBlock("NIFTY");
  EXPECT_EQ(::SetClipboardData(CF_TEXT, block), block);
  EXPECT_EQ(::GetClipboardData(CF_TEXT), block);
  ASSERT_TRUE(::CloseClipboard());
  EXPECT_EQ(::GetClipboardData(CF_TEXT), nullptr);  // closed
  EXPECT_TRUE(::IsClipboardFormatAvailable(CF_TEXT));
  EXPECT_EQ(platform::ClipboardText(), "NIFTY");

  // Closed: the caller keeps its block.
  HGLOBAL mine = TextBlock("x");
  EXPECT_EQ(::SetClipboardData(CF_TEXT, mine), nullptr);
  EXPECT_EQ(::GlobalFree(mine), nullptr);
  EXPECT_FALSE(::EmptyClipboard() || ::CloseClipboard());
}

// Another program's text replaces this clipboard's own when asked for as it
// opens or as CF_TEXT is looked for; never while a window holds it open.
TEST_F(ClipboardTest, ABridgeSharesTextWithOtherProgramsButNeverUnderAnOpener) {
  std::optional<std::string> theirs;
  int asked = 0;
  std::vector<std::string> published;
  platform::SetClipboardBridge({[&](const std::string& text) { published.push_back(text); }, [&] {
                                  ++asked;
                                  return theirs;
                                }});
  ASSERT_TRUE(::OpenClipboard(a));
  EXPECT_EQ(asked, 1);
  ASSERT_TRUE(::EmptyClipboard());
  ::SetClipboardData(CF_TEXT, TextBlock("MINE"));
  theirs = "THEIRS";
  EXPECT_TRUE(::IsClipboardFormatAvailable(CF_TEXT));
  EXPECT_EQ(platform::ClipboardText(), "MINE");
  ASSERT_TRUE(::CloseClipboard());
  EXPECT_EQ(published, std::vector<std::string>{"MINE"});
  EXPECT_FALSE(::IsClipboardFormatAvailable(CF_UNICODETEXT));
  EXPECT_EQ(asked, 1) << "only a text lookup asks";

  EXPECT_TRUE(::IsClipboardFormatAvailable(CF_TEXT));
  EXPECT_EQ(std::pair(platform::ClipboardText(), ::GetClipboardOwner()), std::pair(std::optional<std::string>("THEIRS"), HWND{}));
  theirs.reset();
  ASSERT_TRUE(::OpenClipboard(b));
  EXPECT_EQ(platform::ClipboardText(), "THEIRS") << "kept when nobody else holds text";
  ASSERT_TRUE(::CloseClipboard());
  EXPECT_EQ(published.size(), 1u) << "an unchanged clipboard is not published again";
}

TEST(GlobalMemory, MoveableBlocksAreReachedByLockingAndLocksNest) {
  HGLOBAL block = ::GlobalAlloc(GHND, 4);
  auto* bytes = static_cast<char*>(::GlobalLock(block));
  ASSERT_NE(bytes, nullptr);
  EXPECT_NE(static_cast<void*>(bytes), block);
  EXPECT_EQ(bytes[3], 0);
  EXPECT_EQ(::GlobalLock(block), bytes);
  EXPECT_TRUE(::GlobalUnlock(block));  // still locked once
  EXPECT_FALSE(::GlobalUnlock(block));
  EXPECT_EQ(::GlobalSize(block), 4u);
  EXPECT_EQ(::GlobalFree(block), nullptr);
  EXPECT_EQ(::GlobalFree(block), block);  // not a block any more
  EXPECT_EQ(::GlobalLock(block), nullptr);

  HGLOBAL fixed = ::GlobalAlloc(GPTR, 2);
  EXPECT_EQ(::GlobalLock(fixed), fixed);
  ::GlobalFree(fixed);
}

}  // namespace
