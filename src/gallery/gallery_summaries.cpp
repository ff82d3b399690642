#include "gallery/gallery_summaries.h"

#include <algorithm>
#include <cassert>
#include <utility>

namespace brillora {

GallerySummaries::GallerySummaries(std::vector<std::filesystem::path> files, int thumbnailSize, int threads,
                                   Ready ready)
    : files_(std::move(files)), thumbnailSize_(thumbnailSize), ready_(std::move(ready)) {
  assert(threads >= 1);
  assert(ready_);
  const std::size_t count = std::min(files_.size(), static_cast<std::size_t>(threads));
  workers_.reserve(count);
  for (std::size_t i = 0; i < count; ++i) {
    workers_.emplace_back([this](const std::stop_token& stop) { Run(stop); });
  }
}

GallerySummaries::~GallerySummaries() {
  for (std::jthread& worker : workers_) worker.request_stop();
}

int GallerySummaries::DefaultThreads() {
  const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
  return static_cast<int>(std::clamp(cores > 2 ? cores - 1 : cores, 1u, 4u));
}

void GallerySummaries::Run(const std::stop_token& stop) {
  while (!stop.stop_requested()) {
    const std::size_t index = next_.fetch_add(1);
    if (index >= files_.size()) return;
    DesignSummary summary = SummariseDesign(files_[index], thumbnailSize_);
    if (stop.stop_requested()) return;
    ready_(index, std::move(summary));
  }
}

}  // namespace brillora
