// The window as a screen reader reads it, in this process, through the calls
// a reader makes (AccessibleObjectFromWindow, AccessibleChildren, a WinEvent
// hook; the end-to-end test reads the running program from another one):
// the controls, the result grid's 95 cells, the events while the user types,
// the objects of controls that are gone. And copying the table by key, by
// the grid's menu and into a busy clipboard.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "framework/Clipboard.h"
#include "support/AccessibleReader.h"
#include "support/ProgramWindow.h"
#include "support/Render.h"
#include "widgets/QelBackPanel.h"
#include "widgets/QelLabel.h"
#include "widgets/QelMaskEdit.h"
#include "widgets/QelSpeedButton.h"
#include "widgets/QelStaticText.h"

namespace {

struct TRelease {
  void operator()(IUnknown* object) const { object->Release(); }
};
using TObjectRef = std::unique_ptr<IAccessible, TRelease>;

TObjectRef ObjectOf(TWinControl& control) { return TObjectRef(ClientObject(control.Handle())); }

VARIANT Child(long id) {
  VARIANT child;
  child.vt = VT_I4;
  child.lVal = id;
  return child;
}

// The fields of an element's line.
std::vector<std::string> Fields(const std::string& line) {
  std::vector<std::string> fields;
  std::istringstream in(line + "|");
  for (std::string field; std::getline(in, field, '|');) fields.push_back(field);
  return fields;
}

// The WinEvents of this process from `first` to `last` while it lives.
class TEventLog {
 public:
  TEventLog(DWORD first, DWORD last) {
    log_ = this;
    hook_ = SetWinEventHook(first, last, nullptr, Heard, GetCurrentProcessId(), 0,
                            WINEVENT_OUTOFCONTEXT);
  }
  TEventLog(const TEventLog&) = delete;
  TEventLog& operator=(const TEventLog&) = delete;
  ~TEventLog() { UnhookWinEvent(hook_); }
  struct THeard {
    DWORD event;
    HWND window;
    std::string line;  // the element's, read when the event arrives
    friend bool operator==(const THeard&, const THeard&) = default;
  };
  std::vector<THeard> heard;

