# cmake -DLISTED=<host_interface.def> -DEXPORTED=<exports .def> -P check_host_def.cmake
# Fails when the host executable exports a name that the checked-in list of
# the host interface lacks: a release module could not import it.
file(STRINGS ${LISTED} listed REGEX "^_")
file(STRINGS ${EXPORTED} exported REGEX "^ +_")
list(TRANSFORM listed REPLACE "^([^ ]+).*$" "\\1")
list(TRANSFORM exported REPLACE "^ +([^ ]+).*$" "\\1")
list(REMOVE_ITEM exported ${listed})
if(exported)
  list(JOIN exported "\n  " missing)
  message(FATAL_ERROR "${LISTED} lacks exports of the host executable; add them:\n  ${missing}")
endif()
