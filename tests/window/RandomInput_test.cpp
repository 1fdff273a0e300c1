// The live window under a long, seeded stream of random user input: typed
// characters of every code, keys with Shift, Ctrl and Alt, clipboard pastes,
// mouse gestures over every control, double and right clicks, the wheel,
// page switches, focus changes and models typed into the list. After every
// step the window must still make sense: the only boxes are conversion
// errors, each field holds at most eight digits and "-", the closed list
// shows the model that the status bar, the captions, the frequency label and
// the headers name, the table is what the calculation core gives for the
// fields' texts and that model (for the ATmega128's family: what exact
// arithmetic gives), and neither GDI objects nor windows pile up.
//
// BAUDIX_SEED=<n> replays a run (every run prints its seed), BAUDIX_STEPS=<n>
// sets its length and BAUDIX_SECONDS=<n> the time after which it stops early.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <random>
#include <string>
#include <thread>

#include "Unit1.h"
#include "app/Application.h"
#include "calc/ExactUsart.h"
#include "calc/LocaleFormats.h"
#include "calc/UsartTable.h"
#include "support/GdiCounter.h"
#include "support/MessageBoxCloser.h"
#include "support/TestForm.h"
#include "support/WindowCount.h"
#include "window/support/CoreTable.h"
#include "widgets/QelBackPanel.h"
#include "widgets/QelComboBox.h"
#include "widgets/QelLabel.h"
#include "widgets/QelMaskEdit.h"
#include "widgets/QelSpeedButton.h"
#include "widgets/QelStaticText.h"
#include "widgets/StatusBar.h"

namespace {

constexpr int kDefaultSteps = 10000;
// A run stops early rather than outlast CTest's limit on a slow machine.
constexpr int kDefaultSeconds = 90;
// No step takes this long unless the window hangs.
constexpr auto kStallLimit = std::chrono::seconds(30);
constexpr int kCountEvery = 20;
// Above the count after the warm-up: the focused field's off-screen bitmap
// and its device context, and fonts the recently-used cache has not held yet.
constexpr int kGdiSlack = 4;
constexpr size_t kFieldLimit = 8;
// Longer than the grid's 60 ms drag timer and the button's 100 ms check.
constexpr DWORD kTimerTicksMs = 120;
constexpr size_t kRecentActions = 12;
// A button held longer than this in a loop of the platform's is let go.
constexpr UINT kLetGoAfterMs = 300;
// After this pause the list's typed search starts anew.
constexpr DWORD kSearchBurstMs = 500;

uint64_t EnvironmentNumber(const char* name, uint64_t fallback) {
  const char* text = std::getenv(name);
  return text && *text ? std::strtoull(text, nullptr, 10) : fallback;
}

// The value of a field's text as the recalculation must read it, decided
// here from the characters alone: empty is 0, otherwise an optional "-"
// and at least one digit; anything else does not convert.
std::optional<int64_t> FieldValue(const std::string& text) {
  if (text.empty()) return 0;
  const size_t digits = text[0] == '-' ? 1 : 0;
  if (digits == text.size()) return std::nullopt;
  int64_t value = 0;
  for (size_t i = digits; i < text.size(); ++i) {
    if (text[i] < '0' || text[i] > '9') return std::nullopt;
    value = value * 10 + (text[i] - '0');
  }
  return digits ? -value : value;
}

std::string ConversionMessage(const std::string& text) {
  return "'" + text + "' ist kein g\xFCltiger Integerwert.";
}

// Ends the process with the seed on record when a step stops returning:
// a hung window would otherwise only show as CTest's timeout.
class TStallWatch {
 public:
  explicit TStallWatch(uint64_t seed) : seed_(seed), thread_([this] { Watch(); }) {}
  TStallWatch(const TStallWatch&) = delete;
  TStallWatch& operator=(const TStallWatch&) = delete;
  ~TStallWatch() {
    {
      std::lock_guard lock(mutex_);
      stop_ = true;
    }
    wake_.notify_one();
    thread_.join();
  }
  void Step(int step) { step_ = step; }