 private:
  static void CALLBACK Heard(HWINEVENTHOOK, DWORD event, HWND window, LONG object, LONG child,
                             DWORD, DWORD) {
    IAccessible* source = nullptr;
    VARIANT id;
    VariantInit(&id);
    if (AccessibleObjectFromEvent(window, object, child, &source, &id) != S_OK) return;
    log_->heard.push_back({event, window, ElementLine(*source, id.lVal)});
    source->Release();
  }
  static inline TEventLog* log_ = nullptr;
  HWINEVENTHOOK hook_;
};

class Reader : public ProgramWindowTest {
 protected:
  // A key pressed with the modifiers held, to the focused window through
  // the program's loop, where shortcuts are found.
  static void PressThroughLoop(WORD key, TShiftState shift = {}) {
    BYTE state[256] = {};
    if (shift.Contains(ssShift)) state[VK_SHIFT] = 0x80;
    if (shift.Contains(ssCtrl)) state[VK_CONTROL] = 0x80;
    SetKeyboardState(state);
    const UINT down = key == VK_F10 ? WM_SYSKEYDOWN : WM_KEYDOWN;
    PostMessageA(GetFocus(), down, key, 1);
    PostMessageA(GetFocus(), down + 1, key, static_cast<LPARAM>(0xC0000001));
    RunLoop();
    BYTE released[256] = {};
    SetKeyboardState(released);
  }
  // The grid's texts as a spreadsheet takes them.
  std::string TableText() {
    std::string text;
    for (int row = 0; row < 19; ++row)
      for (int col = 0; col < 5; ++col)
        text += Grid().Cells(col, row) + (col < 4 ? "\t" : row < 18 ? "\r\n" : "");
    return text;
  }
  static std::string Clipboard() {
    bool ansiSame = false;
    const std::string text = ClipboardText(ansiSame);
    return ansiSame ? text : "the formats differ: " + text;
  }
};

TEST_F(Reader, TheGridsCellsAreItsChildrenRowByRow) {
  TObjectRef grid = ObjectOf(Grid());
  std::vector<long> expectedIds(95);
  for (long id = 1; id <= 95; ++id) expectedIds[id - 1] = id;
  ASSERT_EQ(SimpleChildren(*grid), expectedIds);
  // The exact matches are the cells drawn in black.
  const TPixels pixels = RenderControl(Grid());
  for (int i = 0; i < 95; ++i) {
    const int col = i % 5, row = i / 5;
    const std::vector<std::string> cell = Fields(ElementLine(*grid, i + 1));
    EXPECT_EQ(cell[0], row == 0 ? "COLUMNHEADER" : "CELL") << i;
    EXPECT_EQ(cell[2], Grid().Cells(col, row)) << i;
    const bool black = row > 0 && pixels.Count(Grid().CellRect(col, row), clBlack) > 0;
    EXPECT_EQ(cell[3], black ? "exakt" : "") << "column " << col << ", row " << row;
  }
  for (const auto& [id, line] : {std::pair{1, "COLUMNHEADER||Baudrate [bps]|||"},
                                 {4, "COLUMNHEADER|U2X = 1|UBBR|||"},
                                 {12, "CELL|2400, U2X = 0, UBBR|416|||"},
                                 {15, "CELL|2400, U2X = 1, ERROR|0.00%|exakt||"},
                                 {91, "CELL|Baudrate [bps]|2000000 MAX|||"}})
    EXPECT_EQ(ElementLine(*grid, id), line);
  // Where a cell lies, and which cell lies at a point.
  long x = 0, y = 0, width = 0, height = 0;
  grid->accLocation(&x, &y, &width, &height, Child(12));
  const TPoint origin = Grid().ClientOrigin();
  EXPECT_EQ(TRect(x, y, x + width, y + height), Grid().CellRect(1, 2).Offset(origin.X, origin.Y));
  VARIANT hit;
  ASSERT_EQ(grid->accHitTest(x + width / 2, y + height / 2, &hit), S_OK);
  EXPECT_EQ(hit.vt == VT_I4 ? hit.lVal : -1, 12);
  // The focus is in the frequency field, a child of the main page.
  VARIANT focus;
  ASSERT_EQ(ObjectOf(*Form1->QelBackPanel1)->get_accFocus(&focus), S_OK);
  ASSERT_EQ(focus.vt, VT_DISPATCH);
  IAccessible* field = nullptr;
  focus.pdispVal->QueryInterface(IID_IAccessible, reinterpret_cast<void**>(&field));
  focus.pdispVal->Release();
  ASSERT_TRUE(field);
  EXPECT_EQ(ElementLine(*TObjectRef(field)), "TEXT|Frequenz [Hz]|16000000|||focused");
}

// Names come from what the screen shows, whatever it shows, and readers
// hear of a change.
TEST_F(Reader, NamesFollowTheTextsOnScreen) {
  TEventLog log(EVENT_OBJECT_NAMECHANGE, EVENT_OBJECT_NAMECHANGE);
  Form1->QelLabel2->SetCaption("CLK_&PER [Hz]");
  Form1->QelStaticText1->SetCaption("CLK2X = 0");
  Grid().SetCells(1, 0, "BSEL");
  PumpMessages();
  const std::string field = "TEXT|CLK_PER [Hz]|16000000|||focused";
  EXPECT_EQ(ElementLine(*ObjectOf(*Form1->QelMaskEdit1)), field);
  EXPECT_EQ(Fields(ElementLine(*ObjectOf(Grid()), 12))[1], "2400, CLK2X = 0, BSEL");
  // The label is a child of the page's object.
  for (const TEventLog::THeard& renamed :
       {TEventLog::THeard{EVENT_OBJECT_NAMECHANGE, Form1->QelMaskEdit1->Handle(), field},
        {EVENT_OBJECT_NAMECHANGE, Form1->QelBackPanel1->Handle(), "STATICTEXT|CLK_PER [Hz]||||"}})
    EXPECT_NE(std::find(log.heard.begin(), log.heard.end(), renamed), log.heard.end())
        << renamed.line;
}

// While the user types, a reader hears each new value of the field and one
// refresh of the table per recalculation.
TEST_F(Reader, TypingIsHeardAsValueChangesAndOneTableRefreshEach) {
  TEventLog log(EVENT_OBJECT_REORDER, EVENT_OBJECT_VALUECHANGE);
  TQelMaskEdit& baud = *Form1->QelMaskEdit2;
  baud.SetFocus();
  PressThroughLoop(VK_END);
  for (char digit : {'0', '1'}) {
    PostMessageA(baud.Handle(), WM_CHAR, digit, 1);
    RunLoop();
  }
  PressThroughLoop(VK_BACK);
  PumpMessages();
  std::vector<std::string> values;
  int refreshes = 0;
  for (const auto& [event, window, line] : log.heard) {
    if (event == EVENT_OBJECT_VALUECHANGE && window == baud.Handle())
      values.push_back(Fields(line)[2]);
    if (event == EVENT_OBJECT_REORDER && window == Grid().Handle()) ++refreshes;
  }
  EXPECT_EQ(values, (std::vector<std::string>{"2500000", "25000001", "2500000"}));
  EXPECT_EQ(refreshes, 3);
}

TEST_F(Reader, OkIsPressedByItsDefaultActionAndObjectsOutliveNoControl) {
  EXPECT_EQ(SendMessageA(Grid().Handle(), WM_GETOBJECT, 0, OBJID_WINDOW), 0)
      << "only the client object is the program's own";
  SendMessageA(Form1->Handle(), WM_SYSCOMMAND, SC_CONTEXTHELP, 0);
  TObjectRef about = ObjectOf(*Form1->QelBackPanel2);
  TWinControl& page = *Form1->QelBackPanel2;
  long ok = 1;
  while (page.Controls(ok - 1) != static_cast<TControl*>(Form1->QelSpeedButton1)) ++ok;
  EXPECT_EQ(about->accDoDefaultAction(Child(ok)), S_OK);
  EXPECT_FALSE(Form1->AboutPageShown());

  TObjectRef grid = ObjectOf(Grid());
  setup_.reset();
  BSTR name = nullptr;
  EXPECT_EQ(grid->get_accName(Child(CHILDID_SELF), &name), CO_E_OBJNOTCONNECTED);
  EXPECT_EQ(name, nullptr);
  EXPECT_EQ(about->accDoDefaultAction(Child(ok)), CO_E_OBJNOTCONNECTED);
}

TEST_F(Reader, CopiesTheTableByKeyAndByTheGridsMenu) {
  const std::string table = TableText();
  ASSERT_EQ(std::count(table.begin(), table.end(), '\n'), 18);
  // Ctrl+C in a field still copies its selection; Ctrl+Shift+C the table.
  Form1->QelMaskEdit1->SetSelection(1, 4);
  PressThroughLoop('C', {ssCtrl});
  EXPECT_EQ(Clipboard(), "1600");
  PressThroughLoop('C', {ssCtrl, ssShift});
  EXPECT_EQ(Clipboard(), table);
  EXPECT_EQ(Form1->QelMaskEdit1->Text(), "16000000");

  // The grid's menu from a right click, Shift+F10 and the menu key: its
  // first item is chosen.
  std::string item;
  closer_.OnMenu = [&item](HWND menu) {
    char text[64] = {};
    GetMenuStringA(reinterpret_cast<HMENU>(SendMessageA(menu, MN_GETHMENU, 0, 0)), 0, text,
                   sizeof text, MF_BYPOSITION);
    item = text;
    PostMessageA(menu, WM_KEYDOWN, VK_DOWN, 1);
    PostMessageA(menu, WM_KEYDOWN, VK_RETURN, 1);
  };
  const TRect cell = Grid().CellRect(2, 5);
  for (int way = 0; way < 3; ++way) {
    SetClipboardText(Form1->Handle(), "");
    item.clear();
    if (way == 0) {
      const LPARAM at = MAKELPARAM(cell.Left + 5, cell.Top + 5);
      PostMessageA(Grid().Handle(), WM_RBUTTONDOWN, MK_RBUTTON, at);
      PostMessageA(Grid().Handle(), WM_RBUTTONUP, 0, at);
      RunLoop();
    } else {
      PressThroughLoop(way == 1 ? VK_F10 : VK_APPS, way == 1 ? TShiftState{ssShift} : TShiftState{});
    }
    EXPECT_EQ(item, "Tabelle kopieren") << "way " << way;
    EXPECT_EQ(Clipboard(), table) << "way " << way;
  }
  EXPECT_TRUE(closer_.Boxes().empty());

  // Texts beyond ASCII reach both formats as the same characters.
  SetClipboardText(Form1->Handle(), "f\xFCr 5 \x80");
  EXPECT_EQ(Clipboard(), "f\xC3\xBCr 5 \xE2\x82\xAC");
  // Both are the program's own, none converted by the platform (which
  // takes the system's code page): they come first, in the order put there.
  ASSERT_TRUE(OpenClipboard(nullptr));
  EXPECT_EQ(EnumClipboardFormats(0), static_cast<UINT>(CF_UNICODETEXT));
  EXPECT_EQ(EnumClipboardFormats(CF_UNICODETEXT), static_cast<UINT>(CF_TEXT));
  CloseClipboard();
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
  EXPECT_EQ(Clipboard(), "vorher");
}

}  // namespace
