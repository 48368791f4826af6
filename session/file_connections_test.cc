#include "session/file_connections.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "gtest/gtest.h"
#include "session/console/fault.h"
#include "session/console/fault_testutil.h"
#include "session/console/system_file_testutil.h"

namespace talvik {
namespace {

FaultFields systemFault(const std::string& message,
                        const std::string& operation) {
  return {"System Error:", message, operation};
}

void writeFile(const std::string& name, const std::string& content) {
  std::ofstream(name, std::ios::binary) << content;
}

std::string fileContent(const std::string& name) {
  std::ifstream file(name, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file),
                     std::istreambuf_iterator<char>());
}

std::string readAll(ByteSource& source) {
  std::string content;
  char buffer[100];
  while (std::optional<std::size_t> count =
             source.read(buffer, sizeof(buffer))) {
    if (*count == 0) return content;
    content.append(buffer, *count);
  }
  ADD_FAILURE() << "read refused";
  return content;
}

// Each test works in a fresh scratch directory, which is the current
// directory meanwhile, so that typed names are short as at the console.
class FileConnectionsTest : public testing::Test {
 protected:
  void SetUp() override {
    previous_ = std::filesystem::current_path();
    std::filesystem::current_path(scratch_.path());
  }

  // Windows removes no folder that is a process's current one.
  void TearDown() override { std::filesystem::current_path(previous_); }

