#include "plot/log_scale.h"

#include <cmath>

namespace talvik {

DecadeRange decadesAround(double smallest, double largest) {
  const int lowest = static_cast<int>(std::floor(std::log10(smallest)));
  const int highest = static_cast<int>(std::ceil(std::log10(largest)));
  return {lowest, highest > lowest ? highest : lowest + 1};
}

LogAxis::LogAxis(DecadeRange decades, double startPixel, double endPixel)
    : decades_(decades), startPixel_(startPixel), endPixel_(endPixel) {}

double LogAxis::pixelOf(double value) const {
  return pixelOfLogarithm(std::log10(value));
}

double LogAxis::decadeLength() const {
  return std::abs(endPixel_ - startPixel_) /
         (decades_.highest - decades_.lowest);
}

double LogAxis::pixelOfLogarithm(double logarithm) const {
  const double fraction =
      (logarithm - decades_.lowest) / (decades_.highest - decades_.lowest);
  return startPixel_ + fraction * (endPixel_ - startPixel_);
}

}  // namespace talvik
