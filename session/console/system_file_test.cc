#include "session/console/system_file.h"

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <system_error>

#include "gtest/gtest.h"
#include "session/console/system_file_testutil.h"

namespace talvik {
namespace {

namespace fs = std::filesystem;

class SystemFileTest : public testing::Test {
 protected:
  std::string path(const std::string& name) const {
    return (scratch_.path() / name).string();
  }
  std::string read(const std::string& name) const {
    std::ifstream in(path(name), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

  ScratchFolder scratch_{"talvik_system_"};
};

TEST_F(SystemFileTest, NewFileIsRefusedAsExistingWhenTheNameIsTaken) {
  std::ofstream(path("taken.tmp")) << "someone else's";
  std::error_code error;
  SystemFile file(path("taken.tmp"), FileOpening::kNewForWriting, error);
  EXPECT_EQ(error, std::errc::file_exists) << error.message();
  EXPECT_FALSE(file.isOpen());
  EXPECT_EQ(read("taken.tmp"), "someone else's");
}

TEST_F(SystemFileTest, OtherProgramsReadWriteAndRenameAnOpenFile) {
  std::error_code error;
  SystemFile file(path("results.txt"), FileOpening::kReadWriteOrCreate, error);
  ASSERT_FALSE(error) << error.message();
  file.write("A = 0.125\r\n", error);
  ASSERT_FALSE(error) << error.message();
  EXPECT_EQ(read("results.txt"), "A = 0.125\r\n");
  std::ofstream(path("results.txt"), std::ios::binary | std::ios::app)
      << "appended\r\n";
  EXPECT_EQ(read("results.txt"), "A = 0.125\r\nappended\r\n");
  fs::rename(path("results.txt"), path("renamed.txt"));
  file.close(error);
  EXPECT_FALSE(error) << error.message();
  EXPECT_EQ(read("renamed.txt"), "A = 0.125\r\nappended\r\n");
}

TEST_F(SystemFileTest, CutEndsTheFileAndLeavesThePlaceOfWriting) {
  std::error_code error;
  SystemFile file(path("plot.csv"), FileOpening::kReadWriteOrCreate, error);
  file.write("1,2,3\r\n4,5,6\r\n", error);
  file.cut(7, error);
  ASSERT_FALSE(error) << error.message();
  EXPECT_EQ(read("plot.csv"), "1,2,3\r\n");
  file.write("7", error);
  file.close(error);
  EXPECT_EQ(read("plot.csv"), std::string("1,2,3\r\n\0\0\0\0\0\0\0"
                                          "7",
                                          15));
}

TEST_F(SystemFileTest, FolderOpensForReadingOnlyAndSaysItIsOne) {
  fs::create_directory(path("folder"));
  std::error_code error;
  SystemFile folder(path("folder"), FileOpening::kReadOnly, error);
  ASSERT_FALSE(error) << error.message();
  EXPECT_TRUE(folder.facts(error).isFolder);
  SystemFile writable(path("folder"), FileOpening::kReadWrite, error);
  EXPECT_EQ(error.message(), systemMessage(EISDIR, kWindowsAccessDenied));
}

TEST_F(SystemFileTest, EveryNameOfAFileHasItsIdentity) {
  std::ofstream(path("a.txt")) << "a";
  std::ofstream(path("b.txt")) << "a";
  fs::create_hard_link(path("a.txt"), path("hard.txt"));
  const std::optional<FileIdentity> a = fileIdentity(path("a.txt"));
  ASSERT_TRUE(a);
  EXPECT_EQ(fileIdentity(path("hard.txt")), a);
  EXPECT_EQ(fileIdentity((scratch_.path() / "." / "a.txt").string()), a);
  EXPECT_NE(fileIdentity(path("b.txt")), a);
  EXPECT_EQ(fileIdentity(path("none.txt")), std::nullopt);
}

TEST_F(SystemFileTest, SystemMessageIsOneLineWithoutAFullStop) {
  for (const std::string& message :
       {systemMessage(ENOENT, kWindowsFileNotFound),
        systemMessage(ENOENT, kWindowsPathNotFound),
        systemMessage(EACCES, kWindowsAccessDenied)}) {
    ASSERT_FALSE(message.empty());
    EXPECT_EQ(message.find_first_of("\r\n"), std::string::npos) << message;
    EXPECT_NE(message.back(), '.') << message;
    EXPECT_NE(message.back(), ' ') << message;
  }
}

}  // namespace
}  // namespace talvik
