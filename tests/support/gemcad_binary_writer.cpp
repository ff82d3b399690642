#include "support/gemcad_binary_writer.h"

#include <bit>
#include <cmath>
#include <cstdint>
#include <vector>

namespace brillora::testing {

namespace {

void Int32(std::string& out, std::int32_t value) {
  const auto bits = std::bit_cast<std::uint32_t>(value);
  for (int b = 0; b < 4; ++b) out += static_cast<char>(bits >> (8 * b) & 0xFF);
}

void Double(std::string& out, double value) {
  const auto bits = std::bit_cast<std::uint64_t>(value);
  for (int b = 0; b < 8; ++b) out += static_cast<char>(bits >> (8 * b) & 0xFF);
}

void Text(std::string& out, const std::string& text) {
  const std::string kept = text.substr(0, 255);
  out += static_cast<char>(kept.size());
  out += kept;
}

// The stone's facet on the same plane, if the plane reaches the stone.
const TFacet* OnStone(const Stone& stone, const TFacet& plane) {
  for (const TFacet& f : stone.AllFacets) {
    if (std::abs(f.Nx - plane.Nx) < 1e-12 && std::abs(f.Ny - plane.Ny) < 1e-12 &&
        std::abs(f.Nz - plane.Nz) < 1e-12 && std::abs(f.D - plane.D) < 1e-12) {
      return &f;
    }
  }
  return nullptr;
}

}  // namespace

GemCadBinary GemCadBinaryOf(const GemCadDesign& design, double cornerOffPlane) {
  const Stone stone = GemCadStone(design);
  GemCadBinary out;
  bool first = true;
  for (std::size_t t = 0; t < design.tiers.size(); ++t) {
    const GemCadTier& tier = design.tiers[t];
    for (std::size_t i = 0; i < tier.facets.size(); ++i) {
      const TFacet plane = GemCadPlane(tier, tier.facets[i].index, design.gearTeeth);
      Double(out.bytes, plane.Nx / plane.D);
      Double(out.bytes, plane.Ny / plane.D);
      Double(out.bytes, plane.Nz / plane.D);
      Int32(out.bytes, static_cast<std::int32_t>(t + 1));
      Text(out.bytes, tier.facets[i].name + (i == 0 && !tier.instruction.empty() ? "\t" + tier.instruction : ""));
      Int32(out.bytes, 0);
      std::vector<TVertex> corners;
      if (const TFacet* f = OnStone(stone, plane)) {
        for (int v : f->Points) corners.push_back(stone.AllVertices[static_cast<std::size_t>(v)]);
      } else {
        corners.push_back({plane.Nx * plane.D, plane.Ny * plane.D, plane.Nz * plane.D});
      }
      if (first) {
        corners[0].x += cornerOffPlane * plane.Nx;
        corners[0].y += cornerOffPlane * plane.Ny;
        corners[0].z += cornerOffPlane * plane.Nz;
        first = false;
      }
      for (std::size_t c = 0; c < corners.size(); ++c) {
        Double(out.bytes, corners[c].x);
        Double(out.bytes, corners[c].y);
        Double(out.bytes, corners[c].z);
        Int32(out.bytes, c + 1 < corners.size() ? 1 : 0);
      }
    }
  }
  out.trailer = out.bytes.size();
  Int32(out.bytes, 0);
  Int32(out.bytes, 0);
  Int32(out.bytes, design.symmetry);
  Int32(out.bytes, design.mirror ? 1 : 0);
  Int32(out.bytes, design.gearTeeth);
  Double(out.bytes, design.refractiveIndex);
  Int32(out.bytes, 0);
  Double(out.bytes, design.gearOffset);
  for (const std::string& heading : design.headings) Text(out.bytes, heading);
  std::string footer;
  for (const std::string& line : design.footnotes) footer += (footer.empty() ? "" : "\r\n") + line;
  Text(out.bytes, footer);
  return out;
}

}  // namespace brillora::testing
