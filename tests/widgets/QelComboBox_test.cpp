// The drop-down list on a real platform combo box: items, selection and its
// events, window styles and recreation, colours, the frame, the opened
// list's size, the keyboard and the typed search, the mouse capture rule.
#include "widgets/QelComboBox.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "calc/Exceptions.h"
#include "support/Render.h"
#include "support/TestForm.h"

namespace {

constexpr char kModel[] = "ATmega128";

// Records the combo box's events in the order they come.
struct TEventLog {
  explicit TEventLog(TCustomCombo& combo) {
    combo.OnClick = [this](TObject*) { events.push_back("Click"); };
    combo.OnChange = [this](TObject*) { events.push_back("Change"); };
    combo.OnSelect = [this](TObject*) { events.push_back("Select"); };
    combo.OnDropDown = [this](TObject*) { events.push_back("DropDown"); };
    combo.OnCloseUp = [this](TObject*) { events.push_back("CloseUp"); };
  }
  // The events so far, then forgets them.
  std::vector<std::string> Take() { return std::exchange(events, {}); }
  std::vector<std::string> events;
};

using TEvents = std::vector<std::string>;

// The drop-down list as the window configures it.
TQelComboBox* AddModelList(TTestForm& form) {
  auto* combo = form.Add<TQelComboBox>(8, 8, 145, 23);
  combo->SetStyle(csDropDownList);
  combo->SetColor(clWhite);
  combo->Items().Add(kModel);
  return combo;
}

DWORD WindowStyle(TWinControl& control) {
  return static_cast<DWORD>(GetWindowLongA(control.Handle(), GWL_STYLE));
}

COMBOBOXINFO ComboInfo(TWinControl& combo) {
  COMBOBOXINFO info{};
  info.cbSize = sizeof info;
  GetComboBoxInfo(combo.Handle(), &info);
  return info;
}

void TypeChar(TWinControl& control, char ch) {
  SendMessageA(control.Handle(), WM_CHAR, static_cast<unsigned char>(ch), 1);
}

void PressKey(TWinControl& control, WORD key) {
  SendMessageA(control.Handle(), WM_KEYDOWN, key, 1);
}

// A clock the test moves by hand.
struct TFakeClock {
  DWORD now = 100000;
  void Advance(DWORD ms) { now += ms; }
};

}  // namespace

// --- Items and selection ---

TEST(QelComboBoxSelection, ProgramSelectsTheItemWithoutAnyEvent) {
  TTestForm form;
  TQelComboBox* combo = AddModelList(form);
  TEventLog log(*combo);
  EXPECT_EQ(-1, combo->ItemIndex());
  EXPECT_EQ("", combo->Text()) << "nothing is selected after the item is loaded";

  combo->SetItemIndex(0);
  combo->Refresh();
  PumpMessages();
  EXPECT_EQ(0, combo->ItemIndex());
  EXPECT_EQ(kModel, combo->Text());
  EXPECT_EQ(TEvents{}, log.Take());

  combo->SetItemIndex(-1);
  EXPECT_EQ("", combo->Text()) << "-1 clears the selection";
  combo->SetItemIndex(3);
  EXPECT_EQ(-1, combo->ItemIndex()) << "an index without an item selects nothing";
  EXPECT_EQ("", combo->Text());
  EXPECT_EQ(TEvents{}, log.Take());
}

TEST(QelComboBoxSelection, ItemsLiveInThePlatformControl) {
  TTestForm form;
  auto* combo = form.Add<TQelComboBox>(8, 8, 145, 23);
  combo->Items().Add("b");
  combo->Items().Add("a");
  HWND window = combo->Handle();
  EXPECT_EQ(2, SendMessageA(window, CB_GETCOUNT, 0, 0));
  SendMessageA(window, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("c"));
  ASSERT_EQ(3, combo->Items().Count()) << "items added behind the wrapper's back count too";
  EXPECT_EQ("b", combo->Items()[0]);
  EXPECT_EQ("a", combo->Items()[1]);
  EXPECT_EQ("c", combo->Items()[2]);
  EXPECT_THROW(combo->Items()[3], std::out_of_range);
  combo->Items().Clear();
  EXPECT_EQ(0, combo->Items().Count());
}

