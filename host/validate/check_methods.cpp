#include "check_methods.h"

namespace qevhost::validate {

namespace {

#ifdef _WIN32
constexpr const char* kIsolation =
    "each check runs in a child process: qevhost.exe starts itself again through CreateProcess "
    "with a hidden argument naming the check; an unhandled exception there ends it with the "
    "exception code, and a watchdog thread ends it when a call into the module runs past the "
    "call limit";
constexpr const char* kLoad = "LoadLibraryEx, GetProcAddress";
constexpr const char* kUnload = "FreeLibrary";
constexpr const char* kKeptBytes = "walking every heap of the process";
constexpr const char* kThreads = "two threads (std::thread on the system's threads)";
constexpr const char* kCounting =
    "the plug-in's import address table entries for malloc, calloc, realloc, free, the "
    "_aligned_ functions, HeapAlloc, HeapReAlloc, HeapFree, LocalAlloc, GlobalAlloc, VirtualAlloc "
    "and their frees, EnterCriticalSection, the SRW locks, the C runtime's _lock, the "
    "condition-variable sleeps and WaitForSingleObject/WaitForMultipleObjects lead to counting "
    "functions from the moment it loads; a call counts while Process or CallBack runs on the "
    "calling thread (a mutex of the plug-in's own static runtime shows when it has to wait)";
#else
constexpr const char* kIsolation =
    "each check runs in a child process made by fork; a crash ends it with a signal, and a "
    "watchdog thread ends it when a call into the module runs past the call limit";
constexpr const char* kLoad = "dlopen, dlsym";
constexpr const char* kUnload = "dlclose";
constexpr const char* kKeptBytes = "the executable's own malloc and free";
constexpr const char* kThreads = "two POSIX threads";
constexpr const char* kCounting =
    "the executable defines malloc, calloc, realloc, free, memalign, aligned_alloc, "
    "posix_memalign, pthread_mutex_lock and pthread_mutex_trylock, so the plug-in's calls (its "
    "operator new included) come there first; a call counts while Process or CallBack runs on "
    "the calling thread";
#endif

}  // namespace

const char* isolationMethod() {
    return kIsolation;
}

std::string checkMethod(const std::string& name) {
    if (name == "load") {
        return std::string(kLoad) + " for each of the 34 exports, Create and Destroy, " + kUnload +
               "; 200 times in one process; the bytes kept per cycle from the heap in use after "
               "cycle 10 and after the last, read through " +
               kKeptBytes;
    }
    if (name == "describe") {
        return "fills the host's records with a pattern before each call and compares every byte "
               "outside the module's fields afterwards";
    }
    if (name == "instances") {
        return "100 objects of one loaded library, compared bit for bit before and after some "
               "are destroyed";
    }
    if (name == "determinism") {
        return "the outputs' bits compared across objects and reruns; their FNV-1a hash is the "
               "fingerprint, the same on every build of the module";
    }
    if (name == "threads")
        return std::string(kThreads) + " released together; outputs compared bit for bit";
    if (name == "fuzz") {
        return "seeded random, extreme and non-finite values through CallBack and Process, "
               "also with positions on cell borders; the host's services check every write";
    }
    if (name == "host-rules") {
        return "each inlet set to extreme, non-finite and negative values against the defaults "
               "and every mode, then its message, the buttons and a block; the host's services "
               "refuse and record every call outside its rules";
    }
    if (name == "order") return "the exports called in wrong orders; a crash fails the check";
    if (name == "real-time") return kCounting;
    if (name == "fp-environment") {
        return "the determinism workload in fresh objects, with each environment set on the "
               "calling thread (MXCSR, and the x87 control word on 32-bit x86) before every call "
               "and read back after it; outputs compared bit for bit with a fresh thread's "
               "environment";
    }
    return {};
}

}  // namespace qevhost::validate
