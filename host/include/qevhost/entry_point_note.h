// The plug-in entry point the host is in (or "its start-up code" or "its clean-up code" while the
// library loads or unloads), written where another process can read it after this one crashed:
// qevhost runs describe and run in a child process and names the entry point a crash happened in.
// Nothing is written until the host is given a place for it.
#pragma once

#include <cstddef>

namespace qevhost {

// Room for a name and its terminating zero.
constexpr std::size_t kEntryPointNoteSize = 64;

// From now on, names go to these kEntryPointNoteSize bytes (memory the parent process shares);
// null: nowhere.
void publishEntryPointsTo(char* note);

// From a call into an entry point until the host has read what the call handed back: a bad
// pointer the plug-in returns crashes the host while it reads, and that is the entry point's
// fault. Restores the name before it on leaving. Plain stores, safe to read after any crash.
// The entry point named on this thread now, "" outside of any.
const char* currentEntryPoint();

class EntryPointScope {
  public:
    explicit EntryPointScope(const char* name);
    ~EntryPointScope();
    EntryPointScope(const EntryPointScope&) = delete;
    EntryPointScope& operator=(const EntryPointScope&) = delete;

  private:
    const char* previous_;
};

}  // namespace qevhost
