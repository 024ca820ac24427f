#pragma once

// Marks a pixel loop for an extra AVX2 version that the program picks at run time when the
// processor has it (x86-64 with GCC on Linux); elsewhere the one portable version is built.
// Sanitizer builds keep one version: the run-time pick runs before the sanitizers start.
#if defined(__GNUC__) && defined(__x86_64__) && defined(__linux__) && !defined(__clang__) && \
    !defined(__SANITIZE_ADDRESS__) && !defined(__SANITIZE_THREAD__)
#define PELWICK_CLONES __attribute__((target_clones("avx2", "default")))
#else
#define PELWICK_CLONES
#endif
