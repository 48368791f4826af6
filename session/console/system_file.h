#ifndef TALVIK_SESSION_CONSOLE_SYSTEM_FILE_H_
#define TALVIK_SESSION_CONSOLE_SYSTEM_FILE_H_

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <utility>

namespace talvik {

// The operating system's file calls, for the console layer's files: POSIX in
// system_file_posix.cc, the Windows API in system_file_windows.cc. Failures
// come back in a std::error_code whose message() is the system's own text.

// The category of the system's failures: errno values on POSIX, Windows error
// codes (worded by FormatMessage) on Windows.
const std::error_category& systemErrorCategory();

// Which file a name leads to, whatever the name: the device and inode number
// on POSIX, the volume serial number and file index on Windows.
struct FileIdentity {
  std::uint64_t volume = 0;
  std::uint64_t index = 0;
  bool operator==(const FileIdentity&) const = default;
};

// What an open file is.
struct FileFacts {
  // None for a Windows device (NUL, CON), which has no file index.
  std::optional<FileIdentity> identity;
  bool isFolder = false;
  // A file on disk, whose content can be cut: no folder, device or pipe.
  bool isRegular = false;
  // The permission bits on POSIX (the mode's lowest nine); 0 on Windows.
  unsigned permissions = 0;
};

enum class FileOpening {
  kReadOnly,           // an existing file, or folder, for reading only
  kReadWrite,          // an existing file for reading and writing
  kReadWriteOrCreate,  // for reading and writing, created empty when missing
  kNewForWriting,      // a new file for writing; refused when the name is taken
  kExistingForWriting,  // an existing file for writing, neither cut nor made
};

// An open file, closed when destroyed. Other programs may read, write,
// rename and delete it meanwhile. A created file gets the permissions a new
// file gets there (on POSIX 0666 less the umask).
class SystemFile {
 public:
  SystemFile() = default;
  // On failure sets `error` and leaves the file closed.
  SystemFile(const std::string& path, FileOpening opening,
             std::error_code& error);
  SystemFile(SystemFile&& other) noexcept
      : handle_(std::exchange(other.handle_, kClosed)) {}
  SystemFile& operator=(SystemFile&& other) noexcept {
    if (this != &other) {
      std::error_code ignored;
      close(ignored);
      handle_ = std::exchange(other.handle_, kClosed);
    }
    return *this;
  }
  ~SystemFile() {
    std::error_code ignored;
    close(ignored);
  }

  bool isOpen() const { return handle_ != kClosed; }
  FileFacts facts(std::error_code& error) const;
  // Reads up to `capacity` bytes from the current place; 0 at the end.
  std::size_t read(char* buffer, std::size_t capacity, std::error_code& error);
  // Writes all of `bytes` at the current place.
  void write(std::string_view bytes, std::error_code& error);
  // Ends the file after its first `size` bytes; the current place stays.
  void cut(std::uint64_t size, std::error_code& error);
  // Makes what was written durable.
  void sync(std::error_code& error);
  // Gives the file these permission bits (on POSIX; Windows has none).
  void setPermissions(unsigned permissions, std::error_code& error);
  // Closes the file; on a closed file does nothing.
  void close(std::error_code& error);

 private:
  // A descriptor on POSIX, a HANDLE on Windows; -1 is neither.
  static constexpr std::intptr_t kClosed = -1;
  std::intptr_t handle_ = kClosed;
};

// The identity of the file at `path`, or nothing when there is none.
std::optional<FileIdentity> fileIdentity(const std::string& path);

// What the file at `path` is, symbolic links followed; nothing when the name
// leads to no file.
std::optional<FileFacts> fileFactsAt(const std::string& path);

// The identity of the file standard output writes to, when it has one.
std::optional<FileIdentity> standardOutputIdentity();

// Whether names that differ only in the case of letters name one file.
bool namesIgnoreCase();

// Removes the file `path`, as a signal handler may: nothing is reported.
void removeFileQuietly(const char* path) noexcept;

// Has `cleanUp` called when an interrupt, a termination, a hang-up, a broken
// pipe or an abort is about to end the program; the signal then ends it as it
// would have. `cleanUp` must be safe in a signal handler. A signal the
// program was started ignoring stays ignored. Call once.
void cleanUpBeforeFatalSignals(void (*cleanUp)());

// While one lives, those signals wait on the thread that made it (on POSIX;
// on Windows they are handled on a thread of their own).
class FatalSignalsHeld {
 public:
  FatalSignalsHeld();
  FatalSignalsHeld(const FatalSignalsHeld&) = delete;
  FatalSignalsHeld& operator=(const FatalSignalsHeld&) = delete;
  ~FatalSignalsHeld();

 private:
  unsigned char previous_[256];  // the thread's signal mask before
};

// Renames the file `from` to `to` in one step, in place of any file `to`.
void moveFileOver(const std::string& from, const std::string& to,
                  std::error_code& error);

}  // namespace talvik

#endif  // TALVIK_SESSION_CONSOLE_SYSTEM_FILE_H_
