#pragma once

// Marks a function whose loops take most of the engine's time. It is compiled twice, for
// processors with AVX2 and for the x86-64 baseline, and the loader picks one. AVX2 without
// fused multiply-add runs the same IEEE operations in the same order, so both versions give
// the same bits; the gain is the three-operand forms and the wider vectors. Clang wants the
// attribute on every declaration of a member function, so its builds take the baseline; so do
// ThreadSanitizer builds, whose instrumented chooser would run before the sanitizer is ready.
#if defined(__x86_64__) && defined(__ELF__) && !defined(__clang__) && !defined(__SANITIZE_THREAD__)
#define QUORVEL_HOT_LOOP [[gnu::target_clones("avx2", "default")]]
#else
#define QUORVEL_HOT_LOOP
#endif
