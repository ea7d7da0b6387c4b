// A minimal host for the benchmarks: it loads a plug-in with dlopen and calls its exports
// directly, and its services do nothing but read and write the host's own parameter storage, so
// a measurement is the plug-in's cost plus the least a host can add.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "host_info.h"
#include "host_records.h"

namespace qev::bench {

// One parameter's value, or one array outlet's contents. Its address is the EventHandle.
struct BenchSlot {
    float value = 0.0f;
    std::vector<float> elements;
};

class BenchHost {
  public:
    // Loads the plug-in and creates one module object; throws std::runtime_error on failure.
    explicit BenchHost(const std::string& path);
    ~BenchHost();
    BenchHost(const BenchHost&) = delete;
    BenchHost& operator=(const BenchHost&) = delete;

    // GetModuleInfo, GetParamInfo for every parameter (values start at the defaults),
    // SetEventAddress for every parameter, then InitModule.
    void start();
    // The host's side only: no call into the module.
    void set(int32_t index, float value) { slots_[index].value = value; }
    float value(int32_t index) const { return slots_[index].value; }
    const std::vector<float>& array(int32_t index) const { return slots_[index].elements; }

    // The exports, with the module object.
    void callBack(int32_t paramIndex);
    void process();
    void init();

    // Heap allocations the plug-in made while creating its module object.
    long creationAllocations() const { return creationAllocations_; }
    // Bytes those allocations asked for: the module object's memory.
    long creationBytes() const { return creationBytes_; }
    // Texts handed to reportError, over all hosts.
    static const std::vector<std::string>& reports();

  private:
    struct Exports;
    void* library_ = nullptr;
    std::unique_ptr<Exports> exports_;
    void* module_ = nullptr;
    HostInfo hostInfo_{};
    ModuleInfo moduleInfo_{};
    CallBackMessage message_{};
    std::vector<BenchSlot> slots_;
    long creationAllocations_ = 0;
    long creationBytes_ = 0;
};

}  // namespace qev::bench
