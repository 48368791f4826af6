#ifndef TALVIK_SESSION_CONSOLE_FAULT_TESTUTIL_H_
#define TALVIK_SESSION_CONSOLE_FAULT_TESTUTIL_H_

#include <string>
#include <tuple>

#include "gtest/gtest.h"
#include "session/console/fault.h"

namespace talvik {

// A fault's three lines, comparable in test expectations.
using FaultFields = std::tuple<std::string, std::string, std::string>;

// The fault that `action` throws; a test failure when it throws none.
template <typename Action>
FaultFields faultFrom(Action action) {
  try {
    action();
  } catch (const Fault& fault) {
    return {fault.heading, fault.cause, fault.operation};
  }
  ADD_FAILURE() << "no fault thrown";
  return {};
}

}  // namespace talvik

#endif  // TALVIK_SESSION_CONSOLE_FAULT_TESTUTIL_H_
