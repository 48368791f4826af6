#include "plot/plot_command.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "plot/plotting_rows.h"
#include "plot/svg_graph.h"
#include "session/console/system_file_testutil.h"

namespace talvik {
namespace {

namespace fs = std::filesystem;

constexpr char kGoodFile[] =
    "RANK,SETSIZE,LOGNORM,SIZEUP,SIZELO\r\n"
    "   1,       100.0000,       100.0000,       100.0000,        50.0000\r\n"
    "   2,        40.0000,        50.0000,        50.0000,        40.0000\r\n";

constexpr char kBadFile[] =
    "RANK,SETSIZE,LOGNORM,SIZEUP,SIZELO\r\n"
    "   1,       100.0000,       100.0000,       100.0000,        50.0000\r\n"
    "   3,        40.0000,        50.0000,        50.0000,        40.0000\r\n";

// Each test works in a folder of its own.
class PlotCommand : public ScratchFolderTest {
 protected:
  PlotCommand() : ScratchFolderTest("plot_command_") {}

  int run(const std::vector<std::string>& arguments) {
    out_.str("");
    errors_.str("");
    return runPlotCommand(arguments, out_, errors_);
  }

  std::ostringstream out_;
  std::ostringstream errors_;
};

std::string pictureOf(const std::string& text, const std::string& name) {
  return drawRankSizeGraph(readPlottingRows(text, name),
                           {"Rank-size graph of " + name});
}

TEST_F(PlotCommand, DashPutsThePictureAloneOnStandardOutput) {
  write("sites.csv", kGoodFile);
  EXPECT_EQ(run({path("sites.csv"), "-"}), 0);
  EXPECT_EQ(out_.str(), pictureOf(kGoodFile, "sites.csv"));
  EXPECT_EQ(errors_.str(), "");
  EXPECT_EQ(entries(), std::set<std::string>{"sites.csv"});
}

TEST_F(PlotCommand, WritesThePictureBesideThePlottingFileByDefault) {
  write("sites.csv", kGoodFile);
  EXPECT_EQ(run({path("sites.csv")}), 0);
  EXPECT_EQ(read("sites.svg"), pictureOf(kGoodFile, "sites.csv"));
  EXPECT_EQ(out_.str(), "Wrote " + path("sites.svg") + " (2 ranks)\n");
  EXPECT_EQ(errors_.str(), "");
  EXPECT_EQ(entries(), (std::set<std::string>{"sites.csv", "sites.svg"}));
}

TEST_F(PlotCommand, WritesTheNamedOutputAndReplacesAnOldOneWhole) {
  write("plot", kGoodFile);
  write("graph.svg", std::string(100000, 'x'));
  EXPECT_EQ(run({path("plot"), path("graph.svg")}), 0);
  EXPECT_EQ(read("graph.svg"), pictureOf(kGoodFile, "plot"));
  EXPECT_EQ(entries(), (std::set<std::string>{"plot", "graph.svg"}));
}

TEST_F(PlotCommand, RefusesABadRowNamingFileAndLineAndWritesNothing) {
  write("bad.csv", kBadFile);
  write("bad.svg", "old picture");
  EXPECT_EQ(run({path("bad.csv")}), 1);
  EXPECT_EQ(errors_.str(), "talvik-plot: " + path("bad.csv") +
                               ":3: RANK is 3, expected 2 (reading the "
                               "plotting file)\n");
  EXPECT_EQ(out_.str(), "");
  EXPECT_EQ(read("bad.svg"), "old picture");
  EXPECT_EQ(entries(), (std::set<std::string>{"bad.csv", "bad.svg"}));
}

TEST_F(PlotCommand, RefusesAMissingPlottingFile) {
  EXPECT_EQ(run({path("none.csv")}), 1);
  EXPECT_EQ(errors_.str(), "talvik-plot: " + path("none.csv") + ": " +
                               systemMessage(ENOENT, kWindowsFileNotFound) +
                               " (opening the plotting file)\n");
  EXPECT_TRUE(entries().empty());
}

TEST_F(PlotCommand, RefusesToOverwriteThePlottingFileItself) {
  write("plot.svg", kGoodFile);
  const std::string sameFile = (scratch_.path() / "." / "plot.svg").string();
  for (const std::vector<std::string>& arguments :
       {std::vector<std::string>{path("plot.svg")},
        std::vector<std::string>{path("plot.svg"), sameFile}}) {
    EXPECT_EQ(run(arguments), 1);
    EXPECT_EQ(errors_.str(),
              "talvik-plot: " + arguments.back() +
                  ": is the plotting file itself (refusing to overwrite it "
                  "with the picture)\n");
    EXPECT_EQ(read("plot.svg"), kGoodFile);
    EXPECT_EQ(entries(), (std::set<std::string>{"plot.svg"}));
  }
}

TEST_F(PlotCommand, LeavesNoTemporaryFileWhenThePictureCannotTakeItsPlace) {
  write("sites.csv", kGoodFile);
  fs::create_directory(path("sites.svg"));
  write("sites.svg/kept", "kept");
  EXPECT_EQ(run({path("sites.csv")}), 1);
  EXPECT_EQ(errors_.str(), "talvik-plot: " + path("sites.svg") + ": " +
                               systemMessage(EISDIR, kWindowsAccessDenied) +
                               " (putting the picture in place)\n");
  EXPECT_EQ(entries(), (std::set<std::string>{"sites.csv", "sites.svg"}));
  EXPECT_EQ(read("sites.svg/kept"), "kept");
}

TEST_F(PlotCommand, RefusesAnOutputInAMissingFolder) {
  write("sites.csv", kGoodFile);
  EXPECT_EQ(run({path("sites.csv"), path("missing/sites.svg")}), 1);
  EXPECT_EQ(errors_.str(), "talvik-plot: " + path("missing/sites.svg") + ": " +
                               systemMessage(ENOENT, kWindowsPathNotFound) +
                               " (creating the picture)\n");
  EXPECT_EQ(entries(), (std::set<std::string>{"sites.csv"}));
}

TEST_F(PlotCommand, RefusesACommandLineItCannotFollowWithExitStatus2) {
  struct Case {
    std::vector<std::string> arguments;
    std::string message;
  };
  const Case cases[] = {
      {{}, "no plotting file named"},
      {{"a.csv", "b.svg", "c"},
       "one plotting file and one picture at most, found \"c\" too"},
      {{""}, "an empty file name"},
      {{"a.csv", ""}, "an empty file name"},
      {{"--colour", "a.csv"}, "unknown option \"--colour\""},
      {{"-x=1", "a.csv"}, "unknown option \"-x\""},
      {{"a.csv", "--level"}, "--level: a value is missing"},
      {{"--level", "0", "a.csv"},
       "--level: \"0\" is not a whole percentage from 1 to 99"},
      {{"--level=100", "a.csv"},
       "--level: \"100\" is not a whole percentage from 1 to 99"},
      {{"--level", "9x", "a.csv"},
       "--level: \"9x\" is not a whole percentage from 1 to 99"},
      {{"--level", "+9", "a.csv"},
       "--level: \"+9\" is not a whole percentage from 1 to 99"},
      {{"--level", "0100", "a.csv"},
       "--level: \"0100\" is not a whole percentage from 1 to 99"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(run(c.arguments), 2);
    EXPECT_EQ(errors_.str(),
              "talvik-plot: " + c.message +
                  "\nTry 'talvik-plot --help' for more information.\n");
    EXPECT_EQ(out_.str(), "");
  }
  EXPECT_TRUE(entries().empty());
}

TEST_F(PlotCommand, ShowsTheHelpAndTheVersionOnStandardOutput) {
  EXPECT_EQ(run({"a.csv", "--help", "--colour"}), 0);
  EXPECT_TRUE(
      out_.str().starts_with("usage: talvik-plot [OPTIONS] PLOTFILE "
                             "[OUTPUT.svg]\n"))
      << out_.str();
  EXPECT_NE(out_.str().find("--level P"), std::string::npos);
  EXPECT_EQ(errors_.str(), "");
  EXPECT_EQ(run({"-h"}), 0);
  EXPECT_EQ(run({"--version"}), 0);
  EXPECT_EQ(out_.str(), "talvik-plot " TALVIK_VERSION "\n");
  EXPECT_EQ(errors_.str(), "");
}

TEST_F(PlotCommand, TakesTheLevelAndTitleFromOptionsAnywhereOnTheLine) {
  write("sites.csv", kGoodFile);
  const std::string expected = drawRankSizeGraph(
      readPlottingRows(kGoodFile, "sites.csv"), {"Valley sites & more", 90});
  EXPECT_EQ(run({"--level", "90", path("sites.csv"), "--title",
                 "Valley sites & more", path("a.svg")}),
            0);
  EXPECT_EQ(read("a.svg"), expected);
  EXPECT_EQ(run({"--title=Valley sites & more", "--level=90", "--",
                 path("sites.csv"), path("b.svg")}),
            0);
  EXPECT_EQ(read("b.svg"), expected);
  // Leading zeros as the dialogue's level field takes them.
  EXPECT_EQ(run({"--level=090", "--title=Valley sites & more",
                 path("sites.csv"), path("c.svg")}),
            0);
  EXPECT_EQ(read("c.svg"), expected);
}

TEST_F(PlotCommand, NamesTheUnitOnTheSizeAxis) {
  write("sites.csv", kGoodFile);
  EXPECT_EQ(run({"--unit=ha", path("sites.csv"), path("a.svg")}), 0);
  EXPECT_EQ(read("a.svg"),
            drawRankSizeGraph(readPlottingRows(kGoodFile, "sites.csv"),
                              {"Rank-size graph of sites.csv", std::nullopt,
                               std::nullopt, "ha"}));
}

}  // namespace
}  // namespace talvik
