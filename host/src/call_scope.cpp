#include "qevhost/call_scope.h"

#include "qevhost/plugin_fp_environment.h"

namespace qevhost {

namespace {

thread_local Module* tCurrentModule = nullptr;
thread_local bool tInHostService = false;

}  // namespace

Module* currentModule() {
    return tCurrentModule;
}

bool moduleCodeRunning() {
    return tCurrentModule != nullptr && !tInHostService;
}

ModuleCallScope::ModuleCallScope(Module& module)
    : previous_(tCurrentModule),
      previousInService_(tInHostService),
      fpEnvironment_(PluginFpEnvironment::current()) {
    tCurrentModule = &module;
    tInHostService = false;
    if (fpEnvironment_) {
        hostFpEnvironment_ = currentFpEnvironment();
        setFpEnvironment(fpEnvironment_->environment());
    }
}

ModuleCallScope::~ModuleCallScope() {
    tCurrentModule = previous_;
    tInHostService = previousInService_;
    if (fpEnvironment_) {
        const FpEnvironment after = currentFpEnvironment();
        setFpEnvironment(hostFpEnvironment_);
        fpEnvironment_->noteHandedBack(after);
    }
}

HostServiceScope::HostServiceScope()
    : previous_(tInHostService), keepFpEnvironment_(PluginFpEnvironment::current() != nullptr) {
    tInHostService = true;
    if (keepFpEnvironment_) moduleFpEnvironment_ = currentFpEnvironment();
}

HostServiceScope::~HostServiceScope() {
    tInHostService = previous_;
    if (keepFpEnvironment_) setFpEnvironment(moduleFpEnvironment_);
}

}  // namespace qevhost
