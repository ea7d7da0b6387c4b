#include "qevhost/module.h"

#include <stdexcept>

#include "host_services.h"
#include "qevhost/entry_point_note.h"
#include "qevhost/errors.h"
#include "qevhost/record_layout.h"

namespace qevhost {

namespace {

constexpr std::size_t kModuleInfoSize = kNativeLayout.moduleInfoEnd + kRecordSlack;
constexpr std::size_t kParamInfoSize = kNativeLayout.paramInfoEnd + kRecordSlack;
constexpr std::size_t kCallBackMessageSize = kNativeLayout.callBackMessageEnd + kRecordSlack;

// The most parameters a module can address: CallBack drops indices from 4095 up.
constexpr int32_t kMaxParams = 4095;

std::string offsetsText(const std::vector<std::size_t>& offsets) {
    std::string text;
    for (std::size_t i = 0; i < offsets.size() && i < 8; ++i) {
        text += (i ? "," : "") + std::to_string(offsets[i]);
    }
    if (offsets.size() > 8) text += ",...";
    return text;
}

}  // namespace

Module::Module(const Plugin& plugin)
    : plugin_(plugin),
      hostInfo_(makeHostInfo()),
      hostInfoAsHanded_(hostInfo_),
      moduleInfo_(kModuleInfoSize),
      moduleInfoAsDescribed_(moduleInfo_) {
    EntryPointScope entry("Create");
    ModuleCallScope scope(*this);
    plugin_.exports().Create(&object_);
    if (object_ == nullptr) throw ModuleError(plugin_.path() + ": Create made no module object");
}

Module::~Module() {
    EntryPointScope entry("Destroy");
    ModuleCallScope scope(*this);
    plugin_.exports().Destroy(object_);
}

void Module::checkRecords(const char* exportName) {
    if (!(hostInfo_ == hostInfoAsHanded_)) {
        addHostError(std::string(exportName) + " overwrote HostInfo bytes " +
                     offsetsText(hostInfo_.changedOutside({}, hostInfoAsHanded_)));
        hostInfo_ = hostInfoAsHanded_;
    }
    // Only GetModuleInfo fills ModuleInfo; any later change is a stray write.
    if (!(moduleInfo_ == moduleInfoAsDescribed_)) {
        addHostError(std::string(exportName) + " wrote into ModuleInfo bytes " +
                     offsetsText(moduleInfo_.changedOutside({}, moduleInfoAsDescribed_)));
        moduleInfoAsDescribed_ = moduleInfo_;
    }
}

const ModuleDescription& Module::describe() {
    EntryPointScope entry("GetModuleInfo");
    const auto& at = kNativeLayout.moduleInfo;
    const RecordBuffer before = moduleInfo_;
    {
        ModuleCallScope scope(*this);
        exports().GetModuleInfo(object_, hostInfo_.data(), moduleInfo_.data());
    }
    moduleInfoAsDescribed_ = moduleInfo_;
    checkRecords("GetModuleInfo");

    ModuleDescription d;
    d.name = moduleInfo_.writtenText(at.name);
    d.description = moduleInfo_.writtenText(at.description);
    d.version = moduleInfo_.writtenText(at.version);
    d.moduleType = moduleInfo_.writtenInt32(at.moduleType);
    d.hostLookup = moduleInfo_.writtenInt32(at.hostLookup);
    d.numberOfParams = moduleInfo_.writtenInt32(at.numberOfParams);
    d.optionCode = moduleInfo_.writtenInt32(at.optionCode);
    d.hostBytesOverwritten = moduleInfo_.changedOutside(moduleInfoFields(kNativeLayout), before);
    if (!d.hostBytesOverwritten.empty()) {
        addHostError("GetModuleInfo overwrote host-owned ModuleInfo bytes " +
                     offsetsText(d.hostBytesOverwritten));
    }

    int32_t count = d.numberOfParams.value_or(0);
    if (count < 0 || count > kMaxParams) {
        addHostError("numberOfParams " + std::to_string(count) + " is out of range");
        count = 0;
    }
    for (int32_t i = 0; i < count; ++i) d.params.push_back(queryParam(i));
    description_ = std::move(d);
    return description_;
}

ParamDescription Module::queryParam(int32_t index) {
    EntryPointScope entry("GetParamInfo");
    const auto& at = kNativeLayout.paramInfo;
    const RecordBuffer before(kParamInfoSize);
    RecordBuffer record(kParamInfoSize);
    {
        ModuleCallScope scope(*this);
        exports().GetParamInfo(object_, index, record.data());
    }
    checkRecords("GetParamInfo");

    ParamDescription p;
    p.index = index;
    p.untouched = record == before;
    p.paramType = record.writtenInt32(at.paramType);
    p.caption = record.writtenText(at.caption);
    p.isInput = record.writtenInt32(at.isInput);
    p.isOutput = record.writtenInt32(at.isOutput);
    p.commonFlag = record.writtenInt32(at.commonFlag);
    p.settingFlag = record.writtenInt32(at.settingFlag);
    p.modeCode = record.writtenInt32(at.modeCode);
    p.startsGroup = record.writtenInt32(at.startsGroup);
    p.minValue = record.writtenFloat(at.minValue);
    p.maxValue = record.writtenFloat(at.maxValue);
    p.defaultValue = record.writtenFloat(at.defaultValue);
    p.format = record.writtenText(at.format);
    p.listItems = record.writtenText(at.listItems);
    p.hostBytesOverwritten = record.changedOutside(paramInfoFields(kNativeLayout), before);
    if (!p.hostBytesOverwritten.empty()) {
        addHostError("GetParamInfo(" + std::to_string(index) +
                     ") overwrote host-owned ParamInfo bytes " +
                     offsetsText(p.hostBytesOverwritten));
    }
    return p;
}

void Module::wire() {
    EntryPointScope entry("SetEventAddress");
    slots_.clear();
    for (const auto& p : description_.params) {
        auto slot = std::make_unique<EventSlot>();
        slot->owner = this;
        slot->index = p.index;
        slot->value = p.defaultValue.value_or(0.0f);
        slots_.push_back(std::move(slot));
    }
    for (auto& slot : slots_) {
        {
            ModuleCallScope scope(*this);
            exports().SetEventAddress(object_, slot->index, slot.get());
        }
        checkRecords("SetEventAddress");
    }
}

void Module::init() {
    EntryPointScope entry("InitModule");
    {
        ModuleCallScope scope(*this);
        exports().InitModule(object_, hostInfo_.data(), moduleInfo_.data());
    }
    checkRecords("InitModule");
}

void Module::start() {
    describe();
    wire();
    init();
}

EventSlot& Module::slot(int32_t index) {
    if (index < 0 || index >= paramCount()) {
        throw std::out_of_range("no parameter " + std::to_string(index));
    }
    return *slots_[static_cast<std::size_t>(index)];
}

const EventSlot& Module::slot(int32_t index) const {
    return const_cast<Module*>(this)->slot(index);
}

float Module::value(int32_t index) const {
    return slot(index).value;
}

void Module::setValue(int32_t index, float value) {
    slot(index).value = value;
}

const std::vector<float>& Module::array(int32_t index) const {
    return slot(index).elements;
}

int32_t Module::arrayLength(int32_t index) const {
    return slot(index).length;
}

void* Module::handle(int32_t index) {
    return &slot(index);
}

void Module::callBack(intptr_t paramIndex, intptr_t detail) {
    EntryPointScope entry("CallBack");
    const auto& at = kNativeLayout.callBackMessage;
    RecordBuffer message(kCallBackMessageSize);
    message.setPointer(at.paramIndex, paramIndex);
    message.setPointer(at.messageDetail, detail);
    const RecordBuffer before = message;
    {
        ModuleCallScope scope(*this);
        exports().CallBack(object_, message.data());
    }
    checkRecords("CallBack");
    if (!(message == before)) addHostError("CallBack wrote into its CallBackMessage");
}

void Module::change(int32_t index, float value) {
    setValue(index, value);
    callBack(index, 0);
}

void Module::process() {
    EntryPointScope entry("Process");
    {
        ModuleCallScope scope(*this);
        exports().Process(object_);
    }
    checkRecords("Process");
}

EventSlot* Module::slotFor(void* handle) {
    for (auto& slot : slots_) {
        if (slot.get() == handle) return slot.get();
    }
    return nullptr;
}

void Module::logCall(const ServiceCall& call) {
    if (logCalls_) calls_.push_back(call);
}

void Module::addReport(const char* text) {
    reports_.emplace_back(text);
    if (reportListener_) reportListener_(reports_.back());
}

void Module::addHostError(std::string text) {
    hostErrors_.push_back(std::move(text));
}

void Module::setReportListener(std::function<void(const std::string&)> listener) {
    reportListener_ = std::move(listener);
}

}  // namespace qevhost
