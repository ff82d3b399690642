#pragma once

#include <array>
#include <optional>
#include <string_view>

namespace brillora {

struct Material {
  std::string_view name;
  double specificGravity;  // g/cm3
  double refractiveIndex;
};

// The materials a cutter can choose, in ascending specific gravity.
inline constexpr std::array<Material, 25> kMaterials = {{
    {"Amber", 1.07, 1.54},       {"Opal", 2.10, 1.45},         {"Obsidian", 2.40, 1.50},
    {"Quartz", 2.65, 1.55},      {"Skapolite", 2.67, 1.55},    {"Beryl", 2.70, 1.58},
    {"Phenakite", 2.96, 1.66},   {"Danburite", 3.00, 1.63},    {"Amblygonite", 3.02, 1.59},
    {"Tourmaline", 3.06, 1.62},  {"Apatite", 3.20, 1.64},      {"Peridot", 3.34, 1.66},
    {"Tanzanite", 3.35, 1.70},   {"Diamond", 3.52, 2.42},      {"Topaz", 3.54, 1.63},
    {"Spinel", 3.60, 1.72},      {"Grossular", 3.70, 1.74},    {"Chrysoberyl", 3.71, 1.75},
    {"Pyrope", 3.75, 1.75},      {"Andradite", 3.84, 1.89},    {"Zircon (low)", 3.95, 1.81},
    {"Corundum", 4.00, 1.77},    {"Almandine", 4.05, 1.78},    {"Zircon", 4.68, 1.93},
    {"Cassiterite", 6.90, 2.00},
}};

inline constexpr std::string_view kDefaultMaterial = "Diamond";

// The material of that exact name, if there is one.
std::optional<Material> FindMaterial(std::string_view name);

}  // namespace brillora
