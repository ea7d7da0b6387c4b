// How many bytes the process holds in heap blocks right now. Two readings around repeated work
// tell what the work kept: loading, using and unloading a plug-in should keep nothing.
#pragma once

#include <cstddef>

namespace qevhost::platform {

// Bytes in live heap blocks of the whole process (the C library's allocator on Linux, every
// heap of the process on Windows). Take readings on a quiet process: other threads' allocations
// count too.
std::size_t heapBytesInUse();

}  // namespace qevhost::platform
