#ifndef TALVIK_BATCH_ORDERED_JOBS_H_
#define TALVIK_BATCH_ORDERED_JOBS_H_

#include <condition_variable>
#include <cstddef>
#include <map>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

namespace talvik {

// Runs work(0), ..., work(count - 1) on `jobs` threads and hands the results
// to deliver(index, result) one at a time, in index order, so that what is
// delivered never depends on `jobs`. No more than `window` jobs are started
// ahead of the next delivery: memory holds only the jobs in flight and the
// results waiting for an earlier one. Neither work nor deliver may throw.
// REQUIRES: jobs >= 1, window >= 1
template <typename Result, typename Work, typename Deliver>
void runOrderedJobs(std::size_t count, unsigned jobs, std::size_t window,
                    Work work, Deliver deliver) {
  std::mutex mutex;
  std::condition_variable delivered;
  std::size_t nextToStart = 0;
  std::size_t nextToDeliver = 0;
  std::map<std::size_t, Result> waiting;
  bool delivering = false;

  // Whichever thread finishes the job next in line delivers it and every
  // waiting result after it; the others go back to work meanwhile.
  const auto worker = [&] {
    std::unique_lock lock(mutex);
    for (;;) {
      delivered.wait(lock, [&] {
        return nextToStart == count || nextToStart < nextToDeliver + window;
      });
      if (nextToStart == count) return;
      const std::size_t index = nextToStart++;
      lock.unlock();
      Result result = work(index);
      lock.lock();
      waiting.emplace(index, std::move(result));
      if (delivering) continue;
      delivering = true;
      while (!waiting.empty() && waiting.begin()->first == nextToDeliver) {
        auto next = waiting.extract(waiting.begin());
        lock.unlock();
        deliver(next.key(), std::move(next.mapped()));
        lock.lock();
        ++nextToDeliver;
        delivered.notify_all();
      }
      delivering = false;
    }
  };

  std::vector<std::thread> threads;
  for (unsigned i = 1; i < jobs && i < count; ++i) threads.emplace_back(worker);
  worker();
  for (std::thread& thread : threads) thread.join();
}

}  // namespace talvik

#endif  // TALVIK_BATCH_ORDERED_JOBS_H_
