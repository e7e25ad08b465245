# cmake -DLISTED=<host_interface_msabi_*.def> -DEXPORTED=<exports .def> -P check_msabi_def.cmake
# Fails unless the host executable's Microsoft-decorated exports are exactly
# the checked-in list: a change of a declaration in host/ changes the names a
# vendor-built host exports and the add-on imports, and must show in review.
file(STRINGS ${LISTED} listed REGEX "^\\?")
file(STRINGS ${EXPORTED} exported REGEX "^[ \t]*\\?")
list(TRANSFORM listed REPLACE "^([^ ]+).*$" "\\1")
list(TRANSFORM exported REPLACE "^[ \t]*([^ \t]+).*$" "\\1")
set(missing ${listed})
list(REMOVE_ITEM missing ${exported})
set(extra ${exported})
list(REMOVE_ITEM extra ${listed})
if(missing OR extra)
  list(JOIN missing "\n  " missing_text)
  list(JOIN extra "\n  " extra_text)
  message(FATAL_ERROR "${LISTED} differs from what the host executable exports in the Microsoft C++ ABI.\nListed but not exported:\n  ${missing_text}\nExported but not listed:\n  ${extra_text}\nIf the change of host/ is meant, copy the exported names into the list.")
endif()
