#pragma once

#include <string>

#include "model/design.h"

namespace brillora::testing {

// A sample design of GEM_DAT, built as the program builds it.
Stone SampleStone(const std::string& file);
Design SampleDesign(const std::string& file);

}  // namespace brillora::testing
