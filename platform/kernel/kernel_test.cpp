#include "platform/kernel/kernel.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <utility>

namespace {

TEST(KernelMutex, RecursiveForOwnerRefusedToOthersAndAbandonedWhenItsOwnerEnds) {
  HANDLE mutex = CreateMutex(nullptr, FALSE, nullptr);
  ASSERT_NE(mutex, nullptr);
  ASSERT_EQ(WaitForSingleObject(mutex, INFINITE), WAIT_OBJECT_0);
  ASSERT_EQ(WaitForSingleObject(mutex, 0), WAIT_OBJECT_0);

  std::atomic<DWORD> otherRelease{0}, otherError{0}, otherWait{0};
  std::thread([&] {
    otherRelease = ReleaseMutex(mutex);
    otherError = GetLastError();
    otherWait = WaitForSingleObject(mutex, 10);
  }).join();
  EXPECT_EQ(std::tuple(otherRelease.load(), otherError.load(), otherWait.load()),
            std::tuple(DWORD{FALSE}, DWORD{ERROR_NOT_OWNER}, DWORD{WAIT_TIMEOUT}));

  EXPECT_TRUE(ReleaseMutex(mutex));
  std::thread([&] { otherWait = WaitForSingleObject(mutex, 10); }).join();
  EXPECT_EQ(otherWait, WAIT_TIMEOUT) << "one release of two waits keeps it owned";
  EXPECT_TRUE(ReleaseMutex(mutex));
  EXPECT_FALSE(ReleaseMutex(mutex)) << "released more times than taken";
  EXPECT_EQ(GetLastError(), ERROR_NOT_OWNER);
  EXPECT_TRUE(CloseHandle(mutex));

  // An owner that ends abandons it; a closed handle fails.
  mutex = CreateMutex(nullptr, FALSE, nullptr);
  std::thread([&] { WaitForSingleObject(mutex, INFINITE); }).join();
  EXPECT_EQ(WaitForSingleObject(mutex, 100), WAIT_ABANDONED);
  EXPECT_TRUE(ReleaseMutex(mutex));
  EXPECT_EQ(WaitForSingleObject(mutex, 0), WAIT_OBJECT_0) << "abandonment is reported once";
  EXPECT_TRUE(ReleaseMutex(mutex) && CloseHandle(mutex) && !CloseHandle(mutex)) << "closed once";
  EXPECT_EQ(WaitForSingleObject(mutex, 0), WAIT_FAILED);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
  EXPECT_EQ(CreateMutex(nullptr, TRUE, "named"), nullptr);

  HANDLE owned = CreateMutex(nullptr, TRUE, nullptr);
  DWORD wait = 0;
  std::thread([&] { wait = WaitForSingleObject(owned, 0); }).join();
  EXPECT_EQ(wait, WAIT_TIMEOUT) << "initial owner holds it";
  EXPECT_TRUE(ReleaseMutex(owned));
  CloseHandle(owned);
}

TEST(KernelServices, ThreadIdsClockAndSockets) {
  DWORD other = 0;
  std::thread([&] { other = GetCurrentThreadId(); }).join();
  EXPECT_NE(other, GetCurrentThreadId());

  SYSTEMTIME now{};
  GetLocalTime(&now);
  EXPECT_TRUE(now.wYear >= 2024 && now.wMonth >= 1 && now.wMonth <= 12 && now.wMilliseconds < 1000);
  const DWORD before = GetTickCount();
  Sleep(20);
  EXPECT_GE(static_cast<DWORD>(GetTickCount() - before), 15u);

  EXPECT_EQ(WSACleanup(), SOCKET_ERROR);
  EXPECT_EQ(WSAGetLastError(), WSANOTINITIALISED);
  WSADATA data{};
  // The low byte is the major version: 2.3 and 3.0 are above 2.2, and get it; 1.1 and 2.1 are given as asked.
  const std::pair<WORD, WORD> versions[] = {{0x0202, 0x0202}, {0x0303, 0x0202}, {0x0302, 0x0202},
                                            {0x0003, 0x0202}, {0x0101, 0x0101}, {0x0102, 0x0102}};
  for (const auto& [asked, given] : versions) {
    ASSERT_EQ(WSAStartup(asked, &data), 0);
    EXPECT_EQ(data.wVersion, given) << asked;
  }
  EXPECT_EQ(WSAStartup(0x0500, &data), WSAVERNOTSUPPORTED) << "no major version 0";
  for (int n = 0; n <= 6; ++n) EXPECT_EQ(WSACleanup(), n < 6 ? 0 : SOCKET_ERROR) << "one cleanup a startup";
}

}  // namespace
