// Keyboard input as the host delivers it to clbkKeyPress and
// clbkConsumeDirectKey: a key code of the DirectInput keyboard code set
// (0 to 255, one per physical key, whatever the layout prints on it) and a
// key state of 256 bytes indexed by those codes. A key is held when bit 7
// (0x80) of its byte is set; the other bits mean nothing.
#pragma once

#include "win_compat.h"

// Letters.
constexpr DWORD OAPI_KEY_Q = 0x10, OAPI_KEY_W = 0x11, OAPI_KEY_E = 0x12, OAPI_KEY_R = 0x13, OAPI_KEY_T = 0x14,
                OAPI_KEY_Y = 0x15, OAPI_KEY_U = 0x16, OAPI_KEY_I = 0x17, OAPI_KEY_O = 0x18, OAPI_KEY_P = 0x19;
constexpr DWORD OAPI_KEY_A = 0x1E, OAPI_KEY_S = 0x1F, OAPI_KEY_D = 0x20, OAPI_KEY_F = 0x21, OAPI_KEY_G = 0x22,
                OAPI_KEY_H = 0x23, OAPI_KEY_J = 0x24, OAPI_KEY_K = 0x25, OAPI_KEY_L = 0x26;
constexpr DWORD OAPI_KEY_Z = 0x2C, OAPI_KEY_X = 0x2D, OAPI_KEY_C = 0x2E, OAPI_KEY_V = 0x2F, OAPI_KEY_B = 0x30,
                OAPI_KEY_N = 0x31, OAPI_KEY_M = 0x32;
// The digit row: 1 to 9 are 0x02 to 0x0A, 0 follows them.
constexpr DWORD OAPI_KEY_1 = 0x02, OAPI_KEY_2 = 0x03, OAPI_KEY_3 = 0x04, OAPI_KEY_4 = 0x05, OAPI_KEY_5 = 0x06,
                OAPI_KEY_6 = 0x07, OAPI_KEY_7 = 0x08, OAPI_KEY_8 = 0x09, OAPI_KEY_9 = 0x0A, OAPI_KEY_0 = 0x0B;
// Function keys: F1 to F10 are 0x3B to 0x44; F11 and F12 lie elsewhere.
constexpr DWORD OAPI_KEY_F1 = 0x3B, OAPI_KEY_F2 = 0x3C, OAPI_KEY_F3 = 0x3D, OAPI_KEY_F4 = 0x3E, OAPI_KEY_F5 = 0x3F,
                OAPI_KEY_F6 = 0x40, OAPI_KEY_F7 = 0x41, OAPI_KEY_F8 = 0x42, OAPI_KEY_F9 = 0x43, OAPI_KEY_F10 = 0x44,
                OAPI_KEY_F11 = 0x57, OAPI_KEY_F12 = 0x58;
constexpr DWORD OAPI_KEY_ESCAPE = 0x01, OAPI_KEY_BACK = 0x0E, OAPI_KEY_TAB = 0x0F, OAPI_KEY_RETURN = 0x1C,
                OAPI_KEY_SPACE = 0x39;
// The cursor block.
constexpr DWORD OAPI_KEY_HOME = 0xC7, OAPI_KEY_UP = 0xC8, OAPI_KEY_PRIOR = 0xC9, OAPI_KEY_LEFT = 0xCB,
                OAPI_KEY_RIGHT = 0xCD, OAPI_KEY_END = 0xCF, OAPI_KEY_DOWN = 0xD0, OAPI_KEY_NEXT = 0xD1,
                OAPI_KEY_INSERT = 0xD2, OAPI_KEY_DELETE = 0xD3;

// The modifiers: their bytes in the key state are where a module looks to
// learn whether Shift, Ctrl or Alt is held. Left and right keys differ.
constexpr DWORD OAPI_KEY_LSHIFT = 0x2A, OAPI_KEY_RSHIFT = 0x36;
constexpr DWORD OAPI_KEY_LCONTROL = 0x1D, OAPI_KEY_RCONTROL = 0x9D;
constexpr DWORD OAPI_KEY_LALT = 0x38, OAPI_KEY_RALT = 0xB8;

// Whether `key` is held in the 256-byte state `kstate`; `key` must be below 256.
inline bool KeyHeld(const char* kstate, DWORD key) { return (static_cast<unsigned char>(kstate[key]) & 0x80) != 0; }
// Either key of a modifier held.
inline bool ShiftHeld(const char* kstate)
{
    return KeyHeld(kstate, OAPI_KEY_LSHIFT) || KeyHeld(kstate, OAPI_KEY_RSHIFT);
}
inline bool ControlHeld(const char* kstate)
{
    return KeyHeld(kstate, OAPI_KEY_LCONTROL) || KeyHeld(kstate, OAPI_KEY_RCONTROL);
}
inline bool AltHeld(const char* kstate) { return KeyHeld(kstate, OAPI_KEY_LALT) || KeyHeld(kstate, OAPI_KEY_RALT); }