 private:
  void Watch() {
    std::unique_lock lock(mutex_);
    int seen = -1;
    while (!wake_.wait_for(lock, kStallLimit, [this] { return stop_; })) {
      const int now = step_;
      if (now == seen) {
        std::fprintf(stderr, "step %d has not returned for %lld s; replay with BAUDIX_SEED=%llu\n",
                     now, static_cast<long long>(kStallLimit.count()),
                     static_cast<unsigned long long>(seed_));
        std::fflush(stderr);
        std::_Exit(3);
      }
      seen = now;
    }
  }

  uint64_t seed_;
  std::atomic<int> step_{0};
  std::mutex mutex_;
  std::condition_variable wake_;
  bool stop_ = false;
  std::thread thread_;
};

class RandomInput : public ::testing::Test {
 protected:
  void SetUp() override {
    setup_ = std::make_unique<TProgramSetup>();
    LocaleFormats.DecimalSeparator = '.';
    Application->CreateMainForm(Form1);
    Form1->SetVisible(true);
    PumpMessages();
    closer_.OnBox = [this](HWND) {
      boxFields_.push_back({Form1->QelMaskEdit1->Text(), Form1->QelMaskEdit2->Text()});
    };
  }
  void TearDown() override {
    BYTE released[256] = {};
    SetKeyboardState(released);
    setup_.reset();
  }

  // Runs the messages a step caused through the program's own loop (key
  // preview, dialog keys), boxes and menus included.
  static void Pump() {
    while (Application->ProcessOneMessage()) {
    }
  }

  int Random(int bound) { return static_cast<int>(rng_() % static_cast<uint64_t>(bound)); }
  bool Chance(int percent) { return Random(100) < percent; }

  void Note(std::string action) {
    recent_.push_back(std::move(action));
    if (recent_.size() > kRecentActions) recent_.pop_front();
  }
  std::string Replay() const {
    std::string text = "seed " + std::to_string(seed_) + " (BAUDIX_SEED), step " +
                       std::to_string(step_) + "; last actions:";
    for (const auto& action : recent_) text += "\n  " + action;
    return text;
  }

  // Where keyboard input goes: the focused window, else the window.
  static HWND KeyTarget() {
    HWND focus = GetFocus();
    return focus ? focus : Form1->Handle();
  }

  // --- actions -------------------------------------------------------------

  void TypeCharacter() {
    static const char kTypical[] = "0123456789--";
    const int code = Chance(50) ? static_cast<unsigned char>(kTypical[Random(sizeof kTypical - 1)])
                                : Random(256);
    Note("char " + std::to_string(code));
    PostMessageA(KeyTarget(), WM_CHAR, code, 1);
    Pump();
  }

  // A key pressed and released with modifiers held, as the platform reports
  // it: keyboard state, the modifiers' own messages, system keys with Alt.
  void PressKey(WORD key, bool shift, bool ctrl, bool alt) {
    Note(std::string("key ") + std::to_string(key) + (shift ? " +shift" : "") +
         (ctrl ? " +ctrl" : "") + (alt ? " +alt" : ""));
    BYTE state[256] = {};
    if (shift) state[VK_SHIFT] = state[VK_LSHIFT] = 0x80;
    if (ctrl) state[VK_CONTROL] = state[VK_LCONTROL] = 0x80;
    if (alt) state[VK_MENU] = state[VK_LMENU] = 0x80;
    SetKeyboardState(state);
    constexpr LPARAM kAltDown = LPARAM(1) << 29;
    constexpr LPARAM kKeyUp = LPARAM(0xC0000001);
    const UINT down = alt || key == VK_F10 ? WM_SYSKEYDOWN : WM_KEYDOWN;
    const UINT up = alt || key == VK_F10 ? WM_SYSKEYUP : WM_KEYUP;
    const LPARAM altBit = alt ? kAltDown : 0;
    HWND target = KeyTarget();
    if (shift) PostMessageA(target, down, VK_SHIFT, 1 | altBit);
    if (ctrl) PostMessageA(target, down, VK_CONTROL, 1 | altBit);
    if (alt) PostMessageA(target, WM_SYSKEYDOWN, VK_MENU, 1 | altBit);
    PostMessageA(target, down, key, 1 | altBit);
    PostMessageA(target, up, key, kKeyUp | altBit);
    Pump();
    BYTE released[256] = {};
    SetKeyboardState(released);
    target = KeyTarget();
    if (shift) PostMessageA(target, WM_KEYUP, VK_SHIFT, kKeyUp);
    if (ctrl) PostMessageA(target, WM_KEYUP, VK_CONTROL, kKeyUp);
    if (alt) PostMessageA(target, WM_SYSKEYUP, VK_MENU, kKeyUp);
    Pump();
  }

