// Windowless controls: painting onto the parent in stacking order, clipping,
// invalidation, and the mouse through the parent's routing.
#include <gtest/gtest.h>

#include <windowsx.h>

#include <string>
#include <vector>

#include "framework/CustomControl.h"
#include "framework/GraphicControl.h"
#include "support/Render.h"
#include "support/TestForm.h"

namespace {

// Fills a rectangle larger than itself, to show the clipping.
class TBlock : public TGraphicControl {
 public:
  using TGraphicControl::TGraphicControl;
  TColor fill = clRed;

 protected:
  void Paint() override {
    Canvas().Brush().SetColor(fill);
    Canvas().FillRect({-50, -50, Width() + 50, Height() + 50});
  }
};

// Records the mouse hooks it sees.
class TMouseRecorder : public TGraphicControl {
 public:
  explicit TMouseRecorder(TComponent* owner) : TGraphicControl(owner) {}
  std::vector<std::string> log;

 protected:
  void MouseDown(TMouseButton, TShiftState, int x, int y) override {
    log.push_back("down " + std::to_string(x) + "," + std::to_string(y));
  }
  void MouseMove(TShiftState, int x, int y) override {
    log.push_back("move " + std::to_string(x) + "," + std::to_string(y));
  }
  void MouseUp(TMouseButton, TShiftState, int x, int y) override {
    log.push_back("up " + std::to_string(x) + "," + std::to_string(y));
  }
  void Click() override { log.push_back("click"); }
  void MouseEnter() override { log.push_back("enter"); }
  void MouseLeave() override { log.push_back("leave"); }
};

LPARAM At(int x, int y) { return MAKELPARAM(x, y); }

TEST(GraphicControlPainting, PaintsOverTheParentClippedToItsBounds) {
  TTestForm form(100, 100);
  auto* block = form.Add<TBlock>(10, 20, 30, 40);
  const TPixels pixels = RenderControl(form.Form());
  EXPECT_TRUE(PixelIs(pixels, 10, 20, clRed));
  EXPECT_TRUE(PixelIs(pixels, 39, 59, clRed));
  EXPECT_TRUE(PixelIs(pixels, 9, 20, clBtnFace)) << "painted left of its bounds";
  EXPECT_TRUE(PixelIs(pixels, 40, 20, clBtnFace)) << "painted right of its bounds";
  EXPECT_TRUE(PixelIs(pixels, 10, 60, clBtnFace)) << "painted below its bounds";
  EXPECT_EQ(pixels.Count({0, 0, 100, 100}, ColorToRGB(clRed)), 30 * 40);
  block->Hide();
  EXPECT_TRUE(PixelIs(RenderControl(form.Form()), 10, 20, clBtnFace)) << "hidden, still painted";
}

TEST(GraphicControlPainting, LaterControlsLieAboveUntilTheStackingChanges) {
  TTestForm form(100, 100);
  auto* lower = form.Add<TBlock>(0, 0, 50, 50);
  auto* upper = form.Add<TBlock>(25, 25, 50, 50);
  lower->fill = clRed;
  upper->fill = clBlue;
  EXPECT_TRUE(PixelIs(RenderControl(form.Form()), 30, 30, clBlue));
  lower->BringToFront();
  EXPECT_TRUE(PixelIs(RenderControl(form.Form()), 30, 30, clRed));
  lower->SendToBack();
  EXPECT_TRUE(PixelIs(RenderControl(form.Form()), 30, 30, clBlue));
}

TEST(GraphicControlPainting, InvalidateMarksOnlyTheControlsRectangleOnTheParent) {
  TTestForm form(100, 100);
  auto* block = form.Add<TBlock>(10, 20, 30, 40);
  HWND window = form->Handle();
  ValidateRect(window, nullptr);
  block->InvalidateRect({5, 5, 10, 10});
  RECT update{};
  ASSERT_TRUE(GetUpdateRect(window, &update, FALSE));
  EXPECT_EQ(TRect(update), TRect(15, 25, 20, 30));
  ValidateRect(window, nullptr);
  block->InvalidateRect({-100, -100, 100, 100});
  ASSERT_TRUE(GetUpdateRect(window, &update, FALSE));
  EXPECT_EQ(TRect(update), block->BoundsRect()) << "not clipped to the control";
}

TEST(GraphicControlMouse, PressMoveReleaseReachTheControlInItsOwnCoordinates) {
  TTestForm form(200, 200);
  auto* recorder = form.Add<TMouseRecorder>(50, 60, 40, 30);
  HWND window = form->Handle();
  SendMessageA(window, WM_MOUSEMOVE, 0, At(55, 65));
  SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, At(51, 61));
  EXPECT_EQ(GetCapture(), window) << "the parent's window holds the capture for it";
  EXPECT_TRUE(recorder->MouseCapture());
  // Outside the control, even outside the form: still the control's.
  SendMessageA(window, WM_MOUSEMOVE, MK_LBUTTON, At(150, 150));
  SendMessageA(window, WM_MOUSEMOVE, MK_LBUTTON, At(-10, -20));
  SendMessageA(window, WM_LBUTTONUP, 0, At(60, 70));
  EXPECT_NE(GetCapture(), window) << "capture not released after the button";
  const std::vector<std::string> expected{"move 5,5",    "down 1,1", "move 100,90",
                                          "move -60,-80", "click",    "up 10,10"};
  EXPECT_EQ(recorder->log, expected);
}

