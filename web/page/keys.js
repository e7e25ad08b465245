// Keys as the host's keyboard codes (host/keycodes.h, the DirectInput set),
// by the browser's physical key names (KeyboardEvent.code).
const codes = {
  Escape: 0x01, Digit1: 0x02, Digit2: 0x03, Digit3: 0x04, Digit4: 0x05, Digit5: 0x06, Digit6: 0x07, Digit7: 0x08,
  Digit8: 0x09, Digit9: 0x0a, Digit0: 0x0b, Minus: 0x0c, Equal: 0x0d, Backspace: 0x0e, Tab: 0x0f,
  KeyQ: 0x10, KeyW: 0x11, KeyE: 0x12, KeyR: 0x13, KeyT: 0x14, KeyY: 0x15, KeyU: 0x16, KeyI: 0x17, KeyO: 0x18,
  KeyP: 0x19, BracketLeft: 0x1a, BracketRight: 0x1b, Enter: 0x1c, KeyA: 0x1e, KeyS: 0x1f, KeyD: 0x20, KeyF: 0x21,
  KeyG: 0x22, KeyH: 0x23, KeyJ: 0x24, KeyK: 0x25, KeyL: 0x26, Semicolon: 0x27, Quote: 0x28, Backquote: 0x29,
  Backslash: 0x2b, KeyZ: 0x2c, KeyX: 0x2d, KeyC: 0x2e, KeyV: 0x2f, KeyB: 0x30, KeyN: 0x31, KeyM: 0x32, Comma: 0x33,
  Period: 0x34, Slash: 0x35, NumpadMultiply: 0x37, Space: 0x39, CapsLock: 0x3a, F1: 0x3b, F2: 0x3c, F3: 0x3d,
  F4: 0x3e, F5: 0x3f, F6: 0x40, F7: 0x41, F8: 0x42, F9: 0x43, F10: 0x44, NumLock: 0x45, ScrollLock: 0x46,
  Numpad7: 0x47, Numpad8: 0x48, Numpad9: 0x49, NumpadSubtract: 0x4a, Numpad4: 0x4b, Numpad5: 0x4c, Numpad6: 0x4d,
  NumpadAdd: 0x4e, Numpad1: 0x4f, Numpad2: 0x50, Numpad3: 0x51, Numpad0: 0x52, NumpadDecimal: 0x53, F11: 0x57,
  F12: 0x58, NumpadEnter: 0x9c, NumpadDivide: 0xb5, Home: 0xc7, ArrowUp: 0xc8, PageUp: 0xc9, ArrowLeft: 0xcb,
  ArrowRight: 0xcd, End: 0xcf, ArrowDown: 0xd0, PageDown: 0xd1, Insert: 0xd2, Delete: 0xd3,
};

// The modifier keys, left and right apart, as the host tells them.
export const modifierCodes = {
  ShiftLeft: 0x2a, ShiftRight: 0x36, ControlLeft: 0x1d, ControlRight: 0x9d, AltLeft: 0x38, AltRight: 0xb8,
};

// Follows which modifier keys are down on `target`; call keyMessage for the others.
export class KeyTracker {
  constructor() { this.held = new Set(); }

  // The key message for a key-down event, or null for a modifier or a key the host has no code for.
  down(event, craft) {
    if (event.code in modifierCodes) { this.held.add(modifierCodes[event.code]); return null; }
    const code = codes[event.code];
    if (code === undefined) return null;
    // A modifier released while the page had no focus is not held any longer.
    const still = { 0x2a: event.shiftKey, 0x36: event.shiftKey, 0x1d: event.ctrlKey, 0x9d: event.ctrlKey,
                    0x38: event.altKey, 0xb8: event.altKey };
    for (const m of [...this.held]) if (!still[m]) this.held.delete(m);
    return { type: 'key', craft, code, modifiers: [...this.held] };
  }

  up(event) { if (event.code in modifierCodes) this.held.delete(modifierCodes[event.code]); }
  clear() { this.held.clear(); }
}
