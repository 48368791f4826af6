#ifndef TALVIK_SESSION_CONSOLE_OUTPUT_PLACE_H_
#define TALVIK_SESSION_CONSOLE_OUTPUT_PLACE_H_

#include <optional>
#include <string>

#include "session/console/system_file.h"

namespace talvik {

// The name a path leads to once its symbolic links are followed, link after
// link: the file that writing to the path replaces. The path itself when it
// is no link; a link too many (a loop) stops the following.
std::string followLinks(const std::string& path);

// Where a file name leads, however it is written: an existing file by its
// identity, a new one by the identity of the deepest existing folder on its
// way and the rest of the path from there (in lower case where names ignore
// case). Symbolic links are followed, a dangling one to where it points.
struct FilePlace {
  // The file, or the deepest existing folder; none for a Windows device.
  std::optional<FileIdentity> anchor;
  std::string rest;  // empty for an existing file
  bool existing = false;
  bool isRegular = false;  // an existing file on disk: no folder or device
  bool isFolder = false;
  // "-", or the file on disk standard output writes to.
  bool isStandardOutput = false;

  // A text that is the same for two names exactly when they lead to one
  // place.
  std::string key() const;
};

FilePlace placeOf(const std::string& path);

// The place of standard output, whatever file it writes to.
FilePlace standardOutputPlace();

// Whether both paths lead to one existing file on disk, symbolic links
// followed; false when either is missing, and for a device or a pipe, which
// may be read and written at once.
bool isSameFile(const std::string& first, const std::string& second);

}  // namespace talvik

#endif  // TALVIK_SESSION_CONSOLE_OUTPUT_PLACE_H_
