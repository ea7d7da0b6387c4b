// One allocation, one free and one lock as module code would make them: through the C library's
// entry points, which the interposers in this executable replace.
#include <pthread.h>

#include <cstdlib>

#include "call_counts.h"

namespace qevhost::validate {

void makeCountedCalls() {
    void* (*volatile allocate)(std::size_t) = std::malloc;
    void (*volatile release)(void*) = std::free;
    release(allocate(16));
    pthread_mutex_t mutex = PTHREAD_MUTEX_INITIALIZER;
    pthread_mutex_lock(&mutex);
    pthread_mutex_unlock(&mutex);
}

}  // namespace qevhost::validate
