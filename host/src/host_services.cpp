#include "host_services.h"

#include <string>

#include "qevhost/array_rules.h"
#include "qevhost/call_scope.h"
#include "qevhost/module.h"
#include "qevhost/record_layout.h"

namespace qevhost {

namespace {

// The slot behind a handle, checked against the module whose call is in progress. Outside any
// module call the handle is trusted if it looks like a live slot.
EventSlot* findSlot(void* handle, Module*& module) {
    module = currentModule();
    if (module != nullptr) return module->slotFor(handle);
    auto* slot = static_cast<EventSlot*>(handle);
    if (slot == nullptr || slot->magic != EventSlot::kMagic) return nullptr;
    module = slot->owner;
    return slot;
}

void logCall(Module* module, Service service, EventSlot* slot, int32_t intArg, float floatArg) {
    if (module != nullptr) module->logCall({service, slot ? slot->index : -1, intArg, floatArg});
}

void unknownHandle(Module* module, const char* service) {
    if (module != nullptr) module->addHostError(std::string(service) + " with an unknown handle");
}

extern "C" int32_t hostLookupHostValue(int32_t key) {
    HostServiceScope scope;
    logCall(currentModule(), Service::LookupHostValue, nullptr, key, 0.0f);
    return kHostLookupAnswer;
}

extern "C" void hostSetEventSize(void* handle, int32_t count) {
    HostServiceScope scope;
    Module* module = nullptr;
    EventSlot* slot = findSlot(handle, module);
    logCall(module, Service::SetEventSize, slot, count, 0.0f);
    if (slot == nullptr) return unknownHandle(module, "setEventSize");
    std::string refusal = sizeRefusal(slot->index, count);
    if (!refusal.empty()) return module->addHostError(std::move(refusal));
    slot->length = count;
    slot->elements.resize(static_cast<std::size_t>(count), 0.0f);
}

extern "C" void hostSetEventValue(void* handle, float value) {
    HostServiceScope scope;
    Module* module = nullptr;
    EventSlot* slot = findSlot(handle, module);
    logCall(module, Service::SetEventValue, slot, 0, value);
    if (slot == nullptr) return unknownHandle(module, "setEventValue");
    slot->value = value;
}

extern "C" float hostGetEventValue(void* handle) {
    HostServiceScope scope;
    Module* module = nullptr;
    EventSlot* slot = findSlot(handle, module);
    const float value = slot ? slot->value : 0.0f;
    logCall(module, Service::GetEventValue, slot, 0, value);
    if (slot == nullptr) unknownHandle(module, "getEventValue");
    return value;
}

extern "C" void hostSetEventArrayValue(void* handle, int32_t index, float value) {
    HostServiceScope scope;
    Module* module = nullptr;
    EventSlot* slot = findSlot(handle, module);
    logCall(module, Service::SetEventArrayValue, slot, index, value);
    if (slot == nullptr) return unknownHandle(module, "setEventArrayValue");
    std::string refusal = indexRefusal(slot->index, index, slot->length);
    if (!refusal.empty()) return module->addHostError(std::move(refusal));
    slot->elements[static_cast<std::size_t>(index)] = value;
}

extern "C" void hostReportError(const char* text) {
    HostServiceScope scope;
    Module* module = currentModule();
    if (module == nullptr) return;
    logCall(module, Service::ReportError, nullptr, static_cast<int32_t>(module->reports().size()),
            0.0f);
    module->addReport(text ? text : "(null text)");
}

template <typename F>
intptr_t address(F* function) {
    return reinterpret_cast<intptr_t>(function);
}

}  // namespace

const char* serviceName(Service service) {
    switch (service) {
        case Service::LookupHostValue:
            return "lookupHostValue";
        case Service::SetEventSize:
            return "setEventSize";
        case Service::SetEventValue:
            return "setEventValue";
        case Service::GetEventValue:
            return "getEventValue";
        case Service::SetEventArrayValue:
            return "setEventArrayValue";
        case Service::ReportError:
            return "reportError";
    }
    return "?";
}

RecordBuffer makeHostInfo() {
    const auto& at = kNativeLayout.hostInfo;
    RecordBuffer record(kNativeLayout.hostInfoEnd + kRecordSlack);
    record.setPointer(at.lookupHostValue, address(&hostLookupHostValue));
    record.setPointer(at.setEventSize, address(&hostSetEventSize));
    record.setPointer(at.setEventValue, address(&hostSetEventValue));
    record.setPointer(at.getEventValue, address(&hostGetEventValue));
    record.setPointer(at.setEventArrayValue, address(&hostSetEventArrayValue));
    record.setPointer(at.reportError, address(&hostReportError));
    return record;
}

}  // namespace qevhost
