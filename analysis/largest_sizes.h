#ifndef TALVIK_ANALYSIS_LARGEST_SIZES_H_
#define TALVIK_ANALYSIS_LARGEST_SIZES_H_

#include <cstddef>
#include <vector>

#include "analysis/observed_sizes.h"

namespace talvik {

// The largest sizes of a list of any length, kept in bounded memory: what
// orderLargestFirst of the whole list would give in its first `kept`
// positions.
class LargestSizes {
 public:
  // REQUIRES: kept >= 1
  explicit LargestSizes(std::size_t kept) : kept_(kept) {}

  void add(float size);
  // How many sizes were added.
  std::size_t count() const { return count_; }
  // The largest `kept` sizes, largest first, as orderLargestFirst orders.
  ObservedSizes ordered() const;

 private:
  std::size_t kept_;
  std::size_t count_ = 0;
  bool holdsNaN_ = false;
  std::vector<float> sizes_;
};

}  // namespace talvik

#endif  // TALVIK_ANALYSIS_LARGEST_SIZES_H_
