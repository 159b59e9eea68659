# The tests of the Windows build, cross-compiled and run through Wine (the
# toolchain's emulator). They prove what differs between the platforms: the
# programs as DXBC on the Direct3D 11 layer against the same C++ references
# the Linux build uses, the winmm clock, and the intro's own window. The rest
# of the suite tests platform-free code and runs on Linux.
set(VELMORAND_WINE_AREAS audio gpu kernels runtime scenes e2e)
set(VELMORAND_WINE_TESTS
  winmm_clock_test
  composite_kernel_test
  sky_kernel_test
  scene_kernel_test)

# GoogleTest from Debian's own sources, built with the cross compiler.
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
# Its own CMake defines GTest::gtest and GTest::gtest_main.
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
