# 32-bit Windows build, cross-compiled with mingw-w64: i686 code with SSE2 arithmetic, so doubles
# are rounded exactly as on the other builds. Programs run under wine (see windows-common.cmake).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(QEV_MINGW_TRIPLE i686-w64-mingw32)
set(CMAKE_C_FLAGS_INIT "-msse2 -mfpmath=sse")
set(CMAKE_CXX_FLAGS_INIT "-msse2 -mfpmath=sse")
include("${CMAKE_CURRENT_LIST_DIR}/windows-common.cmake")
