#include "analysis/resample_rank_size_a.h"

#include <array>
#include <cstddef>
#include <span>
#include <utility>

#include "analysis/counted_resample.h"
#include "analysis/instruction_set.h"
#include "analysis/nan_sign.h"
#include "analysis/observed_sizes.h"
#include "analysis/rank_size_a.h"

#if TALVIK_AVX2_LOOPS
#include <immintrin.h>
#endif

namespace talvik {
namespace {

// The ranks of one vector of the AVX2 sums.
constexpr std::size_t kVectorRanks = 8;

std::size_t roundedUpToVectors(std::size_t ranks) {
  return (ranks + kVectorRanks - 1) / kVectorRanks * kVectorRanks;
}

}  // namespace

/* rankSizeA for the resamples of one list, bit for bit. Both build on the
   same NormalisedSizeAxis and strip widths and sum as SignedArea does (see
   batchAs below), so every value is the same float operation on the same
   operands; only where it is computed changes. The axis depends only on the
   resample's largest size and n; the logarithm of a size only on the size,
   and its place only on that logarithm and the axis; the strip widths only
   on n. So those are computed once per run, the axis and the placed sizes
   once per distinct largest size (resamples mostly share the few largest),
   and a resample costs one deviation, product and addition to each sum per
   rank. */
ResampleRankSizeA::ResampleRankSizeA(const ObservedSizes& sizes)
    : ordered_(sizes.size()),
      logSizes_(sizes.size()),
      stripWidth_(stripWidths(sizes.size())),
      firstOfSize_(sizes.size()),
      scales_(sizes.size()),
      paddedRanks_(roundedUpToVectors(sizes.size())),
      slotRoom_(
          roundedUpToVectors(sizes.size() + CountedResample::kSpreadSlack)),
      sizeByRank_(kBatch * slotRoom_) {
  const std::size_t n = sizes.size();
  stripWidth_.resize(paddedRanks_, 0.0f);
  for (std::size_t p = 0; p < n; ++p) {
    ordered_[p] = orderedSize(sizes[p]);
    logSizes_[p] = ordered_[p];
  }
  toLog10(logSizes_);
  for (std::size_t p = 0; p < n; ++p) {
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
  const NormalisedSizeAxis axis(ordered_[largestPosition], n);
  std::vector<float> placed(n);
  for (std::size_t p = 0; p < n; ++p) placed[p] = axis.place(logSizes_[p]);
  std::vector<float> line = axis.referenceLine();
  line.resize(paddedRanks_, 0.0f);
  return scale.emplace(Scale{std::move(placed), std::move(line)});
}

float ResampleRankSizeA::of(std::span<const int> positionByRank) {
  const Scale& scale = scaleFor(positionByRank[0]);
  SignedArea area;
  for (std::size_t i = 0; i < positionByRank.size(); ++i) {
    area.add(scale.sizes[positionByRank[i]] - scale.line[i], stripWidth_[i]);
  }
  return area.total();
}

namespace {

// What the sums of one batch read: each slot's placed sizes by rank, slotRoom
// apart, and its reference line, both at least paddedRanks long, and the
// strip widths, zero past the n ranks.
struct BatchArrays {
  std::size_t n;
  std::size_t paddedRanks;
  std::size_t slotRoom;
  const float* sizes;
  const std::array<const float*, ResampleRankSizeA::kBatch>& line;
  const float* width;
};

/* The area as SignedArea sums it. SignedArea adds a product to the negative
   sum when it is below zero and to the positive sum when it is above, rank
   by rank. Here every rank adds the product or +0.0 to each sum, which
   needs no branch: adding +0.0 leaves a float's bits as they are unless it
   is -0.0, which neither sum ever is, as both start at +0.0 and gain only
   nonzero values of one sign, whose sum never rounds to zero; zero and
   not-a-number products add +0.0 to both, as they fall through both tests
   there. */
std::array<float, ResampleRankSizeA::kBatch> signedAreas(
    const BatchArrays& arrays) {
  constexpr int kBatch = ResampleRankSizeA::kBatch;
  std::array<float, kBatch> negative{};
  std::array<float, kBatch> positive{};
  for (std::size_t i = 0; i < arrays.n; ++i) {
    for (int slot = 0; slot < kBatch; ++slot) {
      const float size = arrays.sizes[slot * arrays.slotRoom + i];
      const float product = (size - arrays.line[slot][i]) * arrays.width[i];
      negative[slot] = negative[slot] + (product < 0.0f ? product : 0.0f);
      positive[slot] = positive[slot] + (product > 0.0f ? product : 0.0f);
    }
  }
  std::array<float, kBatch> areas;
  for (int slot = 0; slot < kBatch; ++slot) {
    areas[slot] = positive[slot] + negative[slot];
  }
  return areas;
}

#if TALVIK_AVX2_LOOPS
/* The same sums, a vector holding one rank of all eight resamples. Eight
   ranks of each resample's products are formed as the baseline forms them,
   a vector per resample, then turned into a vector per rank. Past the n
   ranks the strip widths are 0, so each product there is a zero or NaN and
   adds +0.0 to both sums. The minimum of a product and +0.0 is the product
   when it is below zero and the +0.0 otherwise, NaN and -0.0 included; the
   maximum likewise. */
[[gnu::target("avx2")]] std::array<float, ResampleRankSizeA::kBatch>
signedAreasAvx2(const BatchArrays& arrays) {
  static_assert(ResampleRankSizeA::kBatch == kVectorRanks);
  const __m256 zero = _mm256_setzero_ps();
  __m256 negative = zero;
  __m256 positive = zero;
  for (std::size_t i = 0; i < arrays.paddedRanks; i += kVectorRanks) {
    const __m256 width = _mm256_loadu_ps(arrays.width + i);
    // Plain arrays: std::array drops the vector type's alignment attribute.
    __m256 product[kVectorRanks];
    for (std::size_t slot = 0; slot < kVectorRanks; ++slot) {
      const __m256 size =
          _mm256_loadu_ps(arrays.sizes + slot * arrays.slotRoom + i);
      const __m256 line = _mm256_loadu_ps(arrays.line[slot] + i);
      product[slot] = _mm256_mul_ps(_mm256_sub_ps(size, line), width);
    }
    // Rows of resamples to rows of ranks: pairs, then quads, then halves.
    const __m256 pair0 = _mm256_unpacklo_ps(product[0], product[1]);
    const __m256 pair1 = _mm256_unpackhi_ps(product[0], product[1]);
    const __m256 pair2 = _mm256_unpacklo_ps(product[2], product[3]);
    const __m256 pair3 = _mm256_unpackhi_ps(product[2], product[3]);
    const __m256 pair4 = _mm256_unpacklo_ps(product[4], product[5]);
    const __m256 pair5 = _mm256_unpackhi_ps(product[4], product[5]);
    const __m256 pair6 = _mm256_unpacklo_ps(product[6], product[7]);
    const __m256 pair7 = _mm256_unpackhi_ps(product[6], product[7]);
    const __m256 quad0 = _mm256_shuffle_ps(pair0, pair2, 0x44);
    const __m256 quad1 = _mm256_shuffle_ps(pair0, pair2, 0xee);
    const __m256 quad2 = _mm256_shuffle_ps(pair1, pair3, 0x44);
    const __m256 quad3 = _mm256_shuffle_ps(pair1, pair3, 0xee);
    const __m256 quad4 = _mm256_shuffle_ps(pair4, pair6, 0x44);
    const __m256 quad5 = _mm256_shuffle_ps(pair4, pair6, 0xee);
    const __m256 quad6 = _mm256_shuffle_ps(pair5, pair7, 0x44);
    const __m256 quad7 = _mm256_shuffle_ps(pair5, pair7, 0xee);
    const __m256 rank[kVectorRanks] = {
        _mm256_permute2f128_ps(quad0, quad4, 0x20),
        _mm256_permute2f128_ps(quad1, quad5, 0x20),
        _mm256_permute2f128_ps(quad2, quad6, 0x20),
        _mm256_permute2f128_ps(quad3, quad7, 0x20),
        _mm256_permute2f128_ps(quad0, quad4, 0x31),
        _mm256_permute2f128_ps(quad1, quad5, 0x31),
        _mm256_permute2f128_ps(quad2, quad6, 0x31),
        _mm256_permute2f128_ps(quad3, quad7, 0x31)};
    for (const __m256 products : rank) {
      negative = _mm256_add_ps(negative, _mm256_min_ps(products, zero));
      positive = _mm256_add_ps(positive, _mm256_max_ps(products, zero));
    }
  }
  std::array<float, kVectorRanks> areas;
  _mm256_storeu_ps(areas.data(), _mm256_add_ps(positive, negative));
  return areas;
}
#endif

// Lays out the placed sizes of a resample's drawn positions by rank.
[[gnu::always_inline]] inline void spreadPlaced(const CountedResample& resample,
                                                const float* placed,
                                                std::span<float> byRank) {
  resample.spread([placed](int p) { return placed[p]; }, byRank);
}

}  // namespace

void ResampleRankSizeA::take(const CountedResample& resample, int slot) {
  const Scale& scale = scaleFor(resample.firstPosition());
  slotLine_[slot] = scale.line.data();
  const float* const placed = scale.sizes.data();
  const std::span<float> byRank(sizeByRank_.data() + slot * slotRoom_,
                                slotRoom_);
  TALVIK_AVX2_OR_BASELINE(avx2Build<spreadPlaced>(resample, placed, byRank),
                          spreadPlaced(resample, placed, byRank));
}

std::array<float, ResampleRankSizeA::kBatch> ResampleRankSizeA::batchAs()
    const {
  const BatchArrays arrays{ordered_.size(), paddedRanks_,
                           slotRoom_,       sizeByRank_.data(),
                           slotLine_,       stripWidth_.data()};
  std::array<float, kBatch> areas =
      TALVIK_AVX2_OR_BASELINE(signedAreasAvx2(arrays), signedAreas(arrays));
  for (float& area : areas) area = pinNaNSign(area);
  return areas;
}

}  // namespace talvik
