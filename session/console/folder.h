#ifndef TALVIK_SESSION_CONSOLE_FOLDER_H_
#define TALVIK_SESSION_CONSOLE_FOLDER_H_

#include <string>

namespace talvik {

// Makes the folder `path`, and the folders above it that are missing; an
// existing folder is left as it is. Throws FileError (kCreating) with the
// system's message when it cannot be made.
void makeFolder(const std::string& path);

}  // namespace talvik

#endif  // TALVIK_SESSION_CONSOLE_FOLDER_H_
