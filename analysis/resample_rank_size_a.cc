#include "analysis/resample_rank_size_a.h"

#include <array>
#include <cstddef>
#include <span>
#include <utility>

#include "analysis/counted_resample.h"
#include "analysis/instruction_set.h"
#include "analysis/observed_sizes.h"
#include "analysis/rank_size_a.h"

namespace talvik {

/* rankSizeA for the resamples of one list, bit for bit. Both build on the
   same NormalisedSizeAxis and strip widths and sum as SignedArea does (see
   signedProducts below), so every value is the same float operation on the
   same operands; only where it is computed changes. The axis depends only
   on the resample's largest size and n; the logarithm of a size only on the
   size, and its place only on that logarithm and the axis; the strip widths
   only on n. So those are computed once per run, the axis and the placed
   sizes once per distinct largest size (resamples mostly share the few
   largest), and a resample costs one deviation, product and addition to
   each sum per rank. */
ResampleRankSizeA::ResampleRankSizeA(const ObservedSizes& sizes)
    : ordered_(sizes.size()),
      logSizes_(sizes.size()),
      stripWidth_(stripWidths(sizes.size())),
      firstOfSize_(sizes.size()),
      scales_(sizes.size()),
      sizeByRank_(sizes.size() + CountedResample::kSpreadSlack),
      negativeProducts_(kBatch * sizes.size()),
      positiveProducts_(kBatch * sizes.size()) {
  const std::size_t n = sizes.size();
  for (std::size_t p = 0; p < n; ++p) {
    ordered_[p] = orderedSize(sizes[p]);
    logSizes_[p] = log10Of(ordered_[p]);
    firstOfSize_[p] = p > 0 && ordered_[p] == ordered_[p - 1]
                          ? firstOfSize_[p - 1]
                          : static_cast<int>(p);
  }
}

const ResampleRankSizeA::Scale& ResampleRankSizeA::scaleFor(
    int largestPosition) {
  std::optional<Scale>& scale = scales_[firstOfSize_[largestPosition]];
  if (scale) return *scale;
  const std::size_t n = ordered_.size();
  NormalisedSizeAxis axis(ordered_[largestPosition], n);
  std::vector<float> placed(n);
  for (std::size_t p = 0; p < n; ++p) placed[p] = axis.place(logSizes_[p]);
  return scale.emplace(Scale{std::move(axis), std::move(placed)});
}

namespace {

// What forming the products of one resample reads and writes: the placed
// size of each position and the reference line on the resample's scale, the
// strip widths, its placed sizes by rank (n and the slack that spread
// writes), and its slot's negative and positive products.
struct ProductArrays {
  std::size_t n;
  const float* placed;
  const float* line;
  const float* width;
  float* sizeByRank;
  float* negative;
  float* positive;
};

/* The area as SignedArea sums it, in two passes. SignedArea adds a product
   to the negative sum when it is below zero and to the positive sum when it
   is above, rank by rank. The first pass forms every product, the same
   operations on the same operands, and keeps for each sum the product or
   +0.0: a loop of independent operations, which vectorises. The second
   (batchAs) adds them all in rank order. Adding +0.0 leaves a float's bits
   as they are unless it is -0.0, which neither sum ever is: both start at
   +0.0 and gain only nonzero values of one sign, whose sum never rounds to
   zero; zero and not-a-number products add +0.0 to both, as they fall
   through both tests there. */
[[gnu::always_inline]] inline void signedProducts(const ProductArrays& arrays) {
  const float* const sizes = arrays.sizeByRank;
  float* const negative = arrays.negative;
  float* const positive = arrays.positive;
  for (std::size_t i = 0; i < arrays.n; ++i) {
    const float product = (sizes[i] - arrays.line[i]) * arrays.width[i];
    negative[i] = product < 0.0f ? product : 0.0f;
    positive[i] = product > 0.0f ? product : 0.0f;
  }
}

[[gnu::always_inline]] inline void countedProducts(
    const CountedResample& resample, const ProductArrays& arrays) {
  const float* const placed = arrays.placed;
  resample.spread([placed](int p) { return placed[p]; },
                  std::span<float>(arrays.sizeByRank,
                                   arrays.n + CountedResample::kSpreadSlack));
  signedProducts(arrays);
}

#if TALVIK_AVX2_LOOPS
[[gnu::target("avx2"), gnu::flatten]] void signedProductsAvx2(
    const ProductArrays& arrays) {
  signedProducts(arrays);
}

[[gnu::target("avx2"), gnu::flatten]] void countedProductsAvx2(
    const CountedResample& resample, const ProductArrays& arrays) {
  countedProducts(resample, arrays);
}
#endif

}  // namespace

float ResampleRankSizeA::of(std::span<const int> positionByRank) {
  const Scale& scale = scaleFor(positionByRank[0]);
  for (std::size_t i = 0; i < positionByRank.size(); ++i) {
    sizeByRank_[i] = scale.sizes[positionByRank[i]];
  }
  const ProductArrays arrays{ordered_.size(),
                             scale.sizes.data(),
                             scale.axis.referenceLine().data(),
                             stripWidth_.data(),
                             sizeByRank_.data(),
                             negativeProducts_.data(),
                             positiveProducts_.data()};
#if TALVIK_AVX2_LOOPS
  if (avx2LoopsRun()) {
    signedProductsAvx2(arrays);
    return batchAs()[0];
  }
#endif
  signedProducts(arrays);
  return batchAs()[0];
}

void ResampleRankSizeA::take(const CountedResample& resample, int slot) {
  const std::size_t n = ordered_.size();
  const Scale& scale = scaleFor(resample.firstPosition());
  const ProductArrays arrays{n,
                             scale.sizes.data(),
                             scale.axis.referenceLine().data(),
                             stripWidth_.data(),
                             sizeByRank_.data(),
                             negativeProducts_.data() + slot * n,
                             positiveProducts_.data() + slot * n};
#if TALVIK_AVX2_LOOPS
  if (avx2LoopsRun()) {
    countedProductsAvx2(resample, arrays);
    return;
  }
#endif
  countedProducts(resample, arrays);
}

std::array<float, ResampleRankSizeA::kBatch> ResampleRankSizeA::batchAs()
    const {
  const std::size_t n = ordered_.size();
  std::array<float, kBatch> negativeSum{};
  std::array<float, kBatch> positiveSum{};
  for (std::size_t i = 0; i < n; ++i) {
    for (int slot = 0; slot < kBatch; ++slot) {
      negativeSum[slot] = negativeSum[slot] + negativeProducts_[slot * n + i];
      positiveSum[slot] = positiveSum[slot] + positiveProducts_[slot * n + i];
    }
  }
  std::array<float, kBatch> as;
  for (int slot = 0; slot < kBatch; ++slot) {
    as[slot] = positiveSum[slot] + negativeSum[slot];
  }
  return as;
}

}  // namespace talvik
