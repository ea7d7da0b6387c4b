// A host for one module object inside the page: parameter values and array outlets in plain
// buffers behind the host services, and the module driven as qevhost drives it (describe, wire,
// init, then a CallBack per changed setting, Process per block).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "host_info.h"
#include "user_module_base.h"

namespace explorer {

class ExplorerHost;

// One parameter's storage; its address is the EventHandle the module gets.
struct Slot {
    ExplorerHost* host = nullptr;  // whose services the module reached through this handle
    int32_t index = 0;
    float value = 0.0f;
    std::vector<float> elements;  // array outlets; the length set by setEventSize
    bool written = false;         // an element was set
};

// What onGetParamInfo wrote for one parameter (unwritten numbers stay NaN).
struct Param {
    int32_t type = 0;
    std::string caption;
    bool input = false;
    float minValue, maxValue, defaultValue;
    std::string format;
    std::string listItems;
};

class ExplorerHost {
  public:
    ExplorerHost();
    ~ExplorerHost();

    // Describes, wires (every value at its default) and initialises the module.
    void start();
    const std::vector<Param>& params() const { return params_; }
    const std::string& moduleName() const { return moduleName_; }
    int32_t indexOf(const std::string& caption) const;

    float value(int32_t index) const { return slots_[index].value; }
    void setValue(int32_t index, float value) { slots_[index].value = value; }
    // setValue, then a CallBack about the parameter, as the host reports a change.
    void change(int32_t index, float value);
    void callBack(int32_t index);
    void process();
    const std::vector<float>& array(int32_t index) const { return slots_[index].elements; }
    // True once the module wrote an array element.
    bool arraysWritten() const;
    // Host calls refused under qevhost's rules (qevhost/array_rules.h) since the last clear.
    const std::vector<std::string>& hostErrors() const { return hostErrors_; }
    void clearHostErrors() { hostErrors_.clear(); }

  private:
    static float getEventValue(qev::EventHandle handle);
    static void setEventValue(qev::EventHandle handle, float value);
    static void setEventSize(qev::EventHandle handle, int32_t count);
    static void setEventArrayValue(qev::EventHandle handle, int32_t index, float value);
    static int32_t lookupHostValue(int32_t key);
    static void reportError(const char* text);

    qev::HostInfo hostInfo_{};
    qev::ModuleInfo moduleInfo_{};
    qev::UserModuleBase* module_ = nullptr;
    std::string moduleName_;
    std::vector<Param> params_;
    std::vector<Slot> slots_;
    std::vector<std::string> hostErrors_;
};

}  // namespace explorer
