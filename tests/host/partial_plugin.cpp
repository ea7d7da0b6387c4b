// A shared library with only the first two of the 34 exports: the host must refuse it and name
// the first missing one.
#include <cstdint>

extern "C" __attribute__((visibility("default"))) int32_t GetSDKVersion() {
    return 601001;
}
extern "C" __attribute__((visibility("default"))) void Create(void** out) {
    *out = nullptr;
}
