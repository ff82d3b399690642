#include "view/memory_budget.h"

#include <unistd.h>

namespace brillora {

namespace {

// When the system does not tell its memory: a gigabyte, the hundred bitmaps
// of a window of about 2300 x 2300 pixels.
constexpr std::size_t kUnknownMemoryBudget = std::size_t{1} << 30;

}  // namespace

std::size_t AnimationMemoryBudget() {
  const long pages = sysconf(_SC_PHYS_PAGES);
  const long pageSize = sysconf(_SC_PAGE_SIZE);
  if (pages <= 0 || pageSize <= 0) return kUnknownMemoryBudget;
  return static_cast<std::size_t>(pages) / 2 * static_cast<std::size_t>(pageSize);
}

}  // namespace brillora
