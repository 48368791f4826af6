#include "session/console/temporary_files.h"

#include <atomic>
#include <cstring>
#include <mutex>

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

static_assert(std::atomic<int>::is_always_lock_free,
              "the signal handler reads the slots' states");

Slot slots[kMostTemporaries];

}  // namespace

int rememberTemporary(const std::string& path) {
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
  for (Slot& slot : slots) {
    if (slot.state.load() == kLive) removeFileQuietly(slot.path);
  }
}

}  // namespace talvik
