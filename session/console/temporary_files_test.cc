#include "session/console/temporary_files.h"

#include <csignal>
#include <filesystem>
#include <set>
#include <string>

#include "gtest/gtest.h"
#include "session/console/system_file_testutil.h"

namespace talvik {
namespace {

class TemporaryFilesTest : public ScratchFolderTest {
 protected:
  TemporaryFilesTest() : ScratchFolderTest("talvik_temporary_") {}
};

TEST_F(TemporaryFilesTest, ATicketEachUntilTheTableIsFullOrTheNameTooLong) {
  int tickets[kMostTemporaries];
  {
    TemporaryCreation creation;
    for (int& ticket : tickets) {
      ticket = creation.remember(path("t"));
      EXPECT_GE(ticket, 0);
    }
    EXPECT_EQ(creation.remember(path("one more")), -1);
  }
  for (const int ticket : tickets) forgetTemporary(ticket);
  TemporaryCreation creation;
  EXPECT_EQ(creation.remember(std::string(kLongestTemporaryName + 1, 'n')), -1);
  const int ticket = creation.remember(path("t"));
  EXPECT_GE(ticket, 0);
  forgetTemporary(ticket);
  forgetTemporary(-1);
}

// Windows death tests end no process by a signal.
#ifndef _WIN32
TEST_F(TemporaryFilesTest, AnInterruptRemovesTheRememberedFilesOnly) {
  write("remembered.tmp", "half");
  write("forgotten.tmp", "renamed into place");
  const std::string remembered = path("remembered.tmp");
  const std::string forgotten = path("forgotten.tmp");
  EXPECT_EXIT(
      {
        TemporaryCreation creation;
        creation.remember(remembered);
        forgetTemporary(creation.remember(forgotten));
        std::raise(SIGINT);
      },
      testing::KilledBySignal(SIGINT), "");
  EXPECT_EQ(entries(), std::set<std::string>{"forgotten.tmp"});
}
#endif

}  // namespace
}  // namespace talvik
