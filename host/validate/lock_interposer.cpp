// pthread_mutex_lock and pthread_mutex_trylock as the host process sees them: module calls are
// counted, then the C library's functions run.
#include <dlfcn.h>
#include <pthread.h>

#include <atomic>

#include "call_counts.h"

namespace {

using LockFunction = int (*)(pthread_mutex_t*);

std::atomic<LockFunction> gLock{nullptr};
std::atomic<LockFunction> gTryLock{nullptr};

LockFunction next(std::atomic<LockFunction>& cache, const char* name) {
    LockFunction function = cache.load(std::memory_order_acquire);
    if (function == nullptr) {
        function = reinterpret_cast<LockFunction>(dlsym(RTLD_NEXT, name));
        cache.store(function, std::memory_order_release);
    }
    return function;
}

}  // namespace

namespace qevhost::validate {

bool locksCounted() {
    return next(gLock, "pthread_mutex_lock") != nullptr;
}

}  // namespace qevhost::validate

extern "C" int pthread_mutex_lock(pthread_mutex_t* mutex) {
    qevhost::validate::countLock();
    return next(gLock, "pthread_mutex_lock")(mutex);
}

extern "C" int pthread_mutex_trylock(pthread_mutex_t* mutex) {
    qevhost::validate::countLock();
    return next(gTryLock, "pthread_mutex_trylock")(mutex);
}
