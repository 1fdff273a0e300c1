// TMessage and the framework's own message numbers.
//
// Every control handles messages in one virtual `WndProc(TMessage&)`: real
// window messages (for windowless controls, the mouse messages that their
// parent routes to them, with coordinates already in the control's client
// area), the framework's notifications (CM_*) and the reflected notifications
// that a parent passes back to the child control that caused them (CN_*).
// `TControl::Perform` sends any of them to a control directly.
#pragma once

#include <windows.h>

struct TMessage {
  UINT Msg = 0;
  WPARAM WParam = 0;
  LPARAM LParam = 0;
  LRESULT Result = 0;
};

// Framework notifications, sent by the framework to a control with Perform.
inline constexpr UINT CM_BASE = 0xB000;
inline constexpr UINT CM_ENABLEDCHANGED = CM_BASE + 1;     // Enabled changed
inline constexpr UINT CM_VISIBLECHANGED = CM_BASE + 2;     // Visible changed
inline constexpr UINT CM_COLORCHANGED = CM_BASE + 3;       // Color changed
inline constexpr UINT CM_FONTCHANGED = CM_BASE + 4;        // Font changed
inline constexpr UINT CM_TEXTCHANGED = CM_BASE + 5;        // Caption changed
inline constexpr UINT CM_PARENTCOLORCHANGED = CM_BASE + 6; // parent's Color changed
inline constexpr UINT CM_PARENTFONTCHANGED = CM_BASE + 7;  // parent's Font changed
inline constexpr UINT CM_MOUSEENTER = CM_BASE + 8;         // the mouse came over the control
inline constexpr UINT CM_MOUSELEAVE = CM_BASE + 9;         // the mouse left it
// A key that the focused control does not want (Tab, ...); WParam is the
// virtual key, Result 1 when the form used it.
inline constexpr UINT CM_DIALOGKEY = CM_BASE + 10;
// A character typed in the form, offered to every control for accelerators;
// WParam is the character, Result 1 when a control used it.
inline constexpr UINT CM_DIALOGCHAR = CM_BASE + 11;
inline constexpr UINT CM_THEMECHANGED = CM_BASE + 12;      // desktop theme changed
// The system colours or the high-contrast setting changed (Contrast.h).
inline constexpr UINT CM_SYSCOLORCHANGE = CM_BASE + 13;

// Reflected notifications: CN_BASE + the original message number. Keyboard
// messages come to the focused control this way first (from the message
// loop) so that it can refuse Tab and the form can move the focus; WM_COMMAND,
// WM_NOTIFY, WM_CTLCOLOR*, WM_DRAWITEM and the scroll
// messages come back from the parent to the child that sent them.
inline constexpr UINT CN_BASE = 0xBC00;
inline constexpr UINT CN_KEYDOWN = CN_BASE + WM_KEYDOWN;
inline constexpr UINT CN_KEYUP = CN_BASE + WM_KEYUP;
inline constexpr UINT CN_CHAR = CN_BASE + WM_CHAR;
inline constexpr UINT CN_SYSKEYDOWN = CN_BASE + WM_SYSKEYDOWN;
inline constexpr UINT CN_SYSCHAR = CN_BASE + WM_SYSCHAR;
inline constexpr UINT CN_COMMAND = CN_BASE + WM_COMMAND;
inline constexpr UINT CN_NOTIFY = CN_BASE + WM_NOTIFY;
inline constexpr UINT CN_DRAWITEM = CN_BASE + WM_DRAWITEM;
inline constexpr UINT CN_CTLCOLOREDIT = CN_BASE + WM_CTLCOLOREDIT;
inline constexpr UINT CN_CTLCOLORLISTBOX = CN_BASE + WM_CTLCOLORLISTBOX;
inline constexpr UINT CN_CTLCOLORSTATIC = CN_BASE + WM_CTLCOLORSTATIC;
inline constexpr UINT CN_HSCROLL = CN_BASE + WM_HSCROLL;
inline constexpr UINT CN_VSCROLL = CN_BASE + WM_VSCROLL;
