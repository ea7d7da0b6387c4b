#include "workload.h"

#include <limits>

#include "module_run.h"
#include "value_source.h"

namespace qevhost::validate {

namespace {

// A message for each value inlet, then one for each button: the host reports every change.
std::vector<Message> reportEverything(const ModuleProfile& profile) {
    std::vector<Message> messages;
    for (const auto& in : profile.inputs) messages.push_back({in.index, 0});
    for (int32_t button : profile.buttons) messages.push_back({button, 0});
    return messages;
}

// Parameter indices a wire or a confused host can name: every real one, negative ones, the last
// one the frame passes and the first it drops.
intptr_t strayIndex(ValueSource& source, int32_t paramCount) {
    static const intptr_t odd[] = {-1,
                                   -2,
                                   4094,
                                   4095,
                                   5000,
                                   std::numeric_limits<intptr_t>::min(),
                                   std::numeric_limits<intptr_t>::max()};
    if (source.below(3) == 0) return odd[source.below(sizeof odd / sizeof odd[0])];
    return static_cast<intptr_t>(source.below(static_cast<uint32_t>(paramCount + 2)));
}

}  // namespace

std::vector<Step> makeWorkload(const ModuleDescription& description, const ModuleProfile& profile,
                               uint64_t seed, int inRangeSteps, int strayCount) {
    ValueSource source(seed);
    std::vector<Step> steps;
    for (int i = 0; i < inRangeSteps; ++i) {
        Step step;
        step.label = "random settings " + std::to_string(i);
        step.values = i == 0 ? profile.defaults() : source.inRangeSettings(profile);
        step.messages = reportEverything(profile);
        step.inRange = true;
        steps.push_back(std::move(step));
    }
    // One wild value at a time, reported only for its own parameter: the others change silently.
    // Each among random settings, and among settings that sample on cell borders with the blend
    // on, where the curves' zeros and poles lie.
    for (const auto& in : profile.inputs) {
        for (float wild : wildValues(in)) {
            for (const bool onBorders : {false, true}) {
                Step step;
                step.label = captionOf(description, in.index) + " = " + valueText(wild) +
                             (onBorders ? " on cell borders" : "");
                step.values = onBorders ? source.cellBorderSettings(profile)
                                        : source.inRangeSettings(profile);
                step.values[static_cast<std::size_t>(in.index)] = wild;
                step.messages.push_back({in.index, 0});
                for (int32_t button : profile.buttons) step.messages.push_back({button, 0});
                steps.push_back(std::move(step));
            }
        }
    }
    for (int i = 0; i < strayCount; ++i) {
        Step step;
        step.label = "stray messages " + std::to_string(i);
        step.values = source.inRangeSettings(profile);
        const uint32_t count = 1 + source.below(4);
        for (uint32_t m = 0; m < count; ++m) {
            static const intptr_t details[] = {0, 0, 1, -1, 7};
            const Message message{strayIndex(source, profile.paramCount),
                                  details[source.below(sizeof details / sizeof details[0])]};
            step.label += (m ? ", " : ": ") + std::string("CallBack(") +
                          std::to_string(message.paramIndex) + ", " +
                          std::to_string(message.detail) + ")";
            step.messages.push_back(message);
        }
        steps.push_back(std::move(step));
    }
    return steps;
}

}  // namespace qevhost::validate

namespace qevhost::validate {

void sendStepMessages(Module& module, const Step& step) {
    setValues(module, step.values);
    for (const auto& message : step.messages) deliver(module, message.paramIndex, message.detail);
}

}  // namespace qevhost::validate
