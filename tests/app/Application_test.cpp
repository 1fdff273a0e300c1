// The application shell: title, application window, error reporting and its
// message boxes, the message loop, settings notifications.
#include <gtest/gtest.h>

#include <windowsx.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <utility>

#include "app/Application.h"
#include "app/FloatingPoint.h"
#include "app/ProgramError.h"
#include "calc/LocaleFormats.h"
#include "calc/NumberText.h"
#include "framework/CustomControl.h"
#include "framework/GraphicControl.h"
#include "support/MessageBoxCloser.h"
#include "support/TestForm.h"

namespace {

constexpr UINT kRaise = WM_APP + 7;

// Raises whatever the test puts into `raise` when it gets kRaise; counts
// the keys the loop hands it before their dispatch.
class TRaiser : public TCustomControl {
 public:
  explicit TRaiser(TComponent* owner) : TCustomControl(owner) { SetTabStop(true); }
  std::function<void()> raise;
  int keysOffered = 0;
  void WndProc(TMessage& msg) override {
    if (msg.Msg == kRaise && raise) {
      raise();
      return;
    }
    if (msg.Msg == CN_KEYDOWN) ++keysOffered;
    TCustomControl::WndProc(msg);
  }
};

// Takes the capture on a press and notes the end of its mouse mode.
class TPressable : public TGraphicControl {
 public:
  using TGraphicControl::TGraphicControl;
  bool cancelled = false;

 protected:
  void CancelMode() override {
    cancelled = true;
    TGraphicControl::CancelMode();
  }
};

class TMainForm : public TForm {
 public:
  explicit TMainForm(TComponent* owner) : TForm(owner) {
    SetClientSize(200, 100);
    raiser = new TRaiser(this);
    raiser->SetBounds(10, 10, 50, 20);
    raiser->SetParent(this);
    other = new TRaiser(this);
    other->SetBounds(10, 40, 50, 20);
    other->SetParent(this);
    pressable = new TPressable(this);
    pressable->SetBounds(100, 10, 50, 50);
    pressable->SetParent(this);
  }
  TRaiser* raiser;
  TRaiser* other;
  TPressable* pressable;
};

// An application with a shown main form.
class ApplicationTest : public ::testing::Test {
 protected:
  void SetUp() override {
    app = std::make_unique<TApplication>();
    app->CreateMainForm(form);
    form->Show();
    PumpMessages();
  }
  void TearDown() override {
    app.reset();
    PumpMessages();
  }
  // Sends kRaise to the main form's control, with `raise` as its action.
  void RaiseInHandler(std::function<void()> raise) {
    form->raiser->raise = std::move(raise);
    SendMessageA(form->raiser->Handle(), kRaise, 0, 0);
  }

  std::unique_ptr<TApplication> app;
  TMainForm* form = nullptr;
};

TEST(ApplicationTitle, ComesFromTheExecutableName) {
  struct Case {
    const char* path;
    const char* title;
  } cases[] = {
      {"C:\\Work\\MYTOOL.EXE", "Mytool"},
      {"my.calc.exe", "my"},
      {"C:\\a.b\\Tool", "Tool"},
      {"C:\\x\\Baudix.exe", "Baudix"},
      {"C:\\x\\baudix.exe", "baudix"},
      {"C:\\x\\bAUDIX.exe", "baudix"},
      {"X.EXE", "X"},
      {"C:\\x\\.hidden.exe", ""},
  };
  for (const Case& c : cases)
    EXPECT_EQ(TApplication::TitleFromPath(c.path), c.title) << "path " << c.path;
  // The path's bytes are in the system's code page and lowered there.
  if (GetACP() == 1252) {
    EXPECT_EQ(TApplication::TitleFromPath("C:\\x\\GR\xDC\xDF" "E.EXE"), "Gr\xFC\xDF" "e");
  }
}

TEST_F(ApplicationTest, TheApplicationWindowCarriesTheTitleAndOwnsTheForms) {
  char caption[64] = {};
  GetWindowTextA(app->Handle(), caption, sizeof caption);
  EXPECT_EQ(std::string(caption), app->Title());
  EXPECT_EQ(app->Title(), "app_application_test");
  EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(app->Handle(), GWL_STYLE)) & ~WS_VISIBLE,
            0x84CA0000u);
  RECT r{};
  GetWindowRect(app->Handle(), &r);
  EXPECT_EQ(r.right - r.left, 0);
  EXPECT_EQ(r.left, GetSystemMetrics(SM_CXSCREEN) / 2);
  HMENU menu = GetSystemMenu(app->Handle(), FALSE);
  for (UINT command : {SC_MAXIMIZE, SC_SIZE, SC_MOVE})
    EXPECT_EQ(GetMenuState(menu, command, MF_BYCOMMAND), static_cast<UINT>(-1))
        << "system menu still has command " << std::hex << command;
  EXPECT_EQ(GetWindow(form->Handle(), GW_OWNER), app->Handle());
  EXPECT_EQ(app->MainForm(), form);
}

