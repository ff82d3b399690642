#pragma once

#include <string_view>

#include "io/gemcad_file.h"

namespace brillora {

// How far a corner the file keeps may lie from its facet's plane, in the
// file's unit, before the file is said to disagree with itself.
inline constexpr double kGemCadCornerTolerance = 1e-4;
// Header lines and the footer after the facets.
inline constexpr std::size_t kGemCadMaxTexts = 1000;

// A GemCad binary design (.gem), little-endian: facet records, each
//   three doubles p (the facet's plane is p.x = 1), an int32 tier number,
//   a length byte and that many bytes "name<TAB>instruction", an int32,
//   then corners of three doubles and an int32 that is non-zero while more
//   corners follow;
// then an int32 0, four bytes, the int32 symmetry, the int32 mirror flag,
// the int32 gear (negative: indexed the other way round), the double
// refractive index, an int32, the double gear offset, and length-prefixed
// texts to the end: the header lines, the last one the footer.
// Each plane is read as its tier's slope and distance and its gear index, so
// that GemCadPlane gives it back; facets of one tier number that differ in
// slope or distance become tiers of their own. The corners are a cache and
// never shape the stone: where they leave their planes the result warns.
GemCadReadResult ReadGemCadBinary(std::string_view bytes);

}  // namespace brillora