  void RandomKey() {
    static const WORD kKeys[] = {
        VK_LEFT, VK_RIGHT,  VK_HOME,   VK_END,    VK_BACK, VK_DELETE,    VK_INSERT,   VK_TAB,
        VK_BACK, VK_DELETE, VK_RETURN, VK_ESCAPE, VK_UP,   VK_DOWN,      VK_PRIOR,    VK_NEXT,
        VK_F1,   VK_F4,     VK_F10,    VK_SPACE,  VK_APPS, 'A',          'C',         'V',
        'X',     'Z',       'Y',       '0',       '7',     VK_OEM_MINUS, VK_SUBTRACT, VK_NUMPAD5};
    const WORD key = kKeys[Random(sizeof kKeys / sizeof kKeys[0])];
    const bool alt = Chance(15) && key != VK_F4;  // Alt+F4 would end the program
    PressKey(key, Chance(25), Chance(25), alt);
  }

  void Paste() {
    static const char kAlphabet[] = "0123456789012345678901234567890123456789--+ aZ,.\t\xE4\xFF";
    std::string text;
    for (int n = Random(11); n > 0; --n) text += kAlphabet[Random(sizeof kAlphabet - 1)];
    Note("clipboard \"" + text + "\"");
    if (OpenClipboard(Form1->Handle())) {
      EmptyClipboard();
      if (HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1)) {
        std::memcpy(GlobalLock(memory), text.c_str(), text.size() + 1);
        GlobalUnlock(memory);
        if (!SetClipboardData(CF_TEXT, memory)) GlobalFree(memory);
      }
      CloseClipboard();
    }
    switch (Random(3)) {
      case 0:
        PressKey('V', false, true, false);
        break;
      case 1:
        PressKey(VK_INSERT, true, false, false);
        break;
      default:
        Note("WM_PASTE");
        PostMessageA(KeyTarget(), WM_PASTE, 0, 0);
        Pump();
    }
  }

  // A point in the window's client area, mostly over a control that reacts
  // to the mouse, sometimes just beside it.
  POINT RandomPoint() {
    TControl* const kTargets[] = {Form1->QelMaskEdit1,     Form1->QelMaskEdit2,
                                  Form1->StringGrid_USART, Form1->StringGrid_USART,
                                  Form1->QelComboBox1,     Form1->QelSpeedButton1,
                                  Form1->QelBackPanel1,    Form1->StatusBar1};
    TControl* target = kTargets[Random(sizeof kTargets / sizeof kTargets[0])];
    RECT r{0, 0, target->Width(), target->Height()};
    if (Chance(20)) InflateRect(&r, 12, 12);
    return InWindow(*target, {r.left + Random(r.right - r.left), r.top + Random(r.bottom - r.top)});
  }

  // A point of the control in the window's client coordinates.
  static POINT InWindow(const TControl& control, POINT p) {
    for (const TControl* c = &control; c && c != Form1; c = c->Parent()) {
      p.x += c->Left();
      p.y += c->Top();
    }
    return p;
  }

  static std::string At(POINT p) {
    return " at " + std::to_string(p.x) + "," + std::to_string(p.y);
  }

  // Posts a mouse message where the platform would deliver it: to the window
  // holding the capture, else to the visible window under the point.
  void PostMouse(UINT msg, WPARAM keys, POINT client) {
    POINT screen = client;
    ClientToScreen(Form1->Handle(), &screen);
    HWND target = GetCapture();
    if (!target) target = WindowFromPoint(screen);
    DWORD process = 0;
    if (!target || GetWindowThreadProcessId(target, &process) != GetCurrentThreadId()) return;
    POINT local = screen;
    ScreenToClient(target, &local);
    PostMessageA(target, msg, keys, MAKELPARAM(local.x, local.y));
  }

