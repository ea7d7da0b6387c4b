#include "qevhost/exports.h"

namespace qevhost {

const std::array<const char*, 34> kExportNames = {
#define QEVHOST_EXPORT_NAME(name, result, params) #name,
    QEVHOST_EXPORT_LIST(QEVHOST_EXPORT_NAME)
#undef QEVHOST_EXPORT_NAME
};

}  // namespace qevhost
