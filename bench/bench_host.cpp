#include "bench_host.h"

#include <dlfcn.h>

#include <stdexcept>

#include "allocation_counter.h"

namespace qev::bench {

namespace {

std::vector<std::string>& reportList() {
    static std::vector<std::string> list;
    return list;
}

BenchSlot& slotOf(EventHandle handle) {
    return *static_cast<BenchSlot*>(handle);
}

int32_t lookupHostValue(int32_t) {
    return 0;
}
void setEventSize(EventHandle handle, int32_t count) {
    slotOf(handle).elements.assign(count > 0 ? static_cast<std::size_t>(count) : 0, 0.0f);
}
void setEventValue(EventHandle handle, float value) {
    slotOf(handle).value = value;
}
float getEventValue(EventHandle handle) {
    return slotOf(handle).value;
}
void setEventArrayValue(EventHandle handle, int32_t index, float value) {
    std::vector<float>& elements = slotOf(handle).elements;
    if (index >= 0 && static_cast<std::size_t>(index) < elements.size()) elements[index] = value;
}
void reportError(const char* text) {
    reportList().push_back(text ? text : "");
}

template <typename Function>
Function resolve(void* library, const char* name) {
    void* symbol = dlsym(library, name);
    if (!symbol) throw std::runtime_error(std::string("missing export ") + name);
    return reinterpret_cast<Function>(symbol);
}

}  // namespace

struct BenchHost::Exports {
    void (*create)(void**);
    void (*destroy)(void*);
    void (*getModuleInfo)(void*, HostInfo*, ModuleInfo*);
    void (*getParamInfo)(void*, int32_t, ParamInfo*);
    void (*setEventAddress)(void*, int32_t, EventHandle);
    void (*initModule)(void*, HostInfo*, ModuleInfo*);
    void (*callBack)(void*, CallBackMessage*);
    void (*process)(void*);
};

BenchHost::BenchHost(const std::string& path) : exports_(new Exports) {
    library_ = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!library_) throw std::runtime_error(std::string("cannot load ") + path + ": " + dlerror());
    Exports& e = *exports_;
    e.create = resolve<decltype(e.create)>(library_, "Create");
    e.destroy = resolve<decltype(e.destroy)>(library_, "Destroy");
    e.getModuleInfo = resolve<decltype(e.getModuleInfo)>(library_, "GetModuleInfo");
    e.getParamInfo = resolve<decltype(e.getParamInfo)>(library_, "GetParamInfo");
    e.setEventAddress = resolve<decltype(e.setEventAddress)>(library_, "SetEventAddress");
    e.initModule = resolve<decltype(e.initModule)>(library_, "InitModule");
    e.callBack = resolve<decltype(e.callBack)>(library_, "CallBack");
    e.process = resolve<decltype(e.process)>(library_, "Process");

    hostInfo_.lookupHostValue = &lookupHostValue;
    hostInfo_.setEventSize = &setEventSize;
    hostInfo_.setEventValue = &setEventValue;
    hostInfo_.getEventValue = &getEventValue;
    hostInfo_.setEventArrayValue = &setEventArrayValue;
    hostInfo_.reportError = &reportError;

    const long before = countedAllocations();
    const long bytesBefore = countedBytes();
    {
        CountAllocations counting;
        e.create(&module_);
    }
    creationAllocations_ = countedAllocations() - before;
    creationBytes_ = countedBytes() - bytesBefore;
    if (!module_) throw std::runtime_error("Create answered no module object");
}

BenchHost::~BenchHost() {
    if (module_) exports_->destroy(module_);
    if (library_) dlclose(library_);
}

void BenchHost::start() {
    exports_->getModuleInfo(module_, &hostInfo_, &moduleInfo_);
    const int32_t count = moduleInfo_.numberOfParams;
    if (count <= 0) throw std::runtime_error("the module describes no parameters");
    slots_.assign(static_cast<std::size_t>(count), BenchSlot{});
    for (int32_t i = 0; i < count; ++i) {
        ParamInfo info{};
        exports_->getParamInfo(module_, i, &info);
        slots_[i].value = info.defaultValue;
    }
    for (int32_t i = 0; i < count; ++i) exports_->setEventAddress(module_, i, &slots_[i]);
    init();
}

void BenchHost::init() {
    exports_->initModule(module_, &hostInfo_, &moduleInfo_);
}

void BenchHost::callBack(int32_t paramIndex) {
    message_ = CallBackMessage{nullptr, paramIndex, 0};
    exports_->callBack(module_, &message_);
}

void BenchHost::process() {
    exports_->process(module_);
}

const std::vector<std::string>& BenchHost::reports() {
    return reportList();
}

}  // namespace qev::bench
