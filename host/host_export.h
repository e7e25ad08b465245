// Linkage of the host interface and of the module's exports.
//
// The host executable exports its interface; modules import it. On Linux the
// stand-in host is a shared library with default visibility, and a module
// keeps everything of its own hidden except the few functions it exports.
#pragma once

#if defined(_WIN32)
#  if defined(HOST_BUILDING_INTERFACE)
#    define HOSTAPI __declspec(dllexport)
#  else
#    define HOSTAPI __declspec(dllimport)
#  endif
#  define DLLCLBK extern "C" __declspec(dllexport)
#else
#  define HOSTAPI __attribute__((visibility("default")))
#  define DLLCLBK extern "C" __attribute__((visibility("default")))
#endif
