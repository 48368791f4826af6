#include "plot/plot_options.h"

#include <algorithm>
#include <cstddef>
#include <optional>
#include <string_view>

#include "session/console/level_text.h"

namespace talvik {
namespace {

int levelFrom(std::string_view text) {
  const std::optional<int> level = levelFromText(text);
  if (!level) {
    throw UsageError{"--level: \"" + std::string(text) +
                     "\" is not a whole percentage from 1 to 99"};
  }
  return *level;
}

}  // namespace

PlotOptions parsePlotArguments(const std::vector<std::string>& arguments) {
  PlotOptions options;
  std::vector<std::string> operands;
  bool optionsEnded = false;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    if (optionsEnded || argument == "-" || !argument.starts_with('-')) {
      operands.push_back(argument);
      continue;
    }
    if (argument == "--") {
      optionsEnded = true;
      continue;
    }
    if (argument == "-h" || argument == "--help") {
      options.action = PlotOptions::Action::kShowHelp;
      return options;
    }
    if (argument == "--version") {
      options.action = PlotOptions::Action::kShowVersion;
      return options;
    }
    // An option with a value takes it after "=" or as the next argument.
    const std::size_t equals = argument.find('=');
    const std::string name = argument.substr(0, equals);
    if (name != "--level" && name != "--title" && name != "--unit") {
      throw UsageError{"unknown option \"" + name + "\""};
    }
    std::string value;
    if (equals != std::string::npos) {
      value = argument.substr(equals + 1);
    } else if (i + 1 < arguments.size()) {
      value = arguments[++i];
    } else {
      throw UsageError{name + ": a value is missing"};
    }
    if (name == "--level") {
      options.level = levelFrom(value);
    } else if (name == "--title") {
      options.title = value;
    } else {
      options.unit = value;
    }
  }
  if (operands.empty()) throw UsageError{"no plotting file named"};
  if (operands.size() > 2) {
    throw UsageError{"one plotting file and one picture at most, found \"" +
                     operands[2] + "\" too"};
  }
  if (std::find(operands.begin(), operands.end(), "") != operands.end()) {
    throw UsageError{"an empty file name"};
  }
  options.plottingFile = operands[0];
  if (operands.size() == 2) options.output = operands[1];
  return options;
}

}  // namespace talvik
