#pragma once

#include <optional>

namespace brillora {

// The five animations, numbered by the Tag of their menu item.
enum class AnimationVariant {
  Tracing = 0,   // every frame traced live by the window's own paint
  Polygons = 1,  // frames kept as coloured polygons
  Jpeg = 2,      // frames kept as JPEG images of quality 100
  Bitmap = 3,    // frames kept as 16-bit bitmaps
  Gif = 4,       // frames kept as GIF images
};

inline int TagOf(AnimationVariant variant) { return static_cast<int>(variant); }

inline std::optional<AnimationVariant> VariantOfTag(int tag) {
  if (tag < 0 || tag > 4) return std::nullopt;
  return static_cast<AnimationVariant>(tag);
}

}  // namespace brillora
