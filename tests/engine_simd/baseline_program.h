// Whether this test program runs on the engine kept to its baseline paths: the test sources are
// compiled once and linked into both programs, and each program answers this from its own file.
#pragma once

namespace qev::testing {

bool baselineEngineProgram();

}  // namespace qev::testing
