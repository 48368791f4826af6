#include "session/console/output_file.h"

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <cerrno>
#include <csignal>
#include <filesystem>
#include <set>
#include <sstream>
#include <stdexcept>
#include <string>

#include "gtest/gtest.h"
#include "session/console/system_file_testutil.h"

namespace talvik {
namespace {

namespace fs = std::filesystem;

class OutputFileTest : public ScratchFolderTest {
 protected:
  OutputFileTest() : ScratchFolderTest("talvik_output_") {}
};

TEST_F(OutputFileTest, PiecesGoToATemporaryFileThatReplacesTheTargetAtTheEnd) {
  write("table.csv", "old");
  OutputFile output(path("table.csv"), nullptr);
  output.write("a,");
  output.write(std::string(200000, 'x'));
  EXPECT_EQ(read("table.csv"), "old");
  EXPECT_EQ(entries().size(), 2u);
  output.finish();
  EXPECT_EQ(read("table.csv"), "a," + std::string(200000, 'x'));
  EXPECT_EQ(entries(), std::set<std::string>{"table.csv"});
}

TEST_F(OutputFileTest, AnUnfinishedOutputLeavesTheTargetAndNoTemporaryFile) {
  write("table.csv", "old");
  try {
    OutputFile output(path("table.csv"), nullptr);
    output.write(std::string(100000, 'x'));
    throw std::runtime_error("a failure elsewhere");
  } catch (const std::runtime_error&) {
  }
  EXPECT_EQ(read("table.csv"), "old");
  EXPECT_EQ(entries(), std::set<std::string>{"table.csv"});
}

TEST_F(OutputFileTest, AFailedRenameRemovesTheTemporaryFile) {
  fs::create_directory(path("table.csv"));
  write("table.csv/kept", "kept");
  OutputFile output(path("table.csv"), nullptr);
  output.write("new");
  try {
    output.finish();
    ADD_FAILURE() << "no error thrown";
  } catch (const FileError& error) {
    EXPECT_EQ(error.path, path("table.csv"));
    EXPECT_EQ(error.operation, FileOperation::kPuttingInPlace);
  }
  EXPECT_EQ(entries(), std::set<std::string>{"table.csv"});
  EXPECT_EQ(read("table.csv/kept"), "kept");
}

TEST_F(OutputFileTest, DashAndNoStreamAreAFileNamedDash) {
  std::ostringstream standardOutput;
  OutputFile toStream("-", &standardOutput);
  EXPECT_TRUE(toStream.isStandardOutput());
  toStream.write("row\n");
  toStream.finish();
  EXPECT_EQ(standardOutput.str(), "row\n");
  OutputFile toFile(path("-"), &standardOutput);
  EXPECT_FALSE(toFile.isStandardOutput());
  toFile.write("file");
  toFile.finish();
  EXPECT_EQ(read("-"), "file");
}

TEST_F(OutputFileTest, AFailedStandardOutputIsAWritingError) {
  std::ostringstream standardOutput;
  standardOutput.setstate(std::ios::badbit);
  OutputFile output("-", &standardOutput);
  output.write("row\n");
  try {
    output.finish();
    ADD_FAILURE() << "no error thrown";
  } catch (const FileError& error) {
    EXPECT_EQ(error.operation, FileOperation::kWriting);
  }
}

// POSIX names only: symbolic links, modes, devices and names of 255 bytes
// (Windows paths stop at 260 characters).
#ifndef _WIN32
TEST_F(OutputFileTest, ALinkIsFollowedAndTheFileBehindItKeepsItsMode) {
  fs::create_directory(path("data"));
  write("data/table.csv", "old");
  fs::permissions(path("data/table.csv"),
                  fs::perms::owner_read | fs::perms::owner_write);
  fs::create_symlink("data/table.csv", path("link.csv"));
  fs::create_symlink("link.csv", path("link2.csv"));
  replaceWholeFile(path("link2.csv"), "new");
  EXPECT_TRUE(fs::is_symlink(path("link2.csv")));
  EXPECT_TRUE(fs::is_symlink(path("link.csv")));
  EXPECT_EQ(read("data/table.csv"), "new");
  struct stat status;
  ASSERT_EQ(::stat(path("data/table.csv").c_str(), &status), 0);
  EXPECT_EQ(status.st_mode & 0777, 0600u);
  EXPECT_EQ(entries(),
            (std::set<std::string>{"data", "link.csv", "link2.csv"}));
}

TEST_F(OutputFileTest, ADanglingLinkMakesTheFileItPointsTo) {
  fs::create_symlink("made.csv", path("dangling.csv"));
  replaceWholeFile(path("dangling.csv"), "new");
  EXPECT_TRUE(fs::is_symlink(path("dangling.csv")));
  EXPECT_EQ(read("made.csv"), "new");
}

TEST_F(OutputFileTest, ADeviceIsWrittenDirectly) {
  fs::create_symlink("/dev/null", path("null"));
  replaceWholeFile(path("null"), "gone");
  EXPECT_TRUE(fs::is_symlink(path("null")));
  EXPECT_TRUE(fs::is_character_file("/dev/null"));
  if (fs::is_character_file("/dev/full")) {
    try {
      replaceWholeFile("/dev/full", "no room");
      ADD_FAILURE() << "no error thrown";
    } catch (const FileError& error) {
      EXPECT_EQ(error.reason, systemMessage(ENOSPC, 0));
      EXPECT_EQ(error.operation, FileOperation::kWriting);
    }
  }
}

TEST_F(OutputFileTest, ANameOf255BytesFitsItsTemporaryName) {
  const std::string name(255, 'n');
  replaceWholeFile(path(name), "new");
  EXPECT_EQ(read(name), "new");
  EXPECT_EQ(entries(), std::set<std::string>{name});
}

TEST_F(OutputFileTest, AFatalSignalRemovesTheTemporaryFile) {
  const std::string target = path("table.csv");
  EXPECT_EXIT(
      {
        OutputFile output(target, nullptr);
        output.write("half");
        std::raise(SIGTERM);
      },
      testing::KilledBySignal(SIGTERM), "");
  EXPECT_EXIT(
      {
        OutputFile output(target, nullptr);
        std::abort();
      },
      testing::KilledBySignal(SIGABRT), "");
  EXPECT_EQ(entries(), std::set<std::string>{});
}
#endif

}  // namespace
}  // namespace talvik
