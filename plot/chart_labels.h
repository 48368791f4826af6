#ifndef TALVIK_PLOT_CHART_LABELS_H_
#define TALVIK_PLOT_CHART_LABELS_H_

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "plot/chart_row.h"

namespace talvik {

// The characters a chart row's label shows at most, unless two rows would
// then read alike.
inline constexpr std::size_t kMaxLabelCharacters = 48;

// The number of UTF-8 characters in the text.
std::size_t characterCount(std::string_view text);

// The text with at most `characters` characters: its start and its end, an
// ellipsis between them in place of the middle, cut between UTF-8
// characters. The end gets the larger half, since it tells most files and
// seeds apart.
// REQUIRES: characters >= 3
std::string middleShortened(std::string_view text, std::size_t characters);

// The labels of the rows as the chart shows them, in order: each shortened
// to kMaxLabelCharacters, or, where two different labels would then read
// alike, all of them shortened only as far as keeps them apart.
std::vector<std::string> shownLabels(std::span<const ChartRow> rows);

// "Not analysed: a.txt, b.txt", with as many of the names as fit in
// `characters` characters and "and N more" for the rest; empty when there
// are no names.
std::string notAnalysedNote(std::span<const std::string> names,
                            std::size_t characters);

}  // namespace talvik

#endif  // TALVIK_PLOT_CHART_LABELS_H_