namespace {
// A form whose layout selects an item while it loads, as the window does.
class TLoadingForm : public TForm {
 public:
  explicit TLoadingForm(TComponent* owner) : TForm(owner) {
    combo = new TQelComboBox(this);
    combo->SetParent(this);
    combo->SetStyle(csDropDownList);
    windowBeforeItems = combo->HandleAllocated();
    combo->Items().Add("first");
    windowAfterItem = combo->HandleAllocated();
    combo->Items().Add("second");
    combo->SetItemIndex(1);
    indexWhileLoading = combo->ItemIndex();
    platformIndexWhileLoading = static_cast<int>(SendMessageA(combo->Handle(), CB_GETCURSEL, 0, 0));
  }
  TQelComboBox* combo;
  bool windowBeforeItems = true;
  bool windowAfterItem = false;
  int indexWhileLoading = -2;
  int platformIndexWhileLoading = -2;
};
}  // namespace

TEST(QelComboBoxSelection, IndexSetWhileLoadingIsAppliedWhenLoadingEnds) {
  TLoadingForm* form = CreateForm<TLoadingForm>(nullptr);
  EXPECT_FALSE(form->windowBeforeItems);
  EXPECT_FALSE(form->windowAfterItem) << "an item waits for the window instead of making it";
  EXPECT_EQ(2, SendMessageA(form->combo->Handle(), CB_GETCOUNT, 0, 0))
      << "the waiting items reach the platform window";
  EXPECT_EQ(1, form->indexWhileLoading) << "the kept value reads back";
  EXPECT_EQ(-1, form->platformIndexWhileLoading) << "the platform is not told while loading";
  EXPECT_EQ(1, form->combo->ItemIndex());
  EXPECT_EQ("second", form->combo->Text());
  delete form;
}

namespace {
// A combo box whose platform window refuses every new item.
class TFullComboBox : public TQelComboBox {
 public:
  using TQelComboBox::TQelComboBox;

 protected:
  void WndProc(TMessage& msg) override {
    if (msg.Msg == CB_ADDSTRING) {
      msg.Result = CB_ERRSPACE;
      return;
    }
    TQelComboBox::WndProc(msg);
  }
};
}  // namespace

TEST(QelComboBoxSelection, RefusedItemRaisesOutOfResources) {
  TTestForm form;
  auto* combo = form.Add<TFullComboBox>(8, 8, 145, 23);
  try {
    combo->Items().Add(kModel);
    FAIL() << "no error for a refused item";
  } catch (const EOutOfResources& e) {
    EXPECT_EQ("Zeile kann nicht eingef\xFCgt werden", e.Message());
  }
}

// --- Window styles and recreation ---

TEST(QelComboBoxWindow, StylesFollowStyleAndSorted) {
  TTestForm form;
  auto* combo = form.Add<TQelComboBox>(8, 8, 145, 23);
  const DWORD always = CBS_HASSTRINGS | CBS_AUTOHSCROLL;
  struct TCase {
    TComboBoxStyle style;
    DWORD flags;
  };
  const TCase cases[] = {
      {csDropDown, CBS_DROPDOWN},
      {csSimple, CBS_SIMPLE},
      {csDropDownList, CBS_DROPDOWNLIST},
      {csOwnerDrawFixed, CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED},
      {csOwnerDrawVariable, CBS_DROPDOWNLIST | CBS_OWNERDRAWVARIABLE},
  };
  constexpr DWORD kKindBits = CBS_SIMPLE | CBS_DROPDOWN | CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED |
                              CBS_OWNERDRAWVARIABLE | CBS_SORT;
  for (const TCase& c : cases) {
    combo->SetStyle(c.style);
    const DWORD style = WindowStyle(*combo);
    EXPECT_EQ(c.flags, style & kKindBits) << "Style " << c.style;
    EXPECT_EQ(always, style & always) << "Style " << c.style;
  }
  combo->SetSorted(true);
  EXPECT_TRUE(WindowStyle(*combo) & CBS_SORT);
}

