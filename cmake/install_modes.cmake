# Every folder an install or a package makes gets rwxr-xr-x, whatever the
# umask of whoever installs: CMake makes folders with mkdir, which the umask
# narrows, and a folder only its owner can enter hides the programs and
# modules from every other user. Files get their modes from install()
# itself. A prefix (or a staging root) that existed before is left as it was.
install(CODE [[
  if("$ENV{DESTDIR}" STREQUAL "")
    get_filename_component(_top "${CMAKE_INSTALL_PREFIX}" ABSOLUTE)
  else()
    get_filename_component(_top "$ENV{DESTDIR}" ABSOLUTE)
  endif()
  if(EXISTS "${_top}")
    set(_mervex_top_existed TRUE)
  endif()
]])

# After every other install rule of the project.
cmake_language(DEFER DIRECTORY ${CMAKE_SOURCE_DIR} CALL install CODE [[
  if("$ENV{DESTDIR}" STREQUAL "")
    get_filename_component(_top "${CMAKE_INSTALL_PREFIX}" ABSOLUTE)
  else()
    get_filename_component(_top "$ENV{DESTDIR}" ABSOLUTE)
  endif()
  set(_folders)
  foreach(_file ${CMAKE_INSTALL_MANIFEST_FILES})
    get_filename_component(_dir "$ENV{DESTDIR}${_file}" DIRECTORY)
    string(FIND "${_dir}" "${_top}/" _at)
    while(_at EQUAL 0)
      list(APPEND _folders "${_dir}")
      get_filename_component(_dir "${_dir}" DIRECTORY)
      string(FIND "${_dir}" "${_top}/" _at)
    endwhile()
  endforeach()
  if(NOT _mervex_top_existed)
    list(APPEND _folders "${_top}")
  endif()
  if(_folders)
    list(REMOVE_DUPLICATES _folders)
    file(CHMOD ${_folders}
         PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
  endif()
]])
