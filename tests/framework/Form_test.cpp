// Forms: window styles from border style and icons, client size before and
// after the window exists, size constraints, OnCreate errors, first focus,
// Tab navigation and closing.
#include <gtest/gtest.h>

#include <memory>

#include "calc/Exceptions.h"
#include "framework/CustomControl.h"
#include "framework/Form.h"
#include "framework/FormHost.h"
#include "support/ErrorCapture.h"
#include "support/TestForm.h"

namespace {

class TField : public TCustomControl {
 public:
  explicit TField(TComponent* owner) : TCustomControl(owner) { SetTabStop(true); }
};

// A form with a declared layout: three fields, the middle one no tab stop.
class TLayoutForm : public TForm {
 public:
  explicit TLayoutForm(TComponent* owner) : TForm(owner) {
    loadingWhileBuilt = Loading();
    a = Place(10);
    b = Place(40);
    c = Place(70);
    b->SetTabStop(false);
    OnCreate = [this](TObject*) {
      createSawLoading = a->Loading();
      if (failCreate) throw EConvertError("kaputt");
      createFinished = true;
    };
  }
  TField* a;
  TField* b;
  TField* c;
  bool loadingWhileBuilt = false;
  bool createSawLoading = true;
  bool createFinished = false;
  static inline bool failCreate = false;

