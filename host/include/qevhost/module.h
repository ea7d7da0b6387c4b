// One module object inside the host: created on construction, destroyed on destruction, driven
// in the host's order of calls (describe, wire, init, then process and callBack).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "qevhost/call_scope.h"
#include "qevhost/description.h"
#include "qevhost/event_slot.h"
#include "qevhost/plugin.h"
#include "qevhost/record_buffer.h"
#include "qevhost/service_call.h"

namespace qevhost {

class Module {
  public:
    // Calls Create; throws ModuleError when it answers a null object.
    explicit Module(const Plugin& plugin);
    ~Module();  // calls Destroy
    Module(const Module&) = delete;
    Module& operator=(const Module&) = delete;

    // GetModuleInfo, then GetParamInfo for each index below numberOfParams.
    const ModuleDescription& describe();
    const ModuleDescription& description() const { return description_; }
    // GetParamInfo for any index, on a fresh record.
    ParamDescription queryParam(int32_t index);
    // SetEventAddress for each described parameter; values start at their defaults (0 without).
    void wire();
    void init();   // InitModule with the host's records
    void start();  // describe, wire, init

    int32_t paramCount() const { return static_cast<int32_t>(slots_.size()); }
    float value(int32_t index) const;
    void setValue(int32_t index, float value);  // the host's side only: no call into the module
    void callBack(intptr_t paramIndex, intptr_t detail = 0);  // CallBack with a fresh message
    void change(int32_t index, float value);                  // setValue, then callBack(index, 0)
    void process();
    const std::vector<float>& array(int32_t index) const;
    int32_t arrayLength(int32_t index) const;

    // Every reportError text, in order of arrival.
    const std::vector<std::string>& reports() const { return reports_; }
    // Faults the host saw: writes beyond an array's length (not performed), bad sizes, unknown
    // handles, host-owned record bytes or HostInfo bytes the module overwrote.
    const std::vector<std::string>& hostErrors() const { return hostErrors_; }
    const std::vector<ServiceCall>& calls() const { return calls_; }
    void clearCalls() { calls_.clear(); }
    void setCallLogging(bool on) { logCalls_ = on; }
    // Called with each reportError text as it arrives (on the calling thread).
    void setReportListener(std::function<void(const std::string&)> listener);

    // Raw access, for calling exports directly. Wrap such calls in a ModuleCallScope so the
    // services route reports and log calls to this module.
    void* object() const { return object_; }
    const Exports& exports() const { return plugin_.exports(); }
    const Plugin& plugin() const { return plugin_; }
    RecordBuffer& hostInfo() { return hostInfo_; }
    RecordBuffer& moduleInfo() { return moduleInfo_; }
    void* handle(int32_t index);  // the EventHandle of a wired parameter

    // Used by the host services.
    EventSlot* slotFor(void* handle);
    void logCall(const ServiceCall& call);
    void addReport(const char* text);
    void addHostError(std::string text);

  private:
    // Records HostInfo or ModuleInfo bytes changed by the export call just made.
    void checkRecords(const char* exportName);
    EventSlot& slot(int32_t index);
    const EventSlot& slot(int32_t index) const;

    const Plugin& plugin_;
    void* object_ = nullptr;
    RecordBuffer hostInfo_;
    RecordBuffer hostInfoAsHanded_;
    RecordBuffer moduleInfo_;
    RecordBuffer moduleInfoAsDescribed_;
    ModuleDescription description_;
    std::vector<std::unique_ptr<EventSlot>> slots_;
    std::vector<std::string> reports_;
    std::vector<std::string> hostErrors_;
    std::vector<ServiceCall> calls_;
    bool logCalls_ = true;
    std::function<void(const std::string&)> reportListener_;
};

}  // namespace qevhost
