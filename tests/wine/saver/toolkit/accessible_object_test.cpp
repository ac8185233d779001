// A window's client object as a screen reader in this process reads it
// through oleacc, from a window answering WM_GETOBJECT with a scripted
// source of controls.
#include <windows.h>
#include <gtest/gtest.h>

#include <oleacc.h>

#include <memory>
#include <string>
#include <vector>

#include "saver/toolkit/accessible_object.h"
#include "support/program_driver.h"

namespace ventalune::wine_test {
namespace {

using toolkit::AccessibleControl;

struct Releaser {
  void operator()(IUnknown* object) const { object->Release(); }
};
template <class T>
using Com = std::unique_ptr<T, Releaser>;

template <class Row>
std::string RowName(const testing::TestParamInfo<Row>& row) {
  return row.param.name;
}

struct ScriptedSource : toolkit::AccessibleChildren {
  std::vector<AccessibleControl> AccessibleControls() override {
    ++reads;
    return controls;
  }
  void DoDefaultAction(size_t index) override { actions.push_back(index); }

  std::vector<AccessibleControl> controls;
  std::vector<size_t> actions;
  int reads = 0;
};

constexpr POINT kOrigin{120, 90};  // the client area's top left on the screen
constexpr SIZE kClientSize{320, 240};
constexpr wchar_t kTitle[] = L"Ventalune settings";

// A control at client pixels (left, top, right, bottom).
AccessibleControl Control(const wchar_t* name, long role, const wchar_t* defaultAction, RECT client) {
  AccessibleControl control;
  control.name = name;
  control.role = role;
  control.defaultAction = defaultAction;
  control.screen = {kOrigin.x + client.left, kOrigin.y + client.top, kOrigin.x + client.right,
                    kOrigin.y + client.bottom};
  return control;
}

std::vector<AccessibleControl> SampleControls() {
  std::vector<AccessibleControl> controls{
      Control(L"OK", ROLE_SYSTEM_PUSHBUTTON, L"Press", {10, 10, 90, 40}),
      Control(L"Desktop", ROLE_SYSTEM_RADIOBUTTON, L"Check", {10, 50, 150, 70}),
      Control(L"Picture", ROLE_SYSTEM_RADIOBUTTON, L"Check", {10, 75, 150, 95}),
      Control(L"Browse", ROLE_SYSTEM_PUSHBUTTON, L"Press", {160, 75, 240, 95}),
      Control(L"Picture file", ROLE_SYSTEM_TEXT, L"", {10, 110, 300, 130}),
      Control(L"Homepage", ROLE_SYSTEM_LINK, L"Jump", {10, 200, 100, 220}),
  };
  controls[0].focused = true;
  controls[1].checked = true;
  controls[3].enabled = controls[3].focusable = false;
  controls[4].value = L"C:\\Pictures\\room.jpg";
  controls[4].readOnly = true;
  return controls;
}

LRESULT CALLBACK HostProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* source = reinterpret_cast<ScriptedSource*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (message == WM_GETOBJECT && source) return toolkit::AnswerGetObject(window, wParam, lParam, *source);
  return DefWindowProcW(window, message, wParam, lParam);
}

// A borderless window with its client area at kOrigin, answering for
// `source`. Hidden: what the object answers does not depend on it, and a
// shown window takes seconds to destroy without a window manager.
HWND MakeHost(ScriptedSource& source) {
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = HostProcedure;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = L"VentaluneAccessibleHost";
  RegisterClassW(&windowClass);
  const HWND window = CreateWindowExW(0, windowClass.lpszClassName, kTitle, WS_POPUP, kOrigin.x, kOrigin.y,
                                      kClientSize.cx, kClientSize.cy, nullptr, nullptr, windowClass.hInstance, nullptr);
  source.controls = SampleControls();
  SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&source));
  return window;
}

Com<IAccessible> ClientOf(HWND window) {
  void* object = nullptr;
  AccessibleObjectFromWindow(window, OBJID_CLIENT, __uuidof(IAccessible), &object);
  return Com<IAccessible>(static_cast<IAccessible*>(object));
}

VARIANT Child(long id) {
  VARIANT child;
  VariantInit(&child);
  V_VT(&child) = VT_I4;
  V_I4(&child) = id;
  return child;
}

