// A window's client object for accessibility clients: one COM object per
// WM_GETOBJECT, its children simple elements read from the window's source
// on every call, since the controls change while a client holds the object.
#include "saver/toolkit/accessible_object.h"

#include <oleacc.h>

#include <atomic>
#include <cstdint>
#include <new>
#include <string>
#include <vector>

namespace ventalune::toolkit {
namespace {

// The objects handed out for a window carry a number that the window also
// holds as a property while the link stays. Destroying the window drops the
// property with it; a later window under the same handle has none or
// another, and DisconnectAccessible overwrites it: in each case the objects
// stop reading the source. A bare number, not a pointer, so that the window
// owns nothing that would have to be freed.
constexpr uintptr_t kDisconnected = ~uintptr_t{0};

// The property goes by an atom added once for the process, which GetPropW
// and SetPropW take in place of a string. Null when the atom table is
// full; then no link is made and the system's stand-in answers.
LPCWSTR LinkProperty() {
  static const ATOM atom = GlobalAddAtomW(L"VentaluneAccessibleLink");
  return atom ? reinterpret_cast<LPCWSTR>(static_cast<ULONG_PTR>(atom)) : nullptr;
}

uintptr_t WindowLink(HWND window) {
  const LPCWSTR property = LinkProperty();
  return property ? reinterpret_cast<uintptr_t>(GetPropW(window, property)) : kDisconnected;
}

// The window's number, given on its first WM_GETOBJECT.
uintptr_t TieLink(HWND window) {
  static std::atomic<uintptr_t> lastLink{0};
  uintptr_t link = WindowLink(window);
  if (link != 0) return link;
  link = ++lastLink;
  return SetPropW(window, LinkProperty(), reinterpret_cast<HANDLE>(link)) ? link : kDisconnected;
}

// Roles whose value is what they hold, so an empty one is still a value.
bool HoldsValue(long role) { return role == ROLE_SYSTEM_TEXT || role == ROLE_SYSTEM_COMBOBOX; }

// An accessibility string, or S_FALSE and none when the text is empty.
HRESULT OptionalString(const std::wstring& text, BSTR* out) {
  if (text.empty()) return S_FALSE;
  *out = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
  return *out ? S_OK : E_OUTOFMEMORY;
}

void SetChildId(VARIANT* out, long id) {
  V_VT(out) = VT_I4;
  V_I4(out) = id;
}

RECT ClientOnScreen(HWND window) {
  RECT client{};
  GetClientRect(window, &client);
  MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&client), 2);
  return client;
}