TEST_F(ApplicationTest, AnErrorInAHandlerShowsOneBoxAndTheProgramGoesOn) {
  TMessageBoxCloser closer;
  // A failed conversion, as when the frequency field holds "-".
  RaiseInHandler([] { TextToInteger("-"); });
  ASSERT_EQ(closer.Boxes().size(), 1u);
  EXPECT_EQ(closer.Boxes()[0].text, "'-' ist kein g\xFCltiger Integerwert.");
  EXPECT_EQ(closer.Boxes()[0].caption, app->Title());
  EXPECT_TRUE(closer.Boxes()[0].hasIcon);
  EXPECT_EQ(closer.Boxes()[0].owner, form->Handle()) << "the box belongs to the active window";
  bool ranAgain = false;
  RaiseInHandler([&] { ranAgain = true; });
  EXPECT_TRUE(ranAgain);
  EXPECT_EQ(closer.Boxes().size(), 1u);
}

TEST_F(ApplicationTest, AFullStopIsAddedAfterCharactersAboveTheFullStop) {
  struct Case {
    const char* message;
    const char* shown;
  } cases[] = {
      {"Fertig.", "Fertig."},   {"Achtung!", "Achtung!"}, {"Wirklich?", "Wirklich?."},
      {"(a)", "(a)"},           {"Wert 5", "Wert 5."},    {"Pfad/", "Pfad/."},
      {"Ende ", "Ende "},       {"gr\xFC\xDF", "gr\xFC\xDF."}, {"-", "-"},
      {"x:", "x:."},
  };
  TMessageBoxCloser closer;
  for (const Case& c : cases) RaiseInHandler([&] { throw Exception(c.message); });
  ASSERT_EQ(closer.Boxes().size(), std::size(cases));
  for (size_t i = 0; i < std::size(cases); ++i)
    EXPECT_EQ(closer.Boxes()[i].text, cases[i].shown) << "message \"" << cases[i].message << "\"";
}

TEST_F(ApplicationTest, EAbortShowsNothingAndTheHookReplacesTheBox) {
  TMessageBoxCloser closer;
  RaiseInHandler([] { throw EAbort("still"); });
  EXPECT_TRUE(closer.Boxes().empty());
  TObject* hookSender = nullptr;
  app->OnError = [&](TObject* sender, std::exception_ptr) { hookSender = sender; };
  RaiseInHandler([] { throw EConvertError("x"); });
  EXPECT_TRUE(closer.Boxes().empty());
  EXPECT_EQ(hookSender, form->raiser);
}

TEST_F(ApplicationTest, TheCaptureIsReleasedBeforeTheBoxOpens) {
  TMessageBoxCloser closer;
  HWND captureDuringBox = reinterpret_cast<HWND>(1);
  closer.OnBox = [&](HWND) { captureDuringBox = GetCapture(); };
  SendMessageA(form->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(110, 20));
  ASSERT_TRUE(form->pressable->MouseCapture());
  RaiseInHandler([] { throw EConvertError("x"); });
  ASSERT_EQ(closer.Boxes().size(), 1u);
  EXPECT_EQ(captureDuringBox, nullptr);
  EXPECT_TRUE(form->pressable->cancelled) << "the pressed control was not told";
}

TEST_F(ApplicationTest, AnErrorThatIsNoExceptionGetsTheGenericBox) {
  TMessageBoxCloser closer;
  RaiseInHandler([] { throw std::runtime_error("kaputt"); });
  ASSERT_EQ(closer.Boxes().size(), 1u);
  EXPECT_EQ(closer.Boxes()[0].caption, "Anwendungsfehler");
  EXPECT_EQ(closer.Boxes()[0].owner, nullptr);
  const std::string& text = closer.Boxes()[0].text;
  EXPECT_EQ(text.rfind("Exception std::exception in Modul app_Application_test.exe bei ", 0), 0u)
      << text;
  EXPECT_NE(text.find(".\r\nkaputt.\r\n"), std::string::npos) << text;
}

