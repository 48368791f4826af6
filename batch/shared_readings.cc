#include "batch/shared_readings.h"

#include <utility>

namespace talvik {

std::shared_ptr<const InputSizes> SharedReadings::get(std::size_t index) {
  std::unique_lock lock(mutex_);
  const auto found = readings_.find(index);
  if (found != readings_.end()) {
    const Reading reading = found->second;
    lock.unlock();
    return reading.get();
  }
  std::promise<std::shared_ptr<const InputSizes>> promise;
  readings_.emplace(index, promise.get_future().share());
  lock.unlock();
  auto sizes = std::make_shared<const InputSizes>(read_(files_[index]));
  promise.set_value(sizes);
  return sizes;
}

void SharedReadings::release(std::size_t index) {
  const std::lock_guard lock(mutex_);
  readings_.erase(index);
}

}  // namespace talvik
