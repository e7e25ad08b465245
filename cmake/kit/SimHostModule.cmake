# The functions a vessel module's project calls, from the installed kit
# (find_package(SimHost)) and in the stand-in host's own tree alike. They
# need the targets SimHost::interface and, for validation, SimHost::validate.
include_guard(GLOBAL)

# simhost_add_module(<name> <source>... [RESOURCES <script.rc>] [EXPORTS <symbol>...]
#                    [HOST <target>] [NO_WARNINGS])
#
# Builds the module <name>: a library named <name>.so (no "lib" in front)
# that exports what its sources mark DLLCLBK, or on ELF only the symbols
# EXPORTS lists (the one list makes a version script there and a
# module-definition file on Windows), carries no unique symbols (they would
# keep it mapped after the host unloads it), and links the host interface:
# SimHost::interface, or the target HOST names, such as an import library
# of one simulator's executable. The resource script, when given, is
# compiled with llvm-rc to <name>.res beside the library, where the host
# looks for a module's dialogs; on Windows it is linked into the DLL
# instead. A MinGW-w64 build carries its C++ runtime inside the DLL. The
# module is compiled with the usual warnings (-Wall -Wextra; /W4 for a
# compiler with Microsoft's options) unless NO_WARNINGS is given.
function(simhost_add_module name)
  cmake_parse_arguments(PARSE_ARGV 1 arg "NO_WARNINGS" "RESOURCES;HOST" "EXPORTS")
  if(NOT arg_UNPARSED_ARGUMENTS)
    message(FATAL_ERROR "simhost_add_module(${name}): give the module's source files")
  endif()
  if("EXPORTS" IN_LIST arg_KEYWORDS_MISSING_VALUES)
    message(FATAL_ERROR "simhost_add_module(${name}): EXPORTS names no symbol")
  endif()
  if(NOT arg_HOST)
    set(arg_HOST SimHost::interface)
  endif()
  add_library(${name} MODULE ${arg_UNPARSED_ARGUMENTS})
  set_target_properties(${name} PROPERTIES PREFIX "" CXX_VISIBILITY_PRESET hidden VISIBILITY_INLINES_HIDDEN ON)
  target_compile_options(${name} PRIVATE $<$<CXX_COMPILER_ID:GNU>:-fno-gnu-unique>)
  target_link_libraries(${name} PRIVATE ${arg_HOST})
  if(NOT arg_NO_WARNINGS)
    if(CMAKE_CXX_COMPILER_FRONTEND_VARIANT STREQUAL "MSVC")
      target_compile_options(${name} PRIVATE $<$<COMPILE_LANGUAGE:CXX>:/W4>)
    else()
      target_compile_options(${name} PRIVATE "$<$<COMPILE_LANGUAGE:CXX>:-Wall;-Wextra>")
    endif()
  endif()
  # Every host function the module calls must be one the host exports. A
  # sanitizer's runtime lives in the host program, so such builds may not ask.
  if(NOT WIN32 AND NOT SIMHOST_MODULE_ALLOW_UNDEFINED AND NOT CMAKE_CXX_FLAGS MATCHES "-fsanitize")
    target_link_options(${name} PRIVATE "LINKER:--no-undefined")
  endif()
  # No MinGW runtime DLL (libstdc++, libgcc, winpthread) needed beside it.
  if(MINGW)
    target_link_options(${name} PRIVATE -static-libgcc -static-libstdc++ -static)
  endif()
  if(arg_EXPORTS)
    _simhost_module_exports(${name} ${arg_EXPORTS})
  endif()
  if(arg_RESOURCES)
    _simhost_module_resources(${name} ${arg_RESOURCES})
  endif()
endfunction()

# The list of exports in the linker's own form, written into the build tree.
function(_simhost_module_exports name)
  foreach(symbol ${ARGN})
    if(NOT symbol MATCHES "^[A-Za-z_][A-Za-z0-9_]*$")
      message(FATAL_ERROR "simhost_add_module(${name}): EXPORTS takes plain function names, not \"${symbol}\"")
    endif()
  endforeach()
  set(dir ${CMAKE_CURRENT_BINARY_DIR}/${name}_exports)
  if(WIN32)
    list(JOIN ARGN "\n    " listed)
    file(CONFIGURE OUTPUT ${dir}/${name}.def CONTENT "EXPORTS\n    ${listed}\n")
    target_sources(${name} PRIVATE ${dir}/${name}.def)
  else()
    list(JOIN ARGN "; " listed)
    file(CONFIGURE OUTPUT ${dir}/${name}.map CONTENT "{ global: ${listed}; local: *; };\n")
    target_link_options(${name} PRIVATE "LINKER:--version-script=${dir}/${name}.map")
    set_property(TARGET ${name} APPEND PROPERTY LINK_DEPENDS ${dir}/${name}.map)
  endif()
endfunction()

