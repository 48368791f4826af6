#include "session/fault_report.h"

#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace talvik {
namespace {

// The operation holds what the user typed: a control byte written as it
// stands could drive the terminal (an escape sequence) or hide text (a NUL).
std::string withControlBytesShown(std::string_view text) {
  static constexpr char kHexDigits[] = "0123456789ABCDEF";
  std::string shown;
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 32 || byte == 127) {
      shown += "\\x";
      shown += kHexDigits[byte >> 4];
      shown += kHexDigits[byte & 0xF];
    } else {
      shown += c;
    }
  }
  return shown;
}

void writeReport(const Fault& fault, std::ostream& errors) {
  errors << "? " << fault.heading << "\n"
         << "? " << fault.cause << "\n"
         << "? " << withControlBytesShown(fault.operation) << "\n";
}

}  // namespace

Fault runTimeFault(std::string cause, std::string operation) {
  return Fault{kRunTimeErrorHeading, std::move(cause), std::move(operation)};
}

Fault endOfInputFault() {
  return runTimeFault("Attempt to read past end of file",
                      "Reading from the keyboard");
}

Fault systemFault(const std::error_code& error, std::string operation) {
  return Fault{kSystemErrorHeading, error.message(), std::move(operation)};
}

int reportFault(const Fault& fault, FileConnections& files,
                std::ostream& errors) {
  std::optional<Fault> finishing;
  try {
    files.finishAll();
  } catch (const Fault& finishFault) {
    finishing = finishFault;
  }
  writeReport(fault, errors);
  if (finishing) writeReport(*finishing, errors);
  errors.flush();
  return kFaultExitStatus;
}

}  // namespace talvik
