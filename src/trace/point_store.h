#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <memory>
#include <vector>

#include "trace/race.h"

namespace brillora {

// The points of one render. Points never move once made, so beams hold plain
// pointers to them; Clear keeps the memory for the next render.
class PointStore {
 public:
  FlatPoint* New() {
    if (size_ == chunks_.size() * kChunk) chunks_.push_back(std::make_unique<Chunk>());
    FlatPoint* point = &(*chunks_[size_ / kChunk])[size_ % kChunk];
    ++size_;
    *point = FlatPoint{};
    return point;
  }
  FlatPoint& operator[](std::size_t i) { return (*chunks_[i / kChunk])[i % kChunk]; }
  const FlatPoint& operator[](std::size_t i) const { return (*chunks_[i / kChunk])[i % kChunk]; }
  std::size_t size() const { return size_; }
  void Clear() { size_ = 0; }

  // Calls f on every point from index `first` to the end, chunk by chunk.
  template <typename F>
  void ForEachFrom(std::size_t first, F&& f) {
    for (std::size_t i = first; i < size_;) {
      Chunk& chunk = *chunks_[i / kChunk];
      const std::size_t end = std::min(size_, (i / kChunk + 1) * kChunk);
      for (; i < end; ++i) f(chunk[i % kChunk]);
    }
  }

 private:
  static constexpr std::size_t kChunk = 4096;
  using Chunk = std::array<FlatPoint, kChunk>;
  std::vector<std::unique_ptr<Chunk>> chunks_;
  std::size_t size_ = 0;
};

}  // namespace brillora
