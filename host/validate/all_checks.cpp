#include "check.h"

namespace qevhost::validate {

const std::vector<Check>& allChecks() {
    static const std::vector<Check> checks = {
        {"load",
         "load, create, destroy and unload 200 times: all 34 exports, SDK version 601001, "
         "at most 1 kB kept per cycle",
         loadCheck},
        {"describe",
         "sane parameter table; no byte of the host's records written outside the module's fields",
         describeCheck},
        {"instances",
         "100 objects with different seeds, each its own table; destroying some "
         "leaves the others unchanged",
         instancesCheck},
        {"determinism", "same settings, same bits: in two objects, on a rerun, after re-seeding",
         determinismCheck},
        {"threads",
         "two objects on two threads at once give the results they give one after the "
         "other",
         threadsCheck},
        {"fuzz",
         "random and wild values on every parameter: no crash, report, stray write or "
         "hang; outputs finite for finite values, in range for in-range ones",
         fuzzCheck},
        {"host-rules",
         "any value on any inlet, in every mode: each host call keeps the host's rules (only the "
         "handles given, array lengths 0 to 1048576, elements below the length set, host records "
         "untouched)",
         hostRulesCheck},
        {"order",
         "calls out of order (process before init, callbacks before wiring, double init, "
         "...): no crash",
         orderCheck},
        {"real-time", "no heap allocation and no lock inside Process and CallBack", realTimeCheck},
        {"fp-environment",
         "the same bits under FTZ and DAZ, every rounding mode and (32-bit) x87 precision 24 and "
         "53 bits; no call changes the caller's floating-point control or clears its flags",
         fpEnvironmentCheck},
    };
    return checks;
}

}  // namespace qevhost::validate
