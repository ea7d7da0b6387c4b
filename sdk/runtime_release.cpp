// The one piece of code a plug-in runs when its library unloads: the statically linked C++
// runtime's own release of the memory it took at load (its emergency exception pool). Without it
// every load and unload by a host keeps that memory for the life of the process. It runs after
// the host has destroyed the last module object; no code of the frame runs at load.
//
// Only built where the runtime is linked into the plug-in: with a shared runtime this would free
// the loading program's own pool.

namespace __gnu_cxx {
void __freeres();  // defined by the C++ runtime for exactly this release
}  // namespace __gnu_cxx

namespace {

__attribute__((destructor)) void releaseRuntimeMemory() {
    __gnu_cxx::__freeres();
}

}  // namespace