TEST(GraphicControlMouse, ReleaseOutsideGivesNoClickAndMessagesBesideItStayWithTheParent) {
  TTestForm form(200, 200);
  auto* recorder = form.Add<TMouseRecorder>(50, 60, 40, 30);
  HWND window = form->Handle();
  SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, At(51, 61));
  SendMessageA(window, WM_LBUTTONUP, 0, At(150, 150));
  SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, At(10, 10));
  SendMessageA(window, WM_LBUTTONUP, 0, At(10, 10));
  const std::vector<std::string> expected{"down 1,1", "up 100,90"};
  EXPECT_EQ(recorder->log, expected);
}

TEST(GraphicControlMouse, DisabledControlsGetNoMouseAndTheTopmostOneWins) {
  TTestForm form(200, 200);
  auto* lower = form.Add<TMouseRecorder>(0, 0, 100, 100);
  auto* upper = form.Add<TMouseRecorder>(0, 0, 50, 50);
  HWND window = form->Handle();
  SendMessageA(window, WM_MOUSEMOVE, 0, At(10, 10));
  upper->SetEnabled(false);
  SendMessageA(window, WM_MOUSEMOVE, 0, At(11, 11));
  EXPECT_EQ(upper->log, std::vector<std::string>{"move 10,10"});
  EXPECT_EQ(lower->log, std::vector<std::string>{"move 11,11"});
}

TEST(GraphicControlMouse, CancelModeEndsTheCaptureWithoutAClick) {
  TTestForm form(200, 200);
  auto* recorder = form.Add<TMouseRecorder>(50, 60, 40, 30);
  HWND window = form->Handle();
  SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, At(51, 61));
  SendMessageA(GetCapture(), WM_CANCELMODE, 0, 0);
  EXPECT_FALSE(recorder->MouseCapture());
  EXPECT_EQ(GetCapture(), nullptr);
  SendMessageA(window, WM_LBUTTONUP, 0, At(51, 61));
  EXPECT_EQ(recorder->log, (std::vector<std::string>{"down 1,1", "up 1,1"}))
      << "the release after the cancel must not click";
}

TEST(GraphicControlMouse, EnterAndLeaveFollowTheMouseControl) {
  TTestForm form(200, 200);
  auto* a = form.Add<TMouseRecorder>(0, 0, 50, 50);
  auto* b = form.Add<TMouseRecorder>(60, 0, 50, 50);
  SetMouseControl(a);
  SetMouseControl(a);
  SetMouseControl(b);
  SetMouseControl(nullptr);
  EXPECT_EQ(a->log, (std::vector<std::string>{"enter", "leave"}));
  EXPECT_EQ(b->log, (std::vector<std::string>{"enter", "leave"}));
  SetMouseControl(a);
  delete a;
  EXPECT_EQ(MouseControl(), nullptr) << "a freed control stayed the mouse control";
}

}  // namespace