// A string property: its status and text ("<none>" when no string came).
template <class Getter>
std::pair<HRESULT, std::wstring> Text(Getter getter) {
  BSTR text = nullptr;
  const HRESULT status = getter(&text);
  std::pair<HRESULT, std::wstring> read{status, text ? std::wstring(text, SysStringLen(text)) : L"<none>"};
  SysFreeString(text);
  return read;
}

// A child id or a number; VT_EMPTY reads as kEmpty and other types as
// less, so a wrong type shows in the failure.
constexpr long kEmpty = -100;
long Number(const VARIANT& value) {
  if (V_VT(&value) == VT_I4) return V_I4(&value);
  return V_VT(&value) == VT_EMPTY ? kEmpty : -200 - V_VT(&value);
}

class AccessibleObjectTest : public testing::Test {
 protected:
  void SetUp() override {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    window_ = MakeHost(source_);
    client_ = ClientOf(window_);
    ASSERT_NE(client_, nullptr);
  }
  void TearDown() override {
    client_.reset();
    if (IsWindow(window_)) DestroyWindow(window_);
    CoUninitialize();
  }

  ScriptedSource source_;
  HWND window_ = nullptr;
  Com<IAccessible> client_;
};

TEST_F(AccessibleObjectTest, TheClientAreaIsNamedByTheTitleAndListsTheControls) {
  const VARIANT self = Child(CHILDID_SELF);
  EXPECT_EQ(Text([&](BSTR* out) { return client_->get_accName(self, out); }).second, kTitle);
  LONG left = 0, top = 0, width = 0, height = 0;
  ASSERT_EQ(client_->accLocation(&left, &top, &width, &height, self), S_OK);
  EXPECT_EQ((std::vector<LONG>{left, top, width, height}),
            (std::vector<LONG>{kOrigin.x, kOrigin.y, kClientSize.cx, kClientSize.cy}));

  // As a screen reader walks the tree.
  LONG count = 0;
  ASSERT_EQ(client_->get_accChildCount(&count), S_OK);
  std::vector<VARIANT> children(static_cast<size_t>(count));
  LONG obtained = 0;
  ASSERT_EQ(AccessibleChildren(client_.get(), 0, count, children.data(), &obtained), S_OK);
  std::vector<long> ids;
  for (LONG i = 0; i < obtained; ++i) ids.push_back(Number(children[static_cast<size_t>(i)]));
  EXPECT_EQ(ids, (std::vector<long>{1, 2, 3, 4, 5, 6}));
}

struct ChildCase {
  const char* name;
  long id;
  const wchar_t* accName;
  long role;
  long state;
  std::pair<HRESULT, std::wstring> value;
  const wchar_t* defaultAction;
};

class ChildTest : public AccessibleObjectTest, public testing::WithParamInterface<ChildCase> {};

TEST_P(ChildTest, ReadsAsTheControlShows) {
  const ChildCase& row = GetParam();
  const VARIANT child = Child(row.id);
  EXPECT_EQ(Text([&](BSTR* out) { return client_->get_accName(child, out); }).second, row.accName);
  VARIANT number;
  ASSERT_EQ(client_->get_accRole(child, &number), S_OK);
  EXPECT_EQ(Number(number), row.role);
  ASSERT_EQ(client_->get_accState(child, &number), S_OK);
  EXPECT_EQ(Number(number), row.state);
  EXPECT_EQ(Text([&](BSTR* out) { return client_->get_accValue(child, out); }), row.value);
  EXPECT_EQ(Text([&](BSTR* out) { return client_->get_accDefaultAction(child, out); }).second, row.defaultAction);
}

