// Loading and unloading a DLL gives back everything: after the first few cycles, a load, one
// module object and an unload keep no heap memory, the C++ runtime's own pool included (the load
// hook releases it at unload).
#include <gtest/gtest.h>
#include <windows.h>

#include <cstddef>

#include "qevplatform/heap_usage.h"

namespace {

class LoadCycles : public ::testing::TestWithParam<const char*> {};

void loadUseUnload(const char* path) {
    HMODULE library = LoadLibraryA(path);
    ASSERT_NE(library, nullptr);
    using Create = void (*)(void**);
    using Destroy = void (*)(void*);
    void* object = nullptr;
    reinterpret_cast<Create>(reinterpret_cast<void*>(GetProcAddress(library, "Create")))(&object);
    ASSERT_NE(object, nullptr);
    reinterpret_cast<Destroy>(reinterpret_cast<void*>(GetProcAddress(library, "Destroy")))(object);
    ASSERT_TRUE(FreeLibrary(library));
}

}  // namespace

TEST_P(LoadCycles, KeepNothing) {
    constexpr int kWarmUp = 10, kCycles = 200;
    for (int i = 0; i < kWarmUp; ++i) loadUseUnload(GetParam());
    const std::size_t before = qevhost::platform::heapBytesInUse();
    for (int i = 0; i < kCycles; ++i) loadUseUnload(GetParam());
    const std::size_t after = qevhost::platform::heapBytesInUse();
    const double perCycle = after > before ? double(after - before) / kCycles : 0.0;
    EXPECT_LT(perCycle, 1024.0) << "bytes kept per cycle";
}

INSTANTIATE_TEST_SUITE_P(Plugins, LoadCycles, ::testing::Values(RANDOM_PLUGIN, ARRAY_PLUGIN),
                         [](const auto& info) {
                             return std::string(info.index == 0 ? "QevRandom" : "QevRandomArray");
                         });