TEST(QelComboBoxWindow, RecreatedWindowKeepsItemsAndSelection) {
  TTestForm form;
  auto* combo = form.Add<TQelComboBox>(8, 8, 145, 23);
  combo->SetStyle(csDropDownList);
  for (const char* text : {"one", "two", "three"}) combo->Items().Add(text);
  combo->SetItemIndex(2);
  HWND before = combo->Handle();

  combo->SetStyle(csDropDown);
  ASSERT_NE(before, combo->Handle()) << "a new style needs a new window";
  ASSERT_EQ(3, combo->Items().Count());
  EXPECT_EQ("one", combo->Items()[0]);
  EXPECT_EQ("three", combo->Items()[2]);
  EXPECT_EQ(2, combo->ItemIndex());
  EXPECT_EQ("three", combo->Text());
}

TEST(QelComboBoxWindow, ItemHeightRules) {
  TTestForm form;
  TQelComboBox* combo = AddModelList(form);
  HWND window = combo->Handle();
  combo->SetItemHeight(0);
  combo->SetItemHeight(-5);
  EXPECT_EQ(window, combo->Handle()) << "heights of 0 or less are ignored";
  const int platformRow = static_cast<int>(SendMessageA(window, CB_GETITEMHEIGHT, 0, 0));
  EXPECT_EQ(platformRow, combo->ItemHeight()) << "a drop-down list reads the platform's row height";

  combo->SetItemHeight(15);
  EXPECT_NE(window, combo->Handle()) << "a positive height recreates the window";
  EXPECT_EQ(kModel, combo->Items()[0]);

  combo->SetItemHeight(23);
  for (TComboBoxStyle style : {csOwnerDrawFixed, csOwnerDrawVariable}) {
    combo->SetStyle(style);
    combo->Items().Add("added");
    EXPECT_EQ(23, combo->ItemHeight()) << "Style " << style;
    for (int i = 0; i < combo->Items().Count(); ++i)
      EXPECT_EQ(23, SendMessageA(combo->Handle(), CB_GETITEMHEIGHT, i, 0))
          << "owner-drawn row " << i << ", Style " << style;
  }
}

TEST(QelComboBoxWindow, OwnerDrawnRowsGoThroughOnDrawItem) {
  TTestForm form;
  TQelComboBox* combo = AddModelList(form);
  combo->SetStyle(csOwnerDrawFixed);
  combo->SetItemIndex(0);
  std::vector<int> drawn;
  combo->OnDrawItem = [&](TObject*, int index, const TRect& rect, TOwnerDrawState) {
    drawn.push_back(index);
    combo->Canvas().Brush().SetColor(clRed);
    combo->Canvas().FillRect(rect);
  };
  const TPixels pixels = RenderControl(*combo);
  ASSERT_EQ(std::vector<int>{0}, drawn) << "the selection field shows item 0";
  EXPECT_GT(pixels.Count({0, 0, pixels.Width(), pixels.Height()}, clRed), 100);
}

TEST(QelComboBoxWindow, MaxLengthLimitsTheEditPart) {
  TTestForm form;
  auto* combo = form.Add<TQelComboBox>(8, 8, 145, 23);
  combo->SetMaxLength(5);
  HWND edit = ComboInfo(*combo).hwndItem;
  EXPECT_EQ(5, SendMessageA(edit, EM_GETLIMITTEXT, 0, 0));
  combo->SetMaxLength(-3);
  EXPECT_EQ(0, combo->MaxLength()) << "a negative length is taken as 0";
  EXPECT_GT(SendMessageA(edit, EM_GETLIMITTEXT, 0, 0), 5) << "0: the platform's maximum";
}

