// Test fixture: runs a test once per machine zone, with TZ set inside it.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>

#include "platform/testing/scoped_zone.h"

struct ZoneCase {
  const char* tz;
  long januaryOffset;  // seconds east of UTC in January
};

inline const ZoneCase kZones[] = {{"UTC", 0}, {"Asia/Kolkata", 19800}, {"America/New_York", -18000}};

class InZone : public testing::TestWithParam<ZoneCase> {
 protected:
  void SetUp() override { m_zone.emplace(GetParam().tz); }
  void TearDown() override { m_zone.reset(); }

 private:
  std::optional<ScopedZone> m_zone;
};

inline std::string ZoneName(const testing::TestParamInfo<ZoneCase>& info) {
  std::string name = info.param.tz;
  std::replace(name.begin(), name.end(), '/', '_');
  return name;
}
