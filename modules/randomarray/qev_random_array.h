// QevRandomArray: fills "Float Out" and "Integer Out" with a stretch of the noise curve. It works
// in answer to parameter callbacks, on every one ("Automatic Update") or only when "Calculate
// Array" is pressed ("Update on Click", which also holds seed and size changes back until then).
#pragma once

#include <cstdint>

#include "array_elements.h"
#include "random_array_parameters.h"
#include "random_table.h"
#include "seeded_generator.h"
#include "user_module_base.h"

namespace qev {

class QevRandomArray final : public UserModuleBase {
  public:
    ~QevRandomArray() override;
    void onGetModuleInfo(HostInfo* host, ModuleInfo* info) override;
    void onInitModule(HostInfo* host, ModuleInfo* info) override;
    void onGetParamInfo(int32_t index, ParamInfo* param) override;
    void onSetEventAddress(int32_t index, EventHandle handle) override;
    void onCallBack(CallBackMessage* message) override;

    // Computes both arrays from the current parameter values; applies pending changes first.
    void computeArray();

  private:
    EventHandle& handle(RandomArrayParam param);
    float read(RandomArrayParam param);
    void applySeed(int32_t seed);
    void resizeArrays(int32_t count);
    void writeElements(const ArrayElements& elements, int32_t count);

    RandomTable randomTable;
    SeededGenerator generator;
    bool seedPending = false;  // a seed change waits for the next computation
    bool sizePending = false;  // a size change waits for the next computation
    SeedCache lastSeed;
    EventHandle handles[kRandomArrayParamCount - 1] = {};  // parameters 1 to 15, by index
    EventHandle modeHandle = nullptr;                      // parameter 0
    // The length last handed to setEventSize: no element is ever written at or beyond it.
    int32_t arrayLength = 0;
};

}  // namespace qev
