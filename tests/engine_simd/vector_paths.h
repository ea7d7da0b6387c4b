// Tests of a vector path run it or say that they did not: where the engine does not take its AVX2
// paths (no AVX2, or an engine kept to its baseline paths) such a test reports a skip. With
// QEV_REQUIRE_VECTOR_PATHS=1 on a processor that reports AVX2, that skip is a failure instead, so
// a change that quietly turns the vector paths off cannot pass there.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

#include "cpu_check.h"

namespace qev::testing {

inline bool processorReportsAvx2() {
#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2");
#else
    return false;
#endif
}

// The baseline-only test program never takes the vector paths, by design.
inline bool vectorPathsRequired() {
#if defined(QEV_TEST_BASELINE_ENGINE)
    return false;
#else
    const char* required = std::getenv("QEV_REQUIRE_VECTOR_PATHS");
    return required && std::strcmp(required, "1") == 0 && processorReportsAvx2();
#endif
}

}  // namespace qev::testing

// Ends the test unless the engine takes its AVX2 paths here: a skip, or a failure where they are
// required.
#define QEV_NEED_VECTOR_PATHS()                                                                  \
    do {                                                                                         \
        ::qev::chooseVectorPaths();                                                              \
        if (!::qev::avx2Available()) {                                                           \
            if (::qev::testing::vectorPathsRequired())                                           \
                FAIL() << "the processor reports AVX2, but the engine keeps to its baseline "    \
                          "paths (QEV_REQUIRE_VECTOR_PATHS=1)";                                  \
            GTEST_SKIP() << "the engine does not take its AVX2 paths here: vector path not run"; \
        }                                                                                        \
    } while (0)