TEST_F(ApplicationTest, TheBoxDisablesTheOtherWindowsAndGivesTheFocusBack) {
  std::unique_ptr<TForm> second(CreateForm<TForm>(nullptr));
  second->Show();
  SetActiveWindow(form->Handle());
  form->other->SetFocus();
  PumpMessages();
  ASSERT_EQ(GetFocus(), form->other->Handle());
  TMessageBoxCloser closer;
  bool secondEnabledDuringBox = true;
  closer.OnBox = [&](HWND) { secondEnabledDuringBox = IsWindowEnabled(second->Handle()); };
  RaiseInHandler([] { throw EConvertError("x"); });
  ASSERT_EQ(closer.Boxes().size(), 1u);
  EXPECT_FALSE(secondEnabledDuringBox);
  EXPECT_TRUE(IsWindowEnabled(second->Handle()));
  EXPECT_TRUE(IsWindowEnabled(form->Handle()));
  EXPECT_EQ(GetFocus(), form->other->Handle());
}

TEST_F(ApplicationTest, ASettingsNotificationReloadsTheDecimalSeparatorOfTheUsersLocale) {
  char system[2] = {};
  GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, system, sizeof system);
  // A thread locale set elsewhere, with another separator, gives way to the
  // user's before the reload.
  const LANGID other = system[0] == ',' ? MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US)
                                        : MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN);
  SetThreadLocale(MAKELCID(other, SORT_DEFAULT));
  constexpr char kStale = '#';  // no system's separator
  const char saved = LocaleFormats.DecimalSeparator;
  LocaleFormats.DecimalSeparator = kStale;
  SendMessageA(app->Handle(), WM_WININICHANGE, 0, 0);
  EXPECT_EQ(GetThreadLocale(), GetUserDefaultLCID());
  EXPECT_EQ(LocaleFormats.DecimalSeparator, system[0]) << "not reloaded from the user's locale";
  LocaleFormats.DecimalSeparator = kStale;
  SendMessageA(app->Handle(), RegisterWindowMessageA("TaskbarCreated"), 0, 0);
  EXPECT_EQ(LocaleFormats.DecimalSeparator, system[0]);
  app->UpdateFormatSettings = false;
  LocaleFormats.DecimalSeparator = kStale;
  SendMessageA(app->Handle(), WM_WININICHANGE, 0, 0);
  EXPECT_EQ(LocaleFormats.DecimalSeparator, kStale) << "reloaded although switched off";
  LocaleFormats.DecimalSeparator = saved;
}

TEST_F(ApplicationTest, ClosingTheMainFormEndsTheLoop) {
  PostMessageA(form->Handle(), WM_CLOSE, 0, 0);
  app->RunLoop();
  EXPECT_TRUE(app->Terminated());
  EXPECT_FALSE(app->Running());
  EXPECT_TRUE(IsWindow(form->Handle())) << "the form goes with the application object";
}

TEST_F(ApplicationTest, CloseFromTheTaskbarButtonClosesTheMainForm) {
  PostMessageA(app->Handle(), WM_CLOSE, 0, 0);
  app->RunLoop();
  EXPECT_TRUE(app->Terminated());
}

TEST_F(ApplicationTest, TabGoesThroughTheLoopToTheForm) {
  form->raiser->SetFocus();
  PumpMessages();
  ASSERT_EQ(GetFocus(), form->raiser->Handle());
  PostMessageA(form->raiser->Handle(), WM_KEYDOWN, VK_TAB, 0);
  while (app->ProcessOneMessage()) {
  }
  EXPECT_EQ(GetFocus(), form->other->Handle());
}

TEST_F(ApplicationTest, KeysGoFirstToTheFrameworkWindowHoldingTheCapture) {
  HWND plain = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 160, 70, 20, 20,
                               form->Handle(), nullptr, nullptr, nullptr);
  form->raiser->SetFocus();
  PumpMessages();
  auto offeredTo = [&] {
    form->raiser->keysOffered = form->other->keysOffered = 0;
    PostMessageA(form->raiser->Handle(), WM_KEYDOWN, 'A', 0);
    while (app->ProcessOneMessage()) {
    }
    return std::pair{form->raiser->keysOffered, form->other->keysOffered};
  };
  EXPECT_EQ(offeredTo(), std::pair(1, 0)) << "no capture: the focused control";
  form->other->SetMouseCapture(true);
  EXPECT_EQ(offeredTo(), std::pair(0, 1)) << "taken through the framework";
  SetCapture(plain);
  EXPECT_EQ(offeredTo(), std::pair(1, 0)) << "taken by a window that is no control";
  form->other->SetMouseCapture(true);
  ReleaseCapture();
  EXPECT_EQ(offeredTo(), std::pair(1, 0)) << "released by the platform call";
  DestroyWindow(plain);
}

