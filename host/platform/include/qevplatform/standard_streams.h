// Standard output and error as the host prints them.
#pragma once

namespace qevhost::platform {

// Lines end in a plain newline on every system: Windows' C runtime would otherwise write CR LF,
// and output compared across builds (or piped into tools) would differ.
void useBinaryStandardStreams();

}  // namespace qevhost::platform
