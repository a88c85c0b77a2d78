#include "platform/kernel/kernel.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace {

TEST(KernelServices, ThreadIdsClockAndSockets) {
  DWORD other = 0;
  std::thread([&] { other = GetCurrentThreadId(); }).join();
  EXPECT_NE(other, GetCurrentThreadId());
  EXPECT_EQ(GetCurrentThreadId(), GetCurrentThreadId());

  SYSTEMTIME now{};
  GetLocalTime(&now);
  EXPECT_GE(now.wYear, 2024);
  EXPECT_TRUE(now.wMonth >= 1 && now.wMonth <= 12);
  EXPECT_LT(now.wMilliseconds, 1000);
  const DWORD before = GetTickCount();
  Sleep(20);
  EXPECT_GE(static_cast<DWORD>(GetTickCount() - before), 15u);

  EXPECT_EQ(WSACleanup(), SOCKET_ERROR);
  EXPECT_EQ(WSAGetLastError(), WSANOTINITIALISED);
  WSADATA data{};
  ASSERT_EQ(WSAStartup(0x0202, &data), 0);
  ASSERT_EQ(WSAStartup(0x0303, &data), 0);
  EXPECT_EQ(data.wVersion, 0x0202) << "a higher request gets the highest supported";
  EXPECT_EQ(WSACleanup(), 0);
  EXPECT_EQ(WSACleanup(), 0);
  EXPECT_EQ(WSACleanup(), SOCKET_ERROR);
}

}  // namespace
