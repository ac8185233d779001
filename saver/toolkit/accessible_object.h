#pragma once
// What a screen reader hears of a window whose controls have no window of
// their own (option marks and captions drawn on picture panels, buttons that
// are picture panels): the system's stand-in objects would only give the
// panels' class and window names. The window answers WM_GETOBJECT for its
// client area with this object, whose children are the controls as a person
// sees them, as the window lists them: their visible text as the name, a
// fitting role, and their state.
#include <windows.h>

#include <string>
#include <vector>

namespace ventalune::toolkit {

// One control as an accessibility client sees it: a simple child of the
// window's client object, numbered from 1 in the order of the list.
struct AccessibleControl {
  std::wstring name;           // the visible text
  long role = 0;               // ROLE_SYSTEM_PUSHBUTTON, _RADIOBUTTON, _COMBOBOX, _TEXT, _LINK, ...
  std::wstring value;          // what a text or combo box holds; empty for others
  std::wstring defaultAction;  // "Press", "Check", "Jump"; empty when there is none
  bool checked = false;
  bool enabled = true;
  bool focusable = true;
  bool focused = false;
  bool readOnly = false;
  RECT screen{};  // where it lies on the screen
};

// The window's side: what its controls are now, and pressing one.
class AccessibleChildren {
 public:
  virtual ~AccessibleChildren() = default;
  virtual std::vector<AccessibleControl> AccessibleControls() = 0;
  // The control's default action, as a click or key would do it; an index
  // past the list does nothing.
  virtual void DoDefaultAction(size_t index) = 0;
};

// The answer to WM_GETOBJECT for the window: its client object for
// OBJID_CLIENT, the default answer for anything else. The source must
// outlive the window.
//
// A client may keep the object after the window has gone, so the object
// reads the source only while the link stays: on the window's thread, while
// the window exists and until DisconnectAccessible. After that every call
// answers CO_E_OBJNOTCONNECTED.
LRESULT AnswerGetObject(HWND window, WPARAM wParam, LPARAM lParam, AccessibleChildren& source);

// Cuts the link of every object handed out for `window`. The window calls it
// on WM_DESTROY, before it tears down what its source reads; from then on
// AnswerGetObject gives the default answer for that window. A window
// destroyed without it is noticed by the objects themselves.
void DisconnectAccessible(HWND window);

// Tells accessibility clients that the focus moved to control `index` of
// the list, or that its state (checked, enabled) or name changed.
void NotifyFocus(HWND window, size_t index);
void NotifyStateChange(HWND window, size_t index);
void NotifyNameChange(HWND window, size_t index);

}  // namespace ventalune::toolkit