  // A press or a move with the button held can start a loop of the
  // platform's own that holds the mouse until the button comes up (a scroll
  // bar's, the open model list's): the user lets go after a while.
  static void PumpWithButtonHeld() {
    const UINT_PTR timer = SetTimer(nullptr, 0, kLetGoAfterMs, [](HWND, UINT, UINT_PTR, DWORD) {
      PostMessageA(GetCapture() ? GetCapture() : Form1->Handle(), WM_LBUTTONUP, 0, 0);
    });
    Pump();
    KillTimer(nullptr, timer);
  }

  void MouseGesture() {
    POINT p = RandomPoint();
    const WPARAM held = Chance(20) ? MK_SHIFT : 0;
    const int moves = Random(5);
    Note("drag" + At(p) + " with " + std::to_string(moves) + " moves" + (held ? " +shift" : ""));
    PostMouse(WM_MOUSEMOVE, held, p);
    PostMouse(WM_LBUTTONDOWN, MK_LBUTTON | held, p);
    PumpWithButtonHeld();
    for (int i = 0; i < moves; ++i) {
      p = Chance(50) ? RandomPoint() : POINT{p.x + Random(41) - 20, p.y + Random(21) - 10};
      PostMouse(WM_MOUSEMOVE, MK_LBUTTON | held, p);
      PumpWithButtonHeld();
      // Now and then the button is held long enough for the timers to tick:
      // the grid's drag scrolling, the button's hot check.
      if (Chance(3)) {
        Sleep(kTimerTicksMs);
        PumpWithButtonHeld();
      }
    }
    PostMouse(WM_LBUTTONUP, held, p);
    Pump();
  }

  // Mouse messages at one point, then handled.
  void Clicks(const char* what, POINT p, std::initializer_list<std::pair<UINT, WPARAM>> messages) {
    Note(what + At(p));
    for (const auto& [msg, keys] : messages) PostMouse(msg, keys, p);
    Pump();
  }
  void DoubleClick() {
    Clicks("double click", RandomPoint(),
           {{WM_LBUTTONDOWN, MK_LBUTTON},
            {WM_LBUTTONUP, 0},
            {WM_LBUTTONDBLCLK, MK_LBUTTON},
            {WM_LBUTTONUP, 0}});
  }
  void RightClick() {
    Clicks("right click", RandomPoint(), {{WM_RBUTTONDOWN, MK_RBUTTON}, {WM_RBUTTONUP, 0}});
  }

  void Wheel() {
    const int delta = (Random(2) ? 1 : -1) * WHEEL_DELTA * (1 + Random(3));
    Note("wheel " + std::to_string(delta));
    POINT screen = RandomPoint();
    ClientToScreen(Form1->Handle(), &screen);
    PostMessageA(KeyTarget(), WM_MOUSEWHEEL, MAKEWPARAM(0, delta), MAKELPARAM(screen.x, screen.y));
    Pump();
  }

  void HelpCommand() {
    Note("help command");
    PostMessageA(Form1->Handle(), WM_SYSCOMMAND, SC_CONTEXTHELP, 0);
    Pump();
  }

  void ClickOk() {
    const TControl& ok = *Form1->QelSpeedButton1;
    Clicks("OK button", InWindow(ok, {ok.Width() / 2, ok.Height() / 2}),
           {{WM_LBUTTONDOWN, MK_LBUTTON}, {WM_LBUTTONUP, 0}});
  }

  void MoveFocus() {
    TWinControl* const kControls[] = {Form1->QelMaskEdit1, Form1->QelMaskEdit2, Form1->QelComboBox1,
                                      Form1->StringGrid_USART};
    const int pick = Random(5);
    if (pick == 4) {
      Note("focus to nothing");
      SetFocus(nullptr);
    } else {
      Note("focus to " + kControls[pick]->Name());
      SetFocus(kControls[pick]->Handle());
    }
    Pump();
  }

  // A model's name typed into the list, as its typed search takes it.
  void ChooseModel() {
    const auto models = AvrModels();
    const std::string name = models[Random(static_cast<int>(models.size()))].name;
    Note("model \"" + name + "\" typed into the list");
    TypeIntoList(name);
  }
  // Each character is handled before the next comes, as typed: an error box
  // that one raises takes the keyboard until it closes.
  static void TypeIntoList(const std::string& text) {
    HWND list = Form1->QelComboBox1->Handle();
    SetFocus(list);
    for (char c : text) {
      PostMessageA(list, WM_CHAR, static_cast<unsigned char>(c), 1);
      Pump();
    }
  }

