# compile_hlsl(<out_var> <source.hlsl> <output.spv>)
# Compiles one HLSL program to SPIR-V with the register shifts of the device
# layer (b#, t#, s#, u# at bindings 0, 16, 32, 48 of set 0) and validates it.
# The stage follows the name: *VS is a vertex program, *PS and Bloom* pixel
# programs, everything else compute. --hlsl-iomap is what makes the UAV shift
# apply at all (without it u0 silently collides with b0).
find_program(GLSLANG glslangValidator REQUIRED)
find_program(SPIRV_VAL spirv-val REQUIRED)

function(compile_hlsl out_var src spv)
  get_filename_component(program ${src} NAME_WE)
  if(program MATCHES "VS$")
    set(stage vert)
  elseif(program MATCHES "PS$" OR program MATCHES "^Bloom")
    set(stage frag)
  else()
    set(stage comp)
  endif()
  get_filename_component(dir ${src} DIRECTORY)
  file(GLOB headers ${dir}/*.hlsli ${PROJECT_SOURCE_DIR}/shaders/*.hlsli)
  add_custom_command(
    OUTPUT ${spv}
    COMMAND ${GLSLANG} -D -V -S ${stage} -e main --hlsl-iomap -DSPIRV
            --shift-cbuffer-binding 0 --shift-texture-binding 16
            --shift-sampler-binding 32 --shift-UAV-binding 48
            -I${PROJECT_SOURCE_DIR}/shaders --quiet -o ${spv} ${src}
    COMMAND ${SPIRV_VAL} ${spv}
    DEPENDS ${src} ${headers}
    COMMENT "Compiling ${program}.hlsl"
    VERBATIM)
  set(${out_var} ${spv} PARENT_SCOPE)
endfunction()
