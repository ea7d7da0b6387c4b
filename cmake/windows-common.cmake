# Shared part of the two mingw-w64 toolchains. The posix thread model gives the host std::thread;
# everything links statically, so no compiler runtime DLL is needed next to a program or plug-in.
set(CMAKE_C_COMPILER ${QEV_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${QEV_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${QEV_MINGW_TRIPLE}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${QEV_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-static")

# Test programs run under wine, in a wine prefix of the tree's own (created on first use, so
# trees never share or disturb a user's prefix) and with wine's debug output off.
set(QEV_WINE_PREFIX "${CMAKE_BINARY_DIR}/wine-prefix" CACHE PATH "Wine prefix of this tree")
set(CMAKE_CROSSCOMPILING_EMULATOR
    /usr/bin/env "WINEPREFIX=${QEV_WINE_PREFIX}" WINEDEBUG=-all wine)
