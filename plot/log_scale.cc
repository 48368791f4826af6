#include "plot/log_scale.h"

#include <cmath>

namespace talvik {

DecadeRange decadesAround(double smallest, double largest) {
  const int lowest = static_cast<int>(std::floor(std::log10(smallest)));
  const int highest = static_cast<int>(std::ceil(std::log10(largest)));
  return {lowest, highest > lowest ? highest : lowest + 1};
}

double LogTick::logarithm() const {
  return exponent + std::log10(static_cast<double>(multiple));
}

LogAxis::LogAxis(LogRange range, double startPixel, double endPixel)
    : range_(range), startPixel_(startPixel), endPixel_(endPixel) {}

double LogAxis::pixelOf(double value) const {
  return pixelOfLogarithm(std::log10(value));
}

double LogAxis::decadeLength() const {
  return std::abs(endPixel_ - startPixel_) / (range_.highest - range_.lowest);
}

double LogAxis::pixelOfLogarithm(double logarithm) const {
  const double fraction =
      (logarithm - range_.lowest) / (range_.highest - range_.lowest);
  return startPixel_ + fraction * (endPixel_ - startPixel_);
}

std::vector<LogTick> LogAxis::ticks(bool withMultiples) const {
  std::vector<LogTick> ticks;
  const int first = static_cast<int>(std::floor(range_.lowest));
  const int last = static_cast<int>(std::floor(range_.highest));
  for (int exponent = first; exponent <= last; ++exponent) {
    for (int multiple = 1; multiple <= (withMultiples ? 9 : 1); ++multiple) {
      const LogTick tick{exponent, multiple};
      const double logarithm = tick.logarithm();
      if (logarithm >= range_.lowest && logarithm <= range_.highest) {
        ticks.push_back(tick);
      }
    }
  }
  return ticks;
}

}  // namespace talvik