std::wstring WindowTitle(HWND window) {
  std::wstring title(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  title.resize(static_cast<size_t>(GetWindowTextW(window, title.data(), static_cast<int>(title.size()))));
  return title;
}

// What a call about one child, or the object itself, starts from: the
// controls as they are now and which one is meant (none: the object).
struct Asked {
  std::vector<AccessibleControl> controls;
  const AccessibleControl* control = nullptr;
  long index = -1;
};

class ClientObject final : public IAccessible {
 public:
  ClientObject(HWND window, AccessibleChildren& source, uintptr_t link)
      : window_(window), source_(source), link_(link) {}
  ClientObject(const ClientObject&) = delete;
  ClientObject& operator=(const ClientObject&) = delete;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    if (!object) return E_POINTER;
    if (IsEqualIID(iid, __uuidof(IUnknown)) || IsEqualIID(iid, __uuidof(IDispatch)) ||
        IsEqualIID(iid, __uuidof(IAccessible))) {
      *object = static_cast<IAccessible*>(this);
      AddRef();
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = --references_;
    if (left == 0) delete this;
    return left;
  }

  // Clients reach the properties through the interface, not by name.
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    if (!count) return E_POINTER;
    *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override {
    if (info) *info = nullptr;
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
    return E_NOTIMPL;
  }

  HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
    if (!parent) return E_POINTER;
    *parent = nullptr;
    if (const HRESULT status = Connection(); FAILED(status)) return status;
    return CreateStdAccessibleObject(window_, OBJID_WINDOW, __uuidof(IDispatch), reinterpret_cast<void**>(parent));
  }

  HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* count) override {
    if (!count) return E_POINTER;
    *count = 0;
    if (const HRESULT status = Connection(); FAILED(status)) return status;
    *count = static_cast<LONG>(source_.AccessibleControls().size());
    return S_OK;
  }

  // The children are simple elements: no object of their own.
  HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** object) override {
    if (!object) return E_POINTER;
    *object = nullptr;
    Asked asked;
    if (const HRESULT status = Ask(child, asked); FAILED(status)) return status;
    return asked.control ? S_FALSE : E_INVALIDARG;
  }

  HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
    if (!name) return E_POINTER;
    *name = nullptr;
    Asked asked;
    if (const HRESULT status = Ask(child, asked); FAILED(status)) return status;
    return OptionalString(asked.control ? asked.control->name : WindowTitle(window_), name);
  }

  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
    if (!value) return E_POINTER;
    *value = nullptr;
    Asked asked;
    if (const HRESULT status = Ask(child, asked); FAILED(status)) return status;
    const AccessibleControl* control = asked.control;
    if (!control || (control->value.empty() && !HoldsValue(control->role))) return DISP_E_MEMBERNOTFOUND;
    *value = SysAllocStringLen(control->value.data(), static_cast<UINT>(control->value.size()));
    return *value ? S_OK : E_OUTOFMEMORY;
  }

  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override {
    return NoText(child, description);
  }
  HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override { return NoText(child, help); }
  HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override {
    return NoText(child, shortcut);
  }
  HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* helpFile, VARIANT child, LONG* topic) override {
    if (!helpFile || !topic) return E_POINTER;
    *helpFile = nullptr;
    *topic = 0;
    Asked asked;
    if (const HRESULT status = Ask(child, asked); FAILED(status)) return status;
    return DISP_E_MEMBERNOTFOUND;
  }

  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
    if (!role) return E_POINTER;
    VariantInit(role);
    Asked asked;
    if (const HRESULT status = Ask(child, asked); FAILED(status)) return status;
    SetChildId(role, asked.control ? asked.control->role : ROLE_SYSTEM_CLIENT);
    return S_OK;
  }

  HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
    if (!state) return E_POINTER;
    VariantInit(state);
    Asked asked;
    if (const HRESULT status = Ask(child, asked); FAILED(status)) return status;
    long bits = 0;
    if (const AccessibleControl* control = asked.control) {
      if (control->focusable) bits |= STATE_SYSTEM_FOCUSABLE;
      if (control->focused) bits |= STATE_SYSTEM_FOCUSED;
      if (control->checked) bits |= STATE_SYSTEM_CHECKED;
      if (!control->enabled) bits |= STATE_SYSTEM_UNAVAILABLE;
      if (control->readOnly) bits |= STATE_SYSTEM_READONLY;
    } else {
      bits = STATE_SYSTEM_FOCUSABLE;
      if (FocusedChild(asked.controls) == CHILDID_SELF) bits |= STATE_SYSTEM_FOCUSED;
    }
    SetChildId(state, bits);
    return S_OK;
  }

  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override {
    if (!focus) return E_POINTER;
    VariantInit(focus);
    if (const HRESULT status = Connection(); FAILED(status)) return status;
    const long focused = FocusedChild(source_.AccessibleControls());
    if (focused < 0) return S_FALSE;
    SetChildId(focus, focused);
    return S_OK;
  }

  // Radio buttons say "checked", not "selected": nothing here is selected.
  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override {
    if (!selection) return E_POINTER;
    VariantInit(selection);
    if (const HRESULT status = Connection(); FAILED(status)) return status;
    return S_FALSE;
  }

  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
    if (!action) return E_POINTER;
    *action = nullptr;
    Asked asked;
    if (const HRESULT status = Ask(child, asked); FAILED(status)) return status;
    return asked.control ? OptionalString(asked.control->defaultAction, action) : S_FALSE;
  }

  HRESULT STDMETHODCALLTYPE accSelect(LONG, VARIANT) override { return E_NOTIMPL; }

  HRESULT STDMETHODCALLTYPE accLocation(LONG* left, LONG* top, LONG* width, LONG* height, VARIANT child) override {
    if (!left || !top || !width || !height) return E_POINTER;
    *left = *top = *width = *height = 0;
    Asked asked;
    if (const HRESULT status = Ask(child, asked); FAILED(status)) return status;
    const RECT area = asked.control ? asked.control->screen : ClientOnScreen(window_);
    *left = area.left;
    *top = area.top;
    *width = area.right - area.left;
    *height = area.bottom - area.top;
    return S_OK;
  }

  // The children in list order; neither the object's siblings (the
  // window's other parts, which its parent knows) nor directions on the
  // screen.
  HRESULT STDMETHODCALLTYPE accNavigate(LONG direction, VARIANT start, VARIANT* end) override {
    if (!end) return E_POINTER;
    VariantInit(end);
    Asked asked;
    if (const HRESULT status = Ask(start, asked); FAILED(status)) return status;
    const long count = static_cast<long>(asked.controls.size());
    long to = 0;
    switch (direction) {
      case NAVDIR_FIRSTCHILD:
      case NAVDIR_LASTCHILD:
        if (asked.control) return E_INVALIDARG;  // a simple element has no children
        to = direction == NAVDIR_FIRSTCHILD ? 1 : count;
        break;
      case NAVDIR_NEXT:
      case NAVDIR_PREVIOUS:
        if (!asked.control) return DISP_E_MEMBERNOTFOUND;
        to = asked.index + 1 + (direction == NAVDIR_NEXT ? 1 : -1);
        break;
      case NAVDIR_UP:
      case NAVDIR_DOWN:
      case NAVDIR_LEFT:
      case NAVDIR_RIGHT:
        return DISP_E_MEMBERNOTFOUND;
      default:
        return E_INVALIDARG;
    }
    if (to < 1 || to > count) return S_FALSE;
    SetChildId(end, to);
    return S_OK;
  }

  HRESULT STDMETHODCALLTYPE accHitTest(LONG x, LONG y, VARIANT* child) override {
    if (!child) return E_POINTER;
    VariantInit(child);
    if (const HRESULT status = Connection(); FAILED(status)) return status;
    const POINT point{x, y};
    const std::vector<AccessibleControl> controls = source_.AccessibleControls();
    for (size_t i = 0; i < controls.size(); ++i) {
      if (PtInRect(&controls[i].screen, point)) {
        SetChildId(child, static_cast<long>(i) + 1);
        return S_OK;
      }
    }
    const RECT client = ClientOnScreen(window_);
    if (!PtInRect(&client, point)) return S_FALSE;
    SetChildId(child, CHILDID_SELF);
    return S_OK;
  }

  // A disabled control, like one pressed with the mouse, does nothing.
  HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
    Asked asked;
    if (const HRESULT status = Ask(child, asked); FAILED(status)) return status;
    if (!asked.control || asked.control->defaultAction.empty() || !asked.control->enabled) {
      return DISP_E_MEMBERNOTFOUND;
    }
    // The source may close the window from here: nothing of it is used after.
    source_.DoDefaultAction(static_cast<size_t>(asked.index));
    return S_OK;
  }

  HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

 private:
  ~ClientObject() = default;

  // Whether the source may be asked now. It lives on its window's thread
  // and changes there, so a call from another thread (an object passed on
  // without marshalling) is turned away rather than read it meanwhile.
  HRESULT Connection() const {
    if (GetWindowThreadProcessId(window_, nullptr) != GetCurrentThreadId()) {
      return IsWindow(window_) ? RPC_E_WRONG_THREAD : CO_E_OBJNOTCONNECTED;
    }
    return WindowLink(window_) == link_ ? S_OK : CO_E_OBJNOTCONNECTED;
  }

  // Reads the controls and which one `child` names: CHILDID_SELF or 1..N.
  HRESULT Ask(const VARIANT& child, Asked& asked) const {
    if (const HRESULT status = Connection(); FAILED(status)) return status;
    if (V_VT(&child) != VT_I4) return E_INVALIDARG;
    asked.controls = source_.AccessibleControls();
    const long id = V_I4(&child);
    if (id == CHILDID_SELF) return S_OK;
    if (id < 1 || static_cast<size_t>(id) > asked.controls.size()) return E_INVALIDARG;
    asked.index = id - 1;
    asked.control = &asked.controls[static_cast<size_t>(asked.index)];
    return S_OK;
  }

  HRESULT NoText(const VARIANT& child, BSTR* text) const {
    if (!text) return E_POINTER;
    *text = nullptr;
    Asked asked;
    if (const HRESULT status = Ask(child, asked); FAILED(status)) return status;
    return S_FALSE;
  }

  // The child id of the focused control; CHILDID_SELF when the window has
  // the focus and no control claims it; -1 when the focus is elsewhere.
  long FocusedChild(const std::vector<AccessibleControl>& controls) const {
    for (size_t i = 0; i < controls.size(); ++i) {
      if (controls[i].focused) return static_cast<long>(i) + 1;
    }
    return GetFocus() == window_ ? CHILDID_SELF : -1;
  }

  std::atomic<ULONG> references_{1};
  const HWND window_;
  AccessibleChildren& source_;
  const uintptr_t link_;
};

}  // namespace

