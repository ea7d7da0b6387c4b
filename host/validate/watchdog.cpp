#include "watchdog.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <thread>

namespace qevhost::validate {

namespace {

using Clock = std::chrono::steady_clock;

// One slot per thread that calls modules; a check uses at most a few threads.
constexpr int kSlots = 16;

struct CallSlot {
    std::atomic<int64_t> startedNs{0};  // 0: no call in progress
    std::atomic<const char*> what{nullptr};
    std::atomic<const std::string*> context{nullptr};
};

CallSlot gSlots[kSlots];
std::atomic<int> gNextSlot{0};
thread_local int tSlot = -1;
thread_local const std::string* tContext = nullptr;

int64_t nowNs() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(Clock::now().time_since_epoch())
        .count();
}

int threadSlot() {
    if (tSlot < 0) tSlot = gNextSlot.fetch_add(1) % kSlots;
    return tSlot;
}

void watch(int64_t limitNs, void (*fail)(const std::string& reason)) {
    for (;;) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        const int64_t now = nowNs();
        for (auto& slot : gSlots) {
            const int64_t started = slot.startedNs.load();
            if (started == 0 || now - started <= limitNs) continue;
            char limit[32];
            std::snprintf(limit, sizeof limit, "%g", static_cast<double>(limitNs) * 1e-9);
            std::string reason =
                std::string(slot.what.load()) + " did not return within " + limit + " s";
            if (const std::string* context = slot.context.load()) reason += " (" + *context + ")";
            fail(reason);
        }
    }
}

}  // namespace

void startWatchdog(double limitSeconds, void (*fail)(const std::string& reason)) {
    const auto limitNs = static_cast<int64_t>(limitSeconds * 1e9);
    std::thread(watch, limitNs, fail).detach();
}

void setCallContext(const std::string* context) {
    tContext = context;
}

TimedCall::TimedCall(const char* what) : slot_(threadSlot()) {
    CallSlot& slot = gSlots[slot_];
    slot.what.store(what);
    slot.context.store(tContext);
    slot.startedNs.store(nowNs());
}

TimedCall::~TimedCall() {
    gSlots[slot_].startedNs.store(0);
}

}  // namespace qevhost::validate
