#include "analysis/largest_sizes.h"

#include <cmath>

namespace talvik {

// Without a not-a-number the ordering is a stable sort of the positive sizes
// followed by zeros, so ordering a part and cutting it to its first `kept`
// loses nothing of the first `kept` of the whole: a size cut off has `kept`
// others before it that stay before it. A not-a-number makes the repeated
// selection depend on every position, so the list is then kept whole.
void LargestSizes::add(float size) {
  ++count_;
  holdsNaN_ = holdsNaN_ || std::isnan(size);
  sizes_.push_back(size);
  if (!holdsNaN_ && sizes_.size() == 2 * kept_) {
    sizes_ = orderLargestFirst(sizes_);
    sizes_.resize(kept_);
  }
}

ObservedSizes LargestSizes::ordered() const {
  ObservedSizes ordered = orderLargestFirst(sizes_);
  if (ordered.size() > kept_) ordered.resize(kept_);
  return ordered;
}

}  // namespace talvik
