// Tests of a vector path run it or say that they did not: where the engine does not run the
// kernels a test needs (no AVX2 or no AVX-512, or an engine kept to its baseline paths) such a
// test reports a skip. With QEV_REQUIRE_VECTOR_PATHS=1 on a processor that reports the
// instructions, that skip is a failure instead, so a change that quietly turns the vector paths
// off cannot pass there.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

#include "baseline_program.h"
#include "cpu_check.h"

namespace qev::testing {

// The kernels a test runs: none (any processor), AVX2, or AVX-512 (F, DQ and VL).
enum class Kernels { Any, Avx2, Avx512 };

inline const char* kernelsName(Kernels kernels) {
    return kernels == Kernels::Avx512 ? "AVX-512" : kernels == Kernels::Avx2 ? "AVX2" : "baseline";
}

inline bool processorReports(Kernels kernels) {
#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
    __builtin_cpu_init();
    if (kernels == Kernels::Avx512) {
        return __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512dq") &&
               __builtin_cpu_supports("avx512vl");
    }
    return kernels == Kernels::Any || __builtin_cpu_supports("avx2");
#else
    return kernels == Kernels::Any;
#endif
}

// Whether the engine runs the kernels here (whether or not its own choice takes them).
inline bool engineRuns(Kernels kernels) {
    chooseVectorPaths();
    if (kernels == Kernels::Avx512) return avx512Available();
    return kernels == Kernels::Any || avx2Available();
}

// The baseline-only test program never takes the vector paths, by design.
inline bool vectorPathsRequired(Kernels kernels) {
    if (baselineEngineProgram()) return false;
    const char* required = std::getenv("QEV_REQUIRE_VECTOR_PATHS");
    return required && std::strcmp(required, "1") == 0 && processorReports(kernels);
}

}  // namespace qev::testing

// Ends the test unless the engine runs the given kernels here: a skip, or a failure where they
// are required.
#define QEV_NEED_KERNELS(kernels)                                                              \
    do {                                                                                       \
        if (!::qev::testing::engineRuns(kernels)) {                                            \
            const char* name = ::qev::testing::kernelsName(kernels);                           \
            if (::qev::testing::vectorPathsRequired(kernels))                                  \
                FAIL() << "the processor reports " << name << ", but the engine does not run " \
                       << "its " << name << " kernels (QEV_REQUIRE_VECTOR_PATHS=1)";           \
            GTEST_SKIP() << "the engine does not run its " << name                             \
                         << " kernels here: vector path not run";                              \
        }                                                                                      \
    } while (0)

// Ends the test unless the engine takes its AVX2 paths here.
#define QEV_NEED_VECTOR_PATHS() QEV_NEED_KERNELS(::qev::testing::Kernels::Avx2)
