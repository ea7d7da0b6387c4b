// The 32-bit DLLs entered the way a 32-bit Windows host may enter them, with the stack aligned to
// 4 but not to 16 bytes: Process and CallBack must not fault and must give the same bits as
// calls on an aligned stack.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#include "host_info.h"
#include "host_records.h"
#include "misaligned_call.h"

namespace {

using qev::CallBackMessage;
using qev::EventHandle;
using qev::HostInfo;
using qev::ModuleInfo;
using qev::ParamInfo;

// One parameter's storage: the handle given to the module points here.
struct Slot {
    float value = 0;
    std::vector<float> array;
};

float getValue(EventHandle handle) {
    return static_cast<Slot*>(handle)->value;
}
void setValue(EventHandle handle, float value) {
    static_cast<Slot*>(handle)->value = value;
}
void setSize(EventHandle handle, int32_t count) {
    static_cast<Slot*>(handle)->array.assign(count > 0 ? count : 0, 0.0f);
}
void setArrayValue(EventHandle handle, int32_t index, float value) {
    auto& array = static_cast<Slot*>(handle)->array;
    if (index >= 0 && static_cast<std::size_t>(index) < array.size()) array[index] = value;
}
int reportCount = 0;
void report(const char*) {
    ++reportCount;
}

// An export as the trampoline takes it: Process and CallBack leave the result register unused.
QevTwoArgumentCall asCall(FARPROC function) {
    return reinterpret_cast<QevTwoArgumentCall>(reinterpret_cast<void*>(function));
}

// A module object of a DLL, wired to parameter slots that start at their defaults. Every call to
// Process and CallBack goes through the trampoline with the stack offset given at creation.
class BareHost {
  public:
    BareHost(HMODULE library, uint32_t offset) : library_(library), offset_(offset) {
        std::memset(&host_, 0, sizeof host_);
        host_.getEventValue = getValue;
        host_.setEventValue = setValue;
        host_.setEventSize = setSize;
        host_.setEventArrayValue = setArrayValue;
        host_.reportError = report;
        std::memset(&info_, 0, sizeof info_);
        exportOf<void (*)(void**)>("Create")(&object_);
        exportOf<void (*)(void*, HostInfo*, ModuleInfo*)>("GetModuleInfo")(object_, &host_, &info_);
        slots_.resize(info_.numberOfParams);
        for (int32_t i = 0; i < info_.numberOfParams; ++i) {
            ParamInfo param{};
            exportOf<void (*)(void*, int32_t, ParamInfo*)>("GetParamInfo")(object_, i, &param);
            slots_[i].value = param.defaultValue;
            exportOf<void (*)(void*, int32_t, EventHandle)>("SetEventAddress")(object_, i,
                                                                               &slots_[i]);
        }
    }
    ~BareHost() { exportOf<void (*)(void*)>("Destroy")(object_); }

    void init() {
        exportOf<void (*)(void*, HostInfo*, ModuleInfo*)>("InitModule")(object_, &host_, &info_);
    }
    void process() {
        qevCallMisaligned(asCall(GetProcAddress(library_, "Process")), object_, nullptr, offset_);
    }
    void callBack(int32_t index) {
        CallBackMessage message{nullptr, index, 0};
        qevCallMisaligned(asCall(GetProcAddress(library_, "CallBack")), object_, &message, offset_);
    }
    Slot& slot(int32_t index) { return slots_.at(index); }

  private:
    template <typename Function>
    Function exportOf(const char* name) {
        return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(library_, name)));
    }

    HMODULE library_;
    uint32_t offset_;
    void* object_ = nullptr;
    HostInfo host_;
    ModuleInfo info_;
    std::vector<Slot> slots_;
};

std::vector<uint32_t> bitsOf(const std::vector<float>& values) {
    std::vector<uint32_t> bits(values.size());
    if (!values.empty()) std::memcpy(bits.data(), values.data(), values.size() * sizeof(float));
    return bits;
}

// Qev Random: outputs over a ramp of inputs, with a seed change through CallBack half-way.
std::vector<uint32_t> randomOutputs(HMODULE library, uint32_t offset) {
    enum { Input = 0, Seed = 1, Octaves = 4, Fade = 7, Output = 12 };
    BareHost module(library, offset);
    module.slot(Octaves).value = 5;
    module.slot(Fade).value = 0.6f;
    module.init();
    std::vector<float> outputs;
    for (int step = 0; step < 64; ++step) {
        if (step == 32) {
            module.slot(Seed).value = 4711;
            module.callBack(Seed);
        }
        module.slot(Input).value = step * 0.37f;
        module.process();
        outputs.push_back(module.slot(Output).value);
    }
    return bitsOf(outputs);
}

// Qev RandomArray: both arrays after the button, in the "Update on Click" mode.
std::vector<uint32_t> arrayOutputs(HMODULE library, uint32_t offset) {
    enum { Mode = 0, Calculate = 1, Seed = 2, Octaves = 5, Size = 13, FloatOut = 14, IntOut = 15 };
    BareHost module(library, offset);
    module.slot(Mode).value = 1;
    module.slot(Seed).value = 99;
    module.slot(Octaves).value = 7;
    module.slot(Size).value = 300;
    module.init();
    module.process();
    module.callBack(Calculate);
    std::vector<uint32_t> bits = bitsOf(module.slot(FloatOut).array);
    const std::vector<uint32_t> integers = bitsOf(module.slot(IntOut).array);
    bits.insert(bits.end(), integers.begin(), integers.end());
    return bits;
}

class MisalignedStack : public ::testing::Test {
  protected:
    void SetUp() override {
        if (sizeof(void*) != 4) GTEST_SKIP() << "64-bit callers always keep 16-byte alignment";
        random = LoadLibraryA(RANDOM_PLUGIN);
        array = LoadLibraryA(ARRAY_PLUGIN);
        ASSERT_NE(random, nullptr);
        ASSERT_NE(array, nullptr);
        reportCount = 0;
    }
    void TearDown() override {
        if (random) FreeLibrary(random);
        if (array) FreeLibrary(array);
    }

    HMODULE random = nullptr;
    HMODULE array = nullptr;
};

}  // namespace

TEST_F(MisalignedStack, TrampolineSetsTheStackOffset) {
    for (uint32_t offset : {0u, 4u, 8u, 12u}) {
        const uintptr_t stack = qevCallMisaligned(qevStackAtCall, nullptr, nullptr, offset);
        EXPECT_EQ(stack % 16, offset);
    }
}

TEST_F(MisalignedStack, ProcessAndCallBackGiveTheAlignedBits) {
    const std::vector<uint32_t> randomExpected = randomOutputs(random, 0);
    const std::vector<uint32_t> arrayExpected = arrayOutputs(array, 0);
    ASSERT_EQ(arrayExpected.size(), 600u);
    for (uint32_t offset : {4u, 8u, 12u}) {
        EXPECT_EQ(randomOutputs(random, offset), randomExpected) << "offset " << offset;
        EXPECT_EQ(arrayOutputs(array, offset), arrayExpected) << "offset " << offset;
    }
    EXPECT_EQ(reportCount, 0);
}
