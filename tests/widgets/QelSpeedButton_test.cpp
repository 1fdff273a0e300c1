// The OK button of the about page: states and clicks for real mouse message
// sequences, its classic raised and sunken faces pixel by pixel, the themed
// face, the caption's place, and no repaint where nothing changes.
#include "widgets/QelSpeedButton.h"

#include <gtest/gtest.h>
#include <uxtheme.h>
#include <vsstyle.h>

#include <functional>

#include "support/Render.h"
#include "support/TestForm.h"
#include "widgets/QelApplication.h"
#include "widgets/QelBackPanel.h"

namespace {

using S = TQelButtonState;

// Counts how often the button paints itself.
class TCountingButton : public TQelSpeedButton {
 public:
  using TQelSpeedButton::TQelSpeedButton;
  int paints = 0;

 protected:
  void Paint() override {
    ++paints;
    TQelSpeedButton::Paint();
  }
};

const char* StateName(S s) {
  static const char* const names[] = {"Up",      "Disabled", "Hot",           "Latched",
                                      "Pressed", "MenuOpen", "DisabledLatched"};
  return names[static_cast<int>(s)];
}
#define EXPECT_STATE(expected, button) \
  EXPECT_STREQ(StateName(expected), StateName((button).ButtonState()))

// The about page with its button, the classic face unless `themed`.
class ButtonTest : public ::testing::Test {
 protected:
  explicit ButtonTest(bool themed = false) {
    QelApplication().SetThemesAllowed(themed);
    QelApplication().ReevaluateThemes();
    page = form.Add<TQelBackPanel>(8, 8, 441, 450);
    page->Bevel().SetMode(bmEdge);
    button = new TCountingButton(&form.Form());
    button->SetBounds(184, 408, 73, 30);
    button->SetCaption("OK");
    button->SetParent(page);
    button->OnClick = [this](TObject* sender) {
      EXPECT_EQ(button, sender);
      ++clicks;
      if (onClick) onClick();
    };
    PumpMessages();
  }
  ~ButtonTest() override { QelApplication().SetThemesAllowed(allowedBefore); }

  // A mouse message to the page at (x, y) of the button's client area.
  void Mouse(UINT msg, WPARAM keys, int x, int y) {
    SendMessageA(page->Handle(), msg, keys, MAKELPARAM(button->Left() + x, button->Top() + y));
  }
  void Press(int x, int y) { Mouse(WM_LBUTTONDOWN, MK_LBUTTON, x, y); }
  void MoveHeld(int x, int y) { Mouse(WM_MOUSEMOVE, MK_LBUTTON, x, y); }
  void Release(int x, int y) { Mouse(WM_LBUTTONUP, 0, x, y); }
  bool PageHasUpdate() { return GetUpdateRect(page->Handle(), nullptr, FALSE) != FALSE; }

