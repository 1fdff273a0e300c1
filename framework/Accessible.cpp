#include "framework/Accessible.h"

#include <oleacc.h>

#include <exception>
#include <utility>

#include "calc/Cp1252.h"
#include "framework/ErrorReport.h"
#include "framework/WinControl.h"

namespace {

// The COM apartment the objects live in, entered on the first request when
// the thread has none, and left at the end of the process.
class TComApartment {
 public:
  TComApartment() : entered_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
  TComApartment(const TComApartment&) = delete;
  TComApartment& operator=(const TComApartment&) = delete;
  ~TComApartment() {
    if (entered_) CoUninitialize();
  }

 private:
  bool entered_;
};

void EnterComApartment() { static TComApartment apartment; }

// One element of an object: a control itself (item -1) or one of its items.
struct TElement {
  TControl* control = nullptr;
  int item = -1;
};

int ChildCount(TWinControl& control) {
  return control.AccessibleItemCount() + control.ControlCount();
}

// The child with child id `id` (from 1), or nothing.
std::optional<TElement> ChildElement(TWinControl& control, long id) {
  const int items = control.AccessibleItemCount();
  if (id < 1 || id > ChildCount(control)) return std::nullopt;
  if (id <= items) return TElement{&control, static_cast<int>(id - 1)};
  return TElement{control.Controls(static_cast<int>(id - 1 - items)), -1};
}

// The element a VARIANT names on `control`'s object.
std::optional<TElement> Resolve(TWinControl& control, const VARIANT& child) {
  if (child.vt == VT_EMPTY) return TElement{&control, -1};
  if (child.vt != VT_I4) return std::nullopt;
  if (child.lVal == CHILDID_SELF) return TElement{&control, -1};
  return ChildElement(control, child.lVal);
}

// What the element says, with the states the framework knows added.
TAccessibleInfo Describe(const TElement& e) {
  TAccessibleInfo info;
  TControl& control = *e.control;
  if (e.item >= 0) {
    control.DescribeAccessibleItem(e.item, info);
  } else {
    control.DescribeAccessible(info);
    if (!control.Enabled()) info.State |= STATE_SYSTEM_UNAVAILABLE;
    if (TWinControl* windowed = control.AsWinControl()) {
      if (windowed->TabStop() && windowed->CanFocus()) info.State |= STATE_SYSTEM_FOCUSABLE;
      if (windowed->Focused()) info.State |= STATE_SYSTEM_FOCUSED;
    }
  }
  if (!control.Showing()) info.State |= STATE_SYSTEM_INVISIBLE;
  return info;
}

// Where the element lies on the screen.
TRect ScreenRect(const TElement& e, const TAccessibleInfo& info) {
  TControl& control = *e.control;
  const TPoint origin = control.ClientOrigin();
  if (e.item >= 0) return info.Bounds.Offset(origin.X, origin.Y);
  if (TWinControl* windowed = control.AsWinControl(); windowed && windowed->HandleAllocated()) {
    RECT r{};
    GetWindowRect(windowed->Handle(), &r);
    return r;
  }
  return Bounds(origin.X, origin.Y, control.Width(), control.Height());
}

// A windowed child is an object of its own; every other child is simple.
TWinControl* ChildObjectControl(const TElement& e) {
  return e.item < 0 ? e.control->AsWinControl() : nullptr;
}

void SetChildVariant(TWinControl& control, long id, VARIANT* out) {
  if (TWinControl* windowed = ChildObjectControl(*ChildElement(control, id))) {
    out->vt = VT_DISPATCH;
    out->pdispVal = windowed->AccessibleObject();
  } else {
    out->vt = VT_I4;
    out->lVal = id;
  }
}

HRESULT AnswerText(const std::string& text, BSTR* out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (text.empty()) return S_FALSE;
  const std::u16string wide = Cp1252ToUtf16(text);
  *out = SysAllocStringLen(reinterpret_cast<const OLECHAR*>(wide.data()),
                           static_cast<UINT>(wide.size()));
  return *out ? S_OK : E_OUTOFMEMORY;
}

}  // namespace

// The IAccessible of one windowed control. It answers from the control at
// each call; once disconnected every IAccessible method answers
// CO_E_OBJNOTCONNECTED. What it does not support is DISP_E_MEMBERNOTFOUND.
class TAccessibleObject final : public IAccessible {
 public:
  explicit TAccessibleObject(TWinControl& control) : control_(&control) {}
  TAccessibleObject(const TAccessibleObject&) = delete;
  TAccessibleObject& operator=(const TAccessibleObject&) = delete;

  void Disconnect() { control_ = nullptr; }

