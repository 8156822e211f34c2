# Cross build for 64-bit Windows with Clang instead of GCC: the same MinGW-w64
# headers, import libraries and C++ runtime (GCC's libstdc++, posix thread
# model) as cmake/mingw-w64-x86_64.cmake, linked by lld. A second compiler
# rejects code that the first lets through, as MSVC or Clang on Windows would.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(triple x86_64-w64-mingw32)

find_program(METEORNI_CLANG NAMES clang clang-14 REQUIRED)
find_program(METEORNI_CLANGXX NAMES clang++ clang++-14 REQUIRED)
set(CMAKE_C_COMPILER ${METEORNI_CLANG})
set(CMAKE_CXX_COMPILER ${METEORNI_CLANGXX})
set(CMAKE_C_COMPILER_TARGET ${triple})
set(CMAKE_CXX_COMPILER_TARGET ${triple})
set(CMAKE_RC_COMPILER ${triple}-windres)
set(CMAKE_AR ${triple}-ar CACHE FILEPATH "")
set(CMAKE_RANLIB ${triple}-ranlib CACHE FILEPATH "")

set(mingw_root /usr/${triple})

# Clang looks for GCC's own folder under lib/gcc/<triple>/<version>, and
# Debian names it "12-posix", which Clang does not read as a version: without
# help it would find no libstdc++ headers, no crtbegin.o and no libgcc. Ask
# the posix GCC where its libgcc lives and hand that folder over.
execute_process(COMMAND ${triple}-gcc-posix -print-libgcc-file-name
                OUTPUT_VARIABLE libgcc OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE libgcc_result)
if(NOT libgcc_result EQUAL 0 OR NOT EXISTS "${libgcc}")
  message(FATAL_ERROR "${triple}-gcc-posix (Debian mingw-w64) is needed for its C++ runtime")
endif()
get_filename_component(gcc_dir "${libgcc}" DIRECTORY)
set(cxx_headers ${gcc_dir}/include/c++)

# --sysroot keeps the host's /usr/include and /usr/lib out of the search
# paths (Clang would otherwise add them for this target).
set(target_flags "--sysroot=${mingw_root}")
set(cxx_flags "${target_flags} -stdlib++-isystem ${cxx_headers} -stdlib++-isystem ${cxx_headers}/${triple}")
string(APPEND cxx_flags " -stdlib++-isystem ${cxx_headers}/backward")
set(CMAKE_C_FLAGS_INIT "${target_flags}")
set(CMAKE_CXX_FLAGS_INIT "${cxx_flags}")

# The exe must need no DLL beyond Windows' own, as with GCC: the C++ runtime
# and winpthread are linked statically (-pthread brings winpthread, which the
# posix libstdc++ calls; GCC's driver adds it by itself).
set(link_flags "-fuse-ld=lld -B${gcc_dir} -L${gcc_dir} -static -pthread")
set(CMAKE_EXE_LINKER_FLAGS_INIT "${link_flags}")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "${link_flags}")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "${link_flags}")

set(CMAKE_FIND_ROOT_PATH ${mingw_root})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

find_program(WINE_PROGRAM NAMES wine wine64)
if(WINE_PROGRAM)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${WINE_PROGRAM})
endif()
