#ifndef TALVIK_PLOT_SVG_TESTUTIL_H_
#define TALVIK_PLOT_SVG_TESTUTIL_H_

#include <string>
#include <string_view>
#include <vector>

#include "gtest/gtest.h"

namespace talvik {

using Lines = std::vector<std::string>;

// The lines of a document as the SVG writer writes them, one element each.
inline Lines lines(std::string_view text) {
  Lines result;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    result.emplace_back(text.substr(0, end));
    text = end == std::string_view::npos ? "" : text.substr(end + 1);
  }
  return result;
}

// The lines inside the group with the given id, without the group's own.
// REQUIRES: the group holds no group
inline Lines group(std::string_view svg, std::string_view id) {
  Lines inside;
  bool in = false;
  for (const std::string& line : lines(svg)) {
    if (in && line == "</g>") return inside;
    if (in) inside.push_back(line);
    if (line.starts_with("<g id=\"" + std::string(id) + "\"")) in = true;
  }
  ADD_FAILURE() << "no group " << id;
  return inside;
}

inline std::string lineStartingWith(std::string_view svg,
                                    std::string_view start) {
  for (const std::string& line : lines(svg)) {
    if (line.starts_with(start)) return line;
  }
  return "";
}

}  // namespace talvik

#endif  // TALVIK_PLOT_SVG_TESTUTIL_H_