  // --- IUnknown ---
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (iid != IID_IUnknown && iid != IID_IDispatch && iid != IID_IAccessible)
      return E_NOINTERFACE;
    *out = static_cast<IAccessible*>(this);
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&references_); }
  ULONG STDMETHODCALLTYPE Release() override {
    const LONG left = InterlockedDecrement(&references_);
    if (left == 0) delete this;
    return left;
  }

  // --- IDispatch: readers call the IAccessible methods directly ---
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    if (!count) return E_POINTER;
    *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                   UINT*) override {
    return E_NOTIMPL;
  }

  // --- IAccessible ---
  HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
    return Guarded([&](TWinControl& control) -> HRESULT {
      if (!parent) return E_POINTER;
      *parent = nullptr;
      if (TWinControl* above = control.Parent()) {
        *parent = above->AccessibleObject();
        return S_OK;
      }
      return AccessibleObjectFromWindow(control.Handle(), static_cast<DWORD>(OBJID_WINDOW),
                                        IID_IDispatch, reinterpret_cast<void**>(parent));
    });
  }
  HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override {
    return Guarded([&](TWinControl& control) -> HRESULT {
      if (!count) return E_POINTER;
      *count = ChildCount(control);
      return S_OK;
    });
  }
  HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** out) override {
    return Guarded([&](TWinControl& control) -> HRESULT {
      if (!out) return E_POINTER;
      *out = nullptr;
      const auto element = Resolve(control, child);
      if (!element) return E_INVALIDARG;
      TWinControl* windowed = element->control == &control ? nullptr : ChildObjectControl(*element);
      if (!windowed) return S_FALSE;
      *out = windowed->AccessibleObject();
      return S_OK;
    });
  }
  HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
    return WithInfo(child, [&](const TAccessibleInfo& info) { return AnswerText(info.Name, name); });
  }
  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
    return WithInfo(child, [&](const TAccessibleInfo& info) -> HRESULT {
      if (!value) return E_POINTER;
      *value = nullptr;
      if (!info.Value) return DISP_E_MEMBERNOTFOUND;
      // An empty value is a value: an empty string, not none.
      const HRESULT result = AnswerText(*info.Value, value);
      if (result != S_FALSE) return result;
      *value = SysAllocString(L"");
      return *value ? S_OK : E_OUTOFMEMORY;
    });
  }
  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override {
    return WithInfo(child, [&](const TAccessibleInfo& info) {
      return AnswerText(info.Description, description);
    });
  }
  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
    return WithInfo(child, [&](const TAccessibleInfo& info) { return AnswerNumber(info.Role, role); });
  }
  HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
    return WithInfo(child, [&](const TAccessibleInfo& info) { return AnswerNumber(info.State, state); });
  }
  HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT, BSTR* help) override {
    return Unsupported(help);
  }
  HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT, long*) override {
    return Unsupported(file);
  }
  HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT, BSTR* shortcut) override {
    return Unsupported(shortcut);
  }
  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override {
    return Guarded([&](TWinControl& control) -> HRESULT {
      if (!focus) return E_POINTER;
      VariantInit(focus);
      TWinControl* focused = FindControl(GetFocus());
      if (!focused || !control.ContainsControl(focused)) return S_FALSE;
      if (focused == &control) {
        focus->vt = VT_I4;
        focus->lVal = CHILDID_SELF;
        return S_OK;
      }
      // The child that holds the focus, or holds the control that does.
      for (int i = 0; i < control.ControlCount(); ++i) {
        TWinControl* child = control.Controls(i)->AsWinControl();
        if (!child || !child->ContainsControl(focused)) continue;
        focus->vt = VT_DISPATCH;
        focus->pdispVal = child->AccessibleObject();
        return S_OK;
      }
      return S_FALSE;
    });
  }
  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override {
    if (selection) VariantInit(selection);
    return Unsupported();
  }
  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
    return WithInfo(child, [&](const TAccessibleInfo& info) -> HRESULT {
      if (info.DefaultAction.empty()) return Unsupported(action);
      return AnswerText(info.DefaultAction, action);
    });
  }
  HRESULT STDMETHODCALLTYPE accSelect(long, VARIANT) override { return Unsupported(); }
  HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height,
                                        VARIANT child) override {
    return Guarded([&](TWinControl& control) -> HRESULT {
      if (!left || !top || !width || !height) return E_POINTER;
      const auto element = Resolve(control, child);
      if (!element) return E_INVALIDARG;
      const TRect r = ScreenRect(*element, Describe(*element));
      *left = r.Left;
      *top = r.Top;
      *width = r.Width();
      *height = r.Height();
      return S_OK;
    });
  }
  // Readers walk the children and the parents instead.
  HRESULT STDMETHODCALLTYPE accNavigate(long, VARIANT, VARIANT* end) override {
    if (end) VariantInit(end);
    return Unsupported();
  }
  HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* hit) override {
    return Guarded([&](TWinControl& control) -> HRESULT {
      if (!hit) return E_POINTER;
      VariantInit(hit);
      const TPoint p{static_cast<int>(x), static_cast<int>(y)};
      const TElement self{&control, -1};
      if (!ScreenRect(self, Describe(self)).Contains(p)) return S_FALSE;
      // The topmost child there: later children lie above earlier ones.
      for (long id = ChildCount(control); id >= 1; --id) {
        const TElement child = *ChildElement(control, id);
        const TAccessibleInfo info = Describe(child);
        if ((info.State & STATE_SYSTEM_INVISIBLE) || !ScreenRect(child, info).Contains(p)) continue;
        SetChildVariant(control, id, hit);
        return S_OK;
      }
      hit->vt = VT_I4;
      hit->lVal = CHILDID_SELF;
      return S_OK;
    });
  }
  HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
    return Guarded([&](TWinControl& control) -> HRESULT {
      const auto element = Resolve(control, child);
      if (!element) return E_INVALIDARG;
      if (element->item >= 0 || !element->control->DoAccessibleDefaultAction())
        return DISP_E_MEMBERNOTFOUND;
      return S_OK;
    });
  }
  HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return Unsupported(); }
  HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return Unsupported(); }

 private:
  ~TAccessibleObject() = default;

  // Runs `body` with the control, unless it is gone; an error in it is
  // reported like any handler's and answered with E_FAIL.
  template <class F>
  HRESULT Guarded(F&& body) noexcept {
    if (!control_) return CO_E_OBJNOTCONNECTED;
    try {
      return body(*control_);
    } catch (...) {
      ReportError(control_, std::current_exception());
      return E_FAIL;
    }
  }
  // Runs `answer` with what the element `child` names says.
  template <class F>
  HRESULT WithInfo(const VARIANT& child, F&& answer) noexcept {
    return Guarded([&](TWinControl& control) -> HRESULT {
      const auto element = Resolve(control, child);
      if (!element) return E_INVALIDARG;
      return answer(Describe(*element));
    });
  }
  static HRESULT AnswerNumber(long number, VARIANT* out) {
    if (!out) return E_POINTER;
    out->vt = VT_I4;
    out->lVal = number;
    return S_OK;
  }
  HRESULT Unsupported() const { return control_ ? DISP_E_MEMBERNOTFOUND : CO_E_OBJNOTCONNECTED; }
  HRESULT Unsupported(BSTR* out) const {
    if (out) *out = nullptr;
    return Unsupported();
  }

  TWinControl* control_;  // nullptr once disconnected
  LONG references_ = 1;
};

