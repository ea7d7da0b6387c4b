// The Windows load hook. Loading runs none of the module code: the hook only answers success.
// When FreeLibrary unloads the library, the statically linked C++ runtime gives back the memory it
// took at load (its emergency exception pool), so a load and unload cycle keeps nothing.
#include <windows.h>

namespace __gnu_cxx {
void __freeres() noexcept;
}

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID reserved) {
    // reserved is null for FreeLibrary and non-null when the process ends, where the memory goes
    // back anyway and other libraries may already be gone.
    if (reason == DLL_PROCESS_DETACH && reserved == nullptr) __gnu_cxx::__freeres();
    return TRUE;
}
