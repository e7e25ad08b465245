# The kit for module authors: in this tree, the same targets an outside
# project gets from find_package(SimHost) (the top CMakeLists.txt includes
# the functions), so that the example modules build the way an author's do;
# on Linux, the kit installed under the prefix (headers, the CMake package,
# a pkg-config file).
set(SIMHOST_KIT_VERSION ${PROJECT_VERSION})

# What a module needs of the compiler: only its exports visible, and under
# GCC no unique symbols, which would keep the library mapped after unloading.
set(module_compile_options -fvisibility=hidden -fvisibility-inlines-hidden $<$<CXX_COMPILER_ID:GNU>:-fno-gnu-unique>)

add_library(simhost_interface INTERFACE)
target_include_directories(simhost_interface INTERFACE ${PROJECT_SOURCE_DIR}/host)
target_compile_options(simhost_interface INTERFACE ${module_compile_options})
if(WIN32)
  # Imported from simhost-run.exe, the program that flies the modules folder.
  target_link_libraries(simhost_interface INTERFACE simhost_run)
else()
  target_link_libraries(simhost_interface INTERFACE simhost)
  add_executable(SimHost::validate ALIAS simhost_validate)
endif()
add_library(SimHost::interface ALIAS simhost_interface)
add_library(SimHost::host ALIAS simhost)

if(WIN32)
  return()
endif()

set(kit_include_dir include/simhost)
set(kit_cmake_dir ${mervex_lib_dir}/cmake/SimHost)
set(simhost_soname libsimhost.so.${PROJECT_VERSION_MAJOR})
mervex_relative(kit_to_prefix ${kit_cmake_dir} .)
mervex_relative(pc_to_prefix ${mervex_lib_dir}/pkgconfig .)

include(CMakePackageConfigHelpers)
set(kit_out ${CMAKE_CURRENT_BINARY_DIR}/kit)
configure_file(${CMAKE_CURRENT_LIST_DIR}/kit/SimHostConfig.cmake.in ${kit_out}/SimHostConfig.cmake @ONLY)
write_basic_package_version_file(${kit_out}/SimHostConfigVersion.cmake VERSION ${PROJECT_VERSION}
                                 COMPATIBILITY SameMajorVersion)
configure_file(${CMAKE_CURRENT_LIST_DIR}/kit/simhost.pc.in ${kit_out}/simhost.pc @ONLY)

install(DIRECTORY ${PROJECT_SOURCE_DIR}/host/ DESTINATION ${kit_include_dir}/host FILES_MATCHING PATTERN "*.h")
install(DIRECTORY ${PROJECT_SOURCE_DIR}/sim/include/sim/ DESTINATION ${kit_include_dir}/sim)
install(FILES ${kit_out}/SimHostConfig.cmake ${kit_out}/SimHostConfigVersion.cmake
              ${CMAKE_CURRENT_LIST_DIR}/kit/SimHostModule.cmake DESTINATION ${kit_cmake_dir})
install(FILES ${kit_out}/simhost.pc DESTINATION ${mervex_lib_dir}/pkgconfig)
# What a module for Windows imports, for an import library of the simulator's executable.
# What a simulator's executable exports: in GCC's C++ ABI, and decorated
# the Microsoft way for each processor.
install(FILES ${PROJECT_SOURCE_DIR}/host/host_interface.def
              ${PROJECT_SOURCE_DIR}/host/host_interface_msabi_i686.def
              ${PROJECT_SOURCE_DIR}/host/host_interface_msabi_x86_64.def
        DESTINATION share/simhost)
install(FILES ${PROJECT_SOURCE_DIR}/docs/writing-a-module.md DESTINATION share/doc/simhost)
