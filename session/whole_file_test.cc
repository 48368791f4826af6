#include "session/whole_file.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <tuple>

#include "gtest/gtest.h"

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

// Each test works in a fresh scratch folder.
class WholeFileTest : public testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = testing::TempDir() + "talvik_whole_XXXXXX";
    ASSERT_NE(mkdtemp(pattern.data()), nullptr) << std::strerror(errno);
    scratch_ = pattern;
  }
  void TearDown() override { fs::remove_all(scratch_); }

  std::string path(const std::string& name) const {
    return (scratch_ / name).string();
  }
  void write(const std::string& name, const std::string& content) const {
    std::ofstream(path(name), std::ios::binary) << content;
  }
  std::string read(const std::string& name) const {
    std::ifstream in(path(name), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  std::set<std::string> entries() const {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(scratch_)) {
      names.insert(entry.path().filename().string());
    }
    return names;
  }

  fs::path scratch_;
};

TEST_F(WholeFileTest, ReplacesAnOldFileWholeWithTheModeOfANewFile) {
  write("picture.svg", std::string(100000, 'x'));
  const mode_t previousMask = ::umask(027);
  replaceWholeFile(path("picture.svg"), "<svg/>\n");
  ::umask(previousMask);
  EXPECT_EQ(read("picture.svg"), "<svg/>\n");
  struct stat status;
  ASSERT_EQ(::stat(path("picture.svg").c_str(), &status), 0);
  EXPECT_EQ(status.st_mode & 0777, 0640u);
  EXPECT_EQ(entries(), std::set<std::string>{"picture.svg"});
}

TEST_F(WholeFileTest, FailureLeavesTheTargetAsItWasAndNoTemporaryFile) {
  fs::create_directory(path("picture.svg"));
  write("picture.svg/kept", "kept");
  EXPECT_EQ(errorFrom([&] { replaceWholeFile(path("picture.svg"), "new"); }),
            ErrorFields(path("picture.svg"), "Is a directory",
                        FileOperation::kPuttingInPlace));
  EXPECT_EQ(entries(), std::set<std::string>{"picture.svg"});
  EXPECT_EQ(read("picture.svg/kept"), "kept");
  EXPECT_EQ(errorFrom([&] { replaceWholeFile(path("none/p.svg"), "new"); }),
            ErrorFields(path("none/p.svg"), "No such file or directory",
                        FileOperation::kCreating));
}

TEST_F(WholeFileTest, ReadsAFileLargerThanOneBufferAndNamesTheFailedStep) {
  std::string text;
  for (int i = 0; i < 20000; ++i) text += std::to_string(i) + "\r\n";
  write("rows.csv", text);
  EXPECT_EQ(readWholeFile(path("rows.csv")), text);
  EXPECT_EQ(errorFrom([&] { readWholeFile(path("none.csv")); }),
            ErrorFields(path("none.csv"), "No such file or directory",
                        FileOperation::kOpening));
  fs::create_directory(path("folder"));
  EXPECT_EQ(
      errorFrom([&] { readWholeFile(path("folder")); }),
      ErrorFields(path("folder"), "Is a directory", FileOperation::kReading));
}

TEST_F(WholeFileTest, SameFileUnderAnotherNameButNotAMissingOne) {
  write("a.csv", "a");
  write("b.csv", "a");
  EXPECT_TRUE(isSameFile(path("a.csv"), (scratch_ / "." / "a.csv").string()));
  EXPECT_FALSE(isSameFile(path("a.csv"), path("b.csv")));
  EXPECT_FALSE(isSameFile(path("none.csv"), path("none.csv")));
}

}  // namespace
}  // namespace talvik
