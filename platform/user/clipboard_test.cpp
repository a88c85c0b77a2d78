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
  EXPECT_EQ(::GetOpenClipboardWindow(), a);
  ASSERT_TRUE(::EmptyClipboard());
  EXPECT_EQ(::GetClipboardOwner(), a);
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
  EXPECT_FALSE(::EmptyClipboard());
  EXPECT_FALSE(::CloseClipboard());
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
