#ifndef TALVIK_PLOT_LOG_SCALE_H_
#define TALVIK_PLOT_LOG_SCALE_H_

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

// Places values along a logarithmic (base 10) axis drawn from `startPixel`,
// where 10^lowest lies, to `endPixel`, where 10^highest lies; the end may be
// below the start, as on a vertical axis whose values rise upward.
class LogAxis {
 public:
  LogAxis(DecadeRange decades, double startPixel, double endPixel);

  // REQUIRES: value > 0
  double pixelOf(double value) const;
  // The pixel of the value whose base-10 logarithm is given.
  double pixelOfLogarithm(double logarithm) const;
  const DecadeRange& decades() const { return decades_; }
  // The length of one decade in pixels, without sign.
  double decadeLength() const;

 private:
  DecadeRange decades_;
  double startPixel_;
  double endPixel_;
};

}  // namespace talvik

#endif  // TALVIK_PLOT_LOG_SCALE_H_
