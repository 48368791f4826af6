// A property of every run: whatever the outputs, symbolic links and folders,
// no input is changed. Random runs of talvik-batch and talvik-plot in scratch
// folders either are refused or leave every size file's, or the plotting
// file's, bytes as they were, and no temporary file.

#include <cstddef>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "batch/batch_command.h"
#include "gtest/gtest.h"
#include "plot/plot_command.h"
#include "session/console/system_file_testutil.h"

namespace talvik {
namespace {

namespace fs = std::filesystem;

constexpr int kRuns = 150;

constexpr char kPlottingFile[] =
    "RANK,SETSIZE,LOGNORM,SIZEUP,SIZELO\r\n"
    "   1,       100.0000,       100.0000,       100.0000,        50.0000\r\n"
    "   2,        40.0000,        50.0000,        50.0000,        40.0000\r\n";
constexpr int kUsageError = 2;

std::string contentOf(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// The regular files under `folder`, links not followed, with their bytes.
std::map<std::string, std::string> filesUnder(const fs::path& folder) {
  std::map<std::string, std::string> files;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    if (!entry.is_symlink() && entry.is_regular_file()) {
      files[fs::relative(entry.path(), folder).generic_string()] =
          contentOf(entry.path());
    }
  }
  return files;
}

// One random scene: folders, size files, links among them, and the names a
// command line may use for any of them or for new files.
class Scene {
 public:
  // With `plotting`, the files are plotting files instead of size files.
  Scene(const fs::path& root, std::mt19937& random, bool plotting = false)
      : random_(random) {
    fs::create_directories(root / "f0/g");
    fs::create_directories(root / "f1");
    const char* const sizeFiles[] = {"s0.txt", "f0/s1.txt", "f0/g/s2.txt"};
    for (const char* name : sizeFiles) {
      std::ofstream file(root / name, std::ios::binary);
      if (plotting) {
        file << kPlottingFile;
      } else {
        file << 100 + pick(900) << "\n50\n" << 1 + pick(40) << "\n";
      }
      inputs_.push_back(name);
    }
    names_ = {".",
              "f0",
              "f1",
              "f0/g",
              "s0",
              "s0.txt",
              "s0.csv",
              "s0.svg",
              "f0/s1.txt",
              "f0/s1.csv",
              "new.csv",
              "f1/new.svg",
              "f0/../s0.txt",
              "f0/g/../s1.txt",
              "f1/x/../../s0.txt"};
#ifndef _WIN32
    const char* const folders[] = {".", "f0", "f1", "f0/g"};
    const char* const targets[] = {
        ".",      "..",        "f0",          "g",  "s0.txt", "s1.txt",
        "s2.txt", "../s0.txt", "missing.csv", "l0", "l1"};
    const int links = 1 + pick(4);
    for (int i = 0; i < links; ++i) {
      const std::string folder = folders[pick(4)];
      const std::string name = folder + "/l" + std::to_string(i);
      std::error_code ignored;
      fs::create_symlink(targets[pick(std::size(targets))], root / name,
                         ignored);
      for (const char* suffix : {"", "/s0.txt", "/s1.txt", "/s2.txt", "/s0.csv",
                                 "/../s0.txt", "/new.csv"}) {
        names_.push_back(name + suffix);
        inputs_.push_back(name + suffix);
      }
    }
    if (pick(3) == 0) fs::create_hard_link(root / "s0.txt", root / "f1/s0.txt");
#endif
    names_.insert(names_.end(), inputs_.begin(), inputs_.end());
    // The names that lead to a file, to be picked as often as the others.
    for (const std::string& name : names_) {
      std::error_code ignored;
      if (fs::is_regular_file(root / name, ignored)) readable_.push_back(name);
    }
  }

  // A command line of one to three size files and some outputs; `files`
  // gets the size files' names.
  std::vector<std::string> arguments(std::vector<std::string>& files) {
    std::vector<std::string> arguments;
    const auto option = [&](const char* name) {
      if (pick(2) == 0) return;
      arguments.push_back(name);
      arguments.push_back(anyName(names_));
    };
    option("-o");
    option("--chart");
    option("-p");
    if (pick(2) == 0) arguments.insert(arguments.end(), {"-s", "1..2"});
    const int count = 1 + pick(3);
    for (int i = 0; i < count; ++i) {
      files.push_back(anyName(inputs_));
      arguments.push_back(files.back());
    }
    return arguments;
  }

