// Every test of this executable runs with the middleware initialised once,
// with the memory map on, so that each test also exercises the accounting.
#include <gtest/gtest.h>

#include <cstdlib>

#include "mml/mml.h"

namespace {

char kIntSetting[] = "MML_TEST_INT=+0042";
char kBadInt[] = "MML_TEST_BAD_INT=12a";
char kBoolYes[] = "MML_TEST_YES=yes";
char kBoolCapital[] = "MML_TEST_CAPITAL=Yes";
char kReal[] = "MML_TEST_REAL= -1 1/2\t";
char kTwoEquals[] = "MML_TEST_EQ=a=b";
char kEmpty[] = "MML_TEST_EMPTY=";
char kFirst[] = "MML_TEST_DUP=first";
char kSecond[] = "MML_TEST_DUP=second";
char kLeadingEq[] = "=C:=C:\\";
char* kEnvp[] = {kIntSetting, kBadInt, kBoolYes, kBoolCapital, kReal, kTwoEquals,
                 kEmpty,      kFirst,  kSecond,  kLeadingEq,   nullptr};

class MiddlewareEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    setenv("MML_BUILD_MEMORY_MAP", "yes", 1);
    int err = -1;
    ASSERT_NE(mml_env_init(0, nullptr, kEnvp, 2, 0, &err), 0);
    ASSERT_EQ(err, 0);
  }
};

[[maybe_unused]] auto* const kRegistered = ::testing::AddGlobalTestEnvironment(new MiddlewareEnvironment);

}  // namespace
