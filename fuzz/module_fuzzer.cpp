// libFuzzer target: drives one module object through the real exports of a plug-in, as a byte
// string decides (which call, which parameter, which float bits). A module report, a host fault
// (a write outside an array, a stray record write), an allocation or a lock inside Process or
// CallBack, or an out-of-range output for in-range settings stops the run; the sanitizers catch
// the rest. QEV_FUZZ_PLUGIN names the plug-in file.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "byte_reader.h"
#include "call_counts.h"
#include "module_profile.h"
#include "module_run.h"
#include "qevhost/module.h"
#include "qevhost/plugin.h"
#include "value_source.h"

namespace {

using namespace qevhost;
using namespace qevhost::validate;

constexpr int kMaxOperations = 64;

std::unique_ptr<Plugin> gPlugin;
ModuleProfile gProfile;
ModuleDescription gDescription;

[[noreturn]] void fault(const std::string& what) {
    std::fprintf(stderr, "module fault: %s\n", what.c_str());
    std::abort();
}

int32_t paramFrom(qev::fuzz::ByteReader& in) {
    return static_cast<int32_t>(in.byte() % static_cast<uint32_t>(gProfile.paramCount));
}

// A value from the fuzzer's bits, or one of the values a wire likes to deliver.
float valueFrom(qev::fuzz::ByteReader& in, int32_t param) {
    const uint8_t how = in.byte();
    if (how < 128) return in.floatBits();
    const InputParam* input = gProfile.input(param);
    if (input == nullptr) return 0.0f;
    const auto wild = wildValues(*input);
    if (how < 192) return wild[how % wild.size()];
    ValueSource source(how * 0x9E37u + in.byte());
    return source.inRange(*input);
}

// Index for a message: mostly a real parameter, sometimes one the frame must drop or pass on.
intptr_t messageIndexFrom(qev::fuzz::ByteReader& in) {
    const uint8_t choice = in.byte();
    if (choice < 224)
        return static_cast<intptr_t>(choice % static_cast<uint32_t>(gProfile.paramCount));
    static const intptr_t odd[] = {-1, 4094, 4095, 5000, -4096, 1 << 20, gProfile.paramCount, 100};
    return odd[choice % 8];
}

template <typename Call>
void realTimeCall(const char* name, Call&& call) {
    const CallCounts before = moduleCallCounts();
    call();
    const CallCounts during = moduleCallCounts() - before;
    if (any(during)) {
        fault(std::string(name) + " allocated " + std::to_string(during.allocations) +
              " times, freed " + std::to_string(during.frees) + " and locked " +
              std::to_string(during.locks) + " times");
    }
}

// Host faults count from the proper start on: before it, a module without handles makes the
// host see unknown handles, which is the calling order's doing.
void checkHost(const Module& module, std::size_t faultsFrom) {
    if (!module.reports().empty()) fault("reported \"" + module.reports().front() + "\"");
    if (faultsFrom > module.hostErrors().size()) return;
    const auto faults = moduleFaults(module, faultsFrom);
    if (!faults.empty()) fault(faults.front());
}

bool allFinite(const Module& module) {
    for (const auto& in : gProfile.inputs) {
        if (!std::isfinite(module.value(in.index))) return false;
    }
    return true;
}

bool allInRange(const Module& module) {
    for (const auto& in : gProfile.inputs) {
        const float v = module.value(in.index);
        if (!(v >= in.minValue && v <= in.maxValue)) return false;
        if (in.kind == InputKind::List && v != std::floor(v)) return false;
    }
    return true;
}

// With every value finite and every change reported, outputs are finite; with every value inside
// its range they are also between "Output Min" and "Output Max" (rounded outputs: between the
// whole numbers around them).
void checkOutputs(Module& module, bool inRange) {
    for (const auto& in : gProfile.inputs) module.callBack(in.index, 0);
    for (int32_t button : gProfile.buttons) module.callBack(button, 0);
    module.process();
    double lo = -HUGE_VAL, hi = HUGE_VAL;
    if (inRange && gProfile.outputMin >= 0 && gProfile.outputMax >= 0) {
        lo = module.value(gProfile.outputMin);
        hi = module.value(gProfile.outputMax);
        if (lo > hi) std::swap(lo, hi);
    }
    const Outputs outputs = outputsOf(module, gProfile);
    for (std::size_t o = 0; o < outputs.values.size(); ++o) {
        const bool whole = gProfile.outputs[o].wholeNumbers;
        for (float v : outputs.values[o]) {
            if (!std::isfinite(v))
                fault(captionOf(gDescription, outputs.params[o]) + " not finite");
            if (v < (whole ? std::floor(lo) : lo) || v > (whole ? std::ceil(hi) : hi)) {
                fault(captionOf(gDescription, outputs.params[o]) + " = " + valueText(v) +
                      " outside the output range");
            }
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    gPlugin = Plugin::open(QEV_FUZZ_PLUGIN);
    Module probe(*gPlugin);
    gDescription = probe.describe();
    gProfile = profileOf(gDescription);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    qev::fuzz::ByteReader in(data, size);
    Module module(*gPlugin);
    module.setCallLogging(false);
    // The first byte may hold the module back from a proper start: calls out of order.
    std::size_t faultsFrom = SIZE_MAX;
    if (in.byte() % 4 != 0) {
        module.start();
        faultsFrom = 0;
    }
    for (int op = 0; op < kMaxOperations && !in.done(); ++op) {
        switch (in.byte() % 8) {
            case 0: {  // the host changes a value without telling the module
                const int32_t param = paramFrom(in);
                if (module.paramCount() > 0) module.setValue(param, valueFrom(in, param));
                break;
            }
            case 1: {  // a value changes and the host reports it
                const int32_t param = paramFrom(in);
                if (module.paramCount() > 0) module.setValue(param, valueFrom(in, param));
                realTimeCall("CallBack", [&] { module.callBack(param, 0); });
                break;
            }
            case 2: {  // a message about anything, with any detail
                const intptr_t index = messageIndexFrom(in);
                const intptr_t detail = static_cast<int8_t>(in.byte()) / 64;
                realTimeCall("CallBack", [&] { module.callBack(index, detail); });
                break;
            }
            case 3:
            case 4:
                realTimeCall("Process", [&] { module.process(); });
                break;
            case 5:
                for (int32_t button : gProfile.buttons) {
                    realTimeCall("CallBack", [&] { module.callBack(button, 0); });
                }
                break;
            case 6:
                if (module.paramCount() == 0) {
                    module.describe();
                    module.wire();
                }
                module.init();
                if (faultsFrom == SIZE_MAX) faultsFrom = module.hostErrors().size();
                break;
            default:
                if (module.paramCount() > 0 && allFinite(module))
                    checkOutputs(module, allInRange(module));
                break;
        }
        checkHost(module, faultsFrom);
    }
    return 0;
}
