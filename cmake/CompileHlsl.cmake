# compile_program(<out_var> <source.hlsl> <output_dir>)
# Compiles one HLSL program for the GPU backend of the build and sets
# <out_var> to <output_dir>/<program><VELMORAND_PROGRAM_SUFFIX>.
#
# The stage follows the name: *VS is a vertex program, *PS and Bloom* pixel
# programs, everything else compute.
#
# Vulkan (.spv): glslang with the register shifts of the device layer (b#,
# t#, s#, u# at bindings 0, 16, 32, 48 of set 0), then validated.
# --hlsl-iomap is what makes the UAV shift apply at all (without it u0
# silently collides with b0). -DSPIRV unlocks the storage-format attributes.
#
# Direct3D 11 (.dxbc): shader model 5.0 through vkd3d-compiler, fetched into
# the project's cache by scripts/fetch-dxbc-compiler. It takes neither -D nor
# -I and resolves includes from its working directory, so each program is
# compiled inside a folder that holds copies of every header it may include.
# Its output then gets every rounding instruction marked precise (see
# dxbc_precise.py: what Direct3D assumes anyway, said so that Wine hears it),
# its code chunk is filed as SHEX, the kind the native compiler gives shader
# model 5, and the disassembler proves the container's signature still holds.
if(WIN32)
  set(VELMORAND_PROGRAM_SUFFIX .dxbc)
  set_from_cache_script(VELMORAND_DXBC_COMPILER FILEPATH fetch-dxbc-compiler
                        "vkd3d-compiler that reads HLSL")
else()
  set(VELMORAND_PROGRAM_SUFFIX .spv)
  find_program(GLSLANG glslangValidator REQUIRED)
  find_program(SPIRV_VAL spirv-val REQUIRED)
endif()

function(_program_stage program out_var)
  if(program MATCHES "VS$")
    set(${out_var} vert PARENT_SCOPE)
  elseif(program MATCHES "PS$" OR program MATCHES "^Bloom")
    set(${out_var} frag PARENT_SCOPE)
  else()
    set(${out_var} comp PARENT_SCOPE)
  endif()
endfunction()

function(compile_program out_var src out_dir)
  get_filename_component(program ${src} NAME_WE)
  get_filename_component(dir ${src} DIRECTORY)
  _program_stage(${program} stage)
  file(GLOB headers ${dir}/*.hlsli ${PROJECT_SOURCE_DIR}/shaders/*.hlsli)
  list(REMOVE_DUPLICATES headers)
  set(out ${out_dir}/${program}${VELMORAND_PROGRAM_SUFFIX})
  if(WIN32)
    set(profile_vert vs_5_0)
    set(profile_frag ps_5_0)
    set(profile_comp cs_5_0)
    set(include_dir ${out_dir}/includes)
    file(MAKE_DIRECTORY ${include_dir})
    add_custom_command(
      OUTPUT ${out}
      COMMAND ${CMAKE_COMMAND} -E copy_if_different ${headers} ${include_dir}
      COMMAND ${VELMORAND_DXBC_COMPILER} -x hlsl -b dxbc-tpf -p ${profile_${stage}}
              -e main -o ${out} ${src}
      COMMAND ${PROJECT_SOURCE_DIR}/cmake/dxbc_precise.py ${out}
      COMMAND ${VELMORAND_DXBC_COMPILER} -x dxbc-tpf -b d3d-asm -o ${out}.asm ${out}
      WORKING_DIRECTORY ${include_dir}
      DEPENDS ${src} ${headers} ${PROJECT_SOURCE_DIR}/cmake/dxbc_precise.py
      COMMENT "Compiling ${program}.hlsl to DXBC"
      VERBATIM)
  else()
    add_custom_command(
      OUTPUT ${out}
      COMMAND ${GLSLANG} -D -V -S ${stage} -e main --hlsl-iomap -DSPIRV
              --shift-cbuffer-binding 0 --shift-texture-binding 16
              --shift-sampler-binding 32 --shift-UAV-binding 48
              -I${PROJECT_SOURCE_DIR}/shaders --quiet -o ${out} ${src}
      COMMAND ${SPIRV_VAL} ${out}
      DEPENDS ${src} ${headers}
      COMMENT "Compiling ${program}.hlsl"
      VERBATIM)
  endif()
  set(${out_var} ${out} PARENT_SCOPE)
endfunction()
