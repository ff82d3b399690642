#pragma once

// Vector types of the tracer's fast paths. Only the tracer's own .cpp files
// and the tests of those paths include this header: what the rest of the
// program sees of the tracer holds no vector type.
#if !defined(BRILLORA_TRACE_INTERNALS)
#error "trace/lanes.h belongs to the tracer's own sources"
#endif

#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace brillora::trace {

// Two doubles worked on together.
using Pair = double __attribute__((vector_size(16)));
// Four floats, or four masks, worked on together.
using Quad = float __attribute__((vector_size(16)));
using QuadMask = std::int32_t __attribute__((vector_size(16)));
// Four doubles, or four masks: one instruction each in a function's AVX2
// copy, two in its SSE2 one.
using DoubleQuad = double __attribute__((vector_size(32)));
using DoubleQuadMask = std::int64_t __attribute__((vector_size(32)));
using DoubleQuadUnsigned = std::uint64_t __attribute__((vector_size(32)));
// Eight floats, or eight masks: one instruction each in a function's AVX2
// copy, two in its SSE2 one.
using Octet = float __attribute__((vector_size(32)));
using OctetMask = std::int32_t __attribute__((vector_size(32)));

// The lanes of a mask as bits, lane 0 lowest.
inline unsigned LaneBits(QuadMask m) {
#if defined(__SSE2__)
  return static_cast<unsigned>(_mm_movemask_ps(reinterpret_cast<__m128>(m)));
#else
  return static_cast<unsigned>((m[0] & 1) | (m[1] & 2) | (m[2] & 4) | (m[3] & 8));
#endif
}
// From the mask's two halves.
inline unsigned LaneBits(OctetMask m) {
  const QuadMask low = __builtin_shufflevector(m, m, 0, 1, 2, 3);
  const QuadMask high = __builtin_shufflevector(m, m, 4, 5, 6, 7);
  return LaneBits(low) | LaneBits(high) << 4;
}

}  // namespace brillora::trace
