#include "session/fault_report.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <sstream>
#include <string>
#include <system_error>

#include "gtest/gtest.h"
#include "session/console/system_file_testutil.h"
#include "session/file_connections.h"

namespace talvik {
namespace {

std::string fileContent(const std::string& name) {
  std::ifstream file(name, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file),
                     std::istreambuf_iterator<char>());
}

// Notes what a file holds when the first character of the report arrives.
class SnapshotBuffer : public std::stringbuf {
 public:
  explicit SnapshotBuffer(std::string path) : path_(std::move(path)) {}
  const std::optional<std::string>& snapshot() const { return snapshot_; }

 protected:
  std::streamsize xsputn(const char* text, std::streamsize count) override {
    takeSnapshot();
    return std::stringbuf::xsputn(text, count);
  }
  int_type overflow(int_type c) override {
    takeSnapshot();
    return std::stringbuf::overflow(c);
  }

 private:
  void takeSnapshot() {
    if (!snapshot_) snapshot_ = fileContent(path_);
  }

  std::string path_;
  std::optional<std::string> snapshot_;
};

class FaultReportTest : public testing::Test {
 protected:
  std::string scratchFile(const std::string& name) const {
    return (scratch_.path() / name).string();
  }

  ScratchFolder scratch_{"talvik_report_"};
};

TEST_F(FaultReportTest, WritesThreeLinesAndGivesExitStatusMinusOne) {
  FileConnections files;
  std::ostringstream errors;
  const int status = reportFault(endOfInputFault(), files, errors);
  EXPECT_EQ(status, -1);
  EXPECT_EQ(errors.str(),
            "? Run-time Error:\n"
            "? Attempt to read past end of file\n"
            "? Reading from the keyboard\n");
}

TEST_F(FaultReportTest, SystemFaultCarriesTheSystemsMessage) {
  FileConnections files;
  std::ostringstream errors;
  reportFault(systemFault(std::error_code(ENOENT, std::generic_category()),
                          "Connecting file: nodir/a.txt"),
              files, errors);
  EXPECT_EQ(errors.str(), std::string("? System Error:\n? ") +
                              std::strerror(ENOENT) +
                              "\n? Connecting file: nodir/a.txt\n");
}

TEST_F(FaultReportTest, ConnectedFilesAreFinishedBeforeTheReport) {
  const std::string results = scratchFile("results.txt");
  FileConnections files;
  files.connect(results).putRecord("A = 0.125\r\n");
  SnapshotBuffer report(results);
  std::ostream errors(&report);
  reportFault(runTimeFault("Illegal character in numeric input",
                           "Reading from the keyboard"),
              files, errors);
  EXPECT_EQ(report.snapshot(), std::optional<std::string>("A = 0.125\r\n"));
  EXPECT_EQ(report.str(),
            "? Run-time Error:\n"
            "? Illegal character in numeric input\n"
            "? Reading from the keyboard\n");
}

TEST_F(FaultReportTest, FaultWhileFinishingIsReportedAfterTheOriginal) {
  const std::string full = scratchFile("full.txt");
  if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
  std::filesystem::create_symlink("/dev/full", full);
  FileConnections files;
  files.connect(full).putRecord("A = 0.125\r\n");
  std::ostringstream errors;
  EXPECT_EQ(reportFault(runTimeFault("Attempt to read past end of file",
                                     "Reading from the keyboard"),
                        files, errors),
            -1);
  EXPECT_EQ(errors.str(), std::string("? Run-time Error:\n"
                                      "? Attempt to read past end of file\n"
                                      "? Reading from the keyboard\n"
                                      "? System Error:\n? ") +
                              std::strerror(ENOSPC) +
                              "\n? Writing to file: " + full + "\n");
}

TEST_F(FaultReportTest, FaultFromFinishingItselfIsReportedOnce) {
  const std::string full = scratchFile("full.txt");
  if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
  std::filesystem::create_symlink("/dev/full", full);
  FileConnections files;
  files.connect(full).putRecord("A = 0.125\r\n");
  std::optional<Fault> finishing;
  try {
    files.finishAll();
  } catch (const Fault& fault) {
    finishing = fault;
  }
  ASSERT_TRUE(finishing);
  std::ostringstream errors;
  reportFault(*finishing, files, errors);
  EXPECT_EQ(errors.str(), std::string("? System Error:\n? ") +
                              std::strerror(ENOSPC) +
                              "\n? Writing to file: " + full + "\n");
}

}  // namespace
}  // namespace talvik
