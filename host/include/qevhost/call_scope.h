// Which module, if any, is running code on this thread. Every call into a plug-in export made by
// Module goes through a ModuleCallScope; every host service runs inside a HostServiceScope. These
// two are the only places that change the thread's state, so an allocation hook can ask
// moduleCodeRunning() to tell module allocations from the host's own. Under a
// PluginFpEnvironment, a ModuleCallScope also runs the call in that floating-point environment,
// and a HostServiceScope gives the module's environment back as it found it (flags included),
// so what the host's own code raises is not put down to the module.
#pragma once

#include "qevhost/fp_environment.h"

namespace qevhost {

class Module;

// The module whose export call is in progress on this thread (innermost), or null.
Module* currentModule();

// True while a module export runs on this thread and no host service is executing inside it.
bool moduleCodeRunning();

class PluginFpEnvironment;

class ModuleCallScope {
  public:
    explicit ModuleCallScope(Module& module);
    ~ModuleCallScope();
    ModuleCallScope(const ModuleCallScope&) = delete;
    ModuleCallScope& operator=(const ModuleCallScope&) = delete;

  private:
    Module* previous_;
    bool previousInService_;
    PluginFpEnvironment* fpEnvironment_;
    FpEnvironment hostFpEnvironment_;
};

class HostServiceScope {
  public:
    HostServiceScope();
    ~HostServiceScope();
    HostServiceScope(const HostServiceScope&) = delete;
    HostServiceScope& operator=(const HostServiceScope&) = delete;

  private:
    bool previous_;
    bool keepFpEnvironment_;
    FpEnvironment moduleFpEnvironment_;
};

}  // namespace qevhost
