# 32-bit Windows build, cross-compiled with mingw-w64: i686 code with SSE2 arithmetic, so doubles
# are rounded exactly as on the other builds. 32-bit Windows callers promise only a 4-byte-aligned
# stack: every function that needs 16 bytes realigns on entry (mingw's default with SSE, made
# explicit here). Programs run under wine (see windows-common.cmake).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(QEV_MINGW_TRIPLE i686-w64-mingw32)
set(QEV_WINDOWS_ARCH_FLAGS "-msse2 -mfpmath=sse -mstackrealign")
include("${CMAKE_CURRENT_LIST_DIR}/windows-common.cmake")
