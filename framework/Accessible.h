// Accessibility: what a screen reader reads of a window. NVDA, JAWS and
// Narrator read Microsoft Active Accessibility: they send a window
// WM_GETOBJECT and talk to the IAccessible object it answers with.
//
// Every windowed control answers WM_GETOBJECT for OBJID_CLIENT with its
// accessible object (TAccessibleLink, made on the first request and kept for
// the control's life); every other object id goes to the platform. The
// object holds no copy of anything: each question is put to the control at
// the moment a reader asks it, so the answers follow captions, texts and
// cells as they change.
// - The control itself (child id CHILDID_SELF) says its role, name, value,
//   description, extra states and default action in DescribeAccessible
//   (TControl). The framework adds what it knows: invisible, unavailable,
//   focusable (a tab stop) and focused, and the location from the bounds.
// - Its children, with child ids from 1 in this order: the control's own
//   items (a grid's cells, a status bar's panels: AccessibleItemCount and
//   DescribeAccessibleItem, each with its rectangle), then its child controls
//   in stacking order. Windowless children (labels, the banner, the button)
//   are simple children described by their own DescribeAccessible; windowed
//   children are their own objects.
// - A control's name is the caption of the control on the same parent that
//   labels it (SetAccessibleLabel: the label above an entry field), else its
//   AccessibleName (for a control that no text on screen names), else its
//   own caption; "&" accelerator marks are left out.
// - accDoDefaultAction runs the element's DoAccessibleDefaultAction inside
//   the error trap; no C++ exception leaves a COM method, which answers
//   E_FAIL instead.
// A destroyed control's object is disconnected: readers that still hold it
// get CO_E_OBJNOTCONNECTED from every method, and it never reaches the
// control again. The objects need a COM apartment on the window's thread;
// the first request enters one (single-threaded) for the rest of the
// process if the thread has none.
//
// Events: after a change that a reader should hear, the control calls
// NotifyAccessibleEvent (a field's value, a caption's name, a table whose
// cells were rewritten). Focus events come from the platform.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "framework/Geometry.h"

class TControl;
class TWinControl;
class TAccessibleObject;
struct IDispatch;

// What one element says of itself. Texts are code page 1252.
struct TAccessibleInfo {
  long Role = 0;                       // ROLE_SYSTEM_*
  std::string Name;                    // empty: no name
  std::optional<std::string> Value;    // none: the element has no value
  std::string Description;             // empty: none
  std::string DefaultAction;           // empty: none
  long State = 0;                      // STATE_SYSTEM_* beyond the framework's own
  TRect Bounds;                        // items only: client coordinates of the control
};

// The control's accessible object, made when a reader first asks for it and
// disconnected when the link ends (with its control).
class TAccessibleLink {
 public:
  TAccessibleLink() = default;
  TAccessibleLink(const TAccessibleLink&) = delete;
  TAccessibleLink& operator=(const TAccessibleLink&) = delete;
  ~TAccessibleLink() { Disconnect(); }

  // The answer to WM_GETOBJECT for OBJID_CLIENT (LresultFromObject).
  LRESULT Answer(TWinControl& control, WPARAM wParam);
  // The object with one reference for the caller, made first if needed.
  IDispatch* Object(TWinControl& control);
  // From now on the object answers CO_E_OBJNOTCONNECTED.
  void Disconnect();

 private:
  TAccessibleObject* object_ = nullptr;  // one reference held by the link
};

// Tells readers about a change of `control`, or of its item `item` (from 0),
// with a WinEvent (EVENT_OBJECT_VALUECHANGE, EVENT_OBJECT_NAMECHANGE,
// EVENT_OBJECT_REORDER, ...) on the object that holds it: a windowless
// control's event names it as a child of its parent's object. Nothing
// happens before the window exists.
void NotifyAccessibleEvent(TControl& control, DWORD event, int item = -1);

// Fires one EVENT_OBJECT_REORDER for the control when the scope ends, on
// every way out: readers then read its children anew, once for a whole
// burst of changes.
class TAccessibleReorder {
 public:
  explicit TAccessibleReorder(TControl& control) : control_(control) {}
  TAccessibleReorder(const TAccessibleReorder&) = delete;
  TAccessibleReorder& operator=(const TAccessibleReorder&) = delete;
  ~TAccessibleReorder();

 private:
  TControl& control_;
};

// A caption as readers should hear it: "&&" becomes "&", a single "&" goes.
std::string WithoutAccelChars(const std::string& caption);
