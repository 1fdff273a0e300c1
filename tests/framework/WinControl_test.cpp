// Windowed controls: when windows are made, platform classes, the error trap,
// tab order, alignment, fonts and colours from the parent, timers.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "calc/Exceptions.h"
#include "framework/CustomControl.h"
#include "framework/Timer.h"
#include "support/ErrorCapture.h"
#include "support/GdiCounter.h"
#include "support/Render.h"
#include "support/TestForm.h"

namespace {

constexpr UINT kThrowMessage = WM_APP + 1;

// Fills itself with its Color; throws on request.
class TPanel : public TCustomControl {
 public:
  explicit TPanel(TComponent* owner) : TCustomControl(owner) { SetParentColor(false); }
  enum class Throw { kNothing, kException, kStd, kInt } throwKind = Throw::kNothing;
  bool throwInPaint = false;
  std::vector<UINT_PTR> ticks;

  void WndProc(TMessage& msg) override {
    if (msg.Msg == kThrowMessage) {
      ThrowNow();
      return;
    }
    TCustomControl::WndProc(msg);
  }

 protected:
  void Paint() override {
    Canvas().Brush().SetColor(Color());
    Canvas().FillRect(ClientRect());
    if (throwInPaint) ThrowNow();
  }
  void TimerTick(UINT_PTR id) override {
    ticks.push_back(id);
    StopTimer(id);
  }

 private:
  void ThrowNow() {
    switch (throwKind) {
      case Throw::kNothing: return;
      case Throw::kException: throw EConvertError("'x' ist kein g\xFCltiger Integerwert");
      case Throw::kStd: throw std::runtime_error("runtime");
      case Throw::kInt: throw 42;
    }
  }
};

// A platform "EDIT" window driven through the framework.
class TPlatformEdit : public TWinControl {
 public:
  using TWinControl::TWinControl;
  int setTextSeen = 0;
  std::vector<WORD> commands;

  void WndProc(TMessage& msg) override {
    if (msg.Msg == WM_SETTEXT) ++setTextSeen;
    if (msg.Msg == CN_COMMAND) commands.push_back(HIWORD(msg.WParam));
    TWinControl::WndProc(msg);
  }

 protected:
  void CreateParams(TCreateParams& params) override {
    TWinControl::CreateParams(params);
    CreateSubClass(params, "EDIT");
    params.Style |= ES_AUTOHSCROLL;
  }
};

bool PumpUntil(const std::function<bool()>& done) {
  // Waits for messages, not for time: the limit only stops a broken test.
  const DWORD limit = GetTickCount() + 5000;
  while (!done() && GetTickCount() < limit) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_ALLINPUT);
    PumpMessages();
  }
  return done();
}

TEST(WinControlWindow, IsMadeWhenParentedToAWindowAndLazilyOtherwise) {
  TTestForm form;
  auto* panel = new TPanel(&form.Form());
  EXPECT_FALSE(panel->HandleAllocated());
  panel->SetParent(&form.Form());
  ASSERT_TRUE(panel->HandleAllocated()) << "the form has a window, so the child gets one";
  EXPECT_EQ(GetParent(panel->Handle()), form->Handle());

  TForm* hidden = CreateForm<TForm>(nullptr);
  auto* child = new TPanel(hidden);
  child->SetParent(hidden);
  EXPECT_FALSE(hidden->HandleAllocated());
  EXPECT_FALSE(child->HandleAllocated());
  HWND childWindow = child->Handle();
  EXPECT_TRUE(hidden->HandleAllocated()) << "making the child's window makes the parent's";
  EXPECT_EQ(GetParent(childWindow), hidden->Handle());
  delete hidden;
  EXPECT_FALSE(IsWindow(childWindow));
}

// Counts its destructions in a shared counter.
class TCountedPanel : public TPanel {
 public:
  TCountedPanel(TComponent* owner, int& frees) : TPanel(owner), frees_(frees) {}
  ~TCountedPanel() override { ++frees_; }

 private:
  int& frees_;
};

