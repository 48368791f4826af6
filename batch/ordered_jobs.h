#ifndef TALVIK_BATCH_ORDERED_JOBS_H_
#define TALVIK_BATCH_ORDERED_JOBS_H_

#include <condition_variable>
#include <cstddef>
#include <exception>
#include <map>
#include <mutex>
#include <new>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

namespace talvik {

// Runs work(0), ..., work(count - 1) on `jobs` threads and hands the results
// to deliver(index, result) one at a time, in index order, so that what is
// delivered never depends on `jobs`. No more than `window` jobs are started
// ahead of the next delivery: memory holds only the jobs in flight and the
// results waiting for an earlier one. Threads the system cannot start leave
// their share to the others; the calling thread always works. The first
// exception of work or deliver stops the run: no job starts after it, and it
// is thrown again here once every thread has ended.
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
  std::exception_ptr failure;

  // Whichever thread finishes the job next in line delivers it and every
  // waiting result after it; the others go back to work meanwhile.
  const auto worker = [&] {
    std::unique_lock lock(mutex);
    try {
      for (;;) {
        delivered.wait(lock, [&] {
          return failure || nextToStart == count ||
                 nextToStart < nextToDeliver + window;
        });
        if (failure || nextToStart == count) return;
        const std::size_t index = nextToStart++;
        lock.unlock();
        Result result = work(index);
        lock.lock();
        waiting.emplace(index, std::move(result));
        if (delivering) continue;
        delivering = true;
        while (!failure && !waiting.empty() &&
               waiting.begin()->first == nextToDeliver) {
          auto next = waiting.extract(waiting.begin());
          lock.unlock();
          deliver(next.key(), std::move(next.mapped()));
          lock.lock();
          ++nextToDeliver;
          delivered.notify_all();
        }
        delivering = false;
      }
    } catch (...) {
      if (!lock.owns_lock()) lock.lock();
      if (!failure) failure = std::current_exception();
      delivered.notify_all();
    }
  };

  // A thread the system cannot start (a process limit, no room for its stack
  // or its state) leaves its share to those that did start.
  std::vector<std::thread> threads;
  try {
    for (unsigned i = 1; i < jobs && i < count; ++i) {
      threads.emplace_back(worker);
    }
  } catch (const std::system_error&) {
  } catch (const std::bad_alloc&) {
  }
  worker();
  for (std::thread& thread : threads) thread.join();
  if (failure) std::rethrow_exception(failure);
}

}  // namespace talvik

#endif  // TALVIK_BATCH_ORDERED_JOBS_H_
