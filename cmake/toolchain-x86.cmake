# 32-bit x86 build on an x86-64 machine: i686 code with SSE2 arithmetic, so doubles are
# rounded exactly as on the 64-bit build (x87 excess precision would change the last bits).
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(CMAKE_C_COMPILER gcc)
set(CMAKE_CXX_COMPILER g++)
set(CMAKE_C_FLAGS_INIT "-m32 -msse2 -mfpmath=sse")
set(CMAKE_CXX_FLAGS_INIT "-m32 -msse2 -mfpmath=sse")
set(CMAKE_EXE_LINKER_FLAGS_INIT "-m32")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-m32")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-m32")
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)

# Some kernels (containers, CI machines) do not execute 32-bit programs; scripts/bootstrap then
# registers qemu-i386 with the kernel, and the probe below runs through it like any 32-bit
# program. Probe once; when the probe does not run at all, run test programs through
# scripts/run-i386 (qemu-i386 presenting a processor whose instructions it emulates correctly).
if(NOT DEFINED QEV_X86_EMULATOR_PROBED)
    set(_probe_dir "${CMAKE_BINARY_DIR}/x86-probe")
    file(MAKE_DIRECTORY "${_probe_dir}")
    file(WRITE "${_probe_dir}/probe.c" "int main(void) { return sizeof(void*) == 4 ? 0 : 1; }\n")
    execute_process(COMMAND gcc -m32 "${_probe_dir}/probe.c" -o "${_probe_dir}/probe"
                    RESULT_VARIABLE _cc_result OUTPUT_QUIET ERROR_QUIET)
    set(_native_result 1)
    if(_cc_result EQUAL 0)
        execute_process(COMMAND "${_probe_dir}/probe" RESULT_VARIABLE _native_result
                        OUTPUT_QUIET ERROR_QUIET)
    endif()
    if(_native_result EQUAL 0)
        set(QEV_X86_EMULATOR "" CACHE STRING "Runner for 32-bit test programs")
    else()
        find_program(_qemu qemu-i386)
        if(NOT _qemu)
            message(FATAL_ERROR "32-bit programs do not run natively here and qemu-i386 is missing: run scripts/bootstrap")
        endif()
        set(QEV_X86_EMULATOR "${CMAKE_CURRENT_LIST_DIR}/../scripts/run-i386"
            CACHE STRING "Runner for 32-bit test programs")
    endif()
    set(QEV_X86_EMULATOR_PROBED ON CACHE INTERNAL "")
endif()
if(QEV_X86_EMULATOR)
    set(CMAKE_CROSSCOMPILING_EMULATOR "${QEV_X86_EMULATOR}")
endif()