TEST(WinControlOwnership, TheOwnerFreesEveryControlOnceWhateverItsParent) {
  int frees = 0;
  TForm* form = CreateForm<TForm>(nullptr);
  form->Show();
  auto* page = new TCountedPanel(form, frees);
  page->SetParent(form);
  auto* field = new TCountedPanel(form, frees);
  field->SetParent(page);
  auto* nested = new TCountedPanel(field, frees);
  nested->SetParent(page);
  TCountedPanel survivor(nullptr, frees);
  survivor.SetParent(page);
  ASSERT_TRUE(survivor.HandleAllocated());
  HWND fieldWindow = field->Handle();
  delete form;
  EXPECT_EQ(frees, 3) << "page, field and the field's own component";
  EXPECT_FALSE(IsWindow(fieldWindow));
  EXPECT_EQ(survivor.Parent(), nullptr) << "a control owned elsewhere keeps a dangling parent";
  EXPECT_FALSE(survivor.HandleAllocated()) << "its window went with the parent's";
}

TEST(WinControlWindow, StackingFollowsCreationOrderAndBringToFront) {
  TTestForm form;
  auto* a = form.Add<TPanel>(0, 0, 50, 50);
  auto* b = form.Add<TPanel>(10, 10, 50, 50);
  EXPECT_EQ(GetWindow(form->Handle(), GW_CHILD), b->Handle()) << "the later one lies above";
  a->BringToFront();
  EXPECT_EQ(GetWindow(form->Handle(), GW_CHILD), a->Handle());
  a->SendToBack();
  EXPECT_EQ(GetWindow(form->Handle(), GW_CHILD), b->Handle());

  // Children declared before their parent has a window get theirs with it,
  // in the same order.
  auto* page = new TPanel(&form.Form());
  std::vector<TPanel*> children;
  for (int i = 0; i < 3; ++i) {
    children.push_back(new TPanel(&form.Form()));
    children.back()->SetParent(page);
  }
  page->SetParent(&form.Form());
  HWND window = GetWindow(page->Handle(), GW_CHILD);
  for (auto it = children.rbegin(); it != children.rend(); ++it) {
    EXPECT_EQ(window, (*it)->Handle()) << "child " << (it.base() - children.begin() - 1);
    window = GetWindow(window, GW_HWNDNEXT);
  }
}

TEST(WinControlWindow, APlatformClassKeepsItsBehaviourUnderTheFrameworksProcedure) {
  TTestForm form;
  auto* edit = form.Add<TPlatformEdit>(0, 0, 100, 20);
  char className[64] = {};
  GetClassNameA(edit->Handle(), className, sizeof className);
  EXPECT_STREQ(className, "(anonymous namespace)::TPlatformEdit");
  SetWindowTextA(edit->Handle(), "hello");
  EXPECT_EQ(edit->setTextSeen, 1);
  char text[16] = {};
  GetWindowTextA(edit->Handle(), text, sizeof text);
  EXPECT_STREQ(text, "hello") << "the platform edit did not store the text";
  edit->commands.clear();
  SendMessageA(edit->Handle(), WM_CHAR, 'x', 0);
  EXPECT_EQ(edit->commands, std::vector<WORD>({EN_UPDATE, EN_CHANGE}))
      << "the parent did not reflect the edit's notifications";
}

TEST(WinControlErrorTrap, AnErrorInAHandlerIsReportedWithTheControlAndTheCallReturns) {
  TTestForm form;
  auto* panel = form.Add<TPanel>(0, 0, 50, 50);
  TErrorCapture errors;
  panel->throwKind = TPanel::Throw::kException;
  EXPECT_EQ(SendMessageA(panel->Handle(), kThrowMessage, 0, 0), 0);
  panel->throwKind = TPanel::Throw::kStd;
  SendMessageA(panel->Handle(), kThrowMessage, 0, 0);
  panel->throwKind = TPanel::Throw::kInt;
  SendMessageA(panel->Handle(), kThrowMessage, 0, 0);
  ASSERT_EQ(errors.Errors().size(), 3u);
  EXPECT_EQ(errors.Errors()[0].sender, panel);
  EXPECT_EQ(errors.Errors()[0].className, "EConvertError");
  EXPECT_EQ(errors.Errors()[0].message, "'x' ist kein g\xFCltiger Integerwert");
  EXPECT_EQ(errors.Errors()[1].className, "std::exception");
  EXPECT_EQ(errors.Errors()[1].message, "runtime");
  EXPECT_EQ(errors.Errors()[2].className, "unknown");
}

