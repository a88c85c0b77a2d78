// Every test of this executable runs with the middleware initialised once,
// with the memory map on, so that each test also exercises the accounting.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "mml/mml.h"

namespace {

class MiddlewareEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    setenv("MML_BUILD_MEMORY_MAP", "yes", 1);
    // The settings that environment_test.cpp's typed lookups read, and the coders' some runs choose (CMakeLists).
    std::string entries[] = {"MML_TEST_INT=-02147483648", "MML_TEST_YES=yes", "MML_TEST_CAPITAL=Yes",
                             "MML_TEST_REAL= -1 1/2\t"};
    std::vector<char*> envp;
    for (std::string& entry : entries) envp.push_back(entry.data());
    for (char** e = environ; *e != nullptr; ++e)
      if (std::string(*e).starts_with("MML_LOC_") || std::string(*e).starts_with("MML_EC_")) envp.push_back(*e);
    envp.push_back(nullptr);
    int err = -1;
    ASSERT_NE(mml_env_init(0, nullptr, envp.data(), 2, 0, &err), 0);
    ASSERT_EQ(err, 0);
  }
};

[[maybe_unused]] auto* const kRegistered = ::testing::AddGlobalTestEnvironment(new MiddlewareEnvironment);

}  // namespace
