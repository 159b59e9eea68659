# The libraries of the Windows build, under the target names the Linux build
# gets from pkg-config, so the folders that use them need no second branch.
#
#   PkgConfig::STB     stb_image from Debian's libstb-dev (header only; only
#                      its own folder is put on the include path, never the
#                      host's /usr/include)
#   PkgConfig::MPG123  libmpg123 built for MinGW from Debian's source package
#                      by scripts/build-mpg123-mingw into the project's cache
#   GTest::gtest(_main) GoogleTest built from Debian's /usr/src/googletest
#   nlohmann_json::nlohmann_json  Debian's nlohmann-json3-dev (header only;
#                      copied into the build folder, so the host's
#                      /usr/include stays off the include path)

# set_from_cache_script(<var> <PATH|FILEPATH> <script> <doc>)
# The cache variable <var>, unless given, is what scripts/<script> prints:
# the path of something it fetched or built into the project's cache.
function(set_from_cache_script var type script doc)
  set(${var} "" CACHE ${type} "${doc} (made by scripts/${script} when empty)")
  if(${var})
    return()
  endif()
  execute_process(
    COMMAND ${PROJECT_SOURCE_DIR}/scripts/${script}
    OUTPUT_VARIABLE made OUTPUT_STRIP_TRAILING_WHITESPACE
    RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "scripts/${script} failed: cannot make the ${doc}")
  endif()
  set(${var} ${made} CACHE ${type} "${doc}" FORCE)
endfunction()

find_path(VELMORAND_STB_DIR stb_image.h PATHS /usr/include/stb NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
if(NOT VELMORAND_STB_DIR)
  message(FATAL_ERROR "stb_image.h not found in /usr/include/stb (install libstb-dev)")
endif()
# Debian's libstb carries the compiled implementation for Linux; here it is
# compiled once from the same headers.
set(stb_impl ${CMAKE_BINARY_DIR}/stb/stb_implementation.c)
file(WRITE ${stb_impl}.in
  "#define STB_IMAGE_IMPLEMENTATION\n#include <stb_image.h>\n"
  "#define STB_IMAGE_WRITE_IMPLEMENTATION\n#include <stb_image_write.h>\n")
configure_file(${stb_impl}.in ${stb_impl} COPYONLY)
add_library(velmorand_stb STATIC ${stb_impl})
target_include_directories(velmorand_stb SYSTEM PUBLIC ${VELMORAND_STB_DIR})
add_library(PkgConfig::STB INTERFACE IMPORTED GLOBAL)
target_link_libraries(PkgConfig::STB INTERFACE velmorand_stb)

set_from_cache_script(VELMORAND_MPG123_PREFIX PATH build-mpg123-mingw "libmpg123 built for MinGW")
find_path(VELMORAND_JSON_DIR nlohmann/json.hpp PATHS /usr/include NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
if(NOT VELMORAND_JSON_DIR)
  message(FATAL_ERROR "nlohmann/json.hpp not found in /usr/include (install nlohmann-json3-dev)")
endif()
file(COPY ${VELMORAND_JSON_DIR}/nlohmann DESTINATION ${CMAKE_BINARY_DIR}/json)
add_library(nlohmann_json::nlohmann_json INTERFACE IMPORTED GLOBAL)
target_include_directories(nlohmann_json::nlohmann_json SYSTEM INTERFACE ${CMAKE_BINARY_DIR}/json)

add_library(PkgConfig::MPG123 STATIC IMPORTED GLOBAL)
set_target_properties(PkgConfig::MPG123 PROPERTIES
  IMPORTED_LOCATION ${VELMORAND_MPG123_PREFIX}/lib/libmpg123.a
  INTERFACE_INCLUDE_DIRECTORIES ${VELMORAND_MPG123_PREFIX}/include
  INTERFACE_LINK_LIBRARIES shlwapi)
