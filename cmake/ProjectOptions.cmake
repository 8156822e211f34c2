# Compile settings shared by every target of our own.
add_library(meteorni_options INTERFACE)
# The oldest Windows the game runs on is Windows 7: with all three version
# macros there the headers declare nothing newer (each header reads one of
# them), so a call that Windows 7 lacks fails to compile instead of failing to
# start there.
set(meteorni_windows_floor _WIN32_WINNT=0x0601 WINVER=0x0601 NTDDI_VERSION=0x06010000)
target_compile_definitions(meteorni_options INTERFACE
  UNICODE _UNICODE NOMINMAX WIN32_LEAN_AND_MEAN ${meteorni_windows_floor})
if(WIN32)
  include(${CMAKE_CURRENT_LIST_DIR}/ApiFloor.cmake)
  meteorni_check_api_floor(UNICODE _UNICODE ${meteorni_windows_floor})
endif()
if(MSVC)
  target_compile_options(meteorni_options INTERFACE /W4 /WX /utf-8)
  # The application manifest comes from our resource script (id 1); the
  # linker must not add one of its own beside it.
  target_link_options(meteorni_options INTERFACE /MANIFEST:NO)
else()
  target_compile_options(meteorni_options INTERFACE -Wall -Wextra -Wpedantic -Werror)
endif()
target_include_directories(meteorni_options INTERFACE ${CMAKE_SOURCE_DIR})

# The same commit builds the same bytes wherever it is checked out: no folder
# of this machine in the binaries (file names from __FILE__ and in debug
# information, and the compiler's working folder, are written as "." instead
# of the source or build folder) and, for a PE file, no link time in its
# header.
if(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang" AND NOT MSVC)
  target_compile_options(meteorni_options INTERFACE
    -ffile-prefix-map=${CMAKE_SOURCE_DIR}=. -ffile-prefix-map=${CMAKE_BINARY_DIR}=.)
endif()
if(MINGW)
  target_link_options(meteorni_options INTERFACE -Wl,--no-insert-timestamp)
endif()

# One static library per source folder; the sources are picked up by folder so
# that adding a file never needs a build-file edit.
function(meteorni_folder_library name folder)
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${folder}/*.cpp)
  if(sources)
    add_library(${name} STATIC ${sources})
    target_link_libraries(${name} PUBLIC meteorni_options ${ARGN})
  else()
    add_library(${name} INTERFACE)
    target_link_libraries(${name} INTERFACE meteorni_options ${ARGN})
  endif()
endfunction()
