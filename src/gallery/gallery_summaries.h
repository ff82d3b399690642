#pragma once

#include <atomic>
#include <cstddef>
#include <filesystem>
#include <functional>
#include <thread>
#include <vector>

#include "gallery/design_summary.h"

namespace brillora {

// The summaries of a list of design files, made on worker threads in the
// order listed, so that whoever shows them can show the list at once and fill
// it in. Each summary reaches `ready` on the worker's thread that made it,
// with its place in the list. Going abandons the designs not yet started and
// waits only for those in hand: no thread outlives the object.
class GallerySummaries {
 public:
  using Ready = std::function<void(std::size_t index, DesignSummary summary)>;

  GallerySummaries(std::vector<std::filesystem::path> files, int thumbnailSize, int threads, Ready ready);
  ~GallerySummaries();
  GallerySummaries(const GallerySummaries&) = delete;
  GallerySummaries& operator=(const GallerySummaries&) = delete;

  // As many workers as the machine has cores, at most four, leaving the rest
  // of the program a core where it has more than two.
  static int DefaultThreads();

 private:
  void Run(const std::stop_token& stop);

  const std::vector<std::filesystem::path> files_;
  const int thumbnailSize_;
  const Ready ready_;
  std::atomic<std::size_t> next_{0};
  std::vector<std::jthread> workers_;  // last: they stop and join before the rest goes
};

}  // namespace brillora
