#include "batch/held_doubts.h"

#include <algorithm>

#include "analysis/observed_sizes.h"

namespace talvik {
namespace {

// Whether `a` comes before `b` where the analysis orders its sizes: the
// larger first, of equal ones the earlier; sizes of 0 or less all count as 0.
struct ComesBefore {
  template <typename Held>
  bool operator()(const Held& a, const Held& b) const {
    return a.size > b.size || (a.size == b.size && a.line < b.line);
  }
};

bool byLine(const LineDoubt& a, const LineDoubt& b) { return a.line < b.line; }

}  // namespace

HeldDoubts::HeldDoubts(std::size_t kept, std::size_t shown)
    : kept_(kept), shown_(shown) {}

void HeldDoubts::add(const LineDoubt& doubt) {
  if (last_.line == 0 || doubt.line > last_.line) {
    waiting_.push_back(doubt);
    return;
  }
  switch (last_.fate) {
    case Last::Fate::kHeld:
      held_.emplace(last_.line, doubt);
      break;
    case Last::Fate::kStaying:
      stay(doubt);
      break;
    case Last::Fate::kCut:
      if (!last_.counted) countCut(doubt.line);
      last_.counted = true;
      break;
  }
}

void HeldDoubts::take(std::int64_t line, float size) {
  if (kept_ == 0) {
    keep(line);
    return;
  }
  const Held entry{orderedSize(size), line};
  if (sizes_.size() == kept_) {
    if (!ComesBefore()(entry, sizes_.front())) {
      last_ = {line, Last::Fate::kCut, !waiting_.empty()};
      if (!waiting_.empty()) countCut(waiting_.front().line);
      waiting_.clear();
      return;
    }
    cutWorst();
  }
  sizes_.push_back(entry);
  std::push_heap(sizes_.begin(), sizes_.end(), ComesBefore());
  last_ = {line, Last::Fate::kHeld, false};
  for (const LineDoubt& doubt : waiting_) held_.emplace(line, doubt);
  waiting_.clear();
}

void HeldDoubts::keep(std::int64_t line) {
  last_ = {line, Last::Fate::kStaying, false};
  for (const LineDoubt& doubt : waiting_) stay(doubt);
  waiting_.clear();
}

void HeldDoubts::stopCutting() {
  for (const auto& [sizeLine, doubt] : held_) stay(doubt);
  held_.clear();
  sizes_.clear();
  kept_ = 0;
  if (last_.fate == Last::Fate::kHeld) last_.fate = Last::Fate::kStaying;
}

std::vector<LineDoubt> HeldDoubts::finish() {
  for (const LineDoubt& doubt : waiting_) stay(doubt);
  waiting_.clear();
  stopCutting();
  trim();
  shownCount_ = static_cast<std::int64_t>(staying_.size());
  return staying_;
}

// Doubts of equal lines keep the order they were found in.
void HeldDoubts::stay(const LineDoubt& doubt) {
  staying_.push_back(doubt);
  ++stayCount_;
  if (staying_.size() >= 2 * shown_) trim();
}

void HeldDoubts::trim() {
  std::stable_sort(staying_.begin(), staying_.end(), byLine);
  if (staying_.size() > shown_) staying_.resize(shown_);
}

void HeldDoubts::countCut(std::int64_t line) {
  ++cutLines_;
  if (firstCutLine_ == 0 || line < firstCutLine_) firstCutLine_ = line;
}

void HeldDoubts::cutWorst() {
  std::pop_heap(sizes_.begin(), sizes_.end(), ComesBefore());
  const std::int64_t line = sizes_.back().line;
  sizes_.pop_back();
  const auto [first, end] = held_.equal_range(line);
  if (first == end) return;
  countCut(first->second.line);
  held_.erase(first, end);
}

}  // namespace talvik
