#ifndef TALVIK_PLOT_LOG_SCALE_H_
#define TALVIK_PLOT_LOG_SCALE_H_

#include <vector>

namespace talvik {

// The powers of ten an axis runs between: from 10^lowest to 10^highest.
struct DecadeRange {
  int lowest = 0;
  int highest = 1;  // always above lowest

  bool operator==(const DecadeRange&) const = default;
};

// The decade at or below `smallest` to the decade at or above `largest`; one
// decade upward from `smallest` when both lie on the same power of ten.
// REQUIRES: 0 < smallest <= largest, both finite
DecadeRange decadesAround(double smallest, double largest);

// The stretch of an axis in base-10 logarithms.
struct LogRange {
  double lowest = 0.0;
  double highest = 1.0;  // always above lowest
};

// A tick mark on a logarithmic axis: at multiple * 10^exponent, where the
// multiple is 1 for a power of ten and 2 to 9 between two of them.
struct LogTick {
  int exponent = 0;
  int multiple = 1;

  bool operator==(const LogTick&) const = default;
  double logarithm() const;
};

// Places values along a logarithmic (base 10) axis drawn from `startPixel`,
// where range.lowest lies, to `endPixel`, where range.highest lies; the end
// may be below the start, as on a vertical axis whose values rise upward.
class LogAxis {
 public:
  LogAxis(LogRange range, double startPixel, double endPixel);

  // REQUIRES: value > 0
  double pixelOf(double value) const;
  // The pixel of the value whose base-10 logarithm is given.
  double pixelOfLogarithm(double logarithm) const;
  const LogRange& range() const { return range_; }
  // The length of one decade in pixels, without sign.
  double decadeLength() const;
  // The ticks within the range in rising order: each power of ten and, when
  // `withMultiples`, the multiples 2 to 9 of each.
  std::vector<LogTick> ticks(bool withMultiples) const;

 private:
  LogRange range_;
  double startPixel_;
  double endPixel_;
};

}  // namespace talvik

#endif  // TALVIK_PLOT_LOG_SCALE_H_
