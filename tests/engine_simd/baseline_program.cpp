// Compiled into each of the two programs, with QEV_TEST_BASELINE_ENGINE in the baseline one.
#include "baseline_program.h"

namespace qev::testing {

bool baselineEngineProgram() {
#if defined(QEV_TEST_BASELINE_ENGINE)
    return true;
#else
    return false;
#endif
}

}  // namespace qev::testing
