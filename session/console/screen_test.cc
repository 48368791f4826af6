#include "session/console/screen.h"

#include <gtest/gtest.h>

#include <array>
#include <cerrno>
#include <cstring>
#include <ostream>
#include <streambuf>
#include <string>

#include "session/console/fault.h"
#include "session/console/record_writer.h"

namespace talvik {
namespace {

// Holds written bytes in its own buffer and delivers them only when flushed,
// like a console stream does.
class HeldConsole : public std::streambuf {
 public:
  HeldConsole() { setp(held_.data(), held_.data() + held_.size()); }
  std::string delivered;

 protected:
  int sync() override {
    delivered.append(pbase(), pptr());
    setp(held_.data(), held_.data() + held_.size());
    return 0;
  }

 private:
  std::array<char, 4096> held_;
};

// Refuses every byte, setting errno to `errorNumber` as the system would.
class RefusingConsole : public std::streambuf {
 public:
  explicit RefusingConsole(int errorNumber) : errorNumber_(errorNumber) {}

 protected:
  int_type overflow(int_type) override {
    errno = errorNumber_;
    return traits_type::eof();
  }

 private:
  int errorNumber_;
};

TEST(Screen, RecordIsOnTheConsoleBeforeTheWriteReturns) {
  HeldConsole console;
  std::ostream stream(&console);
  Screen screen(stream);
  writeRecords(screen, "(' Enter name of file to write results to: ')");
  EXPECT_EQ(console.delivered, " Enter name of file to write results to: \r\n");
  writeRecords(screen, "(' '/' Resampling . . .'/)");
  EXPECT_EQ(console.delivered,
            " Enter name of file to write results to: \r\n"
            " \r\n Resampling . . .\r\n\r\n");
}

TEST(Screen, RefusedWriteWithTheSystemsReasonIsASystemError) {
  RefusingConsole console(ENOSPC);
  std::ostream stream(&console);
  Screen screen(stream);
  try {
    screen.putRecord(" \r\n");
    FAIL() << "no fault";
  } catch (const Fault& fault) {
    EXPECT_EQ(fault.heading, "System Error:");
    EXPECT_EQ(fault.cause, std::strerror(ENOSPC));
    EXPECT_EQ(fault.operation, "Writing to the screen");
  }
}

TEST(Screen, RefusedWriteWithoutAReasonIsAWriteFailure) {
  RefusingConsole console(0);
  std::ostream stream(&console);
  Screen screen(stream);
  errno = EINTR;  // left over from earlier work, not this write's reason
  try {
    screen.putRecord(" \r\n");
    FAIL() << "no fault";
  } catch (const Fault& fault) {
    EXPECT_EQ(fault.heading, "Run-time Error:");
    EXPECT_EQ(fault.cause, "Write failure");
    EXPECT_EQ(fault.operation, "Writing to the screen");
  }
}

}  // namespace
}  // namespace talvik
