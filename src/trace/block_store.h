#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <memory>
#include <vector>

namespace brillora {

// Records in fixed blocks of kBlock: a record keeps its address as the store
// grows, and Clear keeps the memory, records included, for the next render.
template <typename T, std::size_t kBlock>
class BlockStore {
 public:
  // The next record, as an earlier render left it: the caller sets it up.
  T& Next() {
    if (size_ == blocks_.size() * kBlock) blocks_.push_back(std::make_unique<Block>());
    T& record = (*blocks_[size_ / kBlock])[size_ % kBlock];
    ++size_;
    return record;
  }
  T& operator[](std::size_t i) { return (*blocks_[i / kBlock])[i % kBlock]; }
  const T& operator[](std::size_t i) const { return (*blocks_[i / kBlock])[i % kBlock]; }
  std::size_t size() const { return size_; }
  void Clear() { size_ = 0; }

  // Calls f on every record from index `first` to the end, block by block.
  template <typename F>
  void ForEachFrom(std::size_t first, F&& f) {
    for (std::size_t i = first; i < size_;) {
      Block& block = *blocks_[i / kBlock];
      const std::size_t end = std::min(size_, (i / kBlock + 1) * kBlock);
      for (; i < end; ++i) f(block[i % kBlock]);
    }
  }

 private:
  using Block = std::array<T, kBlock>;
  std::vector<std::unique_ptr<Block>> blocks_;
  std::size_t size_ = 0;
};

}  // namespace brillora
