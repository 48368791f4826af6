#include "batch/batch_messages.h"

#include <cstdint>

#include "session/console/shown_text.h"

namespace talvik {
namespace {

constexpr std::string_view kProgram = "talvik-batch: ";

// "FILE:LINE" or, for the file as a whole, "FILE".
std::string placeOf(std::string_view file, std::int64_t line) {
  std::string place = shownText(file, kShownNameBytes);
  if (line > 0) {
    place += ':';
    place += std::to_string(line);
  }
  return place;
}

std::string fileMessageLine(std::string_view file, const FileMessage& message,
                            std::string_view kind) {
  std::string line(kProgram);
  line += placeOf(file, message.line);
  line += ": ";
  line += kind;
  line += ": ";
  // The text may quote a cell or a column name.
  line += shownText(message.text);
  line += '\n';
  return line;
}

// "cannot write: No space left on device", for a file that was not written.
std::string fileErrorText(const FileError& error) {
  switch (error.operation) {
    case FileOperation::kCreating:
      return "cannot create: " + error.reason;
    case FileOperation::kWriting:
      return "cannot write: " + error.reason;
    case FileOperation::kPuttingInPlace:
      return "cannot put in place: " + error.reason;
  }
  return error.reason;
}

// "and 3 more warnings", "and 1 more error".
std::string moreText(std::int64_t count, std::string_view kind) {
  std::string text = "and " + std::to_string(count) + " more ";
  text += kind;
  if (count != 1) text += 's';
  return text;
}

}  // namespace

const char kTableNotWrittenLine[] =
    "talvik-batch: error: the table could not be written to standard output\n";

std::string usageErrorLine(std::string_view text) {
  std::string line(kProgram);
  // The text may quote an argument or a file name as typed.
  line += shownText(text);
  line += '\n';
  return line;
}

std::string warningLine(std::string_view file, const FileMessage& message) {
  return fileMessageLine(file, message, "warning");
}

std::string errorLine(std::string_view file, const FileMessage& message) {
  return fileMessageLine(file, message, "error");
}

std::string moreWarningsLine(std::string_view file, std::int64_t count) {
  return warningLine(file, {0, moreText(count, "warning")});
}

std::string moreErrorsLine(std::string_view file, std::int64_t count) {
  return errorLine(file, {0, moreText(count, "error")});
}

std::string fileMessageLines(std::string_view file, const InputSizes& input,
                             bool warnings, std::string_view lastWarning) {
  std::string lines;
  if (warnings) {
    for (const FileMessage& message : input.warnings) {
      lines += warningLine(file, message);
    }
    if (input.unkeptWarnings > 0) {
      lines += moreWarningsLine(file, input.unkeptWarnings);
    }
    if (!lastWarning.empty()) {
      lines += warningLine(file, {0, std::string(lastWarning)});
    }
  }
  for (const FileMessage& message : input.errors) {
    lines += errorLine(file, message);
  }
  if (input.unkeptErrors > 0) lines += moreErrorsLine(file, input.unkeptErrors);
  return lines;
}

std::string fileErrorLine(const FileError& error) {
  std::string line(kProgram);
  line += shownText(error.path, kShownNameBytes);
  line += ": error: ";
  line += shownText(fileErrorText(error));
  line += '\n';
  return line;
}

std::string errorCell(const InputSizes& input) {
  const FileMessage& first = input.errors.front();
  std::string cell;
  if (first.line > 0) {
    cell += "line ";
    cell += std::to_string(first.line);
    cell += ": ";
  }
  cell += first.text;
  const std::int64_t more =
      static_cast<std::int64_t>(input.errors.size()) - 1 + input.unkeptErrors;
  if (more > 0) {
    cell += " (and ";
    cell += std::to_string(more);
    cell += " more)";
  }
  return cell;
}

std::string fileErrorCell(const FileError& error) {
  return error.path + ": " + fileErrorText(error);
}

}  // namespace talvik
