# The release add-on in the Microsoft C++ ABI loads into whichever program
# exports the host interface: simhost-run.exe under a name the add-on never
# mentions flies it; a copy lacking one function of the interface has the
# DLL refused at LoadLibrary; and a second module beside it binds to the
# same host. Included from tests/windows/CMakeLists.txt with msabi_build and
# msabi_dll set.
set(any_host_dir ${CMAKE_CURRENT_BINARY_DIR}/any_host)
set(renamed_host ${any_host_dir}/flightsim.exe)
set(lacking_host ${any_host_dir}/lacking-host.exe)
set(lacking_function "?oapiGetSimStep@@YANXZ")
set(two_modules ${any_host_dir}/modules)
add_custom_command(OUTPUT ${renamed_host} ${lacking_host} ${two_modules}/Mervex.dll ${two_modules}/MervexTwin.dll
  COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:simhost_run> ${renamed_host}
  COMMAND ${CMAKE_BINARY_DIR}/pecheck/drop-export $<TARGET_FILE:simhost_run> ${lacking_host} ${lacking_function}
  COMMAND ${CMAKE_COMMAND} -E copy ${msabi_dll} ${two_modules}/Mervex.dll
  COMMAND ${CMAKE_COMMAND} -E copy ${msabi_dll} ${two_modules}/MervexTwin.dll
  DEPENDS simhost_run pecheck mervex_msabi ${msabi_dll}
  COMMENT "The stand-in host renamed, and lacking ${lacking_function}"
  VERBATIM)
add_custom_target(any_host ALL DEPENDS ${renamed_host} ${lacking_host} ${two_modules}/MervexTwin.dll)

# The two-craft flight with its second craft of the class MervexTwin, a
# copy of the add-on under another name; it must save what the flight of
# one module saves, but for the class and the DIALOG line: the control
# dialog open is the first module's, and each module finds only its own.
foreach(pair "${PROJECT_SOURCE_DIR}/scenarios/two_craft.scn;two_craft_twin.scn"
             "${example_flight_expected};two_craft_twin_final.scn")
  list(GET pair 0 from)
  list(GET pair 1 to)
  file(READ ${from} text)
  string(FIND "${text}" "BEGIN_VESSEL Mervex-2:Mervex\n" second)
  string(SUBSTRING "${text}" 0 ${second} first_craft)
  string(SUBSTRING "${text}" ${second} -1 second_craft)
  string(REPLACE "BEGIN_VESSEL Mervex-2:Mervex\n" "BEGIN_VESSEL Mervex-2:MervexTwin\n" second_craft "${second_craft}")
  string(REPLACE "  DIALOG\n" "" second_craft "${second_craft}")
  file(CONFIGURE OUTPUT ${any_host_dir}/${to} CONTENT "${first_craft}${second_craft}" @ONLY)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${from})
endforeach()

set(flight_args -t two_craft.timeline -d 35 -q --no-pictures)
add_test(NAME release_addon_flies_in_a_renamed_host
  COMMAND ${PROJECT_SOURCE_DIR}/tests/cli/saved_as_expected.sh ${example_flight_expected}
          ${any_host_dir}/renamed/final.scn
          ${CMAKE_CROSSCOMPILING_EMULATOR} ${renamed_host} two_craft.scn ${flight_args}
          --modules Z:${msabi_build}/src -o Z:${any_host_dir}/renamed)
add_test(NAME release_addon_beside_a_second_module
  COMMAND ${PROJECT_SOURCE_DIR}/tests/cli/saved_as_expected.sh ${any_host_dir}/two_craft_twin_final.scn
          ${any_host_dir}/twin/final.scn
          ${CMAKE_CROSSCOMPILING_EMULATOR} ${renamed_host} Z:${any_host_dir}/two_craft_twin.scn ${flight_args}
          --modules Z:${two_modules} -o Z:${any_host_dir}/twin)
add_test(NAME release_addon_refused_by_a_host_lacking_a_function
  COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/load_refused.sh Mervex.dll
          ${CMAKE_CROSSCOMPILING_EMULATOR} ${lacking_host} two_craft.scn ${flight_args}
          --modules Z:${msabi_build}/src -o Z:${any_host_dir}/lacking)
set_tests_properties(release_addon_flies_in_a_renamed_host release_addon_beside_a_second_module
  release_addon_refused_by_a_host_lacking_a_function PROPERTIES
  WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}/scenarios FIXTURES_REQUIRED wine)
# The host's name is nowhere in the DLL: nothing ties it to one program.
add_test(NAME release_addon_names_no_host COMMAND sh -c "! grep -aqi -e flightsim -e simhost \"$1\"" sh ${msabi_dll})
