// Test helper: sets the machine zone (TZ) for a scope and restores it.
#pragma once

#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>

class ScopedZone {
 public:
  explicit ScopedZone(const char* zone) {
    if (const char* old = std::getenv("TZ")) {
      m_old = old;
    }
    ::setenv("TZ", zone, 1);
    ::tzset();
  }
  ScopedZone(const ScopedZone&) = delete;
  ScopedZone& operator=(const ScopedZone&) = delete;
  ~ScopedZone() {
    if (m_old) {
      ::setenv("TZ", m_old->c_str(), 1);
    } else {
      ::unsetenv("TZ");
    }
    ::tzset();
  }

 private:
  std::optional<std::string> m_old;
};