constexpr long kFocusable = STATE_SYSTEM_FOCUSABLE;
const std::pair<HRESULT, std::wstring> kNoValue{DISP_E_MEMBERNOTFOUND, L"<none>"};
const std::pair<HRESULT, std::wstring> kTextValue{S_OK, L"C:\\Pictures\\room.jpg"};
INSTANTIATE_TEST_SUITE_P(
    Controls, ChildTest,
    testing::Values(ChildCase{"FocusedButton", 1, L"OK", ROLE_SYSTEM_PUSHBUTTON, kFocusable | STATE_SYSTEM_FOCUSED,
                              kNoValue, L"Press"},
                    ChildCase{"CheckedRadio", 2, L"Desktop", ROLE_SYSTEM_RADIOBUTTON, kFocusable | STATE_SYSTEM_CHECKED,
                              kNoValue, L"Check"},
                    ChildCase{"UncheckedRadio", 3, L"Picture", ROLE_SYSTEM_RADIOBUTTON, kFocusable, kNoValue, L"Check"},
                    ChildCase{"DisabledButton", 4, L"Browse", ROLE_SYSTEM_PUSHBUTTON, STATE_SYSTEM_UNAVAILABLE,
                              kNoValue, L"Press"},
                    ChildCase{"ReadOnlyText", 5, L"Picture file", ROLE_SYSTEM_TEXT, kFocusable | STATE_SYSTEM_READONLY,
                              kTextValue, L"<none>"},
                    ChildCase{"Link", 6, L"Homepage", ROLE_SYSTEM_LINK, kFocusable, kNoValue, L"Jump"}),
    RowName<ChildCase>);

// Calls answering a child id, each against the sample controls.
struct AnswerCase {
  const char* name;
  HRESULT (*call)(IAccessible*, VARIANT*);
  HRESULT status;
  long id;
};

class AnswerTest : public AccessibleObjectTest, public testing::WithParamInterface<AnswerCase> {};

TEST_P(AnswerTest, GivesTheExpectedChild) {
  VARIANT answer;
  EXPECT_EQ(GetParam().call(client_.get(), &answer), GetParam().status);
  EXPECT_EQ(Number(answer), GetParam().id);
}

template <long kX, long kY>  // client pixels
HRESULT HitAt(IAccessible* client, VARIANT* out) {
  return client->accHitTest(kOrigin.x + kX, kOrigin.y + kY, out);
}
template <long kDirection, long kStart>
HRESULT Navigate(IAccessible* client, VARIANT* out) {
  return client->accNavigate(kDirection, Child(kStart), out);
}
template <long kId>
HRESULT RoleOf(IAccessible* client, VARIANT* out) {
  return client->get_accRole(Child(kId), out);
}

INSTANTIATE_TEST_SUITE_P(
    Calls, AnswerTest,
    testing::Values(AnswerCase{"HitButton", HitAt<50, 20>, S_OK, 1},
                    AnswerCase{"HitLinkAtItsTopLeft", HitAt<10, 200>, S_OK, 6},
                    AnswerCase{"HitJustPastTheLink", HitAt<100, 210>, S_OK, CHILDID_SELF},
                    AnswerCase{"HitBetweenControls", HitAt<300, 180>, S_OK, CHILDID_SELF},
                    AnswerCase{"HitLeftOfTheWindow", HitAt<-5, 20>, S_FALSE, kEmpty},
                    AnswerCase{"HitBelowTheWindow", HitAt<50, 240>, S_FALSE, kEmpty},
                    AnswerCase{"FirstChild", Navigate<NAVDIR_FIRSTCHILD, CHILDID_SELF>, S_OK, 1},
                    AnswerCase{"LastChild", Navigate<NAVDIR_LASTCHILD, CHILDID_SELF>, S_OK, 6},
                    AnswerCase{"Next", Navigate<NAVDIR_NEXT, 2>, S_OK, 3},
                    AnswerCase{"Previous", Navigate<NAVDIR_PREVIOUS, 2>, S_OK, 1},
                    AnswerCase{"NothingAfterTheLast", Navigate<NAVDIR_NEXT, 6>, S_FALSE, kEmpty},
                    AnswerCase{"ASimpleElementHasNoChildren", Navigate<NAVDIR_FIRSTCHILD, 3>, E_INVALIDARG, kEmpty},
                    AnswerCase{"NavigateFromAnUnknownChild", Navigate<NAVDIR_NEXT, 9>, E_INVALIDARG, kEmpty},
                    AnswerCase{"RoleOfTheClientArea", RoleOf<CHILDID_SELF>, S_OK, ROLE_SYSTEM_CLIENT},
                    AnswerCase{"RoleOfAChildPastTheList", RoleOf<7>, E_INVALIDARG, kEmpty},
                    AnswerCase{"RoleOfANegativeChild", RoleOf<-1>, E_INVALIDARG, kEmpty}),
    RowName<AnswerCase>);

