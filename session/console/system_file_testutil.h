#ifndef TALVIK_SESSION_CONSOLE_SYSTEM_FILE_TESTUTIL_H_
#define TALVIK_SESSION_CONSOLE_SYSTEM_FILE_TESTUTIL_H_

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <set>
#include <string>
#include <system_error>

#include "gtest/gtest.h"
#include "session/console/system_file.h"

namespace talvik {

// Windows error codes (winerror.h) of the failures that tests provoke.
inline constexpr int kWindowsFileNotFound = 2;  // ERROR_FILE_NOT_FOUND
inline constexpr int kWindowsPathNotFound = 3;  // ERROR_PATH_NOT_FOUND
inline constexpr int kWindowsAccessDenied = 5;  // ERROR_ACCESS_DENIED

// The system's own words for a failure that POSIX reports as `posixError`
// (an errno value) and Windows as `windowsError`.
inline std::string systemMessage([[maybe_unused]] int posixError,
                                 [[maybe_unused]] int windowsError) {
#ifdef _WIN32
  return std::error_code(windowsError, systemErrorCategory()).message();
#else
  return std::error_code(posixError, systemErrorCategory()).message();
#endif
}

// Whether the read-only file `path` refuses to be opened for writing: not for
// the superuser on POSIX, nor under wine run by the superuser.
inline bool refusesWriting(const std::string& path) {
  std::FILE* file = std::fopen(path.c_str(), "ab");
  if (file != nullptr) std::fclose(file);
  return file == nullptr;
}

// A fresh, empty folder under the test's temporary folder, removed with all
// it holds at the end. Test programs running at once each get their own.
class ScratchFolder {
 public:
  explicit ScratchFolder(const std::string& prefix) {
    std::random_device random;
    do {
      path_ = std::filesystem::path(testing::TempDir()) /
              (prefix + std::to_string(random()));
    } while (!std::filesystem::create_directory(path_));
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  ~ScratchFolder() {
    // Windows deletes no read-only file.
    std::error_code ignored;
    for (const auto& entry :
         std::filesystem::recursive_directory_iterator(path_, ignored)) {
      std::filesystem::permissions(entry.path(),
                                   std::filesystem::perms::owner_write,
                                   std::filesystem::perm_options::add |
                                       std::filesystem::perm_options::nofollow,
                                   ignored);
    }
    std::filesystem::remove_all(path_, ignored);
  }

  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

// A test that works with whole files in a scratch folder of its own.
class ScratchFolderTest : public testing::Test {
 protected:
  explicit ScratchFolderTest(const std::string& prefix) : scratch_(prefix) {}

  std::string path(const std::string& name) const {
    return (scratch_.path() / name).string();
  }
  void write(const std::string& name, const std::string& content) const {
    std::ofstream(path(name), std::ios::binary) << content;
  }
  std::string read(const std::string& name) const {
    std::ifstream in(path(name), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  // The names in the folder.
  std::set<std::string> entries() const {
    std::set<std::string> names;
    for (const auto& entry :
         std::filesystem::directory_iterator(scratch_.path())) {
      names.insert(entry.path().filename().string());
    }
    return names;
  }

  ScratchFolder scratch_;
};

}  // namespace talvik

#endif  // TALVIK_SESSION_CONSOLE_SYSTEM_FILE_TESTUTIL_H_
