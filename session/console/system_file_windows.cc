#include "session/console/system_file.h"

#include <windows.h>

#include <csignal>
#include <string>
#include <string_view>

namespace talvik {
namespace {

// Windows error codes worded by FormatMessage in the system's language,
// without the line end and full stop that end its text.
class WindowsErrorCategory : public std::error_category {
 public:
  const char* name() const noexcept override { return "windows"; }

  std::string message(int code) const override {
    char text[512];
    const DWORD length = FormatMessageA(
        FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
        static_cast<DWORD>(code), 0, text, sizeof text, nullptr);
    std::string_view message(text, length);
    while (!message.empty() && std::string_view(" .\r\n").find(
                                   message.back()) != std::string_view::npos) {
      message.remove_suffix(1);
    }
    if (message.empty()) return "Windows error " + std::to_string(code);
    return std::string(message);
  }

  // A temporary file's name that is taken is tried again with another.
  std::error_condition default_error_condition(
      int code) const noexcept override {
    if (code == ERROR_FILE_EXISTS || code == ERROR_ALREADY_EXISTS) {
      return std::errc::file_exists;
    }
    return {code, *this};
  }
};

std::error_code lastError() {
  return {static_cast<int>(GetLastError()), systemErrorCategory()};
}

HANDLE handleOf(std::intptr_t handle) {
  return reinterpret_cast<HANDLE>(handle);
}

// As on POSIX, other programs may read, write, rename and delete the file.
constexpr DWORD kShareAll =
    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

HANDLE openHandle(const std::string& path, FileOpening opening) {
  DWORD access = GENERIC_READ | GENERIC_WRITE;
  DWORD disposition = OPEN_EXISTING;
  DWORD flags = FILE_ATTRIBUTE_NORMAL;
  switch (opening) {
    case FileOpening::kReadOnly:
      access = GENERIC_READ;
      // Opens a folder too, as POSIX does; its reading and writing fail.
      flags = FILE_FLAG_BACKUP_SEMANTICS;
      break;
    case FileOpening::kReadWrite:
      break;
    case FileOpening::kReadWriteOrCreate:
      disposition = OPEN_ALWAYS;
      break;
    case FileOpening::kNewForWriting:
      access = GENERIC_WRITE;
      disposition = CREATE_NEW;
      break;
    case FileOpening::kExistingForWriting:
      access = GENERIC_WRITE;
      break;
  }
  return CreateFileA(path.c_str(), access, kShareAll, nullptr, disposition,
                     flags, nullptr);
}

FileIdentity identityOf(const BY_HANDLE_FILE_INFORMATION& information) {
  return {information.dwVolumeSerialNumber,
          (std::uint64_t{information.nFileIndexHigh} << 32) |
              information.nFileIndexLow};
}

// What the file behind `handle` is.
std::optional<FileFacts> factsOfHandle(HANDLE handle) {
  // Devices have neither attributes nor a file index.
  if (GetFileType(handle) != FILE_TYPE_DISK) return FileFacts{};
  BY_HANDLE_FILE_INFORMATION information;
  if (!GetFileInformationByHandle(handle, &information)) return std::nullopt;
  const bool isFolder =
      (information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  return FileFacts{identityOf(information), isFolder, !isFolder, 0};
}

constexpr int kFatalSignals[] = {SIGINT, SIGTERM, SIGABRT};

void (*fatalSignalCleanUp)() = nullptr;

void cleanUpAndEnd(int signal) {
  fatalSignalCleanUp();
  std::signal(signal, SIG_DFL);
  std::raise(signal);
}

// What one ReadFile or WriteFile call moves of `bytes`: at most 1 GiB.
DWORD transferSize(std::size_t bytes) {
  constexpr std::size_t kLargest = std::size_t{1} << 30;
  return static_cast<DWORD>(bytes < kLargest ? bytes : kLargest);
}

}  // namespace

const std::error_category& systemErrorCategory() {
  static const WindowsErrorCategory kCategory;
  return kCategory;
}

SystemFile::SystemFile(const std::string& path, FileOpening opening,
                       std::error_code& error) {
  const HANDLE handle = openHandle(path, opening);
  if (handle == INVALID_HANDLE_VALUE) {
    error = lastError();
    return;
  }
  error.clear();
  handle_ = reinterpret_cast<std::intptr_t>(handle);
}

FileFacts SystemFile::facts(std::error_code& error) const {
  error.clear();
  const std::optional<FileFacts> facts = factsOfHandle(handleOf(handle_));
  if (!facts) error = lastError();
  return facts.value_or(FileFacts{});
}

std::size_t SystemFile::read(char* buffer, std::size_t capacity,
                             std::error_code& error) {
  DWORD count = 0;
  if (!ReadFile(handleOf(handle_), buffer, transferSize(capacity), &count,
                nullptr)) {
    error = lastError();
    return 0;
  }
  error.clear();
  return count;
}

void SystemFile::write(std::string_view bytes, std::error_code& error) {
  while (!bytes.empty()) {
    DWORD count = 0;
    if (!WriteFile(handleOf(handle_), bytes.data(), transferSize(bytes.size()),
                   &count, nullptr)) {
      error = lastError();
      return;
    }
    bytes.remove_prefix(count);
  }
  error.clear();
}

void SystemFile::cut(std::uint64_t size, std::error_code& error) {
  FILE_END_OF_FILE_INFO end;
  end.EndOfFile.QuadPart = static_cast<LONGLONG>(size);
  const bool cut = SetFileInformationByHandle(
      handleOf(handle_), FileEndOfFileInfo, &end, sizeof end);
  error = cut ? std::error_code() : lastError();
}

void SystemFile::sync(std::error_code& error) {
  error = FlushFileBuffers(handleOf(handle_)) ? std::error_code() : lastError();
}

void SystemFile::setPermissions(unsigned, std::error_code& error) {
  error.clear();
}

void SystemFile::close(std::error_code& error) {
  error.clear();
  if (handle_ == kClosed) return;
  if (!CloseHandle(handleOf(handle_))) error = lastError();
  handle_ = kClosed;
}

std::optional<FileIdentity> fileIdentity(const std::string& path) {
  // Neither reading nor writing: any file's identity can be asked for.
  const HANDLE handle =
      CreateFileA(path.c_str(), 0, kShareAll, nullptr, OPEN_EXISTING,
                  FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return std::nullopt;
  BY_HANDLE_FILE_INFORMATION information;
  const bool known = GetFileInformationByHandle(handle, &information);
  CloseHandle(handle);
  if (!known) return std::nullopt;
  return identityOf(information);
}

std::optional<FileFacts> fileFactsAt(const std::string& path) {
  const HANDLE handle =
      CreateFileA(path.c_str(), 0, kShareAll, nullptr, OPEN_EXISTING,
                  FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return std::nullopt;
  const std::optional<FileFacts> facts = factsOfHandle(handle);
  CloseHandle(handle);
  return facts;
}

std::optional<FileIdentity> standardOutputIdentity() {
  const HANDLE handle = GetStdHandle(STD_OUTPUT_HANDLE);
  if (handle == nullptr || handle == INVALID_HANDLE_VALUE) return std::nullopt;
  const std::optional<FileFacts> facts = factsOfHandle(handle);
  return facts ? facts->identity : std::nullopt;
}

bool namesIgnoreCase() { return true; }

void removeFileQuietly(const char* path) noexcept { DeleteFileA(path); }

void cleanUpBeforeFatalSignals(void (*cleanUp)()) {
  fatalSignalCleanUp = cleanUp;
  for (const int signal : kFatalSignals) {
    if (std::signal(signal, cleanUpAndEnd) == SIG_IGN) {
      std::signal(signal, SIG_IGN);
    }
  }
}

// The C runtime handles these signals on a thread of its own.
FatalSignalsHeld::FatalSignalsHeld() : previous_() {}

FatalSignalsHeld::~FatalSignalsHeld() = default;

void moveFileOver(const std::string& from, const std::string& to,
                  std::error_code& error) {
  const bool moved =
      MoveFileExA(from.c_str(), to.c_str(),
                  MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
  error = moved ? std::error_code() : lastError();
}

}  // namespace talvik
