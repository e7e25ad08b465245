# The host's face in the Microsoft C++ ABI, for the MinGW-built host
# programs (sim/msabi): compiled by clang for the vendor's target, with the
# project's header set, into objects the programs link beside the host's
# own. The host itself compiles the bridge those objects call.
find_program(MERVEX_CLANGXX clang++ REQUIRED)
set(mervex_face_triple ${CMAKE_SYSTEM_PROCESSOR}-pc-windows-msvc)
set(mervex_face_sources
  ${PROJECT_SOURCE_DIR}/sim/msabi/face.cpp
  ${PROJECT_SOURCE_DIR}/sim/interface/vessel2_defaults.cpp
  ${PROJECT_SOURCE_DIR}/msabi/runtime/fltused.cpp)
set(mervex_face_objects)
foreach(src IN LISTS mervex_face_sources)
  get_filename_component(name ${src} NAME_WE)
  set(obj ${CMAKE_CURRENT_BINARY_DIR}/msabi_face/${name}.obj)
  add_custom_command(OUTPUT ${obj}
    COMMAND ${MERVEX_CLANGXX} --target=${mervex_face_triple} -std=c++17 -O2 -fno-exceptions -fno-rtti
            -nostdinc -isystem ${PROJECT_SOURCE_DIR}/msabi/include -I${interface_root}
            -DHOST_BUILDING_INTERFACE -Wall -Wextra -Werror -MD -MF ${obj}.d -c ${src} -o ${obj}
    DEPENDS ${src}
    DEPFILE ${obj}.d
    COMMENT "Compiling ${name} for the Microsoft C++ ABI")
  list(APPEND mervex_face_objects ${obj})
endforeach()
file(MAKE_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}/msabi_face)
add_custom_target(simhost_msabi_face DEPENDS ${mervex_face_objects})
add_dependencies(simhost simhost_msabi_face)
target_sources(simhost PRIVATE msabi/bridge.cpp INTERFACE ${mervex_face_objects})
