// The window as a screen reader reads it, through the same calls a reader
// makes from its own process (AccessibleObjectFromWindow, AccessibleChildren,
// a WinEvent hook): every control's role, name, value and state, the pages'
// windowless children, the result grid's 95 cells, the events while the
// user types. And copying the table: by key, by the grid's menu, into a
// busy clipboard.
#include <gtest/gtest.h>

#include <oleacc.h>

#include <algorithm>
#include <memory>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "Unit1.h"
#include "app/Application.h"
#include "calc/LocaleFormats.h"
#include "framework/Clipboard.h"
#include "support/MessageBoxCloser.h"
#include "support/Render.h"
#include "support/TestForm.h"
#include "widgets/Image.h"
#include "widgets/QelBackPanel.h"
#include "widgets/QelComboBox.h"
#include "widgets/QelLabel.h"
#include "widgets/QelMaskEdit.h"
#include "widgets/QelSpeedButton.h"
#include "widgets/QelStaticText.h"
#include "widgets/StatusBar.h"

namespace {

struct TRelease {
  void operator()(IUnknown* object) const { object->Release(); }
};
using TAccessibleRef = std::unique_ptr<IAccessible, TRelease>;

TAccessibleRef ObjectOf(TWinControl& control) {
  IAccessible* object = nullptr;
  AccessibleObjectFromWindow(control.Handle(), static_cast<DWORD>(OBJID_CLIENT), IID_IAccessible,
                             reinterpret_cast<void**>(&object));
  return TAccessibleRef(object);
}

// A reader's text back in code page 1252, to compare with the program's.
std::string Text(BSTR text) {
  std::string out;
  if (!text) return out;
  const int size = WideCharToMultiByte(1252, 0, text, -1, nullptr, 0, nullptr, nullptr);
  out.resize(size > 0 ? size - 1 : 0);
  WideCharToMultiByte(1252, 0, text, -1, out.data(), size, nullptr, nullptr);
  SysFreeString(text);
  return out;
}

VARIANT Child(long id) {
  VARIANT child;
  child.vt = VT_I4;
  child.lVal = id;
  return child;
}

// What a reader hears of one element.
struct THeard {
  long role = 0;
  long state = 0;
  std::string name, value, description, action;
  bool hasValue = false;
};

THeard Hear(IAccessible& object, long id = CHILDID_SELF) {
  const VARIANT child = Child(id);
  THeard heard;
  VARIANT number;
  if (object.get_accRole(child, &number) == S_OK) heard.role = number.lVal;
  if (object.get_accState(child, &number) == S_OK) heard.state = number.lVal;
  BSTR text = nullptr;
  object.get_accName(child, &text);
  heard.name = Text(std::exchange(text, nullptr));
  heard.hasValue = object.get_accValue(child, &text) == S_OK;
  heard.value = Text(std::exchange(text, nullptr));
  object.get_accDescription(child, &text);
  heard.description = Text(std::exchange(text, nullptr));
  object.get_accDefaultAction(child, &text);
  heard.action = Text(std::exchange(text, nullptr));
  return heard;
}

// The children as AccessibleChildren lists them.
std::vector<VARIANT> ChildrenOf(IAccessible& object) {
  long count = 0;
  object.get_accChildCount(&count);
  std::vector<VARIANT> children(static_cast<size_t>(count));
  long obtained = 0;
  AccessibleChildren(&object, 0, count, children.data(), &obtained);
  children.resize(static_cast<size_t>(obtained));
  return children;
}

// What the clipboard holds, as Unicode and as code page 1252.
std::pair<std::u16string, std::string> ClipboardTexts() {
  TClipboardScope clipboard(nullptr);
  std::pair<std::u16string, std::string> texts;
  if (HANDLE wide = GetClipboardData(CF_UNICODETEXT)) {
    texts.first = static_cast<const char16_t*>(GlobalLock(wide));
    GlobalUnlock(wide);
  }
  if (HANDLE ansi = GetClipboardData(CF_TEXT)) {
    texts.second = static_cast<const char*>(GlobalLock(ansi));
    GlobalUnlock(ansi);
  }
  return texts;
}

class Reader : public ::testing::Test {
 protected:
  void SetUp() override {
    setup_ = std::make_unique<TProgramSetup>();
    savedSeparator_ = std::exchange(LocaleFormats.DecimalSeparator, '.');
    Application->CreateMainForm(Form1);
    Form1->SetVisible(true);
    PumpMessages();
  }
  void TearDown() override {
    BYTE released[256] = {};
    SetKeyboardState(released);
    setup_.reset();
    LocaleFormats.DecimalSeparator = savedSeparator_;
  }

