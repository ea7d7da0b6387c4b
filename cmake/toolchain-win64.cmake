# 64-bit Windows build, cross-compiled with mingw-w64. Programs run under wine
# (see windows-common.cmake).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(QEV_MINGW_TRIPLE x86_64-w64-mingw32)
set(QEV_WINDOWS_ARCH_FLAGS "")
include("${CMAKE_CURRENT_LIST_DIR}/windows-common.cmake")
