# `cmake --install` of the stand-in host on Linux, in the layout of
# cmake/stand_in_layout.cmake, and its packages: `cpack -G DEB` and
# `cpack -G TGZ` in the build folder, both stripped of debug information.
# The build tree has the install tree's layout, so both use the install
# RPATH. A build RPATH would be padded with ':' for the install to rewrite
# in place, and an empty entry there makes the loader search the working
# folder.
set(programs simhost_run simhost_validate)
set_target_properties(${programs} PROPERTIES INSTALL_RPATH "$ORIGIN/${mervex_bin_to_lib}" BUILD_WITH_INSTALL_RPATH ON)
set_target_properties(simhost PROPERTIES LIBRARY_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/${mervex_lib_dir})
set(modules Mervex Tank)
set_target_properties(${modules} PROPERTIES INSTALL_RPATH "$ORIGIN/${mervex_modules_to_lib}" BUILD_WITH_INSTALL_RPATH ON)

install(TARGETS ${programs} RUNTIME DESTINATION ${mervex_bin_dir})
install(PROGRAMS ${PROJECT_SOURCE_DIR}/tools/new_module/simhost-new-module DESTINATION ${mervex_bin_dir})
install(TARGETS simhost LIBRARY DESTINATION ${mervex_lib_dir})
install(TARGETS ${modules} LIBRARY DESTINATION ${mervex_modules_dir})
install(FILES $<TARGET_FILE_DIR:Mervex>/Mervex.res DESTINATION ${mervex_modules_dir})
install(DIRECTORY ${CMAKE_BINARY_DIR}/${mervex_data_dir}/ DESTINATION ${mervex_data_dir})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/scenarios/ DESTINATION ${mervex_data_dir}/scenarios)
install(FILES ${PROJECT_SOURCE_DIR}/docs/Mervex.md DESTINATION share/doc/mervex)

set(CPACK_PACKAGE_NAME mervex)
set(CPACK_PACKAGE_VENDOR "Mervex developers")
set(CPACK_PACKAGE_CONTACT "Mervex developers <mervex@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Mervex spacecraft module with its headless stand-in simulator host")
set(CPACK_GENERATOR "DEB;TGZ")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
# The dependencies are read from what the binaries link; libsimhost is the
# package's own.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${CMAKE_BINARY_DIR}/${mervex_lib_dir})
include(CPack)
