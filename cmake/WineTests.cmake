# The tests of the Windows build, cross-compiled and run through Wine (the
# toolchain's emulator). They prove what differs between the platforms: the
# programs as DXBC on the Direct3D 11 layer against the same C++ references
# the Linux build uses, the winmm clock, and the intro's own window. The rest
# of the suite tests platform-free code and runs on Linux.
#
# Left out: the scene helper probes, which hold the programs' noise hashes to
# 1e-5 of the C++. Wine runs DXBC by translating it to GLSL, and Mesa then
# fuses multiply-adds that the DXBC keeps apart (vkd3d emits no
# refactoring-allowed flag, so a Direct3D driver may not fuse them); the
# hashes then move by up to 1e-3. The kernels' own tests, whose tolerances
# are set by what a picture can show, run here. The whole-runtime reference
# pictures are compared across the platforms by the parity check instead:
# at rows 1000, 1300 and 1450 1-3 % of their pixels (the cube patterns'
# noise) come out differently through Wine's translation.
set(VELMORAND_WINE_AREAS audio gpu kernels runtime scenes e2e)
set(VELMORAND_WINE_TESTS
  winmm_clock_test
  gpu_device_test
  composite_kernel_test
  sky_kernel_test
  scattering_kernel_test
  lens_dirt_test
  bloom_chain_test
  logo_particles_test
  scene_kernel_test
  finale_kernel_test
  headless_intro_test)

# GoogleTest from Debian's own sources, built with the cross compiler.
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
# Its own CMake defines GTest::gtest and GTest::gtest_main.
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
