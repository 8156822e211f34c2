# Proves at configure time that the Windows version definitions hold the
# headers at the oldest Windows the game supports: a call that Windows lacks
# then fails to compile, with this compiler and these headers. Each probe in
# cmake/api_floor/probe.cpp that must fail is compiled once beside a control
# that must compile. The result is remembered for the compiler and the
# definitions it was found with.
function(meteorni_check_api_floor)
  set(definitions ${ARGN})
  set(key "${CMAKE_CXX_COMPILER};${CMAKE_CXX_COMPILER_TARGET};${definitions}")
  if(METEORNI_API_FLOOR_CHECKED STREQUAL key)
    return()
  endif()
  set(CMAKE_TRY_COMPILE_TARGET_TYPE STATIC_LIBRARY)
  set(source ${CMAKE_SOURCE_DIR}/cmake/api_floor/probe.cpp)
  list(TRANSFORM definitions PREPEND -D OUTPUT_VARIABLE flags)

  try_compile(within ${CMAKE_BINARY_DIR}/api_floor/within ${source}
              COMPILE_DEFINITIONS ${flags} OUTPUT_VARIABLE output)
  if(NOT within)
    message(FATAL_ERROR "The Windows 7 API floor probe does not compile calls that Windows 7 has:\n${output}")
  endif()
  foreach(probe CREATE_FILE2 DPI_FOR_WINDOW PROCESS_DPI_AWARENESS)
    string(TOLOWER ${probe} folder)
    try_compile(compiled ${CMAKE_BINARY_DIR}/api_floor/${folder} ${source}
                COMPILE_DEFINITIONS ${flags} -DPROBE_${probe})
    if(compiled)
      message(FATAL_ERROR "${probe} compiles with ${definitions}: "
              "the headers do not hold the build at Windows 7")
    endif()
  endforeach()
  message(STATUS "Windows 7 API floor: newer calls do not compile")
  set(METEORNI_API_FLOOR_CHECKED "${key}" CACHE INTERNAL "")
endfunction()
