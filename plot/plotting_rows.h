#ifndef TALVIK_PLOT_PLOTTING_ROWS_H_
#define TALVIK_PLOT_PLOTTING_ROWS_H_

#include <array>
#include <cstddef>
#include <string_view>
#include <vector>

#include "analysis/byte_source.h"

namespace talvik {

// The first record of every plotting file.
inline constexpr std::string_view kPlottingHeader =
    "RANK,SETSIZE,LOGNORM,SIZEUP,SIZELO";

// The four size columns of a row, in file order.
enum SizeColumn : std::size_t { kSetSize, kLogNorm, kSizeUp, kSizeLo };
inline constexpr std::size_t kSizeColumnCount = 4;
inline constexpr std::array<std::string_view, kSizeColumnCount>
    kSizeColumnNames = {"SETSIZE", "LOGNORM", "SIZEUP", "SIZELO"};

// What a size field holds: a number, or one of the fillings the writer uses
// for a value it cannot show ("***************", "NaN", "INF").
enum class SizeReading { kNumber, kOverflow, kNotANumber, kInfinity };

struct PlottedSize {
  SizeReading reading = SizeReading::kNumber;
  double value = 0.0;  // the number, when reading is kNumber; never negative

  // Only positive numbers have a place on a logarithmic axis.
  bool hasLogarithm() const {
    return reading == SizeReading::kNumber && value > 0.0;
  }
};

struct PlottingRow {
  int rank = 0;
  std::array<PlottedSize, kSizeColumnCount> sizes;  // indexed by SizeColumn
};

// Reads a plotting file: the header, then one row per rank 1, 2, ..., n
// (1 <= n <= 1000), each record ended by CR LF or LF alone. Each row is the
// rank right-aligned in 4 characters and four sizes right-aligned in 15
// characters with 4 decimals, separated by commas. Throws PlotError naming the
// file and line on the first record that does not have this form, a 1002nd
// record among them, and reads nothing after it: whatever the file holds, no
// more than one record of a few hundred bytes is held at a time.
std::vector<PlottingRow> readPlottingRows(ByteSource& file,
                                          std::string_view fileName);

// The same from the whole text of a plotting file.
std::vector<PlottingRow> readPlottingRows(std::string_view text,
                                          std::string_view fileName);

}  // namespace talvik

#endif  // TALVIK_PLOT_PLOTTING_ROWS_H_
