#pragma once

// The tracer's hottest functions carry a second copy compiled for AVX2, which
// the loader picks once where the processor has it. AVX2 brings no fused
// multiply-add, so every operation rounds as in the plain copy: a trace does
// not depend on which copy runs. The wider registers and three-operand
// instructions take about a tenth of the instructions away.
#if defined(__GNUC__) && !defined(__clang__) && defined(__x86_64__) && defined(__linux__)
#define BRILLORA_AVX2_CLONE __attribute__((target_clones("avx2", "default")))
// The same for the cut, with everything it calls inlined into each copy.
#define BRILLORA_AVX2_CLONE_FLAT __attribute__((target_clones("avx2", "default"), flatten))
#else
#define BRILLORA_AVX2_CLONE
#define BRILLORA_AVX2_CLONE_FLAT
#endif
