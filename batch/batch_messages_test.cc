#include "batch/batch_messages.h"

#include <gtest/gtest.h>

#include <string>

#include "session/console/shown_text.h"

namespace talvik {
namespace {

TEST(BatchMessages, FileMessagesNameTheLineUnlessAboutTheWholeFile) {
  EXPECT_EQ(warningLine("a b.txt", {12, "text after the value, not read"}),
            "talvik-batch: a b.txt:12: warning: text after the value, not "
            "read\n");
  EXPECT_EQ(errorLine("a.txt", {0, "no sizes in the file"}),
            "talvik-batch: a.txt: error: no sizes in the file\n");
  EXPECT_EQ(usageErrorLine("no FILE given"), "talvik-batch: no FILE given\n");
}

TEST(BatchMessages, FileErrorsNameTheStepTheSystemRefused) {
  const struct {
    FileOperation operation;
    std::string step;
  } cases[] = {
      {FileOperation::kCreating, "cannot create"},
      {FileOperation::kWriting, "cannot write"},
      {FileOperation::kPuttingInPlace, "cannot put in place"},
  };
  for (const auto& c : cases) {
    const FileError error{"out/t.csv", "No space left on device", c.operation};
    EXPECT_EQ(fileErrorLine(error), "talvik-batch: out/t.csv: error: " +
                                        c.step + ": No space left on device\n");
    EXPECT_EQ(fileErrorCell(error),
              "out/t.csv: " + c.step + ": No space left on device");
  }
}

TEST(BatchMessages, LinesShowOutsideTextEscapedAndLongNamesCut) {
  EXPECT_EQ(warningLine("e\x1B[31mvil\nname.txt", {2, "word \"\x07\""}),
            "talvik-batch: e\\x1B[31mvil\\x0Aname.txt:2: warning: word "
            "\"\\x07\"\n");
  EXPECT_EQ(usageErrorLine("--separator \"\r\": refused"),
            "talvik-batch: --separator \"\\x0D\": refused\n");
  const std::string longName(5047, 'd');
  const std::string shownName = std::string(kShownNameBytes, 'd') + "...";
  EXPECT_EQ(errorLine(longName, {0, "cannot open the file: too long"}),
            "talvik-batch: " + shownName +
                ": error: cannot open the file: too long\n");
  const FileError error{"out\n" + longName, "File name too long",
                        FileOperation::kCreating};
  EXPECT_EQ(fileErrorLine(error),
            "talvik-batch: out\\x0A" + shownName.substr(4) +
                ": error: cannot create: File name too long\n");
  // The error column is data: the table quotes it as it is.
  EXPECT_EQ(fileErrorCell(error),
            "out\n" + longName + ": cannot create: File name too long");
}

TEST(BatchMessages, TheErrorCellIsTheFirstErrorAndHowManyMore) {
  InputSizes input;
  input.errors = {{3, "a quoted cell is not closed"}};
  EXPECT_EQ(errorCell(input), "line 3: a quoted cell is not closed");
  input.errors = {{0, "cannot open the file: gone"}, {4, "x"}, {5, "y"}};
  EXPECT_EQ(errorCell(input), "cannot open the file: gone (and 2 more)");
  input.unkeptErrors = 1000;
  EXPECT_EQ(errorCell(input), "cannot open the file: gone (and 1002 more)");
}

TEST(BatchMessages, MessagesNotKeptAreCountedOnOneLine) {
  EXPECT_EQ(moreWarningsLine("zeros.txt", 9999980),
            "talvik-batch: zeros.txt: warning: and 9999980 more warnings\n");
  EXPECT_EQ(moreErrorsLine("zeros.txt", 1),
            "talvik-batch: zeros.txt: error: and 1 more error\n");
}

}  // namespace
}  // namespace talvik
