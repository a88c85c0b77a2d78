#include "terminal/app/snapshot_writer.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "platform/afx.h"
#include "platform/render/image.h"
#include "platform/testing/reset_test.h"
#include "platform/user/menu.h"

namespace terminal {
namespace {

namespace fs = std::filesystem;

class SnapshotWriterTest : public platform::ResetTest {
 protected:
  void SetUp() override {
    m_folder = fs::temp_directory_path() / ("snapshot_writer_" + std::to_string(::getpid()));
    fs::remove_all(m_folder);
    m_out = std::tmpfile();
  }
  void TearDown() override {
    std::fclose(m_out);
    fs::remove_all(m_folder);
  }
  std::string Output() {
    std::rewind(m_out);
    std::string text;
    for (int c; (c = std::fgetc(m_out)) != EOF;) text += static_cast<char>(c);
    return text;
  }
  fs::path m_folder;
  std::FILE* m_out = nullptr;
};

TEST_F(SnapshotWriterTest, WritesAWindowWhenItChangesAndNumbersPicturesInOrder) {
  SnapshotWriter writer((m_folder / "pictures").string(), m_out);
  std::string error;
  ASSERT_TRUE(writer.Prepare(error)) << error;
  HWND window = ::CreateWindowEx(0, "#32770", "View Allowed Group", WS_POPUP | WS_CAPTION | WS_VISIBLE, 10, 10, 200,
                                 100, nullptr, nullptr, nullptr, nullptr);
  HWND hidden = ::CreateWindowEx(0, "#32770", "Hidden", WS_POPUP | WS_CAPTION, 10, 10, 200, 100, nullptr, nullptr,
                                 nullptr, nullptr);
  ASSERT_TRUE(writer.Capture(error)) << error;
  ASSERT_TRUE(writer.Capture(error)) << error;  // nothing changed: nothing written
  ::SetWindowText(window, "Allowed Groups");
  ASSERT_TRUE(writer.Capture(error)) << error;
  const std::string first = (m_folder / "pictures" / "001-view-allowed-group.png").string();
  const std::string second = (m_folder / "pictures" / "002-allowed-groups.png").string();
  EXPECT_EQ(Output(), "SNAPSHOT: " + first + "\nSNAPSHOT: " + second + "\n");
  const auto picture = platform::LoadPng(first);
  ASSERT_TRUE(picture.has_value());
  EXPECT_EQ(picture->width, 200);
  EXPECT_EQ(picture->height, 100);
  ::DestroyWindow(window);
  ::DestroyWindow(hidden);
}

TEST_F(SnapshotWriterTest, WritesMenusAndMessageBoxesAsTheyShow) {
  SnapshotWriter writer(m_folder.string(), m_out);
  std::string error;
  ASSERT_TRUE(writer.Prepare(error)) << error;
  HWND owner =
      ::CreateWindowEx(0, "#32770", "", WS_POPUP | WS_VISIBLE, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  HMENU menu = ::CreatePopupMenu();
  ::AppendMenu(menu, MF_STRING, 4001, "Column Profile");
  ASSERT_TRUE(::TrackPopupMenu(menu, TPM_RETURNCMD | TPM_NONOTIFY, 0, 0, 0, owner, nullptr) == 0);
  // A picture that cannot be written (a folder in its place) fails the line; the next capture tries it again.
  fs::create_directory(m_folder / "001-menu.png");
  EXPECT_FALSE(writer.Capture(error));
  EXPECT_EQ(error, "cannot write " + (m_folder / "001-menu.png").string());
  fs::remove(m_folder / "001-menu.png");
  ASSERT_TRUE(writer.Capture(error)) << error;
  ASSERT_TRUE(writer.Capture(error)) << error;  // the same menu is not written twice
  platform::MessageBoxRecord box;
  box.text = "File is generated";
  ASSERT_TRUE(writer.WriteMessageBox(box, error)) << error;
  EXPECT_TRUE(fs::exists(m_folder / "001-menu.png") && fs::exists(m_folder / "002-window.png"));
  EXPECT_TRUE(fs::exists(m_folder / "003-error.png")) << Output();
  ::DestroyMenu(menu);
  ::DestroyWindow(owner);

  SnapshotWriter refused("/proc/no-such-folder", m_out);
  EXPECT_FALSE(refused.Prepare(error));
  EXPECT_NE(error.find("cannot make the snapshot folder /proc/no-such-folder"), std::string::npos) << error;
  EXPECT_EQ(FileWord("  View  Allowed-Group! "), "view-allowed-group");
}

}  // namespace
}  // namespace terminal
