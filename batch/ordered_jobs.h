#ifndef TALVIK_BATCH_ORDERED_JOBS_H_
#define TALVIK_BATCH_ORDERED_JOBS_H_

#include <algorithm>
#include <condition_variable>
#include <cstddef>
#include <exception>
#include <map>
#include <mutex>
#include <new>
#include <optional>
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
// exception of work or deliver stops the run: no job starts after it, the
// results of the jobs before a failed one are still delivered, and it is
// thrown again here once every thread has ended.
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
  // The first job whose result is not delivered: a failed job's, or the next
  // to deliver when a delivery failed.
  std::size_t stopAt = count;

  // The first failure is thrown in the end; the results before the earliest
  // failed job are still delivered, in order, by whichever threads finish them.
  const auto stop = [&](std::size_t at) {
    if (!failure) failure = std::current_exception();
    stopAt = std::min(stopAt, at);
    delivered.notify_all();
  };

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
        std::optional<Result> result;
        try {
          result.emplace(work(index));
        } catch (...) {
          lock.lock();
          stop(index);
        }
        if (!lock.owns_lock()) lock.lock();
        if (result) waiting.emplace(index, std::move(*result));
        if (delivering) continue;
        delivering = true;
        while (!waiting.empty() && waiting.begin()->first == nextToDeliver &&
               nextToDeliver < stopAt) {
          auto next = waiting.extract(waiting.begin());
          lock.unlock();
          try {
            deliver(next.key(), std::move(next.mapped()));
          } catch (...) {
            lock.lock();
            stop(nextToDeliver);
            break;
          }
          lock.lock();
          ++nextToDeliver;
          delivered.notify_all();
        }
        delivering = false;
      }
    } catch (...) {
      // Out of memory keeping a result: nothing more is delivered.
      if (!lock.owns_lock()) lock.lock();
      stop(nextToDeliver);
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
