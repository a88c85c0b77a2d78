// Every test of this executable runs with the middleware initialised once,
// with the memory map on, so that each test also exercises the accounting.
#include <gtest/gtest.h>

#include <cstdlib>

#include "mml/testing/env_block.h"
#include "mml/mml.h"

namespace {

class MiddlewareEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    setenv("MML_BUILD_MEMORY_MAP", "yes", 1);
    // The settings that environment_test.cpp's typed lookups read.
    mml::test::EnvBlock envp{"MML_TEST_INT=-02147483648", "MML_TEST_BAD_INT=2147483648",
                             "MML_TEST_YES=yes",          "MML_TEST_CAPITAL=Yes",
                             "MML_TEST_REAL= -1 1/2\t",   "MML_TEST_EQ=a=b",
                             "MML_TEST_EMPTY=",           "MML_TEST_DUP=first",
                             "MML_TEST_DUP=second",       "=C:=C:\\"};
    int err = -1;
    ASSERT_NE(mml_env_init(0, nullptr, envp.get(), 2, 0, &err), 0);
    ASSERT_EQ(err, 0);
  }
};

[[maybe_unused]] auto* const kRegistered = ::testing::AddGlobalTestEnvironment(new MiddlewareEnvironment);

}  // namespace