  TStringGrid& Grid() { return *Form1->StringGrid_USART; }

  // A key pressed with Shift and Ctrl as given, through the program's loop
  // (where shortcuts are found), to the focused window.
  static void PressThroughLoop(WORD key, TShiftState shift = {}) {
    BYTE state[256] = {};
    if (shift.Contains(ssShift)) state[VK_SHIFT] = 0x80;
    if (shift.Contains(ssCtrl)) state[VK_CONTROL] = 0x80;
    SetKeyboardState(state);
    const UINT down = key == VK_F10 ? WM_SYSKEYDOWN : WM_KEYDOWN;
    PostMessageA(GetFocus(), down, key, 1);
    PostMessageA(GetFocus(), down + 1, key, static_cast<LPARAM>(0xC0000001));
    while (Application->ProcessOneMessage()) {
    }
    BYTE released[256] = {};
    SetKeyboardState(released);
  }
  // Every menu that opens gets its first item chosen; its text is noted.
  void ChooseFirstMenuItems() {
    closer_.OnMenu = [this](HWND menu) {
      char text[64] = {};
      GetMenuStringA(reinterpret_cast<HMENU>(SendMessageA(menu, MN_GETHMENU, 0, 0)), 0, text,
                     sizeof text, MF_BYPOSITION);
      menuItem_ = text;
      PostMessageA(menu, WM_KEYDOWN, VK_DOWN, 1);
      PostMessageA(menu, WM_KEYDOWN, VK_RETURN, 1);
    };
  }
  // The grid's texts as a spreadsheet wants them.
  std::string TableText() {
    std::string text;
    for (int row = 0; row < 19; ++row)
      for (int col = 0; col < 5; ++col)
        text += Grid().Cells(col, row) + (col < 4 ? "\t" : row < 18 ? "\r\n" : "");
    return text;
  }
  static void ClearClipboard() {
    TClipboardScope clipboard(nullptr);
    EmptyClipboard();
  }

