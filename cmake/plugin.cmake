# qev_add_plugin(NAME SOURCES...): a Norvane plug-in. It exports the 34 entry points and nothing
# else and carries its own C++ runtime, so it loads into a host whatever runtime the host has.
# Linux: NAME.so, hidden visibility plus a version script. Windows: NAME.dll, the names of a .def
# file and no automatic exports; C++ runtime, libgcc and winpthread linked in, so the DLL imports
# system DLLs only.
function(qev_add_plugin name)
    add_library(${name} MODULE ${ARGN})
    set_target_properties(${name} PROPERTIES
        PREFIX ""
        LIBRARY_OUTPUT_DIRECTORY "${CMAKE_BINARY_DIR}"
        CXX_VISIBILITY_PRESET hidden
        VISIBILITY_INLINES_HIDDEN ON)
    target_link_libraries(${name} PRIVATE qev_sdk qev_engine qev_version)
    if(WIN32)
        set(def "${PROJECT_SOURCE_DIR}/sdk/exports.def")
        set_target_properties(${name} PROPERTIES SUFFIX ".dll" LINK_DEPENDS "${def}")
        # No link time in the PE header: two builds of the same sources give the same bytes.
        target_link_options(${name} PRIVATE "${def}" -Wl,--exclude-all-symbols -Wl,--no-undefined
                            -Wl,--no-insert-timestamp -static -static-libstdc++ -static-libgcc)
        return()
    endif()
    set_target_properties(${name} PROPERTIES
        SUFFIX ".so"
        LINK_DEPENDS "${PROJECT_SOURCE_DIR}/sdk/exports.map")
    target_link_options(${name} PRIVATE
        "-Wl,--version-script=${PROJECT_SOURCE_DIR}/sdk/exports.map"
        # Nothing in a module refers to the entry points, so pull their object out of the
        # static frame library explicitly.
        -Wl,--undefined=GetSDKVersion)
    # Under the sanitizers the runtime lives in the loading program, so a plug-in must leave
    # its symbols undefined.
    if(NOT QEV_SANITIZE)
        target_link_options(${name} PRIVATE -Wl,--no-undefined -Wl,-z,defs
                            -static-libstdc++ -static-libgcc)
        # The unload hook that hands the carried runtime's memory back; an object of its own,
        # since nothing refers to it.
        target_sources(${name} PRIVATE "${PROJECT_SOURCE_DIR}/sdk/runtime_release.cpp")
    endif()
endfunction()
