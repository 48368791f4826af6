#include "session/console/temporary_files.h"

#include <atomic>
#include <chrono>
#include <cstring>
#include <mutex>
#include <thread>

#include "session/console/system_file.h"

namespace talvik {
namespace {

// A slot of the table: free, taken while its name is written, or holding the
// name of a live temporary file, which a signal handler may then remove.
enum SlotState : int { kFree, kTaken, kLive };

struct Slot {
  std::atomic<int> state{kFree};
  char path[kLongestTemporaryName + 1] = {};
};

static_assert(std::atomic<int>::is_always_lock_free &&
                  std::atomic<bool>::is_always_lock_free,
              "the signal handler reads these atomics");

Slot slots[kMostTemporaries];

// Creations under way, and whether the program is ending.
std::atomic<int> creations{0};
std::atomic<bool> ending{false};

}  // namespace

TemporaryCreation::TemporaryCreation() {
  creations.fetch_add(1);
  if (!ending.load()) return;
  creations.fetch_sub(1);
  for (;;) std::this_thread::sleep_for(std::chrono::seconds(1));
}

TemporaryCreation::~TemporaryCreation() { creations.fetch_sub(1); }

int TemporaryCreation::remember(const std::string& path) {
  static std::once_flag handlersSet;
  std::call_once(handlersSet, [] {
    cleanUpBeforeFatalSignals(removeRememberedTemporaries);
  });
  if (path.size() > kLongestTemporaryName) return -1;
  for (std::size_t i = 0; i < kMostTemporaries; ++i) {
    int expected = kFree;
    if (!slots[i].state.compare_exchange_strong(expected, kTaken)) continue;
    std::memcpy(slots[i].path, path.c_str(), path.size() + 1);
    slots[i].state.store(kLive);
    return static_cast<int>(i);
  }
  return -1;
}

void forgetTemporary(int ticket) {
  if (ticket < 0) return;
  slots[ticket].state.store(kFree);
}

void removeRememberedTemporaries() noexcept {
  ending.store(true);
  while (creations.load() > 0) {
  }
  for (Slot& slot : slots) {
    if (slot.state.load() == kLive) removeFileQuietly(slot.path);
  }
}

}  // namespace talvik
