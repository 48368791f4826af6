#ifndef TALVIK_BATCH_SHARED_READINGS_H_
#define TALVIK_BATCH_SHARED_READINGS_H_

#include <cstddef>
#include <functional>
#include <future>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "batch/input_sizes.h"

namespace talvik {

// The sizes of the files being analysed, each read once however many seeds
// analyse it and however many threads ask for it at once, and dropped when
// its last analysis is done.
class SharedReadings {
 public:
  // Reads the file at a path: called once for each file, on the thread that
  // asks for it first.
  using ReadFile = std::function<InputSizes(const std::string& path)>;

  // `files` must outlive the readings.
  SharedReadings(const std::vector<std::string>& files, ReadFile read)
      : files_(files), read_(std::move(read)) {}

  // The sizes of files[index]: read by the first caller, waited for by the
  // others.
  std::shared_ptr<const InputSizes> get(std::size_t index);
  // Forgets files[index]; no later get() may ask for it.
  void release(std::size_t index);

 private:
  using Reading = std::shared_future<std::shared_ptr<const InputSizes>>;

  const std::vector<std::string>& files_;
  ReadFile read_;
  std::mutex mutex_;
  std::map<std::size_t, Reading> readings_;
};

}  // namespace talvik

#endif  // TALVIK_BATCH_SHARED_READINGS_H_
