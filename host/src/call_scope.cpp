#include "qevhost/call_scope.h"

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
    : previous_(tCurrentModule), previousInService_(tInHostService) {
    tCurrentModule = &module;
    tInHostService = false;
}

ModuleCallScope::~ModuleCallScope() {
    tCurrentModule = previous_;
    tInHostService = previousInService_;
}

HostServiceScope::HostServiceScope() : previous_(tInHostService) {
    tInHostService = true;
}

HostServiceScope::~HostServiceScope() {
    tInHostService = previous_;
}

}  // namespace qevhost
