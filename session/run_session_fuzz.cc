// Fuzzes a whole session: any typed answers and any size file.
//
// Input: a flags byte (bit 0: the keyboard starts with the line "sizes", the
// size file's name), two bytes giving the keyboard's length (little-endian,
// cut to what follows), the keyboard's bytes, and the size file's bytes.
// Each run works in a fresh scratch folder holding the size file as "sizes".
// Typed slashes become underscores and answers holding ".." are not run, so
// that no typed name reaches outside the scratch folder.

#include <dirent.h>
#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <string_view>

#include "session/console/console_reader.h"
#include "session/console/fault.h"
#include "session/fault_report.h"
#include "session/run_session.h"

namespace talvik {
namespace {

constexpr char kSizeFileName[] = "sizes";

void check(bool holds, const char* what) {
  if (holds) return;
  std::fprintf(stderr, "run_session_fuzz: %s\n", what);
  std::abort();
}

std::set<std::string> entriesOf(const std::string& folder) {
  std::set<std::string> entries;
  DIR* directory = opendir(folder.c_str());
  check(directory != nullptr, "cannot list a folder");
  while (const dirent* entry = readdir(directory)) {
    const std::string name = entry->d_name;
    if (name != "." && name != "..") entries.insert(name);
  }
  closedir(directory);
  return entries;
}

std::string contentOf(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), {});
}

void writeFile(const std::string& name, std::string_view bytes) {
  std::ofstream file(name, std::ios::binary | std::ios::trunc);
  file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  check(file.good(), "cannot write the size file");
}

// The two screen records that show a typed name, as it was typed (A12).
constexpr std::string_view kNameEchoes[] = {
    " Results have been written to the file:",
    " Data for plotting have been written to the file:"};

bool isPrintable(char c) { return c >= ' ' && c <= '~'; }

// Records of printable bytes, each ended by CR LF; an empty text holds none.
// Where `echoesNames`, the name field of a record that shows a typed name may
// hold any byte the keyboard delivers in a field (CR and LF never).
bool holdsOnlyRecords(std::string_view text, bool echoesNames) {
  if (!text.empty() && !text.ends_with("\r\n")) return false;
  while (!text.empty()) {
    const std::size_t end = text.find("\r\n");
    std::string_view record = text.substr(0, end);
    text.remove_prefix(end + 2);
    for (std::string_view echo : kNameEchoes) {
      if (echoesNames && record.size() == echo.size() + 12 &&
          record.starts_with(echo)) {
        const std::string_view name = record.substr(echo.size());
        if (name.find_first_of("\r\n") != std::string_view::npos) return false;
        record = echo;
      }
    }
    if (!std::all_of(record.begin(), record.end(), isPrintable)) return false;
  }
  return true;
}

// A fault report: whole lines, each starting with "? ", of printable text (a
// control byte typed into a name is shown as \xNN, never written as it is).
bool isFaultReport(std::string_view report) {
  if (report.empty() || !report.ends_with('\n')) return false;
  for (const char c : report) {
    const auto byte = static_cast<unsigned char>(c);
    if ((byte < 32 && c != '\n') || byte == 127) return false;
  }
  while (!report.empty()) {
    if (!report.starts_with("? ")) return false;
    report.remove_prefix(report.find('\n') + 1);
  }
  return true;
}

// The name the first answer connects as the size file, as far as it can be
// told without a file system: the 12-column field without outer blanks.
std::optional<std::string> sizeFileNameTyped(const std::string& keyboard) {
  std::istringstream typed(keyboard);
  ConsoleReader reader(typed);
  try {
    const std::string field = reader.readText(12);
    const std::size_t first = field.find_first_not_of(' ');
    if (first == std::string::npos) return std::nullopt;
    return field.substr(first, field.find_last_not_of(' ') - first + 1);
  } catch (const Fault&) {
    return std::nullopt;
  }
}

struct Folders {
  // Removed when the fuzzer ends normally; a crash leaves the scratch folder
  // of the failing run in it to look at.
  ~Folders() {
    if (!base.empty()) rmdir(base.c_str());
  }
  std::string start;  // the fuzzer's own working folder
  std::string base;   // holds the scratch folder of each run, and nothing else
};

const Folders& folders() {
  static const Folders kFolders = [] {
    Folders made;
    made.start = std::filesystem::current_path().string();
    std::string base =
        (std::filesystem::temp_directory_path() / "talvik_fuzz.XXXXXX")
            .string();
    check(mkdtemp(base.data()) != nullptr, "cannot make the base folder");
    made.base = base;
    return made;
  }();
  return kFolders;
}

void runOneSession(const std::string& keyboard, std::string_view sizeFile) {
  const Folders& where = folders();
  const std::set<std::string> startEntries = entriesOf(where.start);
  std::string scratch = where.base + "/run.XXXXXX";
  check(mkdtemp(scratch.data()) != nullptr, "cannot make a scratch folder");
  check(chdir(scratch.c_str()) == 0, "cannot enter the scratch folder");
  writeFile(kSizeFileName, sizeFile);

  std::istringstream typed(keyboard);
  std::ostringstream screen;
  std::ostringstream errors;
  const int status = runSession(typed, screen, errors);

  check(chdir(where.start.c_str()) == 0, "cannot leave the scratch folder");
  check(status == 0 || status == kFaultExitStatus,
        "exit status neither 0 nor -1");
  check(!screen.str().empty(), "nothing on the screen");
  check(holdsOnlyRecords(screen.str(), true), "garbage on the screen");
  if (status == 0) {
    check(errors.str().empty(), "a fault report after a normal end");
  } else {
    check(isFaultReport(errors.str()), "exit status -1 without a report");
  }

  const std::set<std::string> files = entriesOf(scratch);
  check(files.size() <= 4, "more files than the size file and three more");
  check(files.contains(kSizeFileName), "the size file is gone");
  if (sizeFileNameTyped(keyboard) == kSizeFileName) {
    check(contentOf(std::filesystem::path(scratch) / kSizeFileName) == sizeFile,
          "the size file changed");
  }
  for (const std::string& name : files) {
    if (name == kSizeFileName) continue;
    const std::filesystem::path path = std::filesystem::path(scratch) / name;
    check(std::filesystem::is_regular_file(path), "a file that is no file");
    check(holdsOnlyRecords(contentOf(path), false),
          "garbage in an output file");
  }

  check(entriesOf(where.base).size() == 1, "a file outside the scratch folder");
  check(entriesOf(where.start) == startEntries,
        "the fuzzer's own folder changed");
  std::filesystem::remove_all(scratch);
}

}  // namespace
}  // namespace talvik

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  if (size < 3) return 0;
  const bool sizeFileNamed = (data[0] & 1) != 0;
  const std::size_t rest = size - 3;
  const std::size_t keyboardLength =
      std::min<std::size_t>(data[1] | (data[2] << 8), rest);
  const char* bytes = reinterpret_cast<const char*>(data) + 3;
  std::string keyboard(bytes, keyboardLength);
  if (keyboard.find("..") != std::string::npos) return -1;
  std::replace(keyboard.begin(), keyboard.end(), '/', '_');
  if (sizeFileNamed) keyboard.insert(0, "sizes\n");
  talvik::runOneSession(keyboard, std::string_view(bytes + keyboardLength,
                                                   rest - keyboardLength));
  return 0;
}
