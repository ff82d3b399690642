#pragma once

#include <cstddef>

namespace brillora {

// The most memory the frames of an animation may take: half the machine's
// physical memory. A store beyond it would push the system into swapping or
// have the process killed, where a refusal can be reported and recovered from.
std::size_t AnimationMemoryBudget();

}  // namespace brillora
