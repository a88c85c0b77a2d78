// A fresh folder for the settings file of one test, removed afterwards.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "listview/profile/settings_file.h"

namespace listview::testing {

class SettingsDir {
 public:
  SettingsDir() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    m_dir = std::filesystem::temp_directory_path() /
           ("listview_" + std::to_string(::getpid()) + "_" + info->test_suite_name() + "_" + info->name());
    std::filesystem::remove_all(m_dir);
    std::filesystem::create_directories(m_dir);
    SetSettingsFolder(m_dir.string().c_str());
  }
  ~SettingsDir() {
    SetSettingsFolder("");
    std::filesystem::remove_all(m_dir);
  }
  SettingsDir(const SettingsDir&) = delete;
  SettingsDir& operator=(const SettingsDir&) = delete;

  std::filesystem::path File() const { return m_dir / "UserSetting.ini"; }
  bool Exists() const { return std::filesystem::exists(File()); }
  std::string Read() const {
    std::ifstream in(File(), std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }
  void Write(const std::string& text) const { std::ofstream(File(), std::ios::binary) << text; }
  // Points the settings at a folder that does not exist.
  void MakeUnwritable() const { SetSettingsFolder((m_dir / "missing").string().c_str()); }

 private:
  std::filesystem::path m_dir;
};

}  // namespace listview::testing