  bool allowedBefore = QelApplication().ThemesAllowed();
  TTestForm form{460, 470};
  TQelBackPanel* page = nullptr;
  TCountingButton* button = nullptr;
  int clicks = 0;
  std::function<void()> onClick;
};

// The classic raised face of a 73 x 30 button.
void ExpectRaisedFace(const TPixels& p) {
  EXPECT_TRUE(PixelIs(p, 36, 0, clBtnHighlight));
  EXPECT_TRUE(PixelIs(p, 0, 15, clBtnHighlight));
  EXPECT_TRUE(PixelIs(p, 36, 29, cl3DDkShadow));
  EXPECT_TRUE(PixelIs(p, 72, 15, cl3DDkShadow));
  EXPECT_TRUE(PixelIs(p, 36, 28, clBtnShadow));
  EXPECT_TRUE(PixelIs(p, 71, 15, clBtnShadow));
  EXPECT_TRUE(PixelIs(p, 36, 1, clBtnFace)) << "no inner line at the top";
  EXPECT_TRUE(PixelIs(p, 1, 15, clBtnFace)) << "no inner line at the left";
}

// The classic sunken face.
void ExpectSunkenFace(const TPixels& p) {
  EXPECT_TRUE(PixelIs(p, 36, 0, cl3DDkShadow));
  EXPECT_TRUE(PixelIs(p, 0, 15, cl3DDkShadow));
  EXPECT_TRUE(PixelIs(p, 36, 29, clBtnHighlight));
  EXPECT_TRUE(PixelIs(p, 72, 15, clBtnHighlight));
  EXPECT_TRUE(PixelIs(p, 36, 1, clBtnShadow));
  EXPECT_TRUE(PixelIs(p, 1, 15, clBtnShadow));
  EXPECT_TRUE(PixelIs(p, 36, 28, cl3DLight));
  EXPECT_TRUE(PixelIs(p, 71, 15, cl3DLight));
}

// The bounding box of what differs from the face inside `area`.
TRect InkBox(const TPixels& p, const TRect& area) {
  TRect box(area.Right, area.Bottom, area.Left, area.Top);
  for (int y = area.Top; y < area.Bottom; ++y)
    for (int x = area.Left; x < area.Right; ++x)
      if (p.Pixel(x, y) != ColorToRGB(clBtnFace)) {
        box.Left = std::min(box.Left, x);
        box.Top = std::min(box.Top, y);
        box.Right = std::max(box.Right, x + 1);
        box.Bottom = std::max(box.Bottom, y + 1);
      }
  return box;
}

TEST_F(ButtonTest, NewButtonDefaults) {
  auto* fresh = new TQelSpeedButton(&form.Form());
  EXPECT_EQ(TQelSpeedButton::kDefaultWidth, fresh->Width());
  EXPECT_EQ(TQelSpeedButton::kDefaultHeight, fresh->Height());
  EXPECT_STATE(S::Up, *fresh);
  EXPECT_TRUE(fresh->UseCaption());
  EXPECT_TRUE(fresh->CtlXP());
  EXPECT_FALSE(fresh->MultiLine());
  EXPECT_EQ(agCenter, fresh->ButtonLayout().Alignment());
  EXPECT_EQ(clCaptionText, fresh->EnterColor());
  EXPECT_FALSE(fresh->EnterColorChange());
  EXPECT_TRUE(fresh->ControlStyle().Contains(csOpaque));
  EXPECT_TRUE(fresh->ControlStyle().Contains(csCaptureMouse));
}

TEST_F(ButtonTest, PressAndReleaseInsideClicksOnce) {
  Press(10, 10);
  EXPECT_STATE(S::Pressed, *button);
  ExpectSunkenFace(RenderGraphic(*button));
  EXPECT_EQ(0, clicks);
  Release(10, 10);
  EXPECT_EQ(1, clicks);
  EXPECT_STATE(S::Hot, *button);
  ExpectRaisedFace(RenderGraphic(*button));
}

TEST_F(ButtonTest, MovingOutShowsTheRaisedFaceAndReleasingOutsideCancels) {
  Press(10, 10);
  MoveHeld(100, 10);
  EXPECT_STATE(S::Up, *button);
  ExpectRaisedFace(RenderGraphic(*button));
  Release(100, 10);
  EXPECT_EQ(0, clicks);
  EXPECT_STATE(S::Up, *button);
}

TEST_F(ButtonTest, MovingOutAndBackInStillClicksOnce) {
  Press(10, 10);
  MoveHeld(-5, 10);
  EXPECT_STATE(S::Up, *button);
  MoveHeld(20, 12);
  EXPECT_STATE(S::Pressed, *button);
  ExpectSunkenFace(RenderGraphic(*button));
  Release(20, 12);
  EXPECT_EQ(1, clicks);
}

TEST_F(ButtonTest, ReleaseOnTheRowBelowCountsTheColumnRightDoesNot) {
  Press(10, 10);
  Release(10, 30);
  EXPECT_EQ(1, clicks) << "row y = height";
  Press(10, 10);
  Release(73, 10);
  EXPECT_EQ(1, clicks) << "column x = width";
  Press(10, 10);
  Release(72, 29);
  EXPECT_EQ(2, clicks) << "last pixel";
  Press(10, 10);
  Release(10, 31);
  EXPECT_EQ(2, clicks) << "two rows below";
}

TEST_F(ButtonTest, MovingOnTheRightColumnWhileHeldStaysPressed) {
  // Moves count the right column as inside, releases do not.
  Press(10, 10);
  MoveHeld(73, 10);
  EXPECT_STATE(S::Pressed, *button);
  Release(73, 10);
  EXPECT_EQ(0, clicks);
}

TEST_F(ButtonTest, RightButtonChangesNothing) {
  const int paints = button->paints;
  Mouse(WM_RBUTTONDOWN, MK_RBUTTON, 10, 10);
  EXPECT_STATE(S::Up, *button);
  Mouse(WM_RBUTTONUP, 0, 10, 10);
  EXPECT_STATE(S::Up, *button);
  EXPECT_EQ(0, clicks);
  EXPECT_EQ(paints, button->paints);
}

TEST_F(ButtonTest, OnClickRunsAfterTheRaisedFaceIsOnTheScreen) {
  bool checked = false;
  onClick = [&] {
    checked = true;
    EXPECT_STATE(S::Hot, *button);
    EXPECT_FALSE(PageHasUpdate()) << "repainted before OnClick, not merely marked";
    ExpectRaisedFace(RenderGraphic(*button));
    page->Hide();  // as the window's handler does
  };
  Press(10, 10);
  Release(10, 10);
  EXPECT_TRUE(checked);
  EXPECT_FALSE(page->Visible());
}

TEST_F(ButtonTest, OnClickMayFreeTheButton) {
  onClick = [&] {
    delete button;
    button = nullptr;
  };
  Press(10, 10);
  Release(10, 10);
  EXPECT_EQ(1, clicks);
  EXPECT_EQ(0, page->ControlCount());
}

TEST_F(ButtonTest, DoubleClickIsTwoClicks) {
  Press(10, 10);
  Release(10, 10);
  Mouse(WM_LBUTTONDBLCLK, MK_LBUTTON, 10, 10);
  EXPECT_STATE(S::Pressed, *button);
  Release(10, 10);
  EXPECT_EQ(2, clicks);
}

TEST_F(ButtonTest, HoveringWithTheClassicFaceRedrawsNothing) {
  PumpMessages();
  ValidateRect(page->Handle(), nullptr);
  const int paints = button->paints;
  Mouse(WM_MOUSEMOVE, 0, 30, 15);
  EXPECT_STATE(S::Hot, *button);
  button->Perform(CM_MOUSELEAVE);
  EXPECT_STATE(S::Up, *button);
  button->Perform(CM_MOUSEENTER);
  EXPECT_STATE(S::Hot, *button);
  EXPECT_EQ(paints, button->paints);
  EXPECT_FALSE(PageHasUpdate());
}

TEST_F(ButtonTest, HotCheckEvery100MsKeepsTheRowBelowAndDropsWhatLiesFurther) {
  // The test's desktop has a cursor of its own (see TestForm).
  const auto placeCursor = [&](int x, int y) {
    const TPoint p = button->ClientToScreen({x, y});
    ASSERT_TRUE(SetCursorPos(p.X, p.Y));
  };
  const auto pumpFor = [](DWORD ms, const std::function<void()>& afterEach) {
    const DWORD start = GetTickCount();
    for (DWORD now = start; now - start < ms; now = GetTickCount()) {
      MsgWaitForMultipleObjects(0, nullptr, FALSE, ms - (now - start), QS_ALLINPUT);
      PumpMessages();
      afterEach();
    }
  };
  placeCursor(10, 30);
  button->Perform(CM_MOUSEENTER);
  pumpFor(350, [] {});
  EXPECT_STATE(S::Hot, *button) << "the row just below the button counts as inside";

  // Each check that finds the cursor one row further down ends the hot
  // state; entering again starts the next period.
  placeCursor(10, 31);
  int checks = 0;
  pumpFor(1000, [&] {
    if (button->ButtonState() != S::Up) return;
    ++checks;
    button->Perform(CM_MOUSEENTER);
  });
  EXPECT_GE(checks, 4) << "a check every 100 ms makes about 9 in one second";
}

TEST_F(ButtonTest, CaptionIsCentredAndMovesWithThePressedFace) {
  const TRect area(3, 3, 70, 27);
  const TRect up = InkBox(RenderGraphic(*button), area);
  ASSERT_FALSE(up.IsEmpty()) << "caption drawn";
  EXPECT_NEAR(up.Left - 2, 71 - up.Right, 3) << "centred across (2, 2, 71, 28)";
  EXPECT_NEAR(up.Top - 2, 28 - up.Bottom, 3) << "centred down (2, 2, 71, 28)";
  Press(10, 10);
  const TRect down = InkBox(RenderGraphic(*button), area);
  EXPECT_EQ(up.Offset(1, 1), down);
}

TEST_F(ButtonTest, DisabledButtonIgnoresPressesAndLooksRaised) {
  button->SetEnabled(false);
  EXPECT_STATE(S::Disabled, *button);
  Press(10, 10);
  Release(10, 10);
  EXPECT_STATE(S::Disabled, *button);
  EXPECT_EQ(0, clicks);
  const TPixels p = RenderGraphic(*button);
  ExpectRaisedFace(p);
  EXPECT_EQ(0, p.Count({2, 2, 71, 28}, ColorToRGB(clWindowText))) << "gray caption";
  button->SetEnabled(true);
  EXPECT_STATE(S::Up, *button);
}

TEST_F(ButtonTest, AcceleratorClicksOnlyWithAMarker) {
  EXPECT_EQ(0, form->Perform(CM_DIALOGCHAR, 'o'));
  EXPECT_EQ(0, clicks) << "\"OK\" has no marker";
  button->SetCaption("&Los");
  EXPECT_EQ(1, form->Perform(CM_DIALOGCHAR, 'l'));
  EXPECT_EQ(1, clicks);
  button->SetEnabled(false);
  EXPECT_EQ(0, form->Perform(CM_DIALOGCHAR, 'l'));
  EXPECT_EQ(1, clicks);
}

TEST_F(ButtonTest, UnchangedValuesCauseNoRepaint) {
  PumpMessages();
  ValidateRect(page->Handle(), nullptr);
  const int paints = button->paints;
  button->SetCaption("OK");
  button->SetUseCaption(true);
  button->SetMultiLine(false);
  button->SetCtlXP(true);
  button->ButtonLayout().SetAlignment(agCenter);
  button->ButtonLayout().SetOffsetX(0);
  button->SetEnterColorChange(false);
  button->SetButtonState(S::Up);
  EXPECT_FALSE(PageHasUpdate());
  EXPECT_EQ(paints, button->paints);
  button->SetButtonState(S::Up, true);
  EXPECT_EQ(paints, button->paints) << "up to up needs no new face";
  button->SetCaption("Ok");
  EXPECT_TRUE(PageHasUpdate());
}

class ThemedButtonTest : public ButtonTest {
 protected:
  ThemedButtonTest() : ButtonTest(true) {}
  void SetUp() override {
    if (!IsThemeActive()) GTEST_SKIP() << "no desktop theme active";
  }
};

TEST_F(ThemedButtonTest, FacesAreTheThemesPushButtonOnePixelLargerThanTheButton) {
  ASSERT_TRUE(button->Themed());
  const auto expectFace = [&](int themeState, const char* name) {
    const TPixels expected = RenderThemePart(page->Handle(), L"BUTTON", BP_PUSHBUTTON, themeState,
                                             {-1, -1, 74, 31}, 73, 30, button->Color());
    EXPECT_TRUE(SameBorder(expected, RenderGraphic(*button), 2)) << name;
  };
  expectFace(PBS_NORMAL, "up");
  button->Perform(CM_MOUSEENTER);
  expectFace(PBS_HOT, "hot");
  Press(10, 10);
  expectFace(PBS_PRESSED, "pressed");
  button->SetEnabled(false);
  expectFace(PBS_DISABLED, "disabled");
}

TEST_F(ThemedButtonTest, TheFaceIsHotAgainAfterOnClickReturns) {
  onClick = [&] { button->Perform(CM_MOUSELEAVE); };
  Press(10, 10);
  Release(10, 10);
  EXPECT_EQ(1, clicks);
  EXPECT_STATE(S::Hot, *button);
}

TEST_F(ThemedButtonTest, EnteringAndLeavingRedraws) {
  int paints = button->paints;
  button->Perform(CM_MOUSEENTER);
  EXPECT_STATE(S::Hot, *button);
  EXPECT_GT(button->paints, paints);
  paints = button->paints;
  button->Perform(CM_MOUSELEAVE);
  EXPECT_STATE(S::Up, *button);
  EXPECT_GT(button->paints, paints);
}

TEST_F(ThemedButtonTest, ThemeChangeReopensTheThemeAndRepaints) {
  const int paints = button->paints;
  SendMessageA(form->Handle(), WM_THEMECHANGED, 0, 0);
  PumpMessages();
  EXPECT_GT(button->paints, paints);
  EXPECT_TRUE(button->Themed());
}

}  // namespace
