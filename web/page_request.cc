#include "web/page_request.h"

#include <array>
#include <limits>
#include <nlohmann/json.hpp>
#include <utility>

#include "batch/option_values.h"

namespace talvik {
namespace {

using Json = nlohmann::json;

struct CommandName {
  std::string_view name;
  PageRequest::Command command;
};

constexpr std::array<CommandName, 7> kCommands = {{
    {"columns", PageRequest::Command::kColumns},
    {"check", PageRequest::Command::kCheck},
    {"reset", PageRequest::Command::kReset},
    {"read", PageRequest::Command::kRead},
    {"run", PageRequest::Command::kRun},
    {"analyse", PageRequest::Command::kAnalyse},
    {"finish", PageRequest::Command::kFinish},
}};

// Reads the members of one request. Every accessor checks the member's type
// first: the JSON library's own conversions would throw on a wrong one.
class Members {
 public:
  explicit Members(const Json& object) : object_(object) {}

  const std::string& error() const { return error_; }

  const Json* find(std::string_view name) const {
    const auto found = object_.find(name);
    return found == object_.end() ? nullptr : &*found;
  }

  void text(std::string_view name, std::string& value) {
    const Json* member = find(name);
    if (!member) return;
    if (!member->is_string()) return refuse(name, "a string");
    value = member->get_ref<const std::string&>();
  }

  void flag(std::string_view name, bool& value) {
    const Json* member = find(name);
    if (!member) return;
    if (!member->is_boolean()) return refuse(name, "true or false");
    value = member->get<bool>();
  }

  // A whole number from `least` to `most`.
  void whole(std::string_view name, std::int64_t least, std::int64_t most,
             std::int64_t& value) {
    const Json* member = find(name);
    if (!member) return;
    if (member->is_number_unsigned()) {
      const auto number = member->get<std::uint64_t>();
      if (number <= static_cast<std::uint64_t>(most) &&
          static_cast<std::int64_t>(number) >= least) {
        value = static_cast<std::int64_t>(number);
        return;
      }
    } else if (member->is_number_integer()) {
      const auto number = member->get<std::int64_t>();
      if (number >= least && number <= most) {
        value = number;
        return;
      }
    }
    refuse(name, "a whole number from " + std::to_string(least) + " to " +
                     std::to_string(most));
  }

  void level(std::string_view name, int& value) {
    std::int64_t number = value;
    whole(name, 1, 99, number);
    value = static_cast<int>(number);
  }

 private:
  void refuse(std::string_view name, const std::string& what) {
    if (error_.empty()) {
      error_ = "\"" + std::string(name) + "\" must be " + what;
    }
  }

  const Json& object_;
  std::string error_;
};

// The CSV layout of a read request's "csv" member: its separator, whether
// it uses the decimal comma, and its column, a name or a number from 1.
std::string readCsv(const Json& csv, std::optional<CsvLayout>& layout) {
  if (csv.is_null()) return {};
  if (!csv.is_object()) return "\"csv\" must be an object or null";
  Members members(csv);
  std::string separator = ",";
  members.text("separator", separator);
  bool decimalComma = false;
  members.flag("decimalComma", decimalComma);
  std::string column;
  const Json* columnMember = members.find("column");
  if (columnMember && columnMember->is_number_integer()) {
    std::int64_t number = 1;
    members.whole("column", 1, 999999, number);
    column = std::to_string(number);
  } else {
    members.text("column", column);
  }
  if (!members.error().empty()) return members.error();
  if (separator == "\t") separator = "\\t";
  // Columns are picked from the header's names, so the first row is a header
  // even when a column is picked by its number.
  CsvOptions options = readCsvLayout(column, true, separator, decimalComma);
  if (!options.error.empty()) return options.error;
  layout = std::move(options.layout);
  return {};
}

}  // namespace

ReadRequest readPageRequest(std::string_view json) {
  ReadRequest read;
  const Json object = Json::parse(json, nullptr, false);
  if (object.is_discarded() || !object.is_object()) {
    read.error = "a request must be a JSON object";
    return read;
  }
  Members members(object);
  std::string command;
  members.text("command", command);
  bool known = false;
  for (const CommandName& name : kCommands) {
    if (name.name == command) {
      read.request.command = name.command;
      known = true;
    }
  }
  if (!known) {
    read.error = "unknown command \"" + command + "\"";
    return read;
  }
  PageRequest& request = read.request;
  std::string separator = ",";
  members.text("separator", separator);
  members.text("option", request.option);
  members.text("text", request.text);
  members.text("name", request.name);
  members.flag("positiveOnly", request.positiveOnly);
  members.flag("largest", request.largest);
  members.text("seeds", request.seeds);
  members.level("plotLevel", request.plotLevel);
  const Json* extra = members.find("extraLevel");
  if (extra && !extra->is_null()) {
    int level = 1;
    members.level("extraLevel", level);
    request.extraLevel = level;
  }
  std::int64_t resamples = request.resamples;
  members.whole("resamples", 1, std::numeric_limits<int>::max(), resamples);
  request.resamples = static_cast<int>(resamples);
  members.text("unit", request.unit);
  members.flag("compare", request.compare);
  members.whole("index", 0, std::numeric_limits<std::int64_t>::max(),
                request.index);
  if (!members.error().empty()) {
    read.error = members.error();
    return read;
  }
  if (separator == "\t") separator = "\\t";
  const CsvOptions columns = readCsvLayout("1", true, separator, false);
  if (!columns.error.empty()) {
    read.error = columns.error;
    return read;
  }
  request.separator = columns.layout->separator;
  if (const Json* csv = members.find("csv")) {
    read.error = readCsv(*csv, request.csv);
  }
  return read;
}

}  // namespace talvik
