#include "trace/crossing_cache.h"

namespace brillora::trace {

const CrossingCache::Crossing* CrossingCache::FindHashed(std::size_t edge, std::uint32_t first,
                                                         std::uint32_t second) const {
  const std::size_t wrap = slots_.size() - 1;
  for (std::size_t slot = Slot(edge, first, second); slots_[slot] != 0; slot = (slot + 1) & wrap) {
    const Crossing& c = crossings_[slots_[slot] - 1];
    if (c.edge == edge && c.first == first && c.second == second) return &c;
  }
  return nullptr;
}

void CrossingCache::HashLast() {
  const std::size_t count = crossings_.size();
  if (2 * count > slots_.size()) {
    ++slotBits_;
    slots_.assign(slots_.size() * 2, 0);
  } else if (count > kListed + 1) {
    Hash(crossings_.back(), count - 1);
    return;
  }
  // Past the short list, or in a larger table: every crossing of the cut
  // goes in. A table is empty outside the cuts that use it.
  for (std::size_t i = 0; i < count; ++i) Hash(crossings_[i], i);
}

void CrossingCache::Hash(Crossing& crossing, std::size_t index) {
  const std::size_t wrap = slots_.size() - 1;
  crossing.slot = Slot(crossing.edge, crossing.first, crossing.second);
  while (slots_[crossing.slot] != 0) crossing.slot = (crossing.slot + 1) & wrap;
  slots_[crossing.slot] = static_cast<std::uint32_t>(index + 1);
}

}  // namespace brillora::trace
