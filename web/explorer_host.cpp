#include "explorer_host.h"

#include <cmath>

#include "qevhost/array_rules.h"

namespace explorer {

namespace {

Slot& slotOf(qev::EventHandle handle) {
    return *static_cast<Slot*>(handle);
}

}  // namespace

ExplorerHost::ExplorerHost() {
    hostInfo_.lookupHostValue = &ExplorerHost::lookupHostValue;
    hostInfo_.setEventSize = &ExplorerHost::setEventSize;
    hostInfo_.setEventValue = &ExplorerHost::setEventValue;
    hostInfo_.getEventValue = &ExplorerHost::getEventValue;
    hostInfo_.setEventArrayValue = &ExplorerHost::setEventArrayValue;
    hostInfo_.reportError = &ExplorerHost::reportError;
}

ExplorerHost::~ExplorerHost() {
    delete module_;
}

void ExplorerHost::start() {
    delete module_;
    module_ = qev::createModule();
    hostErrors_.clear();
    module_->storeHostRecords(&hostInfo_, &moduleInfo_);
    module_->onGetModuleInfo(&hostInfo_, &moduleInfo_);
    moduleName_ = moduleInfo_.description ? moduleInfo_.description : "";
    params_.clear();
    for (int32_t i = 0; i < moduleInfo_.numberOfParams; ++i) {
        qev::ParamInfo record{};
        record.minValue = record.maxValue = record.defaultValue = NAN;
        module_->onGetParamInfo(i, &record);
        Param p;
        p.type = record.paramType;
        p.caption = record.caption ? record.caption : "";
        p.input = record.isInput != 0;
        p.minValue = record.minValue;
        p.maxValue = record.maxValue;
        p.defaultValue = record.defaultValue;
        p.format = record.format ? record.format : "";
        p.listItems = record.listItems ? record.listItems : "";
        params_.push_back(p);
    }
    slots_.assign(params_.size(), Slot{});
    for (std::size_t i = 0; i < params_.size(); ++i) {
        const float d = params_[i].defaultValue;
        slots_[i].host = this;
        slots_[i].index = static_cast<int32_t>(i);
        slots_[i].value = std::isnan(d) ? 0.0f : d;
        module_->onSetEventAddress(static_cast<int32_t>(i), &slots_[i]);
    }
    module_->onInitModule(&hostInfo_, &moduleInfo_);
}

int32_t ExplorerHost::indexOf(const std::string& caption) const {
    for (std::size_t i = 0; i < params_.size(); ++i) {
        if (params_[i].caption == caption) return static_cast<int32_t>(i);
    }
    return -1;
}

bool ExplorerHost::arraysWritten() const {
    for (const auto& slot : slots_) {
        if (slot.written) return true;
    }
    return false;
}

void ExplorerHost::change(int32_t index, float value) {
    setValue(index, value);
    callBack(index);
}

void ExplorerHost::callBack(int32_t index) {
    qev::CallBackMessage message{nullptr, index, 0};
    module_->guardedCallBack(&message);
}

void ExplorerHost::process() {
    module_->onProcess();
}

float ExplorerHost::getEventValue(qev::EventHandle handle) {
    return slotOf(handle).value;
}

void ExplorerHost::setEventValue(qev::EventHandle handle, float value) {
    slotOf(handle).value = value;
}

void ExplorerHost::setEventSize(qev::EventHandle handle, int32_t count) {
    Slot& slot = slotOf(handle);
    std::string refusal = qevhost::sizeRefusal(slot.index, count);
    if (!refusal.empty()) return slot.host->hostErrors_.push_back(std::move(refusal));
    slot.elements.resize(static_cast<std::size_t>(count), 0.0f);
}

void ExplorerHost::setEventArrayValue(qev::EventHandle handle, int32_t index, float value) {
    Slot& slot = slotOf(handle);
    slot.written = true;
    std::string refusal =
        qevhost::indexRefusal(slot.index, index, static_cast<int32_t>(slot.elements.size()));
    if (!refusal.empty()) return slot.host->hostErrors_.push_back(std::move(refusal));
    slot.elements[static_cast<std::size_t>(index)] = value;
}

int32_t ExplorerHost::lookupHostValue(int32_t) {
    return 0;
}

void ExplorerHost::reportError(const char*) {}

}  // namespace explorer
