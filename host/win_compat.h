// The handful of Windows names a module uses. On Windows they come from the
// system headers; elsewhere the stand-in host provides them, so a module's
// sources are the same on both platforms.
#pragma once

#include "host_export.h"

#if defined(_WIN32)
#  ifndef WIN32_LEAN_AND_MEAN
#    define WIN32_LEAN_AND_MEAN
#  endif
#  include <windows.h>
#else
#include <cstdint>

struct HINSTANCE__;
struct HWND__;
// A module's instance handle: the address at which the loader mapped it.
typedef HINSTANCE__* HINSTANCE;
typedef HINSTANCE HMODULE;
// A window owned by the host's window manager; valid until the window is destroyed.
typedef HWND__* HWND;
typedef unsigned int UINT;
typedef std::uint32_t DWORD;
typedef std::uint16_t WORD;
typedef int BOOL;
typedef std::uintptr_t WPARAM;
typedef std::intptr_t LPARAM;
typedef std::intptr_t INT_PTR;
typedef void* LPVOID;
typedef const char* LPCSTR;
typedef INT_PTR (*FARPROC)();

#define WINAPI
#define CALLBACK
#define APIENTRY

typedef INT_PTR (CALLBACK* DLGPROC)(HWND, UINT, WPARAM, LPARAM);

#define TRUE 1
#define FALSE 0

#define DLL_PROCESS_DETACH 0
#define DLL_PROCESS_ATTACH 1
#define DLL_THREAD_ATTACH 2
#define DLL_THREAD_DETACH 3

#define WM_DESTROY 0x0002
#define WM_INITDIALOG 0x0110
#define WM_COMMAND 0x0111
#define WM_TIMER 0x0113

#define IDOK 1
#define IDCANCEL 2

#define LOWORD(l) ((WORD)(((std::uintptr_t)(l)) & 0xffff))
#define HIWORD(l) ((WORD)((((std::uintptr_t)(l)) >> 16) & 0xffff))

// Looks a name up among the exports of the module `module` itself, not of the
// libraries it depends on; null when it has none of that name.
HOSTAPI FARPROC GetProcAddress(HMODULE module, LPCSTR name) noexcept;
// The child control `id` of dialog `dialog`, or null. Valid while the dialog is.
HOSTAPI HWND GetDlgItem(HWND dialog, int id) noexcept;
// Enables or disables `window` for input; returns nonzero if it was disabled before.
HOSTAPI BOOL EnableWindow(HWND window, BOOL enable) noexcept;
HOSTAPI BOOL IsWindowEnabled(HWND window) noexcept;
#endif
