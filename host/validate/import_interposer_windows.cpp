// The allocation and lock calls a plug-in makes, as the host sees them on Windows. A DLL calls
// the C runtime and the system through its import address table; when the library loads, the
// entries for the allocation, heap and lock functions are pointed at counting functions here,
// which count the call when module code is running and then call the function the entry held.
// The C++ runtime is linked into the plug-in, so its operator new reaches malloc this way too.
#include <windows.h>

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "call_counts.h"
#include "qevplatform/shared_library.h"

namespace {

using qevhost::validate::countAllocation;
using qevhost::validate::countFree;
using qevhost::validate::countLock;

// Bytes plug-ins asked for, whether module code was running or not.
std::atomic<int64_t> gTaken{0};

void allocated(std::size_t bytes) {
    countAllocation();
    gTaken.fetch_add(static_cast<int64_t>(bytes), std::memory_order_relaxed);
}

void countFreeOf(const void* pointer) {
    if (pointer != nullptr) countFree();
}

// X(name, count, result, convention, parameters, arguments): each function whose import entries
// lead here, and what a call to it counts as.
#define QEV_COUNTED_IMPORTS(X)                                                                   \
    X(malloc, allocated(n), void*, __cdecl, (std::size_t n), (n))                                \
    X(calloc, allocated(c* n), void*, __cdecl, (std::size_t c, std::size_t n), (c, n))           \
    X(realloc, allocated(n), void*, __cdecl, (void* p, std::size_t n), (p, n))                   \
    X(_recalloc, allocated(c* n), void*, __cdecl, (void* p, std::size_t c, std::size_t n),       \
      (p, c, n))                                                                                 \
    X(free, countFreeOf(p), void, __cdecl, (void* p), (p))                                       \
    X(_aligned_malloc, allocated(n), void*, __cdecl, (std::size_t n, std::size_t a), (n, a))     \
    X(_aligned_offset_malloc, allocated(n), void*, __cdecl,                                      \
      (std::size_t n, std::size_t a, std::size_t o), (n, a, o))                                  \
    X(_aligned_realloc, allocated(n), void*, __cdecl, (void* p, std::size_t n, std::size_t a),   \
      (p, n, a))                                                                                 \
    X(_aligned_free, countFreeOf(p), void, __cdecl, (void* p), (p))                              \
    X(_strdup, allocated(0), char*, __cdecl, (const char* s), (s))                               \
    X(HeapAlloc, allocated(n), LPVOID, WINAPI, (HANDLE h, DWORD f, SIZE_T n), (h, f, n))         \
    X(HeapReAlloc, allocated(n), LPVOID, WINAPI, (HANDLE h, DWORD f, LPVOID p, SIZE_T n),        \
      (h, f, p, n))                                                                              \
    X(HeapFree, countFreeOf(p), BOOL, WINAPI, (HANDLE h, DWORD f, LPVOID p), (h, f, p))          \
    X(LocalAlloc, allocated(n), HLOCAL, WINAPI, (UINT f, SIZE_T n), (f, n))                      \
    X(LocalFree, countFreeOf(p), HLOCAL, WINAPI, (HLOCAL p), (p))                                \
    X(GlobalAlloc, allocated(n), HGLOBAL, WINAPI, (UINT f, SIZE_T n), (f, n))                    \
    X(GlobalFree, countFreeOf(p), HGLOBAL, WINAPI, (HGLOBAL p), (p))                             \
    X(VirtualAlloc, allocated(n), LPVOID, WINAPI, (LPVOID p, SIZE_T n, DWORD t, DWORD g),        \
      (p, n, t, g))                                                                              \
    X(VirtualFree, countFreeOf(p), BOOL, WINAPI, (LPVOID p, SIZE_T n, DWORD t), (p, n, t))       \
    X(_lock, countLock(), void, __cdecl, (int n), (n))                                           \
    X(EnterCriticalSection, countLock(), void, WINAPI, (LPCRITICAL_SECTION c), (c))              \
    X(TryEnterCriticalSection, countLock(), BOOL, WINAPI, (LPCRITICAL_SECTION c), (c))           \
    X(AcquireSRWLockExclusive, countLock(), void, WINAPI, (PSRWLOCK l), (l))                     \
    X(AcquireSRWLockShared, countLock(), void, WINAPI, (PSRWLOCK l), (l))                        \
    X(TryAcquireSRWLockExclusive, countLock(), BOOLEAN, WINAPI, (PSRWLOCK l), (l))               \
    X(TryAcquireSRWLockShared, countLock(), BOOLEAN, WINAPI, (PSRWLOCK l), (l))                  \
    X(SleepConditionVariableCS, countLock(), BOOL, WINAPI,                                       \
      (PCONDITION_VARIABLE v, PCRITICAL_SECTION c, DWORD t), (v, c, t))                          \
    X(SleepConditionVariableSRW, countLock(), BOOL, WINAPI,                                      \
      (PCONDITION_VARIABLE v, PSRWLOCK l, DWORD t, ULONG f), (v, l, t, f))                       \
    X(WaitForSingleObject, countLock(), DWORD, WINAPI, (HANDLE h, DWORD t), (h, t))              \
    X(WaitForSingleObjectEx, countLock(), DWORD, WINAPI, (HANDLE h, DWORD t, BOOL a), (h, t, a)) \
    X(WaitForMultipleObjects, countLock(), DWORD, WINAPI,                                        \
      (DWORD n, const HANDLE* h, BOOL all, DWORD t), (n, h, all, t))                             \
    X(WaitForMultipleObjectsEx, countLock(), DWORD, WINAPI,                                      \
      (DWORD n, const HANDLE* h, BOOL all, DWORD t, BOOL a), (n, h, all, t, a))

enum Import {
#define QEV_ENUM(name, count, result, convention, parameters, arguments) k_##name,
    QEV_COUNTED_IMPORTS(QEV_ENUM)
#undef QEV_ENUM
        kImports
};

// What the import entries held before they were pointed here: the function each counting
// function hands over to. The first plug-in loaded decides; an entry holding something else in
// a later one (another C runtime) is left alone.
void* volatile gOriginal[kImports] = {};

#define QEV_COUNTING(name, count, result, convention, parameters, arguments) \
    result convention counted_##name parameters {                            \
        count;                                                               \
        using Function = result(convention*) parameters;                     \
        return reinterpret_cast<Function>(gOriginal[k_##name]) arguments;    \
    }
QEV_COUNTED_IMPORTS(QEV_COUNTING)
#undef QEV_COUNTING

struct Counted {
    const char* name;
    void* counting;
};
const Counted kCounted[kImports] = {
#define QEV_ENTRY(name, count, result, convention, parameters, arguments) \
    {#name, reinterpret_cast<void*>(&counted_##name)},
    QEV_COUNTED_IMPORTS(QEV_ENTRY)
#undef QEV_ENTRY
};

int countedIndex(const char* name) {
    for (int i = 0; i < kImports; ++i) {
        if (std::strcmp(kCounted[i].name, name) == 0) return i;
    }
    return -1;
}

void redirect(void** entry, int index) {
    void* original = *entry;
    if (original == kCounted[index].counting) return;
    if (gOriginal[index] == nullptr) gOriginal[index] = original;
    if (gOriginal[index] != original) return;
    DWORD protection = 0;
    if (!VirtualProtect(entry, sizeof *entry, PAGE_READWRITE, &protection)) return;
    *entry = kCounted[index].counting;
    VirtualProtect(entry, sizeof *entry, protection, &protection);
}

// Walks the library's import descriptors: the name table says which function each entry of
// the address table holds.
void redirectImports(void* library) {
    auto* base = static_cast<unsigned char*>(library);
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    if (dos->e_magic != IMAGE_DOS_SIGNATURE) return;
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    if (nt->Signature != IMAGE_NT_SIGNATURE) return;
    const IMAGE_DATA_DIRECTORY& directory =
        nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (directory.VirtualAddress == 0) return;
    for (auto* d =
             reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + directory.VirtualAddress);
         d->Name != 0; ++d) {
        if (d->OriginalFirstThunk == 0) continue;  // no name table: entries cannot be told apart
        auto* names = reinterpret_cast<const IMAGE_THUNK_DATA*>(base + d->OriginalFirstThunk);
        auto* entries = reinterpret_cast<IMAGE_THUNK_DATA*>(base + d->FirstThunk);
        for (; names->u1.AddressOfData != 0; ++names, ++entries) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
            const auto* byName =
                reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
            const int index = countedIndex(reinterpret_cast<const char*>(byName->Name));
            if (index >= 0) redirect(reinterpret_cast<void**>(&entries->u1.Function), index);
        }
    }
}

const bool gObserving = (qevhost::platform::setLibraryObserver(redirectImports), true);

}  // namespace