// --- Colours ---

TEST(QelComboBoxColours, EveryColourRequestGetsFontColourOnColor) {
  TTestForm form;
  TQelComboBox* combo = AddModelList(form);
  combo->SetColor(clYellow);
  combo->Font().SetColor(clNavy);
  const COMBOBOXINFO info = ComboInfo(*combo);
  TMemoryDC dc(nullptr);
  struct TRequest {
    HWND to;
    UINT msg;
    LPARAM about;
    const char* what;
  };
  const TRequest requests[] = {
      {combo->Handle(), WM_CTLCOLORLISTBOX, reinterpret_cast<LPARAM>(info.hwndList), "the list"},
      {form->Handle(), WM_CTLCOLOREDIT, reinterpret_cast<LPARAM>(combo->Handle()), "the field"},
  };
  for (const TRequest& r : requests) {
    SetTextColor(dc.Get(), 0);
    SetBkColor(dc.Get(), 0);
    const LRESULT brush = SendMessageA(r.to, r.msg, reinterpret_cast<WPARAM>(dc.Get()), r.about);
    EXPECT_EQ(reinterpret_cast<LRESULT>(combo->Brush().Handle()), brush) << r.what;
    EXPECT_EQ(ColorText(ColorToRGB(clNavy)), ColorText(GetTextColor(dc.Get()))) << r.what;
    EXPECT_EQ(ColorText(ColorToRGB(clYellow)), ColorText(GetBkColor(dc.Get()))) << r.what;
  }
}

TEST(QelComboBoxColours, UnfocusedFieldIsPaintedInColor) {
  TTestForm form;
  TQelComboBox* combo = AddModelList(form);
  combo->SetColor(clYellow);
  combo->SetItemIndex(0);
  const TPixels pixels = RenderControl(*combo);
  const TRect field{2, 2, pixels.Width() / 2, pixels.Height() - 2};
  EXPECT_GT(pixels.Count(field, ColorToRGB(clYellow)), field.Width() * field.Height() / 2);
}

// --- Frame ---

namespace {
// Checks the two outer pixel rings of a rendering of the whole window,
// corners aside: shadow (top, left) and highlight (bottom, right) outside,
// window frame (top, left) and button face (bottom, right) inside.
::testing::AssertionResult HasFrame(const TPixels& p) {
  const int w = p.Width();
  const int h = p.Height();
  struct TSide {
    const char* name;
    TRect pixels;
    TColor color;
  };
  const TSide sides[] = {
      {"outer top", {1, 0, w - 1, 1}, clBtnShadow},
      {"outer left", {0, 1, 1, h - 1}, clBtnShadow},
      {"outer bottom", {1, h - 1, w - 1, h}, clBtnHighlight},
      {"outer right", {w - 1, 1, w, h - 1}, clBtnHighlight},
      {"inner top", {2, 1, w - 2, 2}, clWindowFrame},
      {"inner left", {1, 2, 2, h - 2}, clWindowFrame},
      {"inner bottom", {2, h - 2, w - 2, h - 1}, clBtnFace},
      {"inner right", {w - 2, 2, w - 1, h - 2}, clBtnFace},
  };
  for (const TSide& side : sides) {
    for (int y = side.pixels.Top; y < side.pixels.Bottom; ++y)
      for (int x = side.pixels.Left; x < side.pixels.Right; ++x)
        if (auto r = PixelIs(p, x, y, side.color); !r) return r << " (" << side.name << ")";
  }
  return ::testing::AssertionSuccess();
}

// What is on the screen in the window now: its window device context.
TPixels WindowPixels(TWinControl& control) {
  RECT r{};
  GetWindowRect(control.Handle(), &r);
  TPixels pixels(r.right - r.left, r.bottom - r.top);
  TWholeWindowDC dc(control.Handle());
  BitBlt(pixels.DC(), 0, 0, pixels.Width(), pixels.Height(), dc.Get(), 0, 0, SRCCOPY);
  return pixels;
}
}  // namespace

