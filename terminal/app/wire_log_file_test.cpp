#include "terminal/app/wire_log_file.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <thread>
#include <vector>

namespace terminal {
namespace {

namespace fs = std::filesystem;

// Another program puts a FIFO in the log's place and takes it away again,
// over and over, while the log is opened: whenever it swaps between the look
// at the name and the open, the log must still be a regular file or refused.
// (A reader holds the FIFO open, so that opening it for writing succeeds.)
TEST(WireLogFile, ANameSwappedForAFifoWhileItOpensIsRefused) {
  const fs::path folder = fs::temp_directory_path() / ("wire_log_test." + std::to_string(::getpid()));
  fs::create_directories(folder);
  const std::string log = folder / "wire.log", file = folder / "file", fifo = folder / "fifo", next = folder / "next";
  std::ofstream(file).put('x');
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  std::vector<KeptFile> kept;  // each looked at before the open, as a run's own files are
  for (int i = 0; i < 16; ++i) {
    kept.push_back({folder / ("kept" + std::to_string(i)), "kept"});
    std::ofstream(kept.back().path).put('x');
  }
  const int reader = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
  ASSERT_GE(reader, 0);
  std::atomic<bool> done = false;
  std::thread swapper([&] {
    for (bool toFifo = true; !done; toFifo = !toFifo) {
      if (::link((toFifo ? fifo : file).c_str(), next.c_str()) == 0) ::rename(next.c_str(), log.c_str());
    }
  });
  int opened = 0, refused = 0;
  for (int i = 0; i < 20000 && !HasFailure(); ++i) {
    std::string error;
    const FilePtr opening = OpenWireLog(log, kept, error);
    struct stat info {};
    if (opening != nullptr && ::fstat(::fileno(opening.get()), &info) == 0) {
      ++opened;
      EXPECT_TRUE(S_ISREG(info.st_mode)) << "a FIFO opened as the log, at try " << i;
    } else {
      ++refused;
      EXPECT_NE(error, "");
    }
  }
  done = true;
  swapper.join();
  ::close(reader);
  fs::remove_all(folder);
  EXPECT_GT(opened, 0);
  EXPECT_GT(refused, 0);
}

// Started with its standard input closed, the terminal opens the log as
// descriptor 0: an open file, no failure.
TEST(WireLogFile, OpensAsDescriptorZeroWhenStandardInputIsClosed) {
  const std::string log = fs::temp_directory_path() / ("wire_log_fd0." + std::to_string(::getpid()));
  const int input = ::dup(0);
  ::close(0);
  std::string error;
  EXPECT_TRUE(OpenWireLog(log, {}, error) != nullptr) << error;
  ::dup2(input, 0);
  ::close(input);
  fs::remove(log);
}

}  // namespace
}  // namespace terminal