  TMessageBoxCloser closer_;
  std::string menuItem_;
  std::unique_ptr<TProgramSetup> setup_;
  char savedSeparator_ = '.';
};

TEST_F(Reader, EveryWindowedControlSaysWhatItIs) {
  const long focusable = STATE_SYSTEM_FOCUSABLE;
  const struct {
    TWinControl* control;
    long role;
    const char* name;
    const char* value;  // nullptr: none
    long state;
  } expected[] = {
      {Form1, ROLE_SYSTEM_CLIENT, "Baudix - www.baudix.example", nullptr, 0},
      {Form1->QelMaskEdit1, ROLE_SYSTEM_TEXT, "Frequenz [Hz]", "16000000",
       focusable | STATE_SYSTEM_FOCUSED},
      {Form1->QelMaskEdit2, ROLE_SYSTEM_TEXT, "Baudrate [bps]", "250000", focusable},
      {Form1->QelComboBox1, ROLE_SYSTEM_COMBOBOX, "Mikrocontroller", "ATmega128",
       focusable | STATE_SYSTEM_COLLAPSED},
      {Form1->StringGrid_USART, ROLE_SYSTEM_TABLE, "Ergebnistabelle", nullptr, 0},
      {Form1->QelStaticText1, ROLE_SYSTEM_STATICTEXT, "U2X = 0", nullptr, 0},
      {Form1->QelStaticText2, ROLE_SYSTEM_STATICTEXT, "U2X = 1", nullptr, 0},
      {Form1->StatusBar1, ROLE_SYSTEM_STATUSBAR, "", nullptr, 0},
      {Form1->QelBackPanel2, ROLE_SYSTEM_CLIENT, "", nullptr, STATE_SYSTEM_INVISIBLE},
  };
  for (const auto& e : expected) {
    TAccessibleRef object = ObjectOf(*e.control);
    ASSERT_TRUE(object) << e.control->Name() << " answers WM_GETOBJECT with nothing";
    const THeard heard = Hear(*object);
    EXPECT_EQ(heard.role, e.role) << e.control->Name();
    EXPECT_EQ(heard.name, e.name) << e.control->Name();
    EXPECT_EQ(heard.hasValue, e.value != nullptr) << e.control->Name();
    EXPECT_EQ(heard.value, e.value ? e.value : "") << e.control->Name();
    EXPECT_EQ(heard.state, e.state) << e.control->Name();
  }
  // The status text is the bar's child; its place is the panel's.
  TAccessibleRef bar = ObjectOf(*Form1->StatusBar1);
  const THeard panel = Hear(*bar, 1);
  EXPECT_EQ(panel.role, ROLE_SYSTEM_STATICTEXT);
  EXPECT_EQ(panel.name, "ATmega128");
  long x = 0, y = 0, width = 0, height = 0;
  ASSERT_EQ(bar->accLocation(&x, &y, &width, &height, Child(1)), S_OK);
  const TPoint origin = Form1->StatusBar1->ClientOrigin();
  EXPECT_EQ(x, origin.X);
  EXPECT_EQ(width, Form1->StatusBar1->ClientWidth());
}

// The labels, the banner and the button are windowless: readers find them as
// children of their page, after which the windowed controls follow as
// objects of their own.
TEST_F(Reader, PagesHoldTheirControlsAsChildren) {
  for (TWinControl* page : {static_cast<TWinControl*>(Form1->QelBackPanel1),
                            static_cast<TWinControl*>(Form1->QelBackPanel2)}) {
    TAccessibleRef object = ObjectOf(*page);
    const std::vector<VARIANT> children = ChildrenOf(*object);
    ASSERT_EQ(static_cast<int>(children.size()), page->ControlCount()) << page->Name();
    for (int i = 0; i < page->ControlCount(); ++i) {
      TControl& control = *page->Controls(i);
      if (control.AsWinControl()) {
        ASSERT_EQ(children[i].vt, VT_DISPATCH) << control.Name();
        IAccessible* child = nullptr;
        children[i].pdispVal->QueryInterface(IID_IAccessible, reinterpret_cast<void**>(&child));
        children[i].pdispVal->Release();
        ASSERT_TRUE(child) << control.Name();
        EXPECT_EQ(Hear(*child).name, control.AccessibleNameText()) << control.Name();
        child->Release();
        continue;
      }
      ASSERT_EQ(children[i].vt, VT_I4) << control.Name();
      const THeard heard = Hear(*object, children[i].lVal);
      if (dynamic_cast<TQelLabel*>(&control)) {
        EXPECT_EQ(heard.role, ROLE_SYSTEM_STATICTEXT) << control.Name();
        EXPECT_EQ(heard.name, control.Caption()) << control.Name();
      }
      EXPECT_EQ((heard.state & STATE_SYSTEM_INVISIBLE) != 0, page == Form1->QelBackPanel2)
          << control.Name() << " on the hidden about page";
    }
  }
  // The about page's banner and button, and the button's default action.
  SendMessageA(Form1->Handle(), WM_SYSCOMMAND, SC_CONTEXTHELP, 0);
  ASSERT_TRUE(Form1->AboutPageShown());
  TAccessibleRef about = ObjectOf(*Form1->QelBackPanel2);
  long banner = 0, button = 0;
  for (int i = 0; i < Form1->QelBackPanel2->ControlCount(); ++i) {
    if (Form1->QelBackPanel2->Controls(i) == Form1->Image1) banner = i + 1;
    if (Form1->QelBackPanel2->Controls(i) == Form1->QelSpeedButton1) button = i + 1;
  }
  EXPECT_EQ(Hear(*about, banner).role, ROLE_SYSTEM_GRAPHIC);
  EXPECT_EQ(Hear(*about, banner).name, "Baudix");
  const THeard ok = Hear(*about, button);
  EXPECT_EQ(ok.role, ROLE_SYSTEM_PUSHBUTTON);
  EXPECT_EQ(ok.name, "OK");
  EXPECT_EQ(ok.action, "Dr\xFC" "cken");
  EXPECT_EQ(ok.state & STATE_SYSTEM_INVISIBLE, 0);
  EXPECT_EQ(about->accDoDefaultAction(Child(button)), S_OK);
  EXPECT_FALSE(Form1->AboutPageShown()) << "the default action did not press OK";
}

TEST_F(Reader, TheGridHasItsCellsAsChildrenRowByRow) {
  TAccessibleRef grid = ObjectOf(Grid());
  const std::vector<VARIANT> children = ChildrenOf(*grid);
  ASSERT_EQ(children.size(), 95u);
  // The exact matches are the cells drawn in black.
  const TPixels pixels = RenderControl(Grid());
  const TPoint origin = Grid().ClientOrigin();
  for (int i = 0; i < 95; ++i) {
    const int col = i % 5;
    const int row = i / 5;
    ASSERT_EQ(children[i].vt, VT_I4);
    ASSERT_EQ(children[i].lVal, i + 1);
    const THeard cell = Hear(*grid, i + 1);
    EXPECT_EQ(cell.role, row == 0 ? ROLE_SYSTEM_COLUMNHEADER : ROLE_SYSTEM_CELL) << i;
    EXPECT_EQ(cell.value, Grid().Cells(col, row)) << i;
    const TRect rect = Grid().CellRect(col, row);
    const bool black = row > 0 && pixels.Count(rect, clBlack) > 0;
    EXPECT_EQ(cell.description, black ? "exakt" : "") << "column " << col << ", row " << row;
    long x = 0, y = 0, width = 0, height = 0;
    grid->accLocation(&x, &y, &width, &height, Child(i + 1));
    EXPECT_EQ(TRect(x, y, x + width, y + height), rect.Offset(origin.X, origin.Y)) << i;
  }
  const struct {
    int col, row;
    const char* name;
    const char* value;
  } samples[] = {
      {0, 0, "", "Baudrate [bps]"},
      {3, 0, "U2X = 1", "UBBR"},
      {1, 2, "2400, U2X = 0, UBBR", "416"},
      {4, 2, "2400, U2X = 1, ERROR", "0.00%"},
      {2, 17, "2500000, U2X = 0, ERROR", "-"},
      {0, 18, "Baudrate [bps]", "2000000 MAX"},
  };
  for (const auto& s : samples) {
    const THeard cell = Hear(*grid, s.row * 5 + s.col + 1);
    EXPECT_EQ(cell.name, s.name) << s.col << ", " << s.row;
    EXPECT_EQ(cell.value, s.value) << s.col << ", " << s.row;
  }
}

// Names come from what the screen shows, whatever it shows: the label over
// a field, the group caption, the column header; readers hear of a change.
TEST_F(Reader, NamesFollowTheTextsOnScreen) {
  std::vector<std::pair<DWORD, HWND>> events;
  static std::vector<std::pair<DWORD, HWND>>* heard = nullptr;
  heard = &events;
  HWINEVENTHOOK hook = SetWinEventHook(
      EVENT_OBJECT_NAMECHANGE, EVENT_OBJECT_NAMECHANGE, nullptr,
      [](HWINEVENTHOOK, DWORD event, HWND window, LONG, LONG, DWORD, DWORD) {
        heard->push_back({event, window});
      },
      GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
  Form1->QelLabel2->SetCaption("CLK_&PER [Hz]");
  Form1->QelStaticText1->SetCaption("CLK2X = 0");
  Grid().SetCells(1, 0, "BSEL");
  PumpMessages();
  UnhookWinEvent(hook);
  EXPECT_EQ(Hear(*ObjectOf(*Form1->QelMaskEdit1)).name, "CLK_PER [Hz]");
  EXPECT_EQ(Hear(*ObjectOf(Grid()), 2 * 5 + 1 + 1).name, "2400, CLK2X = 0, BSEL");
  EXPECT_NE(std::find(events.begin(), events.end(),
                      std::pair<DWORD, HWND>{EVENT_OBJECT_NAMECHANGE, Form1->QelMaskEdit1->Handle()}),
            events.end())
      << "the field's new name was not announced";
}

// While the user types, a reader hears each new value of the field and one
// refresh of the table per recalculation.
TEST_F(Reader, TypingIsHeardAsValueChangesAndOneTableRefreshEach) {
  struct TEvent {
    DWORD event;
    HWND window;
    std::string value;
  };
  std::vector<TEvent> events;
  static std::vector<TEvent>* heard = nullptr;
  heard = &events;
  HWINEVENTHOOK hook = SetWinEventHook(
      EVENT_OBJECT_REORDER, EVENT_OBJECT_VALUECHANGE, nullptr,
      [](HWINEVENTHOOK, DWORD event, HWND window, LONG object, LONG child, DWORD, DWORD) {
        if (event != EVENT_OBJECT_VALUECHANGE && event != EVENT_OBJECT_REORDER) return;
        IAccessible* source = nullptr;
        VARIANT id;
        VariantInit(&id);
        std::string value;
        if (AccessibleObjectFromEvent(window, object, child, &source, &id) == S_OK) {
          value = Hear(*source, id.lVal).value;
          source->Release();
        }
        heard->push_back({event, window, value});
      },
      GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
  TQelMaskEdit& baud = *Form1->QelMaskEdit2;
  baud.SetFocus();
  PumpMessages();
  PressThroughLoop(VK_END);
  for (char digit : {'0', '1'}) {
    PostMessageA(baud.Handle(), WM_CHAR, digit, 1);
    while (Application->ProcessOneMessage()) {
    }
  }
  PressThroughLoop(VK_BACK);
  PumpMessages();
  UnhookWinEvent(hook);
  std::vector<std::string> values;
  int refreshes = 0;
  for (const TEvent& e : events) {
    if (e.event == EVENT_OBJECT_VALUECHANGE && e.window == baud.Handle()) values.push_back(e.value);
    if (e.event == EVENT_OBJECT_REORDER && e.window == Grid().Handle()) ++refreshes;
  }
  EXPECT_EQ(values, (std::vector<std::string>{"2500000", "25000001", "2500000"}));
  EXPECT_EQ(refreshes, 3);
}

TEST_F(Reader, ObjectsOfDestroyedControlsAnswerThatTheyAreGone) {
  TAccessibleRef grid = ObjectOf(Grid());
  TAccessibleRef page = ObjectOf(*Form1->QelBackPanel1);
  ASSERT_TRUE(grid && page);
  setup_.reset();
  BSTR name = nullptr;
  EXPECT_EQ(grid->get_accName(Child(CHILDID_SELF), &name), CO_E_OBJNOTCONNECTED);
  EXPECT_EQ(name, nullptr);
  long count = -1;
  EXPECT_EQ(page->get_accChildCount(&count), CO_E_OBJNOTCONNECTED);
  EXPECT_EQ(page->accDoDefaultAction(Child(1)), CO_E_OBJNOTCONNECTED);
}

TEST_F(Reader, CopiesTheTableByKeyAndByTheGridsMenu) {
  const std::string table = TableText();
  ASSERT_EQ(std::count(table.begin(), table.end(), '\n'), 18);
  const std::u16string wideTable(table.begin(), table.end());  // the table is ASCII
  ASSERT_EQ(GetFocus(), Form1->QelMaskEdit1->Handle());

  // Ctrl+C in a field still copies its selection; Ctrl+Shift+C the table.
  Form1->QelMaskEdit1->SetSelection(1, 4);
  PressThroughLoop('C', {ssCtrl});
  EXPECT_EQ(ClipboardTexts().second, "1600");
  PressThroughLoop('C', {ssCtrl, ssShift});
  EXPECT_EQ(ClipboardTexts(), std::make_pair(wideTable, table));
  EXPECT_EQ(Form1->QelMaskEdit1->Text(), "16000000");

  // The grid's menu, from a right click and from the keyboard.
  ChooseFirstMenuItems();
  const TRect cell = Grid().CellRect(2, 5);
  const LPARAM at = MAKELPARAM(cell.Left + 5, cell.Top + 5);
  for (int way = 0; way < 3; ++way) {
    ClearClipboard();
    menuItem_.clear();
    if (way == 0) {
      PostMessageA(Grid().Handle(), WM_RBUTTONDOWN, MK_RBUTTON, at);
      PostMessageA(Grid().Handle(), WM_RBUTTONUP, 0, at);
      while (Application->ProcessOneMessage()) {
      }
    } else {
      PressThroughLoop(way == 1 ? VK_F10 : VK_APPS, way == 1 ? TShiftState{ssShift} : TShiftState{});
    }
    EXPECT_EQ(menuItem_, "Tabelle kopieren") << "way " << way;
    EXPECT_EQ(ClipboardTexts(), std::make_pair(wideTable, table)) << "way " << way;
  }
  EXPECT_TRUE(closer_.Boxes().empty());

  // Texts beyond ASCII reach both formats as the same characters.
  SetClipboardText(Form1->Handle(), "f\xFCr 5 \x80");
  EXPECT_EQ(ClipboardTexts(), std::make_pair(std::u16string(u"f\u00FCr 5 \u20AC"),
                                             std::string("f\xFCr 5 \x80")));
}

TEST_F(Reader, ABusyClipboardIsReportedAndKeepsItsContents) {
  SetClipboardText(Form1->Handle(), "vorher");
  HANDLE opened = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  HANDLE release = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  std::thread holder([&] {
    OpenClipboard(nullptr);
    SetEvent(opened);
    WaitForSingleObject(release, INFINITE);
    CloseClipboard();
  });
  WaitForSingleObject(opened, INFINITE);
  PressThroughLoop('C', {ssCtrl, ssShift});
  SetEvent(release);
  holder.join();
  CloseHandle(opened);
  CloseHandle(release);
  ASSERT_EQ(closer_.Boxes().size(), 1u);
  EXPECT_EQ(closer_.Boxes()[0].text, std::string(kSClipboardBusy) + ".");
  EXPECT_EQ(closer_.Boxes()[0].caption, Application->Title());
  EXPECT_EQ(ClipboardTexts().second, "vorher");
}

}  // namespace
