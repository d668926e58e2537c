#pragma once
// What a fuzz target asserts beyond "no crash": a broken property aborts the
// run with the reason, so libFuzzer keeps the input as a crash and the corpus
// replay fails on it.

#include <cstdio>
#include <cstdlib>

#define FUZZ_CHECK(condition)                                                                          \
    do {                                                                                               \
        if (!(condition)) {                                                                            \
            std::fprintf(stderr, "%s:%d: property broken: %s\n", __FILE__, __LINE__, #condition);      \
            std::abort();                                                                              \
        }                                                                                              \
    } while (0)
