#include "session/console/output_place.h"

#include <cctype>
#include <filesystem>
#include <system_error>
#include <vector>

namespace talvik {
namespace {

namespace fs = std::filesystem;

// As many links as POSIX systems follow before they report a loop.
constexpr int kMostLinks = 40;

// How many times a rest starting with ".." is worked out from the folder
// above its anchor.
constexpr int kMostClimbs = 64;

std::string foldedCase(std::string text) {
  if (!namesIgnoreCase()) return text;
  for (char& c : text) {
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  }
  return text;
}

// The place of an existing file.
FilePlace placeOfFile(const std::string& path, const FileFacts& facts) {
  FilePlace place;
  place.anchor = facts.identity;
  place.existing = true;
  place.isRegular = facts.isRegular;
  place.isFolder = facts.isFolder;
  // A device or pipe may be shared, standard output's too.
  place.isStandardOutput = facts.isRegular && facts.identity &&
                           facts.identity == standardOutputIdentity();
  if (!facts.identity) place.rest = foldedCase(path);
  return place;
}

FilePlace placeOfFollowed(const fs::path& path, int climbs) {
  if (const std::optional<FileFacts> facts = fileFactsAt(path.string())) {
    return placeOfFile(path.string(), *facts);
  }
  // Trailing names come off one by one until a folder exists: it is then
  // the system that resolves "..", and links, on the way to it.
  std::vector<fs::path> missing;
  fs::path folder = path;
  std::optional<FileFacts> facts;
  while (!facts) {
    missing.push_back(folder.filename());
    const fs::path above = folder.parent_path();
    if (above.empty() || above == folder) break;
    folder = above;
    facts = fileFactsAt(folder.string());
  }
  fs::path rest;
  for (auto name = missing.rbegin(); name != missing.rend(); ++name) {
    rest /= *name;
  }
  rest = rest.lexically_normal();
  // A ".." past the missing names climbs from the existing folder.
  if (facts && climbs < kMostClimbs && !rest.empty() && *rest.begin() == "..") {
    return placeOfFollowed(folder / rest, climbs + 1);
  }
  FilePlace place;
  place.anchor = facts ? facts->identity : std::nullopt;
  place.rest = foldedCase(rest.generic_string());
  return place;
}

}  // namespace

std::string followLinks(const std::string& path) {
  fs::path followed = path;
  for (int i = 0; i < kMostLinks; ++i) {
    std::error_code error;
    if (!fs::is_symlink(fs::symlink_status(followed, error))) break;
    const fs::path target = fs::read_symlink(followed, error);
    if (error) break;
    followed = target.is_absolute() ? target : followed.parent_path() / target;
  }
  return followed.string();
}

std::string FilePlace::key() const {
  if (isStandardOutput) return "standard output";
  std::string text = "-";
  if (anchor) {
    text = std::to_string(anchor->volume) + ":" + std::to_string(anchor->index);
  }
  return text + "/" + rest;
}

FilePlace placeOf(const std::string& path) {
  // The system follows the links of an existing file, even those that name
  // no file (a pipe's, under /proc).
  if (const std::optional<FileFacts> facts = fileFactsAt(path)) {
    return placeOfFile(path, *facts);
  }
  std::error_code error;
  const fs::path absolute = fs::absolute(followLinks(path), error);
  return placeOfFollowed(error ? fs::path(path) : absolute, 0);
}

bool isSameFile(const std::string& first, const std::string& second) {
  const FilePlace place = placeOf(first);
  return place.isRegular && place.anchor &&
         placeOf(second).key() == place.key();
}

FilePlace standardOutputPlace() {
  FilePlace place;
  place.anchor = standardOutputIdentity();
  place.existing = true;
  place.isStandardOutput = true;
  return place;
}

}  // namespace talvik