TEST(WinControlErrorTrap, AFailingPaintEndsThePaintAndReleasesEverything) {
  TTestForm form;
  auto* panel = form.Add<TPanel>(0, 0, 50, 50);
  TErrorCapture errors;
  panel->throwKind = TPanel::Throw::kException;
  panel->throwInPaint = true;
  panel->Repaint();
  const int before = GdiObjectCount();
  for (int i = 0; i < 50; ++i) panel->Repaint();
  EXPECT_EQ(errors.Errors().size(), 51u);
  RECT update{};
  EXPECT_FALSE(GetUpdateRect(panel->Handle(), &update, FALSE)) << "BeginPaint without EndPaint";
  EXPECT_EQ(GdiObjectCount(), before);
}

TEST(WinControlErrorTrap, ACanvasUsedOutsideAPaintIsReleasedWhenTheProcedureReturns) {
  TTestForm form;
  auto* panel = form.Add<TPanel>(0, 0, 50, 50);
  EXPECT_GT(panel->Canvas().TextWidth("abc"), 0);
  EXPECT_TRUE(panel->Canvas().HandleAllocated());
  SendMessageA(panel->Handle(), WM_NULL, 0, 0);
  EXPECT_FALSE(panel->Canvas().HandleAllocated());
}

TEST(WinControlFocus, TabOrderSkipsControlsThatCannotTakeTheFocus) {
  TTestForm form;
  auto* page = form.Add<TPanel>(0, 0, 200, 200);
  auto* hiddenPage = form.Add<TPanel>(0, 0, 200, 200);
  auto place = [](TWinControl* parent, bool tabStop) {
    auto* c = new TPanel(parent->Owner());
    c->SetParent(parent);
    c->SetTabStop(tabStop);
    return c;
  };
  auto* first = place(page, true);
  auto* noStop = place(page, false);
  auto* second = place(page, true);
  auto* onHidden = place(hiddenPage, true);
  hiddenPage->Hide();
  second->SetTabOrder(0);
  EXPECT_EQ(second->TabOrder(), 0);
  EXPECT_EQ(first->TabOrder(), 1);
  TForm& f = form.Form();
  EXPECT_EQ(f.FindNextControl(nullptr, true, true, false), second);
  EXPECT_EQ(f.FindNextControl(second, true, true, false), first);
  EXPECT_EQ(f.FindNextControl(first, true, true, false), second) << "must wrap around";
  EXPECT_EQ(f.FindNextControl(second, false, true, false), first);
  EXPECT_FALSE(onHidden->CanFocus());
  EXPECT_FALSE(noStop->TabStop());
}

TEST(WinControlFocus, FocusedFollowsTheFocusOnEveryWayItMoves) {
  TTestForm form;
  auto* a = form.Add<TPanel>(0, 0, 50, 50);
  auto* b = form.Add<TPanel>(60, 0, 50, 50);
  HWND plain = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 120, 0, 20, 20,
                               form->Handle(), nullptr, nullptr, nullptr);
  auto expectFocus = [&](TWinControl* expected, const char* step) {
    for (TWinControl* c : {a, b})
      EXPECT_EQ(c->Focused(), c == expected) << step << ", " << (c == a ? "a" : "b");
    EXPECT_EQ(GetFocus(), expected ? expected->Handle() : GetFocus()) << step;
  };
  a->SetFocus();
  expectFocus(a, "focused");
  ::SetFocus(b->Handle());
  expectFocus(b, "moved by the platform");
  ::SetFocus(plain);
  expectFocus(nullptr, "moved to a window that is no control");
  b->SetFocus();
  b->RecreateWnd();
  expectFocus(nullptr, "the focused window made anew");
  DestroyWindow(plain);
}