 private:
  TField* Place(int top) {
    auto* field = new TField(this);
    field->SetBounds(10, top, 100, 20);
    field->SetParent(this);
    return field;
  }
};

void PressTab(bool shift) {
  BYTE keys[256] = {};
  GetKeyboardState(keys);
  keys[VK_SHIFT] = shift ? 0x80 : 0;
  SetKeyboardState(keys);
  TWinControl* focused = FindControl(GetFocus());
  ASSERT_NE(focused, nullptr);
  focused->Perform(CN_KEYDOWN, VK_TAB, 0);
  keys[VK_SHIFT] = 0;
  SetKeyboardState(keys);
}

TEST(FormWindow, BorderStyleAndIconsGiveThePlatformStyles) {
  std::unique_ptr<TForm> form(CreateForm<TForm>(nullptr));
  form->SetBorderStyle(bsSingle);
  form->SetBorderIcons({biSystemMenu, biHelp});
  const LONG style = GetWindowLongA(form->Handle(), GWL_STYLE);
  const LONG exStyle = GetWindowLongA(form->Handle(), GWL_EXSTYLE);
  EXPECT_EQ(style & WS_CAPTION, WS_CAPTION);
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_FALSE(style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
  EXPECT_TRUE(exStyle & WS_EX_CONTEXTHELP) << "no help button";
  form->SetBorderIcons({biSystemMenu, biMinimize, biHelp});
  EXPECT_TRUE(GetWindowLongA(form->Handle(), GWL_STYLE) & WS_MINIMIZEBOX);
  EXPECT_FALSE(GetWindowLongA(form->Handle(), GWL_EXSTYLE) & WS_EX_CONTEXTHELP)
      << "the platform shows no help button beside a minimize box";
}

TEST(FormWindow, ClientSizeSetBeforeTheWindowExistsHolds) {
  std::unique_ptr<TForm> form(CreateForm<TForm>(nullptr));
  form->SetBorderStyle(bsSingle);
  form->SetBorderIcons({biSystemMenu, biHelp});
  form->SetClientSize(457, 479);
  EXPECT_FALSE(form->HandleAllocated());
  EXPECT_EQ(form->ClientWidth(), 457);
  RECT client{};
  GetClientRect(form->Handle(), &client);
  EXPECT_EQ(client.right, 457);
  EXPECT_EQ(client.bottom, 479);
  EXPECT_GT(form->Width(), 457) << "the outer size has no frame";
}

TEST(FormWindow, ConstraintsFixTheSize) {
  TTestForm form(200, 100);
  const int width = form->Width();
  const int height = form->Height();
  form->Constraints().SetMinWidth(width);
  form->Constraints().SetMaxWidth(width);
  form->Constraints().SetMinHeight(height);
  form->Constraints().SetMaxHeight(height);
  form->SetBounds(0, 0, width + 100, height - 50);
  EXPECT_EQ(form->Width(), width);
  EXPECT_EQ(form->Height(), height);
  MINMAXINFO info{};
  SendMessageA(form->Handle(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
  EXPECT_EQ(info.ptMinTrackSize.x, width);
  EXPECT_EQ(info.ptMaxTrackSize.y, height);
}

TEST(FormCreation, LayoutLoadsBeforeOnCreateAndAFailingOnCreateIsReported) {
  TErrorCapture errors;
  TLayoutForm::failCreate = true;
  std::unique_ptr<TLayoutForm> form(CreateForm<TLayoutForm>(nullptr));
  TLayoutForm::failCreate = false;
  EXPECT_TRUE(form->loadingWhileBuilt);
  EXPECT_FALSE(form->createSawLoading) << "OnCreate ran before Loaded";
  EXPECT_FALSE(form->createFinished);
  ASSERT_EQ(errors.Errors().size(), 1u);
  EXPECT_EQ(errors.Errors()[0].sender, form.get());
  EXPECT_EQ(errors.Errors()[0].message, "kaputt");
  EXPECT_FALSE(form->Loading());
}

TEST(FormFocus, TheFirstTabStopGetsTheFocusAndTabCyclesThroughTabStops) {
  std::unique_ptr<TLayoutForm> form(CreateForm<TLayoutForm>(nullptr));
  form->Show();
  PumpMessages();
  EXPECT_EQ(GetFocus(), form->a->Handle()) << "first focus";
  EXPECT_EQ(form->ActiveControl(), form->a);
  PressTab(false);
  EXPECT_EQ(GetFocus(), form->c->Handle()) << "Tab must skip the field that is no tab stop";
  PressTab(false);
  EXPECT_EQ(GetFocus(), form->a->Handle()) << "Tab must wrap";
  PressTab(true);
  EXPECT_EQ(GetFocus(), form->c->Handle()) << "Shift+Tab goes back";
  EXPECT_EQ(form->ActiveControl(), form->c);
}

TEST(FormFocus, ActivationGivesTheFocusBackToTheActiveControl) {
  std::unique_ptr<TLayoutForm> form(CreateForm<TLayoutForm>(nullptr));
  form->Show();
  PumpMessages();
  form->c->SetFocus();
  std::unique_ptr<TForm> other(CreateForm<TForm>(nullptr));
  other->Show();
  PumpMessages();
  EXPECT_NE(GetFocus(), form->c->Handle());
  SetActiveWindow(form->Handle());
  PumpMessages();
  EXPECT_EQ(GetFocus(), form->c->Handle());
}

class TClosingHost : public TFormHost {
 public:
  HWND FormOwnerWindow() const override { return nullptr; }
  HICON FormIcon() const override { return nullptr; }
  bool FormClosing(TCustomForm& form) override {
    closed = &form;
    return true;
  }
  TCustomForm* closed = nullptr;
};

TEST(FormClosing, QueryThenHideOrLetTheHostTakeOver) {
  TTestForm form;
  bool allow = false;
  form->OnCloseQuery = [&](TObject*, bool& canClose) { canClose = allow; };
  SendMessageA(form->Handle(), WM_CLOSE, 0, 0);
  EXPECT_TRUE(IsWindowVisible(form->Handle())) << "closed although the query said no";
  allow = true;
  TClosingHost host;
  TFormHost* previous = SetFormHost(&host);
  SendMessageA(form->Handle(), WM_CLOSE, 0, 0);
  SetFormHost(previous);
  EXPECT_EQ(host.closed, &form.Form());
  EXPECT_TRUE(IsWindowVisible(form->Handle())) << "the host took the close over";
  SendMessageA(form->Handle(), WM_CLOSE, 0, 0);
  EXPECT_FALSE(IsWindowVisible(form->Handle()));
  EXPECT_TRUE(IsWindow(form->Handle())) << "closing destroyed the window";
}

}  // namespace
