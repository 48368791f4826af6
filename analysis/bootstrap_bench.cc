#include <cmath>

#include "analysis/bootstrap.h"
#include "analysis/literal_bootstrap.h"
#include "benchmark/benchmark.h"

namespace talvik {
namespace {

// A settlement hierarchy with a unique largest size, some ties and two empty
// entries at the end, ordered largest first.
ObservedSizes hierarchy(int n) {
  ObservedSizes sizes;
  for (int i = 0; i < n; ++i) {
    const bool empty = n > 10 && i >= n - 2;
    sizes.push_back(
        empty ? 0.0f : std::round(25000.0f / std::pow(i / 3 + 1.0f, 0.9f)));
  }
  return sizes;
}

// Sizes without zeros: every A is finite.
ObservedSizes positiveHierarchy(int n) {
  ObservedSizes sizes = hierarchy(n);
  for (float& size : sizes) size = size > 0.0f ? size : 1.0f;
  return sizes;
}

void literalBootstrap(benchmark::State& state) {
  const ObservedSizes sizes =
      positiveHierarchy(static_cast<int>(state.range(0)));
  const float a = observedA(sizes);
  for (auto _ : state) {
    ResampleGenerator generator(1234567);
    benchmark::DoNotOptimize(runLiteralBootstrap(sizes, generator, a));
  }
}

void fastBootstrap(benchmark::State& state) {
  const ObservedSizes sizes =
      positiveHierarchy(static_cast<int>(state.range(0)));
  const float a = observedA(sizes);
  for (auto _ : state) {
    ResampleGenerator generator(1234567);
    benchmark::DoNotOptimize(runBootstrap(sizes, generator, a));
  }
}

// With zeros some A values are minus infinity: the passes stay fast, the
// ordering of the A values falls back to the repeated selection.
void fastBootstrapWithZeros(benchmark::State& state) {
  const ObservedSizes sizes = hierarchy(static_cast<int>(state.range(0)));
  const float a = observedA(sizes);
  for (auto _ : state) {
    ResampleGenerator generator(1234567);
    benchmark::DoNotOptimize(runBootstrap(sizes, generator, a));
  }
}

// talvik-batch's --resamples: the fast bootstrap of range(0) settlements with
// range(1) resamples.
void moreResamples(benchmark::State& state) {
  const ObservedSizes sizes =
      positiveHierarchy(static_cast<int>(state.range(0)));
  const float a = observedA(sizes);
  const int resamples = static_cast<int>(state.range(1));
  for (auto _ : state) {
    ResampleGenerator generator(1234567);
    benchmark::DoNotOptimize(runBootstrap(sizes, generator, a, resamples));
  }
}

BENCHMARK(literalBootstrap)
    ->Arg(5)
    ->Arg(37)
    ->Arg(1000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(fastBootstrap)
    ->Arg(5)
    ->Arg(37)
    ->Arg(1000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(fastBootstrapWithZeros)
    ->Arg(37)
    ->Arg(1000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(moreResamples)
    ->Args({1000, 10000})
    ->Args({1000, 100000})
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace talvik

BENCHMARK_MAIN();
