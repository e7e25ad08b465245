# Where the stand-in host's files go. The build tree is laid out as the
# install tree is under its prefix, so that the programs find their modules
# and data relative to their own file in both, and no path of this machine
# is compiled in: programs in bin/, libsimhost in lib/, the modules folder
# (one library per vessel class, named after the class, with its compiled
# resources beside it) in lib/mervex/modules/, meshes, scenarios and the
# rest in share/mervex/.
set(mervex_bin_dir bin)
set(mervex_lib_dir lib)
set(mervex_modules_dir lib/mervex/modules)
set(mervex_data_dir share/mervex)

# The modules folder of this build, where module targets put their library.
set(SIMHOST_MODULES_DIR ${CMAKE_BINARY_DIR}/${mervex_modules_dir})

# Paths from one folder of the layout to another, for $ORIGIN and the programs.
function(mervex_relative var from to)
  file(RELATIVE_PATH rel /prefix/${from} /prefix/${to})
  set(${var} ${rel} PARENT_SCOPE)
endfunction()
mervex_relative(mervex_bin_to_lib ${mervex_bin_dir} ${mervex_lib_dir})
mervex_relative(mervex_modules_to_lib ${mervex_modules_dir} ${mervex_lib_dir})
mervex_relative(mervex_bin_to_modules ${mervex_bin_dir} ${mervex_modules_dir})
mervex_relative(mervex_bin_to_data ${mervex_bin_dir} ${mervex_data_dir})

# The shared files, copied into the build tree at configure time (and again
# whenever one changes).
file(GLOB_RECURSE mervex_meshes RELATIVE ${PROJECT_SOURCE_DIR} CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/meshes/*.obj)
foreach(f IN LISTS mervex_meshes)
  configure_file(${PROJECT_SOURCE_DIR}/${f} ${CMAKE_BINARY_DIR}/${mervex_data_dir}/${f} COPYONLY)
endforeach()
configure_file(${PROJECT_SOURCE_DIR}/res/panel.bmp ${CMAKE_BINARY_DIR}/${mervex_data_dir}/panel.bmp COPYONLY)
