#include "qevhost/entry_point_note.h"

#include <atomic>

namespace qevhost {

namespace {

char* gNote = nullptr;
thread_local const char* tCurrent = "";

void publish(const char* name) {
    if (gNote == nullptr) return;
    std::size_t i = 0;
    for (; name[i] != '\0' && i + 1 < kEntryPointNoteSize; ++i) gNote[i] = name[i];
    gNote[i] = '\0';
    // The name is in place before the call it names starts, even if that call never returns.
    std::atomic_signal_fence(std::memory_order_seq_cst);
}

}  // namespace

void publishEntryPointsTo(char* note) {
    gNote = note;
    publish(tCurrent);
}

const char* currentEntryPoint() {
    return tCurrent;
}

EntryPointScope::EntryPointScope(const char* name) : previous_(tCurrent) {
    tCurrent = name;
    publish(name);
}

EntryPointScope::~EntryPointScope() {
    tCurrent = previous_;
    publish(previous_);
}

}  // namespace qevhost