TEST(WinControlKeys, AReleaseHasTheShiftStateOfItsPressUnlessAKeyOrTheFocusMovedBetween) {
  TTestForm form;
  auto* a = form.Add<TPanel>(0, 0, 50, 50);
  auto* b = form.Add<TPanel>(60, 0, 50, 50);
  std::vector<bool> shifted;
  for (TPanel* p : {a, b})
    p->OnKeyUp = [&](TObject*, WORD&, TShiftState shift) { shifted.push_back(shift.Contains(ssShift)); };
  auto holdShift = [](bool down) {
    BYTE keys[256] = {};
    keys[VK_SHIFT] = down ? 0x80 : 0;
    SetKeyboardState(keys);
  };
  auto send = [](TWinControl* c, UINT msg, WORD key) { SendMessageA(c->Handle(), msg, key, 0); };
  a->SetFocus();
  // Shift+A; Shift comes up before A.
  holdShift(true);
  send(a, WM_KEYDOWN, 'A');
  holdShift(false);
  send(a, WM_KEYUP, VK_SHIFT);
  send(a, WM_KEYUP, 'A');
  EXPECT_EQ(shifted, (std::vector<bool>{false, false})) << "Shift released between";
  shifted.clear();
  holdShift(true);
  send(a, WM_KEYDOWN, 'A');
  holdShift(false);
  send(a, WM_KEYDOWN, 'B');
  send(a, WM_KEYUP, 'A');
  EXPECT_EQ(shifted, (std::vector<bool>{false})) << "another key pressed between";
  shifted.clear();
  holdShift(true);
  send(a, WM_KEYDOWN, 'A');
  b->SetFocus();
  holdShift(false);
  a->SetFocus();
  send(a, WM_KEYUP, 'A');
  EXPECT_EQ(shifted, (std::vector<bool>{false})) << "the focus went away and came back";
  shifted.clear();
  holdShift(true);
  send(a, WM_KEYDOWN, 'A');
  send(a, WM_KEYUP, 'A');
  holdShift(false);
  EXPECT_EQ(shifted, (std::vector<bool>{true})) << "Shift+A";
}

TEST(WinControlLayout, BottomAlignedChildrenSpanTheWidthAtTheBottom) {
  TTestForm form(200, 100);
  auto* bar = form.Add<TPanel>(0, 0, 10, 19);
  bar->SetAlign(alBottom);
  EXPECT_EQ(bar->BoundsRect(), TRect(0, 81, 200, 100));
  form->SetClientSize(300, 150);
  EXPECT_EQ(bar->BoundsRect(), TRect(0, 131, 300, 150));
}

TEST(WinControlLook, FontAndColourComeFromTheParentUntilSetOwn) {
  TTestForm form;
  auto* panel = form.Add<TPanel>(0, 0, 100, 100);
  auto* follower = new TPanel(&form.Form());
  follower->SetParentColor(true);
  follower->SetBounds(0, 0, 20, 20);
  follower->SetParent(panel);
  form->Font().SetName("Tahoma");
  EXPECT_EQ(panel->Font().Name(), "Tahoma");
  EXPECT_EQ(follower->Font().Name(), "Tahoma") << "grandchild did not follow";
  follower->Font().SetHeight(-20);
  EXPECT_FALSE(follower->ParentFont());
  form->Font().SetName("Arial");
  EXPECT_EQ(follower->Font().Name(), "Tahoma") << "an own font still followed the parent";
  panel->SetColor(clYellow);
  EXPECT_EQ(follower->Color(), clYellow);
  EXPECT_TRUE(PixelIs(RenderControl(*follower), 5, 5, clYellow));
}

TEST(WinControlLook, DoubleBufferingPaintsTheSamePixels) {
  TTestForm form;
  auto* panel = form.Add<TPanel>(0, 0, 60, 40);
  panel->SetColor(clTeal);
  const TPixels direct = RenderControl(*panel);
  panel->SetDoubleBuffered(true);
  const TPixels buffered = RenderControl(*panel);
  EXPECT_EQ(buffered.Count({0, 0, 60, 40}, ColorToRGB(clTeal)), 60 * 40);
  EXPECT_EQ(direct.Count({0, 0, 60, 40}, ColorToRGB(clTeal)), 60 * 40);
}

TEST(WinControlLayout, ScaleByScalesChildrenAndTheirOwnFonts) {
  TTestForm form;
  auto* panel = form.Add<TPanel>(0, 0, 150, 150);
  auto* child = new TPanel(&form.Form());
  child->SetBounds(10, 20, 30, 40);
  child->SetParent(panel);
  child->Font().SetHeight(-13);
  panel->ScaleBy(3, 2);
  EXPECT_EQ(panel->BoundsRect(), TRect(0, 0, 225, 225)) << "ScaleBy moved or misscaled the control";
  EXPECT_EQ(child->BoundsRect(), TRect(15, 30, 60, 90));
  EXPECT_EQ(child->Font().Height(), -20);
}