TEST(QelComboBoxFrame, RenderedFrameUnfocusedAndFocused) {
  TTestForm form;
  TQelComboBox* combo = AddModelList(form);
  combo->SetItemIndex(0);
  EXPECT_TRUE(HasFrame(RenderControl(*combo))) << "unfocused";
  combo->SetFocus();
  ASSERT_TRUE(combo->Focused());
  EXPECT_TRUE(HasFrame(RenderControl(*combo))) << "focused";
}

TEST(QelComboBoxFrame, FrameOnTheScreenInEveryState) {
  TTestForm form;
  TQelComboBox* combo = AddModelList(form);
  auto* other = form.Add<TQelComboBox>(8, 60, 145, 23);
  combo->SetItemIndex(0);
  combo->Refresh();
  EXPECT_TRUE(HasFrame(WindowPixels(*combo))) << "after Refresh";

  combo->SetDroppedDown(true);
  PumpMessages();
  combo->SetDroppedDown(false);
  PumpMessages();
  EXPECT_TRUE(HasFrame(WindowPixels(*combo))) << "after the list closed";

  // A focus change draws the frame at once, before any paint: the rings
  // are wiped and the window marked clean first.
  const auto wipe = [&] {
    PumpMessages();
    TWholeWindowDC dc(combo->Handle());
    const RECT all{0, 0, combo->Width(), combo->Height()};
    FillRect(dc.Get(), &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    ValidateRect(combo->Handle(), nullptr);
  };
  wipe();
  combo->SetFocus();
  EXPECT_TRUE(HasFrame(WindowPixels(*combo))) << "gaining the focus";
  wipe();
  other->SetFocus();
  EXPECT_TRUE(HasFrame(WindowPixels(*combo))) << "losing the focus, the pointer outside";
  combo->SetFocus();
  combo->Perform(CM_MOUSEENTER);
  wipe();
  other->SetFocus();
  EXPECT_FALSE(HasFrame(WindowPixels(*combo))) << "losing the focus, the pointer inside";
}

// --- Opening the list ---

TEST(QelComboBoxDropDown, OneItemOpensOneRowAsWideAsTheBox) {
  TTestForm form;
  TQelComboBox* combo = AddModelList(form);
  combo->SetItemIndex(0);
  PumpMessages();  // the posted drop-down width
  const int heightBefore = combo->Height();
  TEventLog log(*combo);
  combo->SetDroppedDown(true);
  PumpMessages();
  ASSERT_TRUE(combo->DroppedDown());
  EXPECT_EQ(TEvents{"DropDown"}, log.Take());

  HWND list = ComboInfo(*combo).hwndList;
  RECT client{};
  GetClientRect(list, &client);
  RECT outer{};
  GetWindowRect(list, &outer);
  const int row = static_cast<int>(SendMessageA(combo->Handle(), CB_GETITEMHEIGHT, 0, 0));
  EXPECT_EQ(row, client.bottom) << "one row high";
  EXPECT_EQ(combo->Width(), outer.right - outer.left) << "as wide as the box";
  RECT box{};
  GetWindowRect(combo->Handle(), &box);
  EXPECT_EQ(heightBefore, box.bottom - box.top) << "the box keeps its own height";
  EXPECT_EQ(heightBefore, combo->Height());

  combo->SetDroppedDown(false);
  PumpMessages();
  EXPECT_EQ(TEvents{"CloseUp"}, log.Take());
}

TEST(QelComboBoxDropDown, ListShowsAtMostDropDownCountRows) {
  TTestForm form;
  auto* combo = form.Add<TQelComboBox>(8, 8, 145, 23);
  combo->SetStyle(csDropDownList);
  for (int i = 0; i < 12; ++i) combo->Items().Add("item " + std::to_string(i));
  const int height = combo->Height();
  const int row = combo->ItemHeight();
  struct TCase {
    int dropDownCount;
    int rows;
  };
  for (const TCase c : {TCase{8, 8}, TCase{3, 3}, TCase{20, 12}, TCase{0, 1}}) {
    combo->SetDropDownCount(c.dropDownCount);
    combo->SetDroppedDown(true);
    RECT client{};
    GetClientRect(ComboInfo(*combo).hwndList, &client);
    EXPECT_EQ(c.rows * row, client.bottom) << "DropDownCount " << c.dropDownCount;
    combo->SetDroppedDown(false);
    EXPECT_EQ(height, combo->Height()) << "the box itself keeps its height";
  }
}

// A long list opens below the box, down to the work area's bottom edge,
// wherever the box stands, and scrolls the rest.
TEST(QelComboBoxDropDown, LongListOpensBelowWithTheRowsThatFitTheScreen) {
  TTestForm form;
  auto* combo = form.Add<TQelComboBox>(8, 8, 145, 23);
  combo->SetStyle(csDropDownList);
  for (int i = 0; i < 100; ++i) combo->Items().Add("item " + std::to_string(i));
  combo->SetDropDownCount(100);
  const int row = combo->ItemHeight();
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  GetMonitorInfoA(MonitorFromWindow(combo->Handle(), MONITOR_DEFAULTTONEAREST), &monitor);
  const int workBottom = monitor.rcWork.bottom;
  // The last box leaves room for exactly four rows and the list's two border
  // lines.
  for (const int boxBottom : {100, workBottom / 2, workBottom - 4 * row - 2}) {
    RECT box{};
    GetWindowRect(combo->Handle(), &box);
    form->SetBounds(form->Left(), form->Top() + boxBottom - box.bottom, form->Width(),
                    form->Height());
    GetWindowRect(combo->Handle(), &box);
    ASSERT_EQ(box.bottom, boxBottom);
    combo->SetDroppedDown(true);
    RECT list{};
    GetWindowRect(ComboInfo(*combo).hwndList, &list);
    RECT client{};
    GetClientRect(ComboInfo(*combo).hwndList, &client);
    EXPECT_EQ(list.top, box.bottom) << "below the box at " << boxBottom;
    EXPECT_LE(list.bottom, workBottom) << "box at " << boxBottom;
    EXPECT_GT(list.bottom + row, workBottom) << "a row more would fit, box at " << boxBottom;
    EXPECT_EQ(client.bottom % row, 0) << "whole rows, box at " << boxBottom;
    combo->SetDroppedDown(false);
  }
}

TEST(QelComboBoxDropDown, DropDownWidthWidensTheList) {
  TTestForm form;
  TQelComboBox* combo = AddModelList(form);
  combo->SetDropDownWidth(220);
  PumpMessages();  // the width is posted
  combo->SetDroppedDown(true);
  RECT outer{};
  GetWindowRect(ComboInfo(*combo).hwndList, &outer);
  EXPECT_EQ(220, outer.right - outer.left);
  combo->SetDroppedDown(false);
}

// --- Selection by the user, keyboard ---

TEST(QelComboBoxKeyboard, UserSelectionRaisesClickChangeSelect) {
  TTestForm form;
  auto* combo = form.Add<TQelComboBox>(8, 8, 145, 23);
  combo->SetStyle(csDropDownList);
  combo->Items().Add("first");
  combo->Items().Add("second");
  combo->SetItemIndex(0);
  TEventLog log(*combo);
  combo->SetFocus();
  PressKey(*combo, VK_DOWN);
  EXPECT_EQ(1, combo->ItemIndex());
  EXPECT_EQ("second", combo->Text());
  EXPECT_EQ((TEvents{"Click", "Change", "Select"}), log.Take());
}

// Notes which key comes back from the list's key handling.
class TKeyProbe : public TQelComboBox {
 public:
  using TQelComboBox::TQelComboBox;
  WORD keyLeft = 0xFFFF;

 protected:
  void KeyDown(WORD& key, TShiftState shift) override {
    TQelComboBox::KeyDown(key, shift);
    keyLeft = key;
  }
};

TEST(QelComboBoxKeyboard, EnterAndEscapeCloseTheOpenListAndGoNoFurther) {
  TTestForm form;
  auto* combo = form.Add<TKeyProbe>(8, 8, 145, 23);
  combo->SetStyle(csDropDownList);
  combo->Items().Add(kModel);
  combo->SetItemIndex(0);
  combo->SetFocus();
  for (WORD key : {WORD{VK_RETURN}, WORD{VK_ESCAPE}}) {
    combo->SetDroppedDown(true);
    ASSERT_TRUE(combo->DroppedDown());
    PressKey(*combo, key);
    EXPECT_FALSE(combo->DroppedDown()) << "key " << key;
    EXPECT_EQ(0, combo->ItemIndex()) << "key " << key;
    EXPECT_EQ(0, combo->keyLeft) << "key " << key << " went on";
    PressKey(*combo, key);
    EXPECT_EQ(key, combo->keyLeft) << "key " << key << " with the list closed";
  }
}

TEST(QelComboBoxKeyboard, TypedSearchOnTheModelList) {
  TTestForm form;
  TQelComboBox* combo = AddModelList(form);
  combo->SetItemIndex(0);
  TFakeClock clock;
  combo->SearchFilter().SetTickSource([&clock] { return clock.now; });
  TEventLog log(*combo);

  for (char ch : std::string("aTm")) {
    clock.Advance(100);
    TypeChar(*combo, ch);
  }
  EXPECT_EQ("aTm", combo->SearchFilter().Text());
  EXPECT_EQ(kModel, combo->Text());
  EXPECT_EQ(TEvents{}, log.Take()) << "the selection did not change";

  clock.Advance(100);
  TypeChar(*combo, 'x');
  EXPECT_EQ("aTm", combo->SearchFilter().Text()) << "no match keeps the filter";
  EXPECT_EQ(kModel, combo->Text());
  EXPECT_EQ(TEvents{}, log.Take());

  clock.Advance(499);
  TypeChar(*combo, '\b');
  EXPECT_EQ("aT", combo->SearchFilter().Text()) << "Backspace within 500 ms";
  EXPECT_EQ(TEvents{"Change"}, log.Take());
  EXPECT_EQ(kModel, combo->Text());

  clock.Advance(500);
  TypeChar(*combo, '\b');
  EXPECT_EQ("", combo->SearchFilter().Text()) << "Backspace after 500 ms: a new, empty search";
  EXPECT_EQ(TEvents{"Change"}, log.Take());

  clock.Advance(100);
  TypeChar(*combo, 't');
  EXPECT_EQ("", combo->SearchFilter().Text()) << "no item begins with t";
  EXPECT_EQ(kModel, combo->Text());
  EXPECT_EQ(TEvents{}, log.Take());
}

TEST(QelComboBoxKeyboard, TypedSearchSelectsAndRaisesClickChange) {
  TTestForm form;
  auto* combo = form.Add<TQelComboBox>(8, 8, 145, 23);
  combo->SetStyle(csDropDownList);
  for (const char* text : {"ATmega128", "ATtiny85", "AVR32", "Xmega"}) combo->Items().Add(text);
  // The real clock first: a quick burst, then a pause.
  TypeChar(*combo, 'a');
  TypeChar(*combo, 'T');
  EXPECT_EQ("aT", combo->SearchFilter().Text());
  Sleep(600);
  TypeChar(*combo, 'x');
  EXPECT_EQ("x", combo->SearchFilter().Text()) << "a pause of 600 ms starts a new search";
  combo->SetItemIndex(-1);
  TFakeClock clock{GetTickCount() + 1000};
  combo->SearchFilter().SetTickSource([&clock] { return clock.now; });
  TEventLog log(*combo);

  TypeChar(*combo, 'a');
  EXPECT_EQ("ATmega128", combo->Text());
  EXPECT_EQ((TEvents{"Click", "Change"}), log.Take()) << "OnSelect stays quiet";
  clock.Advance(300);
  TypeChar(*combo, 'T');
  EXPECT_EQ(TEvents{}, log.Take());
  clock.Advance(300);
  TypeChar(*combo, 't');
  EXPECT_EQ("ATtiny85", combo->Text());
  EXPECT_EQ((TEvents{"Click", "Change"}), log.Take());

  clock.Advance(500);
  TypeChar(*combo, 'a');
  EXPECT_EQ("a", combo->SearchFilter().Text()) << "500 ms later a new search begins";
  EXPECT_EQ("ATmega128", combo->Text());
  EXPECT_EQ((TEvents{"Click", "Change"}), log.Take());

  clock.Advance(100);
  TypeChar(*combo, 'x');
  EXPECT_EQ("a", combo->SearchFilter().Text());
  EXPECT_EQ("Xmega", combo->Text()) << "unmatched: the platform's first-letter search";
  EXPECT_EQ((TEvents{"Click", "Change", "Select"}), log.Take());
}

TEST(QelComboBoxKeyboard, AutoDropDownAndAutoCloseUp) {
  TTestForm form;
  auto* combo = form.Add<TQelComboBox>(8, 8, 145, 23);
  combo->SetStyle(csDropDownList);
  for (const char* text : {"ab", "abcd"}) combo->Items().Add(text);
  combo->SetAutoDropDown(true);
  combo->SetAutoCloseUp(true);
  TFakeClock clock;
  combo->SearchFilter().SetTickSource([&clock] { return clock.now; });
  combo->SetFocus();

  TypeChar(*combo, 'a');
  EXPECT_TRUE(combo->DroppedDown()) << "typing opens the list";
  clock.Advance(10);
  TypeChar(*combo, 'b');
  EXPECT_FALSE(combo->DroppedDown()) << "the whole text of an item closes it";
  EXPECT_EQ("ab", combo->Text());

  clock.Advance(10);
  TypeChar(*combo, 'c');
  EXPECT_TRUE(combo->DroppedDown()) << "a beginning of an item leaves it open";
  EXPECT_EQ("abcd", combo->Text());
  clock.Advance(10);
  TypeChar(*combo, '\t');
  EXPECT_FALSE(combo->DroppedDown()) << "Tab closes the list";
}

TEST(QelComboBoxKeyboard, WithoutAutoCompleteThePlatformSearches) {
  TTestForm form;
  auto* combo = form.Add<TQelComboBox>(8, 8, 145, 23);
  combo->SetStyle(csDropDownList);
  for (const char* text : {"ab", "b"}) combo->Items().Add(text);
  combo->SetAutoComplete(false);
  TypeChar(*combo, 'a');
  TypeChar(*combo, 'b');
  EXPECT_EQ("b", combo->Text()) << "each letter on its own";
  EXPECT_EQ("", combo->SearchFilter().Text());
}

// --- Mouse ---

TEST(QelComboBoxMouse, CaptureStaysOnlyWithTheActiveControl) {
  TTestForm form;
  TQelComboBox* combo = AddModelList(form);
  auto* other = form.Add<TQelComboBox>(8, 60, 145, 23);
  combo->SetFocus();
  ASSERT_TRUE(combo->Focused());
  const LPARAM field = MAKELPARAM(10, 10);

  SendMessageA(combo->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, field);
  EXPECT_EQ(combo->Handle(), GetCapture()) << "the active control keeps the capture";
  SendMessageA(combo->Handle(), WM_LBUTTONUP, 0, field);
  combo->SetDroppedDown(false);
  ReleaseCapture();

  form->SetFocusedControl(other);
  SendMessageA(combo->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, field);
  EXPECT_NE(combo->Handle(), GetCapture()) << "not the active control: capture released";
  combo->SetDroppedDown(false);
}
