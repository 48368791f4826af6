#ifndef TALVIK_BATCH_SHARED_READINGS_H_
#define TALVIK_BATCH_SHARED_READINGS_H_

#include <cstddef>
#include <future>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "batch/input_sizes.h"

namespace talvik {

// The sizes of the files being analysed, each read once however many seeds
// analyse it and however many threads ask for it at once, and dropped when
// its last analysis is done.
class SharedReadings {
 public:
  SharedReadings(const std::vector<std::string>& files,
                 const SizeReadingRules& rules)
      : files_(files), rules_(rules) {}

  // The sizes of files[index]: read by the first caller, waited for by the
  // others.
  std::shared_ptr<const InputSizes> get(std::size_t index);
  // Forgets files[index]; no later get() may ask for it.
  void release(std::size_t index);

 private:
  using Reading = std::shared_future<std::shared_ptr<const InputSizes>>;

  const std::vector<std::string>& files_;
  const SizeReadingRules& rules_;
  std::mutex mutex_;
  std::map<std::size_t, Reading> readings_;
};

}  // namespace talvik

#endif  // TALVIK_BATCH_SHARED_READINGS_H_
