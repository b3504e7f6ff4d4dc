// GMD_ALWAYS_INLINE forces inlining where the compiler would otherwise keep
// one out-of-line copy of a hot helper for all its callers: the per-record
// paths of the frame layer and the shapes accessor exports are made of.
// GMD_NOINLINE keeps a rare branch from weighing on the common one.
#pragma once

#if defined(__GNUC__) || defined(__clang__)
#define GMD_ALWAYS_INLINE inline __attribute__((always_inline))
#define GMD_NOINLINE __attribute__((noinline))
#else
#define GMD_ALWAYS_INLINE inline
#define GMD_NOINLINE
#endif
