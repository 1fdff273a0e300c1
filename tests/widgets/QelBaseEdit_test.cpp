// The editing engine under the entry field: the caret and the desktop blink
// time, word moves, the clipboard (a busy one too), the mouse (clicks, drags,
// double click, drag-move), the context menu, the messages it answers, its
// frame and what it draws.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <future>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "QelEditTesting.h"
#include "support/Render.h"

namespace {

// Classic frame: the field's client area is inside the platform's client
// edge and the text area starts 1 pixel in.
class TClassicLook {
 public:
  TClassicLook() { QelApplication().SetThemesAllowed(false); }
  ~TClassicLook() { QelApplication().SetThemesAllowed(true); }
};

class EditEngineTest : public ::testing::Test {
 protected:
  TSharedKeyboardReset keyboard_;
  TBlinkTimeRestore blinkTime_;
  TTestForm form_{300, 120};
};

// --- Caret ---

TEST_F(EditEngineTest, FocusedFieldSetsTheDesktopBlinkTimeAndGivesItBack) {
  constexpr UINT kSystemBlinkTime = 500;
  SetCaretBlinkTime(kSystemBlinkTime);
  TIntegerField field(form_, "250000");
  EXPECT_EQ(field.edit->Caret().BlinkRate(), 530);
  EXPECT_EQ(GetCaretBlinkTime(), kSystemBlinkTime) << "before the focus";
  field.Focus();
  EXPECT_EQ(GetCaretBlinkTime(), 530u) << "while focused";
  field.Type("1");
  PumpMessages();  // a repaint hides and shows the caret
  EXPECT_EQ(GetCaretBlinkTime(), 530u) << "after a repaint";
  SetFocus(form_->Handle());
  PumpMessages();
  EXPECT_EQ(GetCaretBlinkTime(), kSystemBlinkTime) << "after the focus left";

  field.Focus();
  delete field.edit;
  EXPECT_EQ(GetCaretBlinkTime(), kSystemBlinkTime) << "after the focused field was freed";
}

TEST_F(EditEngineTest, CaretFollowsTheCursorAndTheTextScrollsToShowIt) {
  TClassicLook classic;
  auto* edit = form_.Add<TQelCustomEdit>(8, 8, 60, 21);
  edit->SetText("1234567890123456789012345");
  edit->SetFocus();
  PumpMessages();
  POINT caret{};
  GetCaretPos(&caret);
  EXPECT_EQ(caret.x, 1) << "at 1, left-justified";
  EXPECT_EQ(caret.y, 1);

  SendMessageA(edit->Handle(), WM_KEYDOWN, VK_END, 1);
  GetCaretPos(&caret);
  const TRect client = edit->ClientRect();
  EXPECT_GT(edit->ScrollOffset(), 0);
  EXPECT_LT(caret.x, client.Right - 2) << "caret kept inside the text area";
  EXPECT_GT(caret.x, client.Right / 2);

  edit->SetText("12");
  GetCaretPos(&caret);
  EXPECT_EQ(edit->ScrollOffset(), 0) << "assignment";
  EXPECT_EQ(caret.x, 1) << "assignment";
}

// --- Keys ---

TEST_F(EditEngineTest, CtrlArrowsMoveBySpaceDelimitedWords) {
  TIntegerField field(form_, "12 345 6");  // assigned: no filter keeps the blanks out
  field.Key(VK_END);
  for (const int expected : {8, 4, 1}) {
    field.Key(VK_LEFT, false, true);
    EXPECT_EQ(field.edit->CursorPos(), expected) << "Ctrl+Left";
  }
  for (const int expected : {3, 7, 9}) {
    field.Key(VK_RIGHT, false, true);
    EXPECT_EQ(field.edit->CursorPos(), expected) << "Ctrl+Right";
  }
}

// --- Messages ---

TEST_F(EditEngineTest, AnswersDialogCodeTextLengthAndErase) {
  TIntegerField field(form_, "250000");
  const LRESULT code = SendMessageA(field.Window(), WM_GETDLGCODE, 0, 0);
  EXPECT_EQ(code & (DLGC_WANTARROWS | DLGC_WANTCHARS), DLGC_WANTARROWS | DLGC_WANTCHARS);
  EXPECT_EQ(code & DLGC_WANTTAB, 0) << "Tab stays with the form";
  EXPECT_EQ(SendMessageA(field.Window(), WM_GETTEXTLENGTH, 0, 0), 6);

  TPixels pixels(20, 20);
  EXPECT_EQ(SendMessageA(field.Window(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(pixels.DC()), 0), 1);
  EXPECT_TRUE(PixelIs(pixels, 5, 5, clWhite)) << "erasing leaves the background alone";
}

// Runs `body` while a window of another thread holds the clipboard open, as
// another program would.
void WhileClipboardIsHeldElsewhere(const std::function<void()>& body) {
  std::promise<bool> opened;
  std::promise<void> done;
  std::thread holder([&opened, finished = done.get_future()] {
    HWND owner = CreateWindowA("STATIC", "", 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
    opened.set_value(OpenClipboard(owner) != FALSE);
    finished.wait();
    CloseClipboard();
    DestroyWindow(owner);
  });
  const bool held = opened.get_future().get();
  if (held) body();
  done.set_value();
  holder.join();
  EXPECT_TRUE(held) << "the other thread could not open the clipboard";
}

TEST_F(EditEngineTest, ClipboardMessages) {
  TIntegerField field(form_, "250000");
  field.edit->SetSelection(2, 3);
  SendMessageA(field.Window(), WM_COPY, 0, 0);
  EXPECT_EQ(GetClipboardText(field.Window()), "500");
  WhileClipboardIsHeldElsewhere([&] {
    SendMessageA(field.Window(), WM_CUT, 0, 0);
    EXPECT_EQ(EditState(*field.edit), State("250000", 5, 2, 3)) << "cut, clipboard busy";
  });
  SetClipboardText(field.Window(), "before");
  SendMessageA(field.Window(), WM_CUT, 0, 0);
  EXPECT_EQ(EditState(*field.edit), State("200", 2, 2, 0));
  EXPECT_EQ(GetClipboardText(field.Window()), "500");
  SendMessageA(field.Window(), WM_COPY, 0, 0);
  EXPECT_EQ(GetClipboardText(field.Window()), "") << "empty selection copies the empty text";

  // With nothing selected, in either mode, these change neither the text
  // nor the clipboard.
  for (const bool insertMode : {true, false}) {
    QelApplication().Keyboard().insertMode = insertMode;
    const char* mode = insertMode ? "insert mode" : "overwrite mode";
    const std::pair<const char*, std::function<void()>> commands[] = {
        {"WM_CUT", [&] { SendMessageA(field.Window(), WM_CUT, 0, 0); }},
        {"Shift+Delete", [&] { field.Key(VK_DELETE, true); }},
        {"WM_CLEAR", [&] { SendMessageA(field.Window(), WM_CLEAR, 0, 0); }},
    };
    for (const auto& [name, command] : commands) {
      SetClipboardText(field.Window(), "kept");
      command();
      EXPECT_EQ(EditState(*field.edit), State("200", 2, 2, 0)) << name << ", " << mode;
      EXPECT_EQ(GetClipboardText(field.Window()), "kept") << name << ", " << mode;
    }
    ClearClipboard(field.Window());
    SendMessageA(field.Window(), WM_PASTE, 0, 0);
    EXPECT_EQ(EditState(*field.edit), State("200", 2, 2, 0)) << "empty paste, " << mode;
  }

  field.edit->SetReadOnly(true);
  field.Paste("1");
  field.Key(VK_BACK);
  EXPECT_EQ(field.edit->Text(), "200") << "read-only";
}

// --- Frame ---

TEST_F(EditEngineTest, ClassicFrameIsTheClientEdgeThemedFrameIsDrawn) {
  {
    TClassicLook classic;
    TIntegerField field(form_, "1");
    EXPECT_TRUE(GetWindowLongA(field.Window(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
    EXPECT_EQ(field.edit->ClientRect(), TRect(0, 0, 117, 17));
  }
  if (!IsThemeActive()) GTEST_SKIP() << "the desktop has no theme";
  TIntegerField themed(form_, "1", 140);
  EXPECT_FALSE(GetWindowLongA(themed.Window(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
  EXPECT_FALSE(GetWindowLongA(themed.Window(), GWL_STYLE) & WS_BORDER);
  EXPECT_EQ(themed.edit->ClientRect(), TRect(0, 0, 121, 21));
}

// --- Drawing ---

// Columns of the text area holding any pixel that is not the background.
std::pair<int, int> InkColumns(const TPixels& pixels, const TRect& area, TColor background) {
  int first = -1;
  int last = -1;
  for (int x = area.Left; x < area.Right; ++x)
    for (int y = area.Top; y < area.Bottom; ++y)
      if (pixels.Pixel(x, y) != ColorToRGB(background)) {
        if (first < 0) first = x;
        last = x;
        break;
      }
  return {first, last};
}

TEST_F(EditEngineTest, TextIsCentredInTheTextArea) {
  TClassicLook classic;
  TIntegerField centred(form_, "250000");
  const TRect area{1, 1, 115, 16};
  TPixels pixels = RenderControl(*centred.edit);
  EXPECT_TRUE(PixelIs(pixels, 0, 0, clWindow));
  EXPECT_TRUE(PixelIs(pixels, 116, 16, clWindow)) << "button strip";
  const auto [first, last] = InkColumns(pixels, area, clWindow);
  ASSERT_GE(first, 0) << "no text drawn";
  const int leftMargin = first - area.Left;
  const int rightMargin = area.Right - 1 - last;
  EXPECT_LE(std::abs(leftMargin - rightMargin), 3)
      << "margins left " << leftMargin << ", right " << rightMargin;

  centred.edit->SetAlignment(taLeftJustify);
  TPixels left = RenderControl(*centred.edit);
  EXPECT_LE(InkColumns(left, area, clWindow).first, area.Left + 2);
  centred.edit->SetAlignment(taRightJustify);
  TPixels right = RenderControl(*centred.edit);
  EXPECT_GE(InkColumns(right, area, clWindow).second, area.Right - 3);
}

TEST_F(EditEngineTest, SelectionIsHighlightedOnlyWhileFocused) {
  TClassicLook classic;
  TIntegerField field(form_, "250000", 8);
  TIntegerField other(form_, "1", 140);
  const TRect area{1, 1, 115, 16};
  field.Focus();
  field.Key(VK_HOME);
  field.Key(VK_END, true);
  TPixels selected = RenderControl(*field.edit);
  const int highlight = selected.Count(area, ColorToRGB(clHighlight));
  EXPECT_GT(highlight, 100) << "highlight pixels";
  EXPECT_GT(selected.Count(area, ColorToRGB(clHighlightText)), 5) << "selected text pixels";
  EXPECT_EQ(selected.Count({0, 0, 20, 17}, ColorToRGB(clHighlight)), 0)
      << "the highlight covers the text only";

  field.edit->SetHighlightBack(clLime);
  TPixels lime = RenderControl(*field.edit);
  EXPECT_EQ(lime.Count(area, clLime), highlight);

  other.Focus();
  TPixels hidden = RenderControl(*field.edit);
  EXPECT_EQ(hidden.Count(area, clLime), 0) << "HideSelection";
  field.edit->SetHideSelection(false);
  TPixels shown = RenderControl(*field.edit);
  EXPECT_EQ(shown.Count(area, clLime), highlight);
}

TEST_F(EditEngineTest, FocusedDrawingThroughTheBufferLooksLikeDirectDrawing) {
  TClassicLook classic;
  TIntegerField field(form_, "16000000");
  field.edit->SetColor(clYellow);
  TPixels direct = RenderControl(*field.edit);
  field.Focus();
  TPixels buffered = RenderControl(*field.edit);
  const TRect client = field.edit->ClientRect();
  int differing = 0;
  for (int y = 0; y < client.Height(); ++y)
    for (int x = 0; x < client.Width(); ++x)
      if (direct.Pixel(x, y) != buffered.Pixel(x, y)) ++differing;
  EXPECT_EQ(differing, 0);
  EXPECT_TRUE(PixelIs(buffered, 0, 0, clYellow));
  EXPECT_TRUE(PixelIs(buffered, client.Right - 1, client.Bottom - 1, clYellow));
}

TEST_F(EditEngineTest, TextIsClippedToTheTextArea) {
  TClassicLook classic;
  auto* edit = form_.Add<TQelCustomEdit>(8, 8, 60, 21);
  edit->SetText("8888888888888888888888888888");
  edit->SetFocus();
  PumpMessages();
  SendMessageA(edit->Handle(), WM_KEYDOWN, VK_END, 1);
  ASSERT_GT(edit->ScrollOffset(), 0);
  TPixels pixels = RenderControl(*edit);
  const TRect client = edit->ClientRect();
  const TColor window = ColorToRGB(clWindow);
  for (int y = 0; y < client.Height(); ++y) {
    EXPECT_EQ(pixels.Pixel(0, y), window) << "left of the text area, row " << y;
    EXPECT_EQ(pixels.Pixel(client.Right - 2, y), window) << "right of the text area, row " << y;
  }
  EXPECT_LT(pixels.Count({1, 1, client.Right - 2, client.Bottom - 1}, window),
            (client.Right - 3) * (client.Bottom - 2))
      << "scrolled text is drawn";
}

// Shows the state its themed frame is drawn in.
class TThemeStateField : public TQelMaskEdit {
 public:
  using TQelMaskEdit::TQelMaskEdit;
  using TQelMaskEdit::ThemeState;
};

TEST_F(EditEngineTest, ThemedFieldDrawsTheEditFrameOfItsState) {
  if (!IsThemeActive()) GTEST_SKIP() << "the desktop has no theme";
  auto* probe = form_.Add<TThemeStateField>(8, 40, 121, 21);
  EXPECT_EQ(1, probe->ThemeState()) << "normal";
  probe->SetFocus();
  EXPECT_EQ(5, probe->ThemeState()) << "focused";
  probe->Perform(CM_MOUSEENTER);
  EXPECT_EQ(2, probe->ThemeState()) << "hot before focused";
  probe->SetReadOnly(true);
  EXPECT_EQ(6, probe->ThemeState()) << "read-only before hot";
  probe->SetEnabled(false);
  EXPECT_EQ(4, probe->ThemeState()) << "disabled before all";

  TIntegerField field(form_, "1");
  const TRect client = field.edit->ClientRect();
  // The edit part (1) of the theme in the normal (1) and focused (5) state.
  const auto expectFrame = [&](int themeState, const char* name) {
    const TPixels expected = RenderThemePart(field.Window(), L"EDIT", 1, themeState, client,
                                             client.Width(), client.Height(), clWindow);
    EXPECT_TRUE(SameBorder(expected, RenderControl(*field.edit), 1)) << name;
  };
  expectFrame(1, "normal");
  field.edit->SetFocus();
  expectFrame(5, "focused");
  EXPECT_TRUE(PixelIs(RenderControl(*field.edit), 10, client.Height() / 2, clWindow))
      << "inside the frame";
}

TEST_F(EditEngineTest, CharCaseAndPasswordCharacter) {
  auto* edit = form_.Add<TQelCustomEdit>(8, 8, 121, 21);
  edit->SetCharCase(ecUpperCase);
  SendMessageA(edit->Handle(), WM_CHAR, 'a', 1);
  edit->SetCharCase(ecLowerCase);
  SendMessageA(edit->Handle(), WM_CHAR, 'B', 1);
  SendMessageA(edit->Handle(), WM_CHAR, 1, 1);  // Ctrl+A's character inserts nothing
  EXPECT_EQ(edit->Text(), "Ab");

  SetClipboardText(edit->Handle(), "before");
  edit->SetPasswordChar('*');
  edit->SetSelection(1, 2);
  SendMessageA(edit->Handle(), WM_COPY, 0, 0);
  SendMessageA(edit->Handle(), WM_CUT, 0, 0);
  EXPECT_EQ(GetClipboardText(edit->Handle()), "before") << "a password stays off the clipboard";
  EXPECT_EQ(edit->Text(), "Ab");
}

TEST_F(EditEngineTest, UpdateLockHoldsBackChangeReports) {
  TIntegerField field(form_, "1");
  field.TakeEvents();
  field.edit->BeginUpdate();
  field.Key(VK_END);
  field.Type("2");
  field.edit->SetText("5");
  EXPECT_EQ(field.TakeEvents(), std::vector<int>{});
  field.edit->EndUpdate();
  field.Type("3");
  EXPECT_EQ(field.TakeEvents(), std::vector<int>{1});
  EXPECT_EQ(field.edit->Text(), "35");
}

TEST_F(EditEngineTest, ModifiedAndCursorEvents) {
  TIntegerField field(form_, "1");
  int modified = 0;
  int cursorMoves = 0;
  field.edit->OnModified = [&modified](TObject*) { ++modified; };
  field.edit->OnCursorPosChanged = [&cursorMoves](TObject*) { ++cursorMoves; };
  field.edit->SetText("12");
  EXPECT_FALSE(field.edit->Modified()) << "assignment";
  field.Key(VK_END);
  EXPECT_EQ(cursorMoves, 1);
  field.Type("3");
  field.Type("4");
  EXPECT_TRUE(field.edit->Modified());
  EXPECT_EQ(modified, 1) << "raised when the flag changes only";
  EXPECT_EQ(cursorMoves, 3);
}

// --- Mouse ---

class MouseTest : public EditEngineTest {
 protected:
  MouseTest() : field_(form_, "123456") {
    field_.edit->SetAlignment(taLeftJustify);
    field_.Focus();
  }
  // The x of the boundary before position p (left-justified text).
  int X(int p) {
    TWindowDC dc(field_.Window());
    TSelectObject font(dc.Get(), field_.edit->Font().Handle());
    SIZE size{};
    GetTextExtentPoint32A(dc.Get(), field_.edit->Text().c_str(), p - 1, &size);
    return kTextLeft + size.cx;
  }
  void Send(UINT msg, int x, WPARAM flags) {
    SendMessageA(field_.Window(), msg, flags, MAKELPARAM(x, 5));
  }

  static constexpr int kTextLeft = 1;
  TClassicLook classic_;
  TIntegerField field_;
};

TEST_F(MouseTest, ClickPlacesTheCursorBeforeTheCharacterWhoseMiddleIsRightOfIt) {
  SetFocus(form_->Handle());
  Send(WM_LBUTTONDOWN, X(3), MK_LBUTTON);
  Send(WM_LBUTTONUP, X(3), 0);
  EXPECT_EQ(GetFocus(), field_.Window()) << "a click takes the focus";
  for (int p = 1; p <= 7; ++p) {
    Send(WM_LBUTTONDOWN, X(p), MK_LBUTTON);
    Send(WM_LBUTTONUP, X(p), 0);
    EXPECT_EQ(EditState(*field_.edit), State("123456", p, p, 0)) << "click at the boundary " << p;
  }
  Send(WM_LBUTTONDOWN, 0, MK_LBUTTON);
  Send(WM_LBUTTONUP, 0, 0);
  EXPECT_EQ(field_.edit->CursorPos(), 1);
  Send(WM_LBUTTONDOWN, 200, MK_LBUTTON);
  Send(WM_LBUTTONUP, 200, 0);
  EXPECT_EQ(field_.edit->CursorPos(), 7) << "right of the text";
}

TEST_F(MouseTest, DraggingSelectsDoubleClickSelectsTheWord) {
  Send(WM_LBUTTONDOWN, X(2), MK_LBUTTON);
  Send(WM_MOUSEMOVE, X(5), MK_LBUTTON);
  EXPECT_EQ(EditState(*field_.edit), State("123456", 5, 2, 3));
  Send(WM_MOUSEMOVE, X(1), MK_LBUTTON | MK_CONTROL);
  EXPECT_EQ(EditState(*field_.edit), State("123456", 5, 2, 3)) << "Ctrl held: no move";
  Send(WM_LBUTTONUP, X(5), 0);
  Send(WM_MOUSEMOVE, X(1), 0);
  EXPECT_EQ(EditState(*field_.edit), State("123456", 5, 2, 3)) << "button up: no move";

  field_.edit->SetText("12 345 6");
  Send(WM_LBUTTONDOWN, X(5), MK_LBUTTON);
  Send(WM_LBUTTONUP, X(5), 0);
  Send(WM_LBUTTONDBLCLK, X(5), MK_LBUTTON);
  Send(WM_LBUTTONUP, X(5), 0);
  EXPECT_EQ(EditState(*field_.edit), State("12 345 6", 5, 4, 3)) << "double click";
}

TEST_F(MouseTest, ClickReadsShiftFromThePress) {
  field_.Key(VK_HOME);
  Send(WM_LBUTTONDOWN, X(4), MK_LBUTTON | MK_SHIFT);
  Send(WM_LBUTTONUP, X(4), MK_SHIFT);
  EXPECT_EQ(EditState(*field_.edit), State("123456", 4, 1, 3)) << "Shift+click";

  // Shift goes down in the field and comes up over another window.
  BYTE state[256] = {};
  state[VK_SHIFT] = 0x80;
  SetKeyboardState(state);
  SendMessageA(field_.Window(), WM_KEYDOWN, VK_SHIFT, 1);
  BYTE released[256] = {};
  SetKeyboardState(released);
  SendMessageA(form_->Handle(), WM_KEYUP, VK_SHIFT, 0xC0000001);
  Send(WM_LBUTTONDOWN, X(3), MK_LBUTTON);
  Send(WM_LBUTTONUP, X(3), 0);
  EXPECT_EQ(EditState(*field_.edit), State("123456", 3, 3, 0)) << "plain click after Shift";
}

TEST_F(MouseTest, DragMoveIsOneEditThatInsertsAtTheDropPosition) {
  const HCURSOR arrow = SetCursor(LoadCursorA(nullptr, IDC_ARROW));
  field_.edit->SetSelection(1, 4);  // "1234"
  field_.TakeEvents();
  Send(WM_LBUTTONDOWN, X(3), MK_LBUTTON);
  EXPECT_EQ(field_.edit->SelLength(), 4) << "a press inside the selection keeps it";
  EXPECT_NE(GetCursor(), arrow) << "the drag cursor shows";
  Send(WM_MOUSEMOVE, X(7), MK_LBUTTON);
  EXPECT_EQ(EditState(*field_.edit), State("123456", 7, 1, 4)) << "only the cursor follows";
  Send(WM_LBUTTONUP, X(7), 0);
  EXPECT_EQ(GetCursor(), arrow) << "the cursor before the drag is back";
  EXPECT_EQ(EditState(*field_.edit), State("561234", 3, 3, 0));
  EXPECT_EQ(field_.TakeEvents(), std::vector<int>{1}) << "one report, of the moved text";
  field_.edit->Undo();
  EXPECT_EQ(EditState(*field_.edit), State("123456", 5, 1, 4)) << "one undo takes it back";

  QelApplication().Keyboard().insertMode = false;
  field_.edit->SetText("123456");
  field_.edit->SetSelection(1, 2);  // "12"
  Send(WM_LBUTTONDOWN, X(2), MK_LBUTTON);
  Send(WM_MOUSEMOVE, X(5), MK_LBUTTON);
  Send(WM_LBUTTONUP, X(5), 0);
  EXPECT_EQ(EditState(*field_.edit), State("341256", 3, 3, 0)) << "overwrite mode";

  field_.edit->SetSelection(3, 2);  // "12"
  Send(WM_LBUTTONDOWN, X(4), MK_LBUTTON);
  Send(WM_MOUSEMOVE, X(1), MK_LBUTTON);
  Send(WM_LBUTTONUP, X(1), 0);
  EXPECT_EQ(EditState(*field_.edit), State("123456", 1, 1, 0)) << "dropped before";

  field_.edit->SetSelection(2, 3);  // "234"
  Send(WM_LBUTTONDOWN, X(3), MK_LBUTTON);
  Send(WM_MOUSEMOVE, X(5), MK_LBUTTON);
  Send(WM_LBUTTONUP, X(5), 0);
  EXPECT_EQ(EditState(*field_.edit), State("123456", 5, 5, 0)) << "dropped on its own end";

  field_.edit->SetText("12-3");
  field_.edit->SetSelection(2, 2);  // "2-", which may not go in front
  field_.TakeEvents();
  Send(WM_LBUTTONDOWN, X(3), MK_LBUTTON);
  Send(WM_MOUSEMOVE, X(1), MK_LBUTTON);
  Send(WM_LBUTTONUP, X(1), 0);
  EXPECT_EQ(EditState(*field_.edit), State("12-3", 4, 2, 2)) << "refused by the filter";
  field_.edit->Undo();
  EXPECT_EQ(field_.edit->Text(), "12-3");
}

// --- Context menu ---

// Answers the next context menu from a timer inside its modal loop: records
// its items and chooses one by its caption (or dismisses it).
class TMenuDriver {
 public:
  explicit TMenuDriver(std::string choose) : choose_(std::move(choose)) {
    current_ = this;
    timer_ = SetTimer(nullptr, 0, 20, Tick);
  }
  TMenuDriver(const TMenuDriver&) = delete;
  TMenuDriver& operator=(const TMenuDriver&) = delete;
  ~TMenuDriver() {
    KillTimer(nullptr, timer_);
    current_ = nullptr;
  }
  // "caption" or "caption (disabled)", separators as "-".
  std::vector<std::string> items;

 private:
  static BOOL CALLBACK FindPopup(HWND window, LPARAM found) {
    char name[32] = {};
    GetClassNameA(window, name, sizeof name);
    if (std::strcmp(name, "#32768") != 0 || !IsWindowVisible(window)) return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
  }
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    TMenuDriver* self = current_;
    if (!self || self->answered_) return;
    HWND popup = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), FindPopup, reinterpret_cast<LPARAM>(&popup));
    if (!popup) return;
    self->answered_ = true;
    constexpr UINT kGetMenu = 0x01E1;  // MN_GETHMENU
    HMENU menu = reinterpret_cast<HMENU>(SendMessageA(popup, kGetMenu, 0, 0));
    int steps = -1;
    int selectable = 0;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
      const UINT state = GetMenuState(menu, i, MF_BYPOSITION);
      if (state & MF_SEPARATOR) {
        self->items.push_back("-");
        continue;
      }
      char caption[64] = {};
      GetMenuStringA(menu, i, caption, sizeof caption, MF_BYPOSITION);
      const bool enabled = !(state & (MF_GRAYED | MF_DISABLED));
      self->items.push_back(std::string(caption) + (enabled ? "" : " (disabled)"));
      ++selectable;
      if (caption == self->choose_) steps = selectable;
    }
    if (steps < 0) {
      PostMessageA(popup, WM_KEYDOWN, VK_ESCAPE, 0);
      return;
    }
    for (int i = 0; i < steps; ++i) PostMessageA(popup, WM_KEYDOWN, VK_DOWN, 0);
    PostMessageA(popup, WM_KEYDOWN, VK_RETURN, 0);
  }

  static inline TMenuDriver* current_ = nullptr;
  std::string choose_;
  UINT_PTR timer_ = 0;
  bool answered_ = false;
};

void RightClick(TIntegerField& field) {
  SendMessageA(field.Window(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(5, 5));
  SendMessageA(field.Window(), WM_RBUTTONUP, 0, MAKELPARAM(5, 5));
}

TEST_F(EditEngineTest, ContextMenuItemsFollowTheFieldsState) {
  TIntegerField field(form_, "250000");
  field.Focus();
  ClearClipboard(field.Window());
  {
    TMenuDriver driver("");
    RightClick(field);
    EXPECT_EQ(driver.items,
              (std::vector<std::string>{"&Undo", "-", "&Cut (disabled)", "&Copy (disabled)",
                                        "&Paste (disabled)", "&Delete (disabled)", "-",
                                        "Select all"}));
  }
  field.Key(VK_END);
  field.Key(VK_LEFT, true);
  SetClipboardText(field.Window(), "1");
  field.edit->SetReadOnly(true);
  {
    TMenuDriver driver("");
    RightClick(field);
    EXPECT_EQ(driver.items,
              (std::vector<std::string>{"&Undo", "-", "&Cut (disabled)", "&Copy",
                                        "&Paste (disabled)", "&Delete", "-", "Select all"}))
        << "read-only with a selection";
  }
  field.edit->SetReadOnly(false);
  field.edit->SetText("");
  {
    TMenuDriver driver("");
    RightClick(field);
    ASSERT_EQ(driver.items.size(), 8u);
    EXPECT_EQ(driver.items[4], "&Paste");
    EXPECT_EQ(driver.items[7], "Select all (disabled)");
  }
}

TEST_F(EditEngineTest, ContextMenuCommandsRun) {
  TIntegerField field(form_, "250000");
  field.Focus();
  field.Key(VK_END);
  field.Type("7");
  {
    TMenuDriver driver("&Undo");
    RightClick(field);
  }
  EXPECT_EQ(field.edit->Text(), "250000");
  {
    TMenuDriver driver("&Undo");
    RightClick(field);
    ASSERT_FALSE(driver.items.empty());
    EXPECT_EQ(driver.items[0], "&Undo (disabled)") << "the undo stack is empty";
  }
  {
    TMenuDriver driver("Select all");
    RightClick(field);
  }
  EXPECT_EQ(EditState(*field.edit), State("250000", 7, 1, 6));
  {
    TMenuDriver driver("&Copy");
    RightClick(field);
  }
  EXPECT_EQ(GetClipboardText(field.Window()), "250000");
  {
    TMenuDriver driver("&Delete");
    RightClick(field);
  }
  EXPECT_EQ(field.edit->Text(), "");
  {
    TMenuDriver driver("&Paste");
    RightClick(field);
  }
  EXPECT_EQ(field.edit->Text(), "250000");
}

TEST_F(EditEngineTest, ContextPopupHandlerAndOptionKeepTheMenuAway) {
  TIntegerField field(form_, "1");
  TPoint where;
  field.edit->OnContextPopup = [&where](TObject*, TPoint p, bool& handled) {
    where = p;
    handled = true;
  };
  TMenuDriver driver("");
  RightClick(field);
  EXPECT_EQ(where, field.edit->ClientToScreen({5, 5}));
  field.edit->OnContextPopup = nullptr;
  field.edit->SetOptions({eoSuppressDefaultMenu});
  RightClick(field);
  EXPECT_TRUE(driver.items.empty()) << "no menu was shown";
}

}  // namespace
