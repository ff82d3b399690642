#pragma once

#include <cstddef>
#include <filesystem>
#include <string>

#include <QImage>

namespace brillora {

// What the gallery shows of one design file: its name, its symmetry, its
// facet count, its face-up ISO and a picture of its crown.
struct DesignSummary {
  std::filesystem::path file;
  std::string name;  // the file's name without its extension
  int symmetry = 0;
  bool mirror = false;  // a GemCad design's mirror flag; a design of tiers has none
  std::size_t facets = 0;
  double refractiveIndex = 0.0;
  // The face-up ISO at the analysis's default head and depth, in the
  // design's own refractive index, as a share of the outline.
  double iso = 0.0;
  // The trace met light of far more corners than a real stone makes, which
  // only a broken stone gives: the ISO falls short.
  bool isoCutShort = false;
  QImage thumbnail;
  std::string error;  // why the file gives no stone; empty when summarised

  bool ok() const { return error.empty(); }
};

// Whether the gallery lists the file: a Brillora design (.brl, .txt) or a
// GemCad one, by its name.
bool IsGalleryDesignName(const std::filesystem::path& file);

// Reads and builds the design as the desktop opens it, analyses it face up
// and draws its thumbnail of `thumbnailSize` pixels. A file that cannot be
// read, or whose facets enclose no stone, gives a summary with the reason.
DesignSummary SummariseDesign(const std::filesystem::path& file, int thumbnailSize);

}  // namespace brillora
