# The 32-bit Windows build: the real SDK and system DLLs stand in for platform/, the
# build-time tools come from the Linux build (SORVEL_HOST_BUILD), GoogleTest is built
# from Debian's sources, and the programs need no DLL beyond the system's.
set(SORVEL_HOST_BUILD "${CMAKE_SOURCE_DIR}/build" CACHE PATH "The Linux build whose tools make the image")
if(NOT EXISTS ${SORVEL_HOST_BUILD}/bin/image_builder)
  message(FATAL_ERROR "The Windows build runs the Linux build's tools: build the default preset first "
                      "(cmake --preset default && cmake --build build --target image_builder window_set_builder skin_blocks)")
endif()

add_compile_definitions(NOMINMAX)
# SSE2 doubles, not x87 extended precision: the same numeric results as the 64-bit build.
add_compile_options(-msse2 -mfpmath=sse)
add_link_options(-static -static-libgcc -static-libstdc++)

# The system modules the layers above platform/ use.
add_library(platform INTERFACE)
target_link_libraries(platform INTERFACE kernel32 user32 gdi32 comdlg32 comctl32 wininet ole32 oleaut32
                      uuid winmm shlwapi advapi32)
add_library(Threads::Threads INTERFACE IMPORTED)

# sorvel_host_tool(NAME): the Linux build's program NAME, run at build time.
function(sorvel_host_tool name)
  add_executable(${name} IMPORTED GLOBAL)
  set_target_properties(${name} PROPERTIES IMPORTED_LOCATION ${SORVEL_HOST_BUILD}/bin/${name})
endfunction()

# program_resources(TARGET ICON NAME FILE): the icon as a Windows resource (windres).
function(program_resources target kind name file)
  set(rc ${CMAKE_CURRENT_BINARY_DIR}/${target}.rc)
  file(WRITE ${rc} "${name} ICON \"${file}\"\n")
  target_sources(${target} PRIVATE ${rc})
endfunction()

set(SORVEL_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest's sources")
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
add_subdirectory(${SORVEL_GTEST_SOURCE} googletest EXCLUDE_FROM_ALL)