  void RandomStep() {
    const int roll = Random(100);
    if (roll < 30) return TypeCharacter();
    if (roll < 55) return RandomKey();
    if (roll < 64) return Paste();
    if (roll < 80) return MouseGesture();
    if (roll < 84) return DoubleClick();
    if (roll < 86) return RightClick();
    if (roll < 89) return Wheel();
    if (roll < 93) return HelpCommand();
    if (roll < 95) return ClickOk();
    if (roll < 97) return ChooseModel();
    MoveFocus();
  }

  // --- checks --------------------------------------------------------------

  void CheckField(const TQelMaskEdit& field) {
    const std::string& text = field.Text();
    EXPECT_LE(text.size(), kFieldLimit) << field.Name() << " holds \"" << text << "\"";
    EXPECT_EQ(text.find_first_not_of("0123456789-"), std::string::npos)
        << field.Name() << " holds \"" << text << "\"";
  }

  void CheckNewBoxes() {
    const auto& boxes = closer_.Boxes();
    for (; boxesChecked_ < boxes.size(); ++boxesChecked_) {
      const TSeenBox& box = boxes[boxesChecked_];
      const auto& [frequency, baudRate] = boxFields_[boxesChecked_];
      EXPECT_EQ(box.caption, Application->Title());
      EXPECT_TRUE(box.hasIcon);
      // The text that failed: one of the fields, or a lone "-" that the
      // field emptied as the box took the focus.
      bool known = false;
      for (const std::string& text : {frequency, baudRate, std::string("-")})
        known = known || (!FieldValue(text) && box.text == ConversionMessage(text));
      EXPECT_TRUE(known) << "box \"" << box.text << "\" while the fields held \"" << frequency
                         << "\" and \"" << baudRate << "\"";
    }
  }

  // The model the status bar names, which the closed list shows: the rows
  // of the open one are only looked at until it closes.
  const TAvrModel& ShownModel() {
    const std::string& name = Form1->StatusBar1->Panels()[0].Text();
    const TAvrModel* model = FindAvrModel(name);
    EXPECT_TRUE(model) << "the status bar names \"" << name << "\"";
    if (!Form1->QelComboBox1->DroppedDown()) {
      EXPECT_EQ(Form1->QelComboBox1->Text(), name);
    }
    return model ? *model : DefaultAvrModel();
  }

  void CheckModelTexts(const TAvrModel& model) {
    const TBaudFamilyInfo& family = FamilyInfo(model.family);
    EXPECT_EQ(Form1->QelLabel2->Caption(), family.frequencyLabel) << model.name;
    EXPECT_EQ(Form1->QelStaticText1->Caption(), family.captions[0]) << model.name;
    EXPECT_EQ(Form1->QelStaticText2->Caption(), family.captions[1]) << model.name;
    for (int col = 0; col < kUsartColumnCount; ++col)
      EXPECT_EQ(Form1->StringGrid_USART->Cells(col, 0), UsartHeader(model.family, col))
          << model.name;
  }

  void CheckTable(const TAvrModel& model) {
    const auto f = FieldValue(Form1->QelMaskEdit1->Text());
    const auto b = FieldValue(Form1->QelMaskEdit2->Text());
    if (!f || !b) return;
    std::string mismatch;
    if (model.family == DefaultAvrModel().family) {
      TUsartTable shown(Form1->QelMaskEdit1->Text(), Form1->QelMaskEdit2->Text());
      for (int row = 1; row < TUsartTable::kRows; ++row)
        for (int col = 0; col < kUsartColumnCount; ++col)
          shown.SetCell(col, row, Form1->StringGrid_USART->Cells(col, row));
      mismatch = exact::TableMismatch(shown, ExactU2X0, ExactU2X1, *f, *b, '.');
    } else {
      mismatch = TCoreTable(Form1->QelMaskEdit1->Text(), Form1->QelMaskEdit2->Text(), model)
                     .Mismatch(*Form1->StringGrid_USART);
    }
    EXPECT_EQ(mismatch, "") << "for \"" << Form1->QelMaskEdit1->Text() << "\" and \""
                            << Form1->QelMaskEdit2->Text() << "\" on the " << model.name;
  }