// --- TAccessibleLink ---

IDispatch* TAccessibleLink::Object(TWinControl& control) {
  if (!object_) {
    EnterComApartment();
    object_ = new TAccessibleObject(control);
  }
  object_->AddRef();
  return object_;
}

LRESULT TAccessibleLink::Answer(TWinControl& control, WPARAM wParam) {
  IDispatch* object = Object(control);
  // The result holds a reference of its own.
  const LRESULT result = LresultFromObject(IID_IAccessible, wParam, object);
  object->Release();
  return result;
}

void TAccessibleLink::Disconnect() {
  if (!object_) return;
  object_->Disconnect();
  // Readers in other processes lose their hold on it too.
  CoDisconnectObject(static_cast<IAccessible*>(object_), 0);
  std::exchange(object_, nullptr)->Release();
}

// --- Events ---

void NotifyAccessibleEvent(TControl& control, DWORD event, int item) {
  TWinControl* holder = control.AsWinControl();
  LONG child = item >= 0 ? item + 1 : CHILDID_SELF;
  if (!holder) {
    holder = control.Parent();
    if (!holder) return;
    int index = 0;
    while (index < holder->ControlCount() && holder->Controls(index) != &control) ++index;
    child = holder->AccessibleItemCount() + index + 1;
  }
  if (holder->HandleAllocated()) NotifyWinEvent(event, holder->Handle(), OBJID_CLIENT, child);
}

TAccessibleReorder::~TAccessibleReorder() {
  NotifyAccessibleEvent(control_, EVENT_OBJECT_REORDER);
}

std::string WithoutAccelChars(const std::string& caption) {
  std::string text;
  text.reserve(caption.size());
  for (size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] == '&' && ++i == caption.size()) break;
    text += caption[i];
  }
  return text;
}
