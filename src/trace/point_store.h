#pragma once

#include "trace/block_store.h"
#include "trace/race.h"

namespace brillora {

// The points of one render. Points never move once made, so beams hold plain
// pointers to them.
class PointStore : public BlockStore<FlatPoint, 4096> {
 public:
  FlatPoint* New() {
    FlatPoint& point = Next();
    point = FlatPoint{};
    return &point;
  }
};

}  // namespace brillora