// The controls change while a client holds the object.
TEST_F(AccessibleObjectTest, ReadsTheControlsAfreshOnEveryCall) {
  std::vector<AccessibleControl>& controls = source_.controls;
  controls[1].checked = controls[0].focused = false;
  controls[2].checked = controls[4].focused = true;
  controls[2].name = L"Your picture";
  controls.pop_back();
  VARIANT number;
  ASSERT_EQ(client_->get_accState(Child(3), &number), S_OK);
  EXPECT_EQ(Number(number), kFocusable | STATE_SYSTEM_CHECKED);
  EXPECT_EQ(Text([&](BSTR* out) { return client_->get_accName(Child(3), out); }).second, L"Your picture");
  ASSERT_EQ(client_->get_accFocus(&number), S_OK);
  EXPECT_EQ(Number(number), 5);
  LONG count = 0;
  ASSERT_EQ(client_->get_accChildCount(&count), S_OK);
  EXPECT_EQ(count, 5);
}

struct ActionCase {
  const char* name;
  long id;
  HRESULT status;
  std::vector<size_t> reached;  // the indexes the source was asked to act on
};

class DefaultActionTest : public AccessibleObjectTest, public testing::WithParamInterface<ActionCase> {};

TEST_P(DefaultActionTest, ReachesTheSourceForAnEnabledControlWithOne) {
  EXPECT_EQ(client_->accDoDefaultAction(Child(GetParam().id)), GetParam().status);
  EXPECT_EQ(source_.actions, GetParam().reached);
}

INSTANTIATE_TEST_SUITE_P(Controls, DefaultActionTest,
                         testing::Values(ActionCase{"Button", 1, S_OK, {0}}, ActionCase{"Link", 6, S_OK, {5}},
                                         ActionCase{"DisabledButton", 4, DISP_E_MEMBERNOTFOUND, {}},
                                         ActionCase{"TextWithoutAction", 5, DISP_E_MEMBERNOTFOUND, {}},
                                         ActionCase{"TheClientArea", CHILDID_SELF, DISP_E_MEMBERNOTFOUND, {}},
                                         ActionCase{"PastTheList", 7, E_INVALIDARG, {}}),
                         RowName<ActionCase>);

// A client may keep the object after the dialog is gone: it answers that it
// is no longer connected and does not touch the source again.
struct GoneCase {
  const char* name;
  bool destroy;  // the window is destroyed; otherwise only disconnected
};

class GoneTest : public AccessibleObjectTest, public testing::WithParamInterface<GoneCase> {};

TEST_P(GoneTest, TheObjectAnswersNotConnected) {
  if (GetParam().destroy) {
    DestroyWindow(window_);
  } else {
    toolkit::DisconnectAccessible(window_);
  }
  const int reads = source_.reads;
  LONG count = 0;
  EXPECT_EQ(client_->get_accChildCount(&count), CO_E_OBJNOTCONNECTED);
  EXPECT_EQ(Text([&](BSTR* out) { return client_->get_accName(Child(1), out); }).first, CO_E_OBJNOTCONNECTED);
  VARIANT hit;
  EXPECT_EQ(client_->accHitTest(kOrigin.x + 50, kOrigin.y + 20, &hit), CO_E_OBJNOTCONNECTED);
  EXPECT_EQ(client_->accDoDefaultAction(Child(1)), CO_E_OBJNOTCONNECTED);
  if (!GetParam().destroy) {
    // The window still standing now gives the system's own client object,
    // which knows nothing of the controls.
    Com<IAccessible> standIn = ClientOf(window_);
    ASSERT_NE(standIn, nullptr);
    EXPECT_EQ(standIn->get_accChildCount(&count), S_OK);
    EXPECT_EQ(count, 0);
  }
  EXPECT_EQ(source_.reads, reads);
  EXPECT_TRUE(source_.actions.empty());
}

INSTANTIATE_TEST_SUITE_P(Dialog, GoneTest,
                         testing::Values(GoneCase{"Destroyed", true}, GoneCase{"Disconnected", false}),
                         RowName<GoneCase>);

}  // namespace
}  // namespace ventalune::wine_test
