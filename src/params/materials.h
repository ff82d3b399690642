#pragma once

#include <array>
#include <optional>
#include <string_view>

namespace brillora {

struct Material {
  std::string_view name;
  double specificGravity;  // g/cm3
  double refractiveIndex;
  // n(430.8 nm) - n(686.7 nm), the gemmological tables' B-G dispersion.
  // Amber and opal have no table value: 0.010, as for obsidian, the other
  // glassy material of the list.
  double dispersion;
};

// The materials a cutter can choose, in ascending specific gravity.
inline constexpr std::array<Material, 25> kMaterials = {{
    {"Amber", 1.07, 1.54, 0.010},       {"Opal", 2.10, 1.45, 0.010},        {"Obsidian", 2.40, 1.50, 0.010},
    {"Quartz", 2.65, 1.55, 0.013},      {"Skapolite", 2.67, 1.55, 0.017},   {"Beryl", 2.70, 1.58, 0.014},
    {"Phenakite", 2.96, 1.66, 0.015},   {"Danburite", 3.00, 1.63, 0.017},   {"Amblygonite", 3.02, 1.59, 0.014},
    {"Tourmaline", 3.06, 1.62, 0.017},  {"Apatite", 3.20, 1.64, 0.013},     {"Peridot", 3.34, 1.66, 0.020},
    {"Tanzanite", 3.35, 1.70, 0.030},   {"Diamond", 3.52, 2.42, 0.044},     {"Topaz", 3.54, 1.63, 0.014},
    {"Spinel", 3.60, 1.72, 0.020},      {"Grossular", 3.70, 1.74, 0.027},   {"Chrysoberyl", 3.71, 1.75, 0.015},
    {"Pyrope", 3.75, 1.75, 0.022},      {"Andradite", 3.84, 1.89, 0.057},   {"Zircon (low)", 3.95, 1.81, 0.039},
    {"Corundum", 4.00, 1.77, 0.018},    {"Almandine", 4.05, 1.78, 0.024},   {"Zircon", 4.68, 1.93, 0.039},
    {"Cassiterite", 6.90, 2.00, 0.071},
}};

inline constexpr std::string_view kDefaultMaterial = "Diamond";

// The material of that exact name, if there is one.
std::optional<Material> FindMaterial(std::string_view name);

}  // namespace brillora
