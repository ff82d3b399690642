#include "trace/corner_masks.h"

namespace brillora::trace {

bool CornerMasks::WideZero(std::size_t point) const {
  for (std::size_t w = 0; w < words_; ++w) {
    if (masks_[point * words_ + w] != 0) return false;
  }
  return true;
}

bool CornerMasks::WideLess(std::size_t a, std::size_t b) const {
  for (std::size_t w = words_; w-- > 0;) {
    const std::uint64_t ma = masks_[a * words_ + w], mb = masks_[b * words_ + w];
    if (ma != mb) return ma < mb;
  }
  return false;
}

}  // namespace brillora::trace
