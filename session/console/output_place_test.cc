#include "session/console/output_place.h"

#include <filesystem>
#include <string>

#include "gtest/gtest.h"
#include "session/console/system_file_testutil.h"

namespace talvik {
namespace {

namespace fs = std::filesystem;

class OutputPlaceTest : public ScratchFolderTest {
 protected:
  OutputPlaceTest() : ScratchFolderTest("talvik_place_") {
    fs::create_directories(path("a/b"));
    write("a/data.csv", "1\n");
  }
  std::string keyOf(const std::string& name) const {
    return placeOf(path(name)).key();
  }
};

TEST_F(OutputPlaceTest, AnExistingFileByItsIdentityANewOneByItsFolder) {
  const FilePlace data = placeOf(path("a/data.csv"));
  EXPECT_TRUE(data.existing);
  EXPECT_TRUE(data.isRegular);
  EXPECT_EQ(data.rest, "");
  EXPECT_EQ(keyOf("a/b/../data.csv"), data.key());
  EXPECT_EQ(keyOf("a/./data.csv"), data.key());
  EXPECT_NE(keyOf("a/other.csv"), data.key());
  const FilePlace fresh = placeOf(path("a/new.csv"));
  EXPECT_FALSE(fresh.existing);
  EXPECT_EQ(fresh.rest, "new.csv");
  EXPECT_EQ(keyOf("a/b/../new.csv"), fresh.key());
  EXPECT_TRUE(placeOf(path("a")).isFolder);
}

TEST_F(OutputPlaceTest, MissingFoldersAreWorkedOutFromTheDeepestExistingOne) {
  EXPECT_EQ(placeOf(path("a/x/y/new.csv")).rest, "x/y/new.csv");
  EXPECT_EQ(keyOf("a/x/y/new.csv"), keyOf("a/b/../x/./y/new.csv"));
  EXPECT_EQ(keyOf("a/x/../new.csv"), keyOf("a/new.csv"));
  EXPECT_EQ(keyOf("a/b/x/../../new.csv"), keyOf("a/new.csv"));
}

TEST_F(OutputPlaceTest, NamesDifferingInCaseAreOneFileWhereNamesIgnoreCase) {
  EXPECT_EQ(keyOf("a/NEW.csv") == keyOf("a/new.csv"), namesIgnoreCase());
}

TEST_F(OutputPlaceTest, StandardOutputIsItsOwnPlace) {
  EXPECT_TRUE(standardOutputPlace().isStandardOutput);
  EXPECT_EQ(standardOutputPlace().key(), "standard output");
  EXPECT_NE(keyOf("-"), "standard output");
}

#ifndef _WIN32
TEST_F(OutputPlaceTest, LinksAreFollowedToTheFileTheyLeadTo) {
  fs::create_symlink(".", path("here"));
  fs::create_symlink("a/b", path("down"));
  fs::create_symlink("a/data.csv", path("data-link.csv"));
  fs::create_symlink("a/made.csv", path("dangling.csv"));
  fs::create_symlink("loop", path("loop"));
  EXPECT_EQ(keyOf("here/here/a/data.csv"), keyOf("a/data.csv"));
  EXPECT_EQ(keyOf("down/../data.csv"), keyOf("a/data.csv"));
  EXPECT_EQ(keyOf("down/../new.csv"), keyOf("a/new.csv"));
  EXPECT_EQ(keyOf("data-link.csv"), keyOf("a/data.csv"));
  EXPECT_EQ(keyOf("dangling.csv"), keyOf("a/made.csv"));
  EXPECT_EQ(followLinks(path("dangling.csv")),
            (scratch_.path() / "a/made.csv").string());
  EXPECT_EQ(followLinks(path("a/data.csv")), path("a/data.csv"));
  EXPECT_FALSE(placeOf(path("loop")).existing);
  EXPECT_FALSE(placeOf("/dev/null").isRegular);
  EXPECT_TRUE(placeOf("/dev/null").existing);
}
#endif

TEST_F(OutputPlaceTest, SameFileUnderAnotherNameButNotAMissingOne) {
  write("a.csv", "a");
  write("b.csv", "a");
  EXPECT_TRUE(
      isSameFile(path("a.csv"), (scratch_.path() / "." / "a.csv").string()));
  EXPECT_FALSE(isSameFile(path("a.csv"), path("b.csv")));
  EXPECT_FALSE(isSameFile(path("none.csv"), path("none.csv")));
  EXPECT_FALSE(isSameFile(path("."), path(".")));
}

}  // namespace
}  // namespace talvik
