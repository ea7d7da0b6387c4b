// A small test module that passes every check of the validator, and variants of it that each
// carry one deliberate flaw (chosen by QEV_FLAW at compile time), to show that the matching check
// catches it. "Output" is a third of a hash of the seed and "Input" (rounded, so the rounding mode
// shows); "Values" holds Array Size thirds of hashes of the seed and the element index, refilled
// on every message.
#pragma once

#include <cstdint>

#include "user_module_base.h"

#define QEV_FLAW_NONE 0
#define QEV_FLAW_ALLOCATES 1       // allocates a scratch buffer in every Process
#define QEV_FLAW_STRAY_WRITE 2     // fills "Array Size" elements, not the length last set
#define QEV_FLAW_THROWS 3          // throws on an "Input" that is not finite
#define QEV_FLAW_HANGS 4           // spins forever on a NaN "Input"
#define QEV_FLAW_CLEARS_RECORD 5   // clears the whole ParamInfo record before filling it
#define QEV_FLAW_NO_HOST_CHECK 6   // calls the host before it has handed over its services
#define QEV_FLAW_KEEPS_MEMORY 7    // takes 4 kB when the library loads and never gives it back
#define QEV_FLAW_NAN_PAST_RANGE 8  // outputs NaN when a wire sends 0 to "Array Size" (below range)
#define QEV_FLAW_BAD_CAPTION 9     // prints a line, then describes "Output" with a wild caption
#define QEV_FLAW_NEGATIVE_LENGTH 10  // hands a negative "Array Size" on to setEventSize
// These two are built on a frame that leaves the caller's floating-point environment in force.
#define QEV_FLAW_FP_LEAKS 11  // sets flush-to-zero and denormals-are-zero in Process and CallBack
#define QEV_FLAW_FP_FOLLOWS_CALLER 12  // so computes its outputs in the caller's rounding mode

namespace qev::test {

enum FlawedParam : int32_t { kInput, kSeed, kArraySize, kOutput, kValues, kParamCount };

class FlawedModule final : public UserModuleBase {
  public:
    void onGetModuleInfo(HostInfo* host, ModuleInfo* info) override;
    void onInitModule(HostInfo* host, ModuleInfo* info) override;
    void onGetParamInfo(int32_t index, ParamInfo* param) override;
    void onSetEventAddress(int32_t index, EventHandle handle) override;
    void onCallBack(CallBackMessage* message) override;
    void onProcess() override;

  private:
    float read(FlawedParam param) const;
    void resize();
    void fill();

    EventHandle handles[kParamCount] = {};
    int32_t length = 0;  // the array length last set
};

}  // namespace qev::test