  ScratchFolder scratch_{"talvik_files_"};
  std::filesystem::path previous_;
};

TEST_F(FileConnectionsTest, LongerOldContentEndsAsExactlyTheNewRecords) {
  writeFile("results.txt", "an old report, much longer than the new one\r\n");
  FileConnections files;
  FileConnection& results = files.connect("results.txt ");
  results.putRecord("A = 0.125\r\n");
  results.putRecord("Done\r\n");
  files.finishAll();
  EXPECT_EQ(fileContent("results.txt"), "A = 0.125\r\nDone\r\n");
}

TEST_F(FileConnectionsTest, FileNeverWrittenKeepsItsOldContent) {
  writeFile("results.txt", "old report\r\n");
  FileConnections files;
  files.connect("results.txt ");
  files.finishAll();
  EXPECT_EQ(fileContent("results.txt"), "old report\r\n");
}

TEST_F(FileConnectionsTest, MissingFileIsCreatedAndStaysEmptyIfNeverWritten) {
  FileConnections files;
  files.connect("new.txt     ");
  EXPECT_TRUE(std::filesystem::exists("new.txt"));
  files.finishAll();
  EXPECT_TRUE(std::filesystem::is_regular_file("new.txt"));
  EXPECT_EQ(fileContent("new.txt"), "");
}

TEST_F(FileConnectionsTest, MissingSizeFileIsCreatedAndReadsAsEndAtOnce) {
  FileConnections files;
  FileConnection& sizes = files.connect("sizes.txt   ");
  char buffer[16];
  EXPECT_EQ(sizes.read(buffer, sizeof(buffer)), std::optional<std::size_t>(0));
  files.finishAll();
  EXPECT_EQ(fileContent("sizes.txt"), "");
}

TEST_F(FileConnectionsTest, SizeFileIsReadFromItsStart) {
  const std::string sizes(1000, '5');
  writeFile("sizes.txt", sizes);
  FileConnections files;
  EXPECT_EQ(readAll(files.connect("sizes.txt")), sizes);
  files.finishAll();
  EXPECT_EQ(fileContent("sizes.txt"), sizes);
}

TEST_F(FileConnectionsTest, ReadOnlySizeFileIsReadable) {
  writeFile("sizes.txt", "120\r\n45\r\n");
  std::filesystem::permissions("sizes.txt",
                               std::filesystem::perms::owner_read |
                                   std::filesystem::perms::group_read |
                                   std::filesystem::perms::others_read);
  FileConnections files;
  EXPECT_EQ(readAll(files.connect("sizes.txt")), "120\r\n45\r\n");
  files.finishAll();
  EXPECT_EQ(fileContent("sizes.txt"), "120\r\n45\r\n");
}

TEST_F(FileConnectionsTest, NameIsTheFieldWithoutLeadingAndTrailingBlanks) {
  FileConnections files;
  files.connect("  lead.txt  ").putRecord("lead\r\n");
  files.connect("my file.txt ").putRecord("inner\r\n");
  files.finishAll();
  EXPECT_EQ(fileContent("lead.txt"), "lead\r\n");
  EXPECT_EQ(fileContent("my file.txt"), "inner\r\n");
  EXPECT_FALSE(std::filesystem::exists("  lead.txt"));
}

TEST_F(FileConnectionsTest, AllBlankNameIsABadFileSpecification) {
  FileConnections files;
  const FaultFields expected{"Run-time Error:", "Bad file specification",
                             "Connecting file:"};
  EXPECT_EQ(faultFrom([&] { files.connect("            "); }), expected);
  EXPECT_EQ(faultFrom([&] { files.connect(""); }), expected);
  EXPECT_EQ(faultFrom([&] { files.connect(std::string("a\0b", 3)); }),
            FaultFields("Run-time Error:", "Bad file specification",
                        std::string("Connecting file: a\0b", 20)));
  EXPECT_FALSE(std::filesystem::exists("a"));
}

TEST_F(FileConnectionsTest, FileThatCannotBeCreatedGivesTheSystemsMessage) {
  FileConnections files;
  EXPECT_EQ(faultFrom([&] { files.connect("nodir/a.txt "); }),
            systemFault(systemMessage(ENOENT, kWindowsPathNotFound),
                        "Connecting file: nodir/a.txt"));
}

TEST_F(FileConnectionsTest, ReadOnlyFileFaultsWithTheRefusalWhenWritten) {
  writeFile("results.txt", "old report\r\n");
  std::filesystem::permissions("results.txt",
                               std::filesystem::perms::owner_read);
  if (!refusesWriting("results.txt")) {
    GTEST_SKIP() << "a read-only file does not stop the superuser writing";
  }
  FileConnections files;
  FileConnection& results = files.connect("results.txt");
  EXPECT_EQ(faultFrom([&] { results.putRecord("A\r\n"); }),
            systemFault(systemMessage(EACCES, kWindowsAccessDenied),
                        "Writing to file: results.txt"));
  files.finishAll();
  EXPECT_EQ(fileContent("results.txt"), "old report\r\n");
}

TEST_F(FileConnectionsTest, DirectoryConnectsButRefusesReadingAndWriting) {
  std::filesystem::create_directory("folder");
  FileConnections files;
  FileConnection& folder = files.connect("folder");
  char buffer[16];
  EXPECT_EQ(folder.read(buffer, sizeof(buffer)), std::nullopt);
  EXPECT_EQ(faultFrom([&] { folder.putRecord("A\r\n"); }),
            systemFault(systemMessage(EISDIR, kWindowsAccessDenied),
                        "Writing to file: folder"));
  files.finishAll();
}

TEST_F(FileConnectionsTest, FullDeviceFaultsWhenRecordsAreFinished) {
  if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
  std::filesystem::create_symlink("/dev/full", "full.txt");
  FileConnections files;
  files.connect("full.txt").putRecord("A = 0.125\r\n");
  EXPECT_EQ(faultFrom([&] { files.finishAll(); }),
            systemFault(std::strerror(ENOSPC), "Writing to file: full.txt"));
  files.finishAll();  // everything is closed already: nothing more to report
}

TEST_F(FileConnectionsTest, FullDeviceFaultsWhenTheBufferFills) {
  if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
  std::filesystem::create_symlink("/dev/full", "full.txt");
  FileConnections files;
  FileConnection& full = files.connect("full.txt");
  full.putRecord(std::string(8191, 'x'));
  EXPECT_EQ(faultFrom([&] { full.putRecord("yz"); }),
            systemFault(std::strerror(ENOSPC), "Writing to file: full.txt"));
  files.finishAll();
}

TEST_F(FileConnectionsTest, FinishingTriesEveryFileAndThrowsTheFirstFault) {
  if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
  std::filesystem::create_symlink("/dev/full", "full.txt");
  FileConnections files;
  files.connect("full.txt").putRecord("first\r\n");
  files.connect("ok.txt").putRecord("second\r\n");
  EXPECT_EQ(faultFrom([&] { files.finishAll(); }),
            systemFault(std::strerror(ENOSPC), "Writing to file: full.txt"));
  EXPECT_EQ(fileContent("ok.txt"), "second\r\n");
}

TEST_F(FileConnectionsTest, SameFileUnderAnotherNameIsAlreadyConnected) {
  writeFile("a.txt", "old content\r\n");
  std::filesystem::create_directory("sub");
  std::filesystem::create_hard_link("a.txt", "hard.txt");
  std::vector<std::string> names{"a.txt", " a.txt", "./a.txt", "sub/../a.txt",
                                 "hard.txt"};
  // Windows lets only administrators make symbolic links.
  std::error_code noLink;
  std::filesystem::create_symlink("a.txt", "link.txt", noLink);
  if (!noLink) names.push_back("link.txt");
  for (const std::string& second : names) {
    FileConnections files;
    files.connect("a.txt");
    const std::string operation =
        "Connecting file: " + second.substr(second.find_first_not_of(' '));
    EXPECT_EQ(
        faultFrom([&] { files.connect(second); }),
        FaultFields("Run-time Error:", "File already connected", operation));
    files.finishAll();
    EXPECT_EQ(fileContent("a.txt"), "old content\r\n") << second;
  }
}

TEST_F(FileConnectionsTest, RefusedSecondConnectionLeavesTheFirstWorking) {
  FileConnections files;
  FileConnection& results = files.connect("a.txt");
  EXPECT_EQ(std::get<1>(faultFrom([&] { files.connect("./a.txt"); })),
            "File already connected");
  FileConnection& plot = files.connect("b.txt");
  results.putRecord("results\r\n");
  plot.putRecord("plot\r\n");
  files.finishAll();
  EXPECT_EQ(fileContent("a.txt"), "results\r\n");
  EXPECT_EQ(fileContent("b.txt"), "plot\r\n");
}

TEST_F(FileConnectionsTest, OutputOverSeveralBuffersReachesTheFileWhole) {
  writeFile("plot.txt", std::string(300000, '#'));
  std::ostringstream expected;
  FileConnections files;
  FileConnection& plot = files.connect("plot.txt");
  for (int rank = 1; rank <= 10000; ++rank) {
    const std::string record = std::to_string(rank) + ",12.5,3.25\r\n";
    plot.putRecord(record);
    expected << record;
  }
  plot.putRecord(std::string(20000, 'l'));  // longer than a whole buffer
  expected << std::string(20000, 'l');
  files.finishAll();
  EXPECT_EQ(fileContent("plot.txt"), expected.str());
}

}  // namespace
}  // namespace talvik
