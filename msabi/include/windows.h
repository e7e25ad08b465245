// The Windows names a module and the host interface use, as the system's
// own headers declare them (the C++ decoration of every host function
// depends on these exact types), with the functions imported from
// kernel32.dll and user32.dll.
#pragma once

#include <cstdint>

#define WINAPI __stdcall
#define CALLBACK __stdcall
#define APIENTRY WINAPI

// Handles are pointers to distinct empty records, as with STRICT.
struct HINSTANCE__ {
    int unused;
};
struct HWND__ {
    int unused;
};
typedef HINSTANCE__* HINSTANCE;
typedef HINSTANCE HMODULE;
typedef HWND__* HWND;

typedef unsigned int UINT;
typedef unsigned long DWORD;
typedef unsigned short WORD;
typedef int BOOL;
typedef void* LPVOID;
typedef const char* LPCSTR;
#if defined(_WIN64)
typedef long long INT_PTR;
typedef unsigned long long UINT_PTR;
typedef long long LONG_PTR;
#else
typedef int INT_PTR;
typedef unsigned int UINT_PTR;
typedef long LONG_PTR;
#endif
typedef UINT_PTR WPARAM;
typedef LONG_PTR LPARAM;
typedef INT_PTR(WINAPI* FARPROC)();
typedef INT_PTR(CALLBACK* DLGPROC)(HWND, UINT, WPARAM, LPARAM);

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

#define LOWORD(l) ((WORD)(((UINT_PTR)(l)) & 0xffff))
#define HIWORD(l) ((WORD)((((UINT_PTR)(l)) >> 16) & 0xffff))

extern "C" {
__declspec(dllimport) FARPROC WINAPI GetProcAddress(HMODULE module, LPCSTR name);
__declspec(dllimport) HMODULE WINAPI GetModuleHandleA(LPCSTR name);
__declspec(dllimport) HWND WINAPI GetDlgItem(HWND dialog, int id);
__declspec(dllimport) BOOL WINAPI EnableWindow(HWND window, BOOL enable);
__declspec(dllimport) BOOL WINAPI IsWindowEnabled(HWND window);
}
