// The seed panel's calls: a second module object of the same kind, given the page module's
// settings, run once per seed of a page. The page module itself is left as it is.
#include <emscripten/emscripten.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "explorer_host.h"
#include "page_host.h"

using explorer::ExplorerHost;

namespace {

ExplorerHost trial;
std::vector<float> trialInputs;  // the inputs (or element indices) of the last trial run
std::vector<float> trialValues;

}  // namespace

extern "C" {

// A fresh trial object with every input setting of the page module. An array module runs in
// "Automatic Update" (Mode 0), so the message about each new seed computes its arrays once.
EMSCRIPTEN_KEEPALIVE void explorerTrialBegin() {
    const ExplorerHost& page = explorer::pageHost();
    trial.start();
    for (std::size_t i = 0; i < page.params().size(); ++i) {
        if (page.params()[i].input)
            trial.setValue(static_cast<int32_t>(i), page.value(static_cast<int32_t>(i)));
    }
    const int32_t mode = trial.indexOf("Mode");
    if (mode >= 0) {
        trial.setValue(mode, 0.0f);
        trial.callBack(trial.indexOf("Array Size"));
    }
}

// Runs the trial object with `seed`: the array module's "Float Out", or Qev Random's "Output"
// for at most `points` of the page's last inputs, spread evenly and always the first and last.
// Answers the count; explorerTrialInputs and explorerTrialValues hold the points.
EMSCRIPTEN_KEEPALIVE int32_t explorerTrialRun(float seed, int32_t points) {
    trial.change(trial.indexOf("Random Seed"), seed);
    trialInputs.clear();
    trialValues.clear();
    const int32_t floatOut = trial.indexOf("Float Out");
    if (floatOut >= 0) {
        trialValues = trial.array(floatOut);
        for (std::size_t i = 0; i < trialValues.size(); ++i) {
            trialInputs.push_back(static_cast<float>(i));
        }
        return static_cast<int32_t>(trialValues.size());
    }
    const std::vector<float>& inputs = explorer::pageInputs();
    const int32_t input = trial.indexOf("Input");
    const int32_t output = trial.indexOf("Output");
    const uint64_t n = inputs.size();
    const uint64_t m = points < 2 ? 2 : static_cast<uint64_t>(points);
    for (uint64_t j = 0; j < std::min(n, m); ++j) {
        // Point j of m over n inputs; every input when there are no more than m.
        const uint64_t i = n <= m ? j : (j * (n - 1) + (m - 1) / 2) / (m - 1);
        trial.setValue(input, inputs[i]);
        trial.process();
        trialInputs.push_back(inputs[i]);
        trialValues.push_back(trial.value(output));
    }
    return static_cast<int32_t>(trialValues.size());
}

EMSCRIPTEN_KEEPALIVE const float* explorerTrialInputs() {
    return trialInputs.data();
}

EMSCRIPTEN_KEEPALIVE const float* explorerTrialValues() {
    return trialValues.data();
}

}  // extern "C"
