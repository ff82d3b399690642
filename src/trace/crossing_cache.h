#pragma once

// The crossings of one cut, so that neighbouring facets share theirs. Only the
// cutter and the tests of its paths include this header.
#if !defined(BRILLORA_TRACE_INTERNALS)
#error "trace/crossing_cache.h belongs to the tracer's own sources"
#endif

#include <cstddef>
#include <cstdint>
#include <vector>

#include "trace/race.h"

namespace brillora::trace {

// The crossings of beam edges with facet edges made in one cut. Neighbouring
// facets meet a beam edge at the same crossing, which is made once and found
// again by the second facet: its key is the beam edge and the facet edge's two
// ends (the records of the cut's projected corners), ordered by their masks,
// the same from either facet.
class CrossingCache {
 public:
  struct Crossing {
    std::size_t edge;  // of the beam
    std::uint32_t first, second;
    FlatPoint* point;  // nullptr for parallel lines
    std::size_t slot;  // in slots_, once hashed
  };

  // Forgets the crossings of the last cut.
  void Clear() {
    if (crossings_.size() > kListed) {
      for (const Crossing& c : crossings_) slots_[c.slot] = 0;
    }
    crossings_.clear();
  }
  // The crossing already made at this key in this cut, or nullptr.
  const Crossing* Find(std::size_t edge, std::uint32_t first, std::uint32_t second) const {
    if (crossings_.size() > kListed) return FindHashed(edge, first, second);
    for (const Crossing& c : crossings_) {
      if (c.edge == edge && c.first == first && c.second == second) return &c;
    }
    return nullptr;
  }
  void Add(std::size_t edge, std::uint32_t first, std::uint32_t second, FlatPoint* point) {
    crossings_.push_back({edge, first, second, point, 0});
    if (crossings_.size() > kListed) HashLast();
  }

 private:
  // A cut makes a few crossings as a rule, which a short list finds fastest;
  // a broken stone can make thousands, which are then found by a hash.
  static constexpr std::size_t kListed = 16;

  std::size_t Slot(std::size_t edge, std::uint32_t first, std::uint32_t second) const {
    // The two corners' records and the edge, mixed by one multiplication
    // (Fibonacci hashing); an overlap of their bits only makes a collision.
    const std::uint64_t key = first ^ (std::uint64_t{second} << 21) ^ (static_cast<std::uint64_t>(edge) << 42);
    return static_cast<std::size_t>((key * 0x9E3779B97F4A7C15u) >> (64 - slotBits_));
  }
  const Crossing* FindHashed(std::size_t edge, std::uint32_t first, std::uint32_t second) const;
  // Enters the crossing added last past the short list, growing the table as needed.
  void HashLast();
  void Hash(Crossing& crossing, std::size_t index);

  std::vector<Crossing> crossings_;
  // Past kListed, the crossings of this cut by key, open addressed and at
  // most half full: 0 for an empty slot, else the crossing's index plus one.
  std::vector<std::uint32_t> slots_ = std::vector<std::uint32_t>(64);
  int slotBits_ = 6;
};

}  // namespace brillora::trace
