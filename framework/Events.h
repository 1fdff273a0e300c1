// Event types. Events are public std::function fields of the component
// (`OnClick`, `OnMouseDown`, ...); a component fires one only when it is set.
#pragma once

#include <functional>

#include "framework/Geometry.h"
#include "framework/Object.h"
#include "framework/Set.h"

enum TMouseButton { mbLeft, mbRight, mbMiddle };

enum TShiftStateItem { ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble };
using TShiftState = TSet<TShiftStateItem>;

using TNotifyEvent = std::function<void(TObject* Sender)>;
using TMouseEvent =
    std::function<void(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>;
using TMouseMoveEvent = std::function<void(TObject* Sender, TShiftState Shift, int X, int Y)>;
// Key is the virtual key; a handler may set it to 0 to consume the key.
using TKeyEvent = std::function<void(TObject* Sender, WORD& Key, TShiftState Shift)>;
// Key is the character; a handler may change it or set it to 0 to cancel it.
using TKeyPressEvent = std::function<void(TObject* Sender, char& Key)>;
using TContextPopupEvent = std::function<void(TObject* Sender, TPoint MousePos, bool& Handled)>;

// The shift state from the MK_* flags of a mouse message.
TShiftState ShiftStateFromMouseFlags(WPARAM flags);
// The shift state of the keyboard right now (Shift, Ctrl, Alt).
TShiftState KeyboardShiftState();