  // A talvik-plot command line: a plotting file and, mostly, a picture.
  std::vector<std::string> plotArguments() {
    std::vector<std::string> arguments = {anyName(readable_)};
    if (pick(4) != 0) arguments.push_back(anyName(names_));
    return arguments;
  }

 private:
  // One of `names`, or half the time one that leads to a file.
  const std::string& anyName(const std::vector<std::string>& names) {
    if (pick(2) == 0) return readable_[pick(readable_.size())];
    return names[pick(names.size())];
  }

  unsigned pick(std::size_t count) {
    return std::uniform_int_distribution<unsigned>(
        0, static_cast<unsigned>(count) - 1)(random_);
  }

  std::mt19937& random_;
  std::vector<std::string> names_;
  std::vector<std::string> inputs_;
  std::vector<std::string> readable_;
};

class CurrentFolder {
 public:
  explicit CurrentFolder(const fs::path& folder)
      : previous_(fs::current_path()) {
    fs::current_path(folder);
  }
  CurrentFolder(const CurrentFolder&) = delete;
  CurrentFolder& operator=(const CurrentFolder&) = delete;
  ~CurrentFolder() { fs::current_path(previous_); }

 private:
  fs::path previous_;
};

TEST(OutputSafety, NoRunChangesASizeFileOrLeavesATemporaryFile) {
  ScratchFolder scratch("talvik_safety_");
  std::mt19937 random(20261208);
  for (int run = 0; run < kRuns; ++run) {
    const fs::path root = scratch.path() / std::to_string(run);
    fs::create_directory(root);
    Scene scene(root, random);
    std::vector<std::string> files;
    const std::vector<std::string> arguments = scene.arguments(files);
    std::string line;
    for (const std::string& argument : arguments) line += " " + argument;
    const std::map<std::string, std::string> before = filesUnder(root);
    int status;
    std::ostringstream out;
    std::ostringstream errors;
    {
      const CurrentFolder current(root);
      status = runBatchCommand(arguments, out, errors, false);
    }
    const std::map<std::string, std::string> after = filesUnder(root);
    for (const std::string& file : files) {
      std::error_code missing;
      const fs::path real = fs::canonical(root / file, missing);
      if (missing || !fs::is_regular_file(real)) continue;
      const std::string name = fs::relative(real, root).generic_string();
      if (!before.contains(name)) continue;
      const auto found = after.find(name);
      ASSERT_TRUE(found != after.end() && found->second == before.at(name))
          << "talvik-batch" << line << " changed " << name << "\n"
          << errors.str();
    }
    if (status == kUsageError) {
      EXPECT_EQ(after, before) << "talvik-batch" << line << " refused, but "
                               << "wrote\n"
                               << errors.str();
    }
    for (const auto& [name, content] : after) {
      EXPECT_EQ(name.find("tmp"), std::string::npos)
          << "talvik-batch" << line << " left " << name;
    }
  }
}

TEST(OutputSafety, NoPictureReplacesItsPlottingFileOrLeavesATemporaryFile) {
  ScratchFolder scratch("talvik_safety_plot_");
  std::mt19937 random(20261209);
  for (int run = 0; run < kRuns; ++run) {
    const fs::path root = scratch.path() / std::to_string(run);
    fs::create_directory(root);
    Scene scene(root, random, true);
    const std::vector<std::string> arguments = scene.plotArguments();
    const std::map<std::string, std::string> before = filesUnder(root);
    std::ostringstream out;
    std::ostringstream errors;
    {
      const CurrentFolder current(root);
      runPlotCommand(arguments, out, errors);
    }
    const std::map<std::string, std::string> after = filesUnder(root);
    const std::string line = "talvik-plot " + arguments[0] +
                             (arguments.size() > 1 ? " " + arguments[1] : "");
    std::error_code missing;
    const fs::path real = fs::canonical(root / arguments[0], missing);
    if (!missing && fs::is_regular_file(real)) {
      const std::string name = fs::relative(real, root).generic_string();
      if (before.contains(name)) {
        ASSERT_EQ(after.at(name), before.at(name))
            << line << " changed " << name << "\n"
            << errors.str();
      }
    }
    for (const auto& [name, content] : after) {
      EXPECT_EQ(name.find("tmp"), std::string::npos)
          << line << " left " << name;
    }
  }
}

}  // namespace
}  // namespace talvik