function(_simhost_module_resources name script)
  get_filename_component(script ${script} ABSOLUTE BASE_DIR ${CMAKE_CURRENT_SOURCE_DIR})
  if(NOT EXISTS ${script})
    message(FATAL_ERROR "simhost_add_module(${name}): the resource script ${script} does not exist")
  endif()
  if(WIN32)
    target_sources(${name} PRIVATE ${script})
    return()
  endif()
  find_program(SIMHOST_RC NAMES llvm-rc llvm-rc-19 llvm-rc-18 llvm-rc-17 llvm-rc-16 llvm-rc-15 llvm-rc-14)
  if(NOT SIMHOST_RC)
    message(FATAL_ERROR "simhost_add_module(${name}): compiling ${script} needs llvm-rc, which is not found "
                        "(Debian: apt-get install llvm), or set SIMHOST_RC to its path")
  endif()
  # llvm-rc takes an argument that begins with '/' for an option when it
  # can, so the script is named relative to its own folder.
  get_filename_component(dir ${script} DIRECTORY)
  get_filename_component(file ${script} NAME)
  # Tried now, so that a script it cannot compile stops the configuration
  # with llvm-rc's own words rather than a build that fails later.
  set(trial ${CMAKE_CURRENT_BINARY_DIR}/${name}.trial.res)
  execute_process(COMMAND ${SIMHOST_RC} /FO ${trial} ${file} WORKING_DIRECTORY ${dir}
                  RESULT_VARIABLE status OUTPUT_VARIABLE said ERROR_VARIABLE said)
  file(REMOVE ${trial})
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${script})
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "simhost_add_module(${name}): llvm-rc cannot compile the resource script ${script}:\n${said}")
  endif()
  set(compiled ${CMAKE_CURRENT_BINARY_DIR}/${name}_resources/${name}.res)
  # Ninja makes an output's folder itself; the Makefile generators do not.
  file(MAKE_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}/${name}_resources)
  set(inputs ${script})
  _simhost_resource_inputs(${script} ${dir} inputs)
  add_custom_command(OUTPUT ${compiled}
    COMMAND ${SIMHOST_RC} /FO ${compiled} ${file}
    WORKING_DIRECTORY ${dir}
    DEPENDS ${inputs}
    COMMENT "Compiling the resources of ${name}")
  # Beside the library, under its name; the library's folder is known only
  # per configuration, so the copy runs as a target of its own, which
  # building the module builds too.
  add_custom_target(${name}_resources ALL
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${compiled}
            $<TARGET_FILE_DIR:${name}>/$<TARGET_FILE_BASE_NAME:${name}>.res
    DEPENDS ${compiled})
  add_dependencies(${name} ${name}_resources)
endfunction()

# Appends to <list> the files `file` brings into the compiled resources: the
# headers it includes (found beside the including file or the script, and
# read in turn) and the files its resources are made of (a bitmap, an icon:
# the last word of a statement, when it names a file beside the script). A
# change to a header may name new files, so the headers, like the script,
# make CMake read them again.
function(_simhost_resource_inputs file script_dir list)
  set(found ${${list}})
  get_filename_component(here ${file} DIRECTORY)
  file(STRINGS ${file} lines)
  foreach(line IN LISTS lines)
    if(line MATCHES "^[ \t]*#[ \t]*include[ \t]*[\"<]([^\">]+)[\">]")
      set(named ${CMAKE_MATCH_1})
      foreach(base ${here} ${script_dir})
        get_filename_component(candidate ${named} ABSOLUTE BASE_DIR ${base})
        if(EXISTS ${candidate} AND NOT IS_DIRECTORY ${candidate})
          if(NOT candidate IN_LIST found)
            list(APPEND found ${candidate})
            set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${candidate})
            _simhost_resource_inputs(${candidate} ${script_dir} found)
          endif()
          break()
        endif()
      endforeach()
    elseif(line MATCHES "[ \t]\"?([^ \t\"]+)\"?[ \t]*$")
      get_filename_component(candidate ${CMAKE_MATCH_1} ABSOLUTE BASE_DIR ${script_dir})
      if(EXISTS ${candidate} AND NOT IS_DIRECTORY ${candidate} AND NOT candidate IN_LIST found)
        list(APPEND found ${candidate})
      endif()
    endif()
  endforeach()
  set(${list} ${found} PARENT_SCOPE)
endfunction()

# simhost_add_validation(<module> [LEVEL <1..10>] [SEED <seed>])
#
# A CTest test, <module>.validate, that runs simhost-validate on the built
# module at the level given (5 unless said otherwise) and passes when every
# check does.
function(simhost_add_validation name)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "LEVEL;SEED" "")
  if(arg_UNPARSED_ARGUMENTS)
    message(FATAL_ERROR "simhost_add_validation(${name}): unexpected arguments ${arg_UNPARSED_ARGUMENTS}")
  endif()
  if(NOT TARGET ${name})
    message(FATAL_ERROR "simhost_add_validation(${name}): no target ${name}; make it with simhost_add_module first")
  endif()
  if(NOT TARGET SimHost::validate)
    message(STATUS "simhost_add_validation(${name}): simhost-validate does not run on this platform; no test")
    return()
  endif()
  if(NOT arg_LEVEL)
    set(arg_LEVEL 5)
  endif()
  if(NOT arg_LEVEL MATCHES "^([1-9]|10)$")
    message(FATAL_ERROR "simhost_add_validation(${name}): LEVEL must be 1 to 10, not ${arg_LEVEL}")
  endif()
  set(seed)
  if(DEFINED arg_SEED)
    set(seed --seed ${arg_SEED})
  endif()
  add_test(NAME ${name}.validate COMMAND $<TARGET_FILE:SimHost::validate> $<TARGET_FILE:${name}> --level ${arg_LEVEL} ${seed})
endfunction()