TEST(WinControlTimers, ATickReachesTimerTick) {
  TTestForm form;
  auto* panel = form.Add<TPanel>(0, 0, 10, 10);
  panel->StartTimer(7, 10);
  ASSERT_TRUE(PumpUntil([&] { return !panel->ticks.empty(); }));
  EXPECT_EQ(panel->ticks.front(), 7u);
}

TEST(WinControlTimers, TTimerTicksForWindowlessCodeAndTrapsErrors) {
  TErrorCapture errors;
  TTimer timer(nullptr);
  timer.SetInterval(10);
  int ticks = 0;
  timer.SetOnTimer([&](TObject*) {
    if (++ticks == 2) throw EAbort("stop");
  });
  ASSERT_TRUE(PumpUntil([&] { return ticks >= 3; }));
  timer.SetEnabled(false);
  ASSERT_GE(errors.Errors().size(), 1u);
  EXPECT_EQ(errors.Errors()[0].sender, &timer);
  EXPECT_EQ(errors.Errors()[0].className, "EAbort");
}

}  // namespace

namespace {

TEST(WinControlLookup, OnlyLiveWindowsOfThisProcessAreControls) {
  // The desktop's shell window belongs to Wine's explorer process.
  HWND foreign = GetShellWindow();
  if (!foreign) foreign = GetDesktopWindow();
  DWORD process = 0;
  GetWindowThreadProcessId(foreign, &process);
  ASSERT_NE(process, GetCurrentProcessId());
  EXPECT_EQ(FindControl(foreign), nullptr);
  TTestForm form;
  auto* panel = form.Add<TPanel>(0, 0, 50, 50);
  HWND first = panel->Handle();
  EXPECT_EQ(FindControl(first), panel);
  panel->RecreateWnd();
  ASSERT_NE(panel->Handle(), first);
  EXPECT_EQ(FindControl(first), nullptr) << "a destroyed window still leads to its control";
  EXPECT_EQ(FindControl(panel->Handle()), panel);
  EXPECT_EQ(FindControl(form->Handle()), &form.Form());
}

}  // namespace

namespace {

TEST(WinControlInvalidation, ABatchHandsOverTheSameAreaOnceWhenTheLastOneCloses) {
  TTestForm form;
  TPanel* panel = form.Add<TPanel>(0, 0, 200, 100);
  PumpMessages();
  HWND window = panel->Handle();
  const int gdiBefore = GdiObjectCount();
  {
    TInvalidationBatch outer(*panel);
    {
      TInvalidationBatch inner(*panel);
      panel->InvalidateRect({10, 10, 20, 20}, false);
      panel->InvalidateRect({40, 10, 50, 20}, false);
      panel->InvalidateRect({15, 15, 30, 30}, false);
    }
    EXPECT_FALSE(GetUpdateRect(window, nullptr, FALSE)) << "handed over before the last batch closed";
    panel->InvalidateRect({0, 90, 5, 95}, true);
    EXPECT_TRUE(GetUpdateRect(window, nullptr, FALSE)) << "an erasing invalidation waits for nothing";
    ValidateRect(window, nullptr);
  }
  EXPECT_EQ(GdiObjectCount(), gdiBefore) << "the gathered region is released";
  // The union of the three, without the erased one handled before.
  TRegionHandle expected(CreateRectRgn(10, 10, 20, 20));
  for (RECT r : {RECT{40, 10, 50, 20}, RECT{15, 15, 30, 30}}) {
    TRegionHandle part(CreateRectRgnIndirect(&r));
    CombineRgn(expected.Get(), expected.Get(), part.Get(), RGN_OR);
  }
  TRegionHandle actual(CreateRectRgn(0, 0, 0, 0));
  GetUpdateRgn(window, actual.Get(), FALSE);
  EXPECT_TRUE(EqualRgn(expected.Get(), actual.Get()));
  ValidateRect(window, nullptr);
}

}  // namespace
