// The six host services, as plain C functions, and the HostInfo record that points at them.
#pragma once

#include "qevhost/record_buffer.h"

namespace qevhost {

// A HostInfo record: sentinel bytes everywhere but the six service pointers.
RecordBuffer makeHostInfo();

}  // namespace qevhost
