#include "session/console/whole_file.h"

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <tuple>

#include "gtest/gtest.h"
#include "session/console/system_file_testutil.h"

namespace talvik {
namespace {

namespace fs = std::filesystem;

using ErrorFields = std::tuple<std::string, std::string, FileOperation>;

template <typename Action>
ErrorFields errorFrom(Action action) {
  try {
    action();
  } catch (const FileError& error) {
    return {error.path, error.reason, error.operation};
  }
  ADD_FAILURE() << "no error thrown";
  return {};
}

class WholeFileTest : public ScratchFolderTest {
 protected:
  WholeFileTest() : ScratchFolderTest("talvik_whole_") {}
};

TEST_F(WholeFileTest, ReplacesAnOldFileWhole) {
  write("picture.svg", std::string(100000, 'x'));
  replaceWholeFile(path("picture.svg"), "<svg/>\n");
  EXPECT_EQ(read("picture.svg"), "<svg/>\n");
  EXPECT_EQ(entries(), std::set<std::string>{"picture.svg"});
}

// Windows files have no mode bits.
#ifndef _WIN32
unsigned modeOf(const std::string& path) {
  struct stat status;
  EXPECT_EQ(::stat(path.c_str(), &status), 0);
  return status.st_mode & 0777;
}

TEST_F(WholeFileTest, ReplacedFileKeepsItsModeAndANewOneHasTheModeOfANewFile) {
  write("picture.svg", "old");
  fs::permissions(path("picture.svg"), fs::perms::owner_read);
  write("private.svg", "old");
  fs::permissions(path("private.svg"),
                  fs::perms::owner_read | fs::perms::owner_write);
  const mode_t previousMask = ::umask(027);
  replaceWholeFile(path("picture.svg"), "<svg/>\n");
  replaceWholeFile(path("private.svg"), "<svg/>\n");
  replaceWholeFile(path("new.svg"), "<svg/>\n");
  ::umask(previousMask);
  EXPECT_EQ(modeOf(path("picture.svg")), 0400u);
  EXPECT_EQ(modeOf(path("private.svg")), 0600u);
  EXPECT_EQ(modeOf(path("new.svg")), 0640u);
}
#endif

TEST_F(WholeFileTest, FailureLeavesTheTargetAsItWasAndNoTemporaryFile) {
  fs::create_directory(path("picture.svg"));
  write("picture.svg/kept", "kept");
  EXPECT_EQ(errorFrom([&] { replaceWholeFile(path("picture.svg"), "new"); }),
            ErrorFields(path("picture.svg"),
                        systemMessage(EISDIR, kWindowsAccessDenied),
                        FileOperation::kPuttingInPlace));
  EXPECT_EQ(entries(), std::set<std::string>{"picture.svg"});
  EXPECT_EQ(read("picture.svg/kept"), "kept");
  EXPECT_EQ(errorFrom([&] { replaceWholeFile(path("none/p.svg"), "new"); }),
            ErrorFields(path("none/p.svg"),
                        systemMessage(ENOENT, kWindowsPathNotFound),
                        FileOperation::kCreating));
}

}  // namespace
}  // namespace talvik
