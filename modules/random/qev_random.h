// QevRandom: turns "Input" into one noise value on "Output" on every processing block. The table
// is built from "Random Seed" at initialisation and again when the host reports a seed change.
#pragma once

#include <cstdint>

#include "noise.h"
#include "random_parameters.h"
#include "random_table.h"
#include "seeded_generator.h"
#include "user_module_base.h"

namespace qev {

class QevRandom final : public UserModuleBase {
  public:
    ~QevRandom() override;
    void onGetModuleInfo(HostInfo* host, ModuleInfo* info) override;
    void onInitModule(HostInfo* host, ModuleInfo* info) override;
    void onGetParamInfo(int32_t index, ParamInfo* param) override;
    void onSetEventAddress(int32_t index, EventHandle handle) override;
    void onCallBack(CallBackMessage* message) override;
    void onProcess() override;

  private:
    float read(RandomParam param) const;
    void applySeed();

    RandomTable randomTable;
    SeededGenerator generator;
    SeedCache lastSeed;
    OctaveSum octaveSum;  // keeps the settings' plan from one Process to the next
    EventHandle handles[kRandomParamCount] = {};  // by parameter index
};

}  // namespace qev