  // Makes what the platform and the program make once, on first use, before
  // the counts are taken: an error box, the context and system menus, the
  // about page, the drag cursor, the fonts, the open model list and another
  // family's table.
  void WarmUp() {
    TQelMaskEdit& field = *Form1->QelMaskEdit1;
    const std::string text = field.Text();
    field.SetFocus();
    field.SelectAll();
    PostMessageA(field.Handle(), WM_CHAR, '-', 1);
    Pump();
    RightClick();
    PressKey(VK_SPACE, false, false, true);
    HelpCommand();
    ClickOk();
    DoubleClick();
    MouseGesture();
    Form1->QelComboBox1->SetDroppedDown(true);
    Pump();
    Form1->QelComboBox1->SetDroppedDown(false);
    TypeIntoList("atx");  // the XMEGA's headers, drawn in a smaller font
    Sleep(kSearchBurstMs);
    TypeIntoList("atmega128");
    field.SetText(text);
    field.SetFocus();
    Pump();
    gdiBaseline_ = GdiObjectCount();
    windowBaseline_ = WindowCount();
  }

  void CheckCounts() {
    const int gdi = GdiObjectCount();
    const int windows = WindowCount();
    gdiPeak_ = std::max(gdiPeak_, gdi);
    windowPeak_ = std::max(windowPeak_, windows);
    EXPECT_LE(gdi, gdiBaseline_ + kGdiSlack) << "GDI objects grow";
    EXPECT_LE(windows, windowBaseline_) << "windows pile up";
  }

  void CheckAll() {
    ASSERT_FALSE(Application->Terminated()) << "the program was ended";
    ASSERT_TRUE(Form1 && IsWindow(Form1->Handle()));
    CheckField(*Form1->QelMaskEdit1);
    CheckField(*Form1->QelMaskEdit2);
    CheckNewBoxes();
    const TAvrModel& model = ShownModel();
    CheckModelTexts(model);
    CheckTable(model);
    if (step_ % kCountEvery == 0) CheckCounts();
  }

  std::unique_ptr<TProgramSetup> setup_;
  TMessageBoxCloser closer_;
  // The fields' texts at the moment each box was seen.
  std::vector<std::pair<std::string, std::string>> boxFields_;
  size_t boxesChecked_ = 0;
  std::mt19937_64 rng_;
  uint64_t seed_ = 0;
  int step_ = 0;
  std::deque<std::string> recent_;
  int gdiBaseline_ = 0, gdiPeak_ = 0, windowBaseline_ = 0, windowPeak_ = 0;
};

TEST_F(RandomInput, WindowStaysConsistentUnderRandomInput) {
  const auto now = std::chrono::steady_clock::now().time_since_epoch().count();
  seed_ = EnvironmentNumber("BAUDIX_SEED", static_cast<uint64_t>(now) % 1000000007u);
  const int steps = static_cast<int>(EnvironmentNumber("BAUDIX_STEPS", kDefaultSteps));
  std::printf("random input: seed %llu, up to %d steps (replay with BAUDIX_SEED=%llu)\n",
              static_cast<unsigned long long>(seed_), steps,
              static_cast<unsigned long long>(seed_));
  std::fflush(stdout);
  rng_.seed(seed_);
  TStallWatch watch(seed_);
  WarmUp();
  const auto deadline = std::chrono::steady_clock::now() +
                        std::chrono::seconds(EnvironmentNumber("BAUDIX_SECONDS", kDefaultSeconds));
  for (step_ = 1; step_ <= steps && std::chrono::steady_clock::now() < deadline; ++step_) {
    watch.Step(step_);
    RandomStep();
    CheckAll();
    if (HasFailure()) {
      ADD_FAILURE() << Replay();
      return;
    }
  }
  std::printf(
      "random input: %d steps, %zu error boxes closed, %d menus ended; GDI objects %d at the "
      "start, at most %d after; windows %d, at most %d after\n",
      step_ - 1, closer_.Boxes().size(), closer_.MenusEnded(), gdiBaseline_, gdiPeak_,
      windowBaseline_, windowPeak_);
}

}  // namespace
