#include "plot/plot_command.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string_view>
#include <system_error>

#include "plot/plot_error.h"
#include "plot/plotting_rows.h"
#include "plot/svg_graph.h"

namespace talvik {
namespace {

PlotError systemError(const std::string& path, int errorNumber,
                      std::string operation) {
  return PlotError{path, std::nullopt, std::strerror(errorNumber),
                   std::move(operation)};
}

std::string readWholeFile(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) throw systemError(path, errno, "opening the plotting file");
  std::string text;
  char buffer[65536];
  for (;;) {
    const ssize_t count = ::read(fd, buffer, sizeof buffer);
    if (count == 0) break;
    if (count < 0) {
      if (errno == EINTR) continue;
      const int error = errno;
      ::close(fd);
      throw systemError(path, error, "reading the plotting file");
    }
    text.append(buffer, static_cast<std::size_t>(count));
  }
  ::close(fd);
  return text;
}

// A file created by this process gets the permissions a new file would get
// (rw for everyone the umask allows), not the owner-only ones of mkstemp.
mode_t newFileMode() {
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
}

// Removes the temporary file unless it has been renamed into place.
class TemporaryFile {
 public:
  explicit TemporaryFile(const std::string& target)
      : path_(target + ".tmp-XXXXXX") {
    fd_ = ::mkstemp(path_.data());
    if (fd_ < 0) throw systemError(target, errno, "creating the picture");
  }
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;
  ~TemporaryFile() {
    if (fd_ >= 0) ::close(fd_);
    if (!renamed_) ::unlink(path_.c_str());
  }

  // Writes the whole text, makes it durable and closes the file.
  void writeAll(std::string_view text, const std::string& target) {
    if (::fchmod(fd_, newFileMode()) != 0) fail(target);
    while (!text.empty()) {
      const ssize_t count = ::write(fd_, text.data(), text.size());
      if (count < 0) {
        if (errno == EINTR) continue;
        fail(target);
      }
      text.remove_prefix(static_cast<std::size_t>(count));
    }
    if (::fsync(fd_) != 0) fail(target);
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0) fail(target);
  }

  // Puts the complete file in place of the target in one step.
  void renameTo(const std::string& target) {
    if (std::rename(path_.c_str(), target.c_str()) != 0) {
      throw systemError(target, errno, "putting the picture in place");
    }
    renamed_ = true;
  }

 private:
  [[noreturn]] void fail(const std::string& target) const {
    throw systemError(target, errno, "writing the picture");
  }

  std::string path_;
  int fd_ = -1;
  bool renamed_ = false;
};

bool isSameFile(const std::string& first, const std::string& second) {
  std::error_code error;
  return std::filesystem::equivalent(first, second, error) && !error;
}

void writePicture(const std::string& plottingFile, const std::string& output,
                  std::ostream& out) {
  const std::string text = readWholeFile(plottingFile);
  if (isSameFile(plottingFile, output)) {
    throw PlotError{output, std::nullopt, "is the plotting file itself",
                    "refusing to overwrite it with the picture"};
  }
  const std::vector<PlottingRow> rows = readPlottingRows(text, plottingFile);
  const std::string svg = drawRankSizeGraph(
      rows, std::filesystem::path(plottingFile).filename().string());
  TemporaryFile temporary(output);
  temporary.writeAll(svg, output);
  temporary.renameTo(output);
  out << "Wrote " << output << " (" << rows.size()
      << (rows.size() == 1 ? " rank)" : " ranks)") << "\n";
}

}  // namespace

int runPlotCommand(const std::vector<std::string>& arguments, std::ostream& out,
                   std::ostream& errors) {
  if (arguments.size() == 1 &&
      (arguments[0] == "--help" || arguments[0] == "-h")) {
    out << kPlotUsage << "\n";
    return 0;
  }
  if (arguments.empty() || arguments.size() > 2 || arguments[0].empty() ||
      (arguments.size() == 2 && arguments[1].empty())) {
    errors << kPlotUsage << "\n";
    return 1;
  }
  const std::string& plottingFile = arguments[0];
  const std::string output = arguments.size() == 2
                                 ? arguments[1]
                                 : std::filesystem::path(plottingFile)
                                       .replace_extension(".svg")
                                       .string();
  try {
    writePicture(plottingFile, output, out);
  } catch (const PlotError& error) {
    errors << "talvik-plot: " << error.file;
    if (error.line) errors << ":" << *error.line;
    errors << ": " << error.reason << " (" << error.operation << ")\n";
    return 1;
  }
  return 0;
}

int runPlotCommand(int argc, char** argv) {
  return runPlotCommand(std::vector<std::string>(argv + 1, argv + argc),
                        std::cout, std::cerr);
}

}  // namespace talvik
