# The tests of the Windows build, cross-compiled and run through Wine (the
# toolchain's emulator). They prove what differs between the platforms: the
# programs as DXBC on the Direct3D 11 layer against the same C++ references
# the Linux build uses, the winmm clock, the player's folder watch, and the
# windows of the intro and the player. The rest of the suite tests
# platform-free code and runs on Linux.
#
# The scene helper probes hold the programs' noise hashes to 1e-5 of the C++
# and the whole-runtime reference pictures hold the scenes to the Linux
# build's: both pass here because the DXBC marks its arithmetic precise for
# Wine's translator (cmake/dxbc_precise.py) and the hashes are written so
# that no compiler may round them differently (shaders/common.hlsli).
set(VELMORAND_WINE_AREAS audio gpu kernels runtime scenes e2e preview)
set(VELMORAND_WINE_TESTS
  winmm_clock_test
  directory_watch_test
  gpu_device_test
  windowed_pacing_test
  composite_kernel_test
  sky_kernel_test
  scattering_kernel_test
  lens_dirt_test
  bloom_chain_test
  logo_particles_test
  scene_kernel_test
  finale_kernel_test
  scene_helper_functions_test
  scene_reference_images_test
  headless_intro_test)

# GoogleTest from Debian's own sources, built with the cross compiler.
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
# Its own CMake defines GTest::gtest and GTest::gtest_main.
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
