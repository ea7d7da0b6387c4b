// Bounds the time of every call into a module. A watchdog thread looks at the calls in progress;
// one that runs past the limit is a hang: the watchdog reports it as the check's result and ends
// the process, since a thread stuck inside a plug-in cannot be taken back.
#pragma once

#include <string>

namespace qevhost::validate {

// Starts the watchdog for this process. `fail` is called on the watchdog thread with the reason
// when a call overruns; it must not return.
void startWatchdog(double limitSeconds, void (*fail)(const std::string& reason));

// What the calls on this thread are about ("step 12: Octaves = nan"), named in a hang's reason.
// The text must outlive the calls.
void setCallContext(const std::string* context);

// Marks one call into a module on this thread. Without a running watchdog it only names the call.
class TimedCall {
  public:
    explicit TimedCall(const char* what);
    ~TimedCall();
    TimedCall(const TimedCall&) = delete;
    TimedCall& operator=(const TimedCall&) = delete;

  private:
    int slot_;
};

}  // namespace qevhost::validate
