#ifndef TALVIK_SESSION_CONSOLE_COLLECTED_RECORDS_TESTUTIL_H_
#define TALVIK_SESSION_CONSOLE_COLLECTED_RECORDS_TESTUTIL_H_

#include <string>
#include <string_view>
#include <vector>

#include "session/console/record_destination.h"

namespace talvik {

// Keeps every record handed to it, CR LF included.
class CollectedRecords : public RecordDestination {
 public:
  void putRecord(std::string_view record) override {
    records.emplace_back(record);
  }
  std::vector<std::string> records;
};

}  // namespace talvik

#endif  // TALVIK_SESSION_CONSOLE_COLLECTED_RECORDS_TESTUTIL_H_