TEST_F(ApplicationTest, TheIdleStepFollowsTheControlUnderTheMouseAndKeepsItsHint) {
  form->pressable->SetHint("Knopf");
  // As the loop runs it: the waiting messages first; one posted after them
  // lets the idle step's WaitMessage return at once.
  auto idle = [&] {
    PostMessageA(form->Handle(), WM_NULL, 0, 0);
    while (app->ProcessOneMessage()) {
    }
    PostMessageA(form->Handle(), WM_NULL, 0, 0);
    app->Idle();
    return MouseControl();
  };
  const TPoint over = form->pressable->ClientToScreen({5, 5});
  ASSERT_TRUE(SetCursorPos(over.X, over.Y));
  EXPECT_EQ(idle(), form->pressable);
  EXPECT_EQ(app->CurrentHint(), "Knopf");
  const TPoint beside = form->raiser->ClientToScreen({5, 5});
  SetCursorPos(beside.X, beside.Y);
  EXPECT_EQ(idle(), form->raiser);
  EXPECT_EQ(app->CurrentHint(), "");

  // The mouse stands still while the controls under it change.
  SetWindowPos(form->raiser->Handle(), nullptr, 10, 70, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  EXPECT_EQ(idle(), form) << "a window moved away by the platform";
  form->pressable->SetBounds(0, 0, 50, 50);
  EXPECT_EQ(idle(), form->pressable) << "a windowless control moved under it";
  EXPECT_EQ(app->CurrentHint(), "Knopf");
  form->pressable->SetVisible(false);
  EXPECT_EQ(idle(), form) << "a windowless control hidden";

  // The pointer leaves for another program's window, the desktop's here:
  // no pointer message reaches this program, but the next message it gets
  // carries the new point.
  RECT frame{};
  GetWindowRect(form->Handle(), &frame);
  const POINT away{frame.right + 20, frame.top + 20};
  DWORD owner = 0;
  GetWindowThreadProcessId(WindowFromPoint(away), &owner);
  ASSERT_NE(owner, GetCurrentProcessId()) << "the point is not over another program's window";
  SetCursorPos(away.x, away.y);
  EXPECT_EQ(idle(), nullptr) << "the pointer left for another program's window";
  PumpMessages();
}

TEST_F(ApplicationTest, ShowRequestsStartMaximizedOrMinimized) {
  app->ApplyShowRequest(SW_SHOWNORMAL);
  EXPECT_EQ(form->WindowState(), wsNormal);
  app->ApplyShowRequest(SW_SHOWMAXIMIZED);
  EXPECT_EQ(form->WindowState(), wsMaximized);
  app->ApplyShowRequest(SW_SHOWMINNOACTIVE);
  EXPECT_EQ(form->WindowState(), wsMinimized);
}

TEST_F(ApplicationTest, AnX87FaultBecomesAnErrorOfItsKindAndTheControlWordComesBack) {
  SetFpuControlWord();
  InstallFpuFaultBridge();
  ASSERT_EQ(FpuControlWord(), 0x1372) << "bit 6 reads as 1";
  TMessageBoxCloser closer;
  RaiseInHandler([] {
    volatile long double zero = 0;
    volatile long double one = 1;
    volatile long double result = one / zero;
    (void)result;
  });
  RaiseInHandler([] {
    volatile long double big = 1e4000L;
    volatile long double result = big * big;
    (void)result;
  });
  RaiseInHandler([] {
    volatile long double zero = 0;
    volatile long double result = zero / zero;
    (void)result;
  });
  ASSERT_EQ(closer.Boxes().size(), 3u);
  EXPECT_EQ(closer.Boxes()[0].text, "Gleitkommadivision durch Null.");
  EXPECT_EQ(closer.Boxes()[1].text, "Gleitkomma\xFC" "berlauf.");
  EXPECT_EQ(closer.Boxes()[2].text, "Ung\xFC" "ltige Gleitkommaoperation.");
  EXPECT_EQ(FpuControlWord(), 0x1372);
}

}  // namespace

namespace {

TEST(ProgramError, TheGenericBoxNamesClassModuleAndMessage) {
  std::exception_ptr error;
  try {
    throw EOutOfResources("Fehler beim Erzeugen einer Fensterklasse");
  } catch (...) {
    error = std::current_exception();
  }
  const std::string text = ProgramErrorText(error);
  const std::string start = "Exception EOutOfResources in Modul app_Application_test.exe bei ";
  ASSERT_EQ(text.rfind(start, 0), 0u) << text;
  const std::string address = text.substr(start.size(), 8);
  EXPECT_EQ(address.find_first_not_of("0123456789ABCDEF"), std::string::npos) << text;
  EXPECT_NE(address, "00000000") << "the throwing place was not found";
  EXPECT_EQ(text.substr(start.size() + 8), ".\r\nFehler beim Erzeugen einer Fensterklasse.\r\n");
}

}  // namespace