LRESULT AnswerGetObject(HWND window, WPARAM wParam, LPARAM lParam, AccessibleChildren& source) {
  // The object id is a 32-bit signed number in a pointer-wide parameter
  // whose upper half senders fill with zeros or with the sign.
  if (static_cast<long>(static_cast<DWORD>(lParam)) != OBJID_CLIENT) {
    return DefWindowProcW(window, WM_GETOBJECT, wParam, lParam);
  }
  const uintptr_t link = TieLink(window);
  // After the disconnect, while the window is being destroyed, the
  // system's stand-in answers.
  auto* object = link == kDisconnected ? nullptr : new (std::nothrow) ClientObject(window, source, link);
  if (!object) return DefWindowProcW(window, WM_GETOBJECT, wParam, lParam);
  // LresultFromObject takes a reference of its own for the client. The
  // interface ids come from __uuidof: MinGW's oleacc import library also
  // carries an IID_IAccessible, a DLL import that links to a jump thunk
  // instead of the GUID when it comes first.
  const LRESULT answer = LresultFromObject(__uuidof(IAccessible), wParam, object);
  object->Release();
  return answer;
}

void DisconnectAccessible(HWND window) {
  if (const LPCWSTR property = LinkProperty()) SetPropW(window, property, reinterpret_cast<HANDLE>(kDisconnected));
}

void NotifyFocus(HWND window, size_t index) {
  NotifyWinEvent(EVENT_OBJECT_FOCUS, window, OBJID_CLIENT, static_cast<LONG>(index) + 1);
}

void NotifyStateChange(HWND window, size_t index) {
  NotifyWinEvent(EVENT_OBJECT_STATECHANGE, window, OBJID_CLIENT, static_cast<LONG>(index) + 1);
}

void NotifyNameChange(HWND window, size_t index) {
  NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, window, OBJID_CLIENT, static_cast<LONG>(index) + 1);
}

}  // namespace ventalune::toolkit
