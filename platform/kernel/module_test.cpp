#include "platform/kernel/module.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <string>

#include "platform/kernel/kernel.h"

extern "C" __attribute__((visibility("default"))) int ModuleTestExportedFunction() { return 42; }

namespace {

TEST(Modules, MainProgramAndItsExports) {
  HMODULE main = GetModuleHandleA(nullptr);
  ASSERT_NE(main, nullptr);
  EXPECT_EQ(main, GetModuleHandleA(nullptr));
  EXPECT_EQ(ModuleFromAddress(reinterpret_cast<const void*>(&ModuleTestExportedFunction)), main);

  char path[MAX_PATH];
  const DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
  ASSERT_GT(n, 0u);
  EXPECT_EQ(std::string(path, n).substr(std::string(path).find_last_of('/') + 1), "platform_kernel_tests");
  for (const DWORD size : {DWORD{5}, n}) {  // far too short, and the path without room for its terminator
    std::string cut(size, '?');
    EXPECT_EQ(GetModuleFileNameA(main, cut.data(), size), size);
    EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
    EXPECT_EQ(cut.c_str(), std::string(path, size - 1)) << size;
  }
  EXPECT_EQ(GetProcAddress(main, "NoSuchFunctionAnywhere"), nullptr);
  EXPECT_EQ(GetLastError(), ERROR_PROC_NOT_FOUND);

  EXPECT_EQ(reinterpret_cast<int (*)()>(GetProcAddress(main, "ModuleTestExportedFunction"))(), 42);

  const std::string real(path, n);
  platform::SetMainProgramFileName("C:\\Tarn\\TarnTrader.exe");
  EXPECT_EQ(GetModuleFileNameA(nullptr, path, MAX_PATH), 22u);
  EXPECT_STREQ(path, "C:\\Tarn\\TarnTrader.exe");
  platform::SetMainProgramFileName(real);
}

TEST(Modules, BuiltinModulesCanBeRemovedAndSharedLibrariesLoadByPathWithEitherSeparator) {
  static int calls = 0;
  platform::AddBuiltinExport("probe.dll", "TestProbe", [] { ++calls; });  // a module of its own
  HMODULE lib = LoadLibraryA("PROBE.DLL");
  ASSERT_NE(lib, nullptr);
  EXPECT_EQ(GetModuleHandleA("probe.dll"), lib);
  FARPROC probe = GetProcAddress(lib, "TestProbe");
  ASSERT_NE(probe, nullptr);
  probe();
  EXPECT_EQ(calls, 1);
  EXPECT_TRUE(FreeLibrary(lib));
  EXPECT_EQ(GetModuleHandleA("probe.dll"), nullptr) << "no longer loaded";

  platform::RemoveBuiltinModule("UxTheme.dll");
  EXPECT_EQ(LoadLibraryA("uxtheme.dll"), nullptr);
  EXPECT_EQ(GetLastError(), ERROR_MOD_NOT_FOUND);
  platform::RestoreBuiltinModules();
  HMODULE theme = LoadLibraryA("UxTheme.dll");
  EXPECT_NE(theme, nullptr);
  FreeLibrary(theme);
  EXPECT_EQ(LoadLibraryA("no_such_library.so"), nullptr);

  // The C library is loaded already; loading it by path gives a record that
  // resolves its functions and counts its loads.
  HMODULE libc = LoadLibraryA("libc.so.6");
  ASSERT_NE(libc, nullptr);
  HMODULE libm = LoadLibraryA("libm.so.6");
  ASSERT_NE(libm, nullptr);
  EXPECT_NE(GetProcAddress(libc, "strlen"), nullptr);
  EXPECT_EQ(LoadLibraryA("libc.so.6"), libc);
  EXPECT_TRUE(FreeLibrary(libc));
  EXPECT_TRUE(FreeLibrary(libc));
  EXPECT_EQ(GetProcAddress(libc, "strlen"), nullptr) << "freed as often as loaded";
  EXPECT_NE(GetProcAddress(libm, "cos"), nullptr) << "the other library stays";
  EXPECT_TRUE(FreeLibrary(libm));
  EXPECT_FALSE(FreeLibrary(GetModuleHandleA(nullptr))) << "the main program is never freed";

  EXPECT_EQ(platform::PathFolder("C:\\Tarn\\bin/TarnTrader.exe"), "C:\\Tarn\\bin");
  EXPECT_EQ(platform::PathFolder("/opt/tarn\\sub\\x.exe"), "/opt/tarn\\sub");
  EXPECT_EQ(platform::PathFolder("TarnTrader.exe"), "");
  // The file system's form of a path: one separator, the same folder.
  for (const char* path : {"C:\\Tarn\\bin/TarnTrader.exe", "x\\y", "/opt/tarn/x.exe", "a\\\\b\\", ""}) {
    const std::string native = platform::NativePath(path);
    EXPECT_EQ(native.find('\\'), std::string::npos) << path;
    EXPECT_EQ(native.size(), std::string(path).size()) << path;
    EXPECT_EQ(platform::PathFolder(native), platform::NativePath(platform::PathFolder(path))) << path;
  }
}

}  // namespace
