# Fails when an object compiled for AVX2 or AVX-512 defines a weak (inline, template) symbol. The linker
# keeps one copy of each such symbol for the whole library, and an AVX2-encoded copy would then
# serve the baseline code too and fault on a processor without those instructions.
#   cmake -DNM=nm -DOBJECTS="a.o;b.o" -P check_vector_objects.cmake
set(found "")
foreach(object IN LISTS OBJECTS)
    if(NOT object MATCHES "avx(2|512)")
        continue()
    endif()
    execute_process(COMMAND "${NM}" -C --defined-only "${object}" OUTPUT_VARIABLE symbols
                    RESULT_VARIABLE result)
    if(NOT result EQUAL 0)
        message(FATAL_ERROR "cannot read ${object}")
    endif()
    string(REGEX MATCHALL "[^\n]* [WVu] [^\n]*" weak "${symbols}")
    foreach(line IN LISTS weak)
        string(APPEND found "  ${object}: ${line}\n")
    endforeach()
endforeach()
if(found)
    message(FATAL_ERROR "vector objects define shared inline code:\n${found}")
endif()
message(STATUS "vector objects define no shared inline code")
