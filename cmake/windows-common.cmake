# Shared part of the two mingw-w64 toolchains, after they set QEV_MINGW_TRIPLE and
# QEV_WINDOWS_ARCH_FLAGS. The posix thread model gives the host std::thread;
# everything links statically, so no compiler runtime DLL is needed next to a program or plug-in.
set(CMAKE_C_COMPILER ${QEV_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${QEV_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${QEV_MINGW_TRIPLE}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${QEV_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# The 64-bit Windows unwinding rules keep the compiler from realigning the stack to 32 bytes, so
# an AVX spill slot may be only 16-byte aligned: have the assembler encode every aligned vector
# move as an unaligned one (the same speed on aligned data).
set(CMAKE_C_FLAGS_INIT "${QEV_WINDOWS_ARCH_FLAGS} -Wa,-muse-unaligned-vector-move")
set(CMAKE_CXX_FLAGS_INIT "${QEV_WINDOWS_ARCH_FLAGS} -Wa,-muse-unaligned-vector-move")
# Line tables only, enough for a backtrace: full debug information would cost the two
# cross-built trees a third more compile time.
set(CMAKE_C_FLAGS_RELWITHDEBINFO "-O2 -g1 -DNDEBUG" CACHE STRING "Flags of RelWithDebInfo builds")
set(CMAKE_CXX_FLAGS_RELWITHDEBINFO "-O2 -g1 -DNDEBUG" CACHE STRING "Flags of RelWithDebInfo builds")
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-static")

# Test programs run under wine, in a wine prefix of the tree's own (created on first use, so
# trees never share or disturb a user's prefix), with wine's debug output off and without the
# .NET and browser components, which a new prefix would otherwise offer to download.
# The 64-bit tree runs wine's 64-bit loader itself: Debian's `wine` starts the 32-bit loader
# first, even for a 64-bit program, which fails (or is emulated, slowly) on a kernel without
# 32-bit support.
set(QEV_WINE_PREFIX "${CMAKE_BINARY_DIR}/wine-prefix" CACHE PATH "Wine prefix of this tree")
# Where 32-bit programs run only emulated, it has the emulator refuse them (scripts/run-i386).
set(_wine wine)
set(_refuse32 "")
if(CMAKE_SYSTEM_PROCESSOR STREQUAL "x86_64" AND EXISTS /usr/lib/wine/wine64)
    set(_wine /usr/lib/wine/wine64)
    set(_refuse32 QEV_REFUSE_32BIT=1)
endif()
set(QEV_WINE_LOADER "${_wine}" CACHE STRING "Wine loader that runs this tree's programs")
set(CMAKE_CROSSCOMPILING_EMULATOR
    /usr/bin/env "WINEPREFIX=${QEV_WINE_PREFIX}" WINEDEBUG=-all "WINEDLLOVERRIDES=mscoree,mshtml="
    ${_refuse32} ${QEV_WINE_LOADER})