namespace qevhost::validate {

bool allocationsCounted() {
    return gObserving && gOriginal[k_malloc] != nullptr && gOriginal[k_free] != nullptr;
}

bool locksCounted() {
    return gObserving;
}

namespace {

std::size_t busyBytes(HANDLE heap) {
    std::size_t bytes = 0;
    if (!HeapLock(heap)) return 0;
    PROCESS_HEAP_ENTRY entry{};
    while (HeapWalk(heap, &entry)) {
        if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) bytes += entry.cbData;
    }
    HeapUnlock(heap);
    return bytes;
}

// Bytes in live blocks of every heap: the C runtime, the loader and the system libraries each
// may keep a heap of their own.
std::size_t heapBytesInUse() {
    std::vector<HANDLE> heaps(64);
    DWORD count = GetProcessHeaps(static_cast<DWORD>(heaps.size()), heaps.data());
    if (count > heaps.size()) {
        heaps.resize(count);
        count = GetProcessHeaps(count, heaps.data());
    }
    heaps.resize(count < heaps.size() ? count : heaps.size());
    std::size_t bytes = 0;
    for (HANDLE heap : heaps) bytes += busyBytes(heap);
    return bytes;
}

}  // namespace

// Windows gives no single allocator to interpose for the whole process: what it holds is read
// from its heaps; what it took is what plug-ins asked for through their import entries.
HeapBytes processHeapBytes() {
    return {gTaken.load(), static_cast<int64_t>(heapBytesInUse())};
}

void makeCountedCalls() {
    // Through the counting functions, as a plug-in's import entries lead there. The allocation
    // only once a loaded plug-in's entries lead there too.
    if (allocationsCounted()) counted_free(counted_malloc(16));
    if (gOriginal[k_EnterCriticalSection] == nullptr) {
        gOriginal[k_EnterCriticalSection] = reinterpret_cast<void*>(&EnterCriticalSection);
    }
    CRITICAL_SECTION section;
    InitializeCriticalSection(&section);
    counted_EnterCriticalSection(&section);
    LeaveCriticalSection(&section);
    DeleteCriticalSection(&section);
}

}  // namespace qevhost::validate
