// The window style of bevel panels: the platform's client edge for
// bmWindows, a plain border without 3D controls, neither when themed, and
// the window recreated when the bevel changes.
#include "widgets/QelPanel.h"

#include <gtest/gtest.h>
#include <uxtheme.h>

#include "support/TestForm.h"
#include "widgets/QelApplication.h"

namespace {

// A bevel panel of a class that can draw with the desktop theme, as the
// entry fields are.
class TThemedPanel : public TQelCustomBevelPanel {
 public:
  using TQelCustomBevelPanel::TQelCustomBevelPanel;

 protected:
  bool SupportsThemes() const override { return true; }
};

LONG ExStyle(TWinControl& c) { return GetWindowLongA(c.Handle(), GWL_EXSTYLE); }
LONG Style(TWinControl& c) { return GetWindowLongA(c.Handle(), GWL_STYLE); }

// Restores the theme switch after a test that turns it.
struct TThemesAllowedScope {
  bool before = QelApplication().ThemesAllowed();
  ~TThemesAllowedScope() { QelApplication().SetThemesAllowed(before); }
};

TEST(QelBevelPanel, WindowsModeGivesTheClientEdge) {
  TTestForm form;
  auto* panel = form.Add<TQelCustomBevelPanel>(8, 48, 121, 21);
  panel->Bevel().SetMode(bmWindows);
  EXPECT_TRUE(ExStyle(*panel) & WS_EX_CLIENTEDGE);
  EXPECT_FALSE(Style(*panel) & WS_BORDER);
  EXPECT_EQ(TRect(0, 0, 117, 17), panel->ClientRect());
  EXPECT_EQ(0, panel->Bevel().Extent());
}

TEST(QelBevelPanel, WithoutThe3DLookTheBorderIsASingleLine) {
  TTestForm form;
  auto* panel = form.Add<TQelCustomBevelPanel>(8, 48, 121, 21);
  panel->SetCtl3D(false);
  panel->Bevel().SetMode(bmWindows);
  EXPECT_FALSE(ExStyle(*panel) & WS_EX_CLIENTEDGE);
  EXPECT_TRUE(Style(*panel) & WS_BORDER);
  EXPECT_EQ(TRect(0, 0, 119, 19), panel->ClientRect());
}

TEST(QelBevelPanel, OtherModesHaveNoPlatformBorder) {
  TTestForm form;
  auto* panel = form.Add<TQelCustomBevelPanel>(8, 48, 121, 21);
  for (TQelBevelMode mode : {bmEdge, bmCustom, bmStandard}) {
    panel->Bevel().SetMode(mode);
    EXPECT_FALSE(ExStyle(*panel) & WS_EX_CLIENTEDGE) << "mode " << mode;
    EXPECT_FALSE(Style(*panel) & WS_BORDER) << "mode " << mode;
  }
}

TEST(QelBevelPanel, ABevelChangeRecreatesTheWindowButNotWhileLoading) {
  TTestForm form;
  auto* panel = form.Add<TQelCustomBevelPanel>(8, 48, 121, 21);
  HWND first = panel->Handle();
  panel->Bevel().SetMode(bmWindows);
  EXPECT_NE(first, panel->Handle());
  EXPECT_TRUE(IsWindow(panel->Handle()));

  TForm* loading = new TForm(nullptr);  // still loading: no CreateForm
  auto* quiet = new TQelCustomBevelPanel(loading);
  quiet->SetParent(loading);
  HWND window = quiet->Handle();
  quiet->Bevel().SetMode(bmEdge);
  EXPECT_EQ(window, quiet->Handle());
  delete loading;
}

TEST(QelBevelPanel, ThemedFieldsDrawTheirOwnFrame) {
  if (!IsThemeActive()) GTEST_SKIP() << "no desktop theme active";
  TThemesAllowedScope restore;
  QelApplication().SetThemesAllowed(true);
  QelApplication().ReevaluateThemes();
  TTestForm form;
  auto* themed = form.Add<TThemedPanel>(8, 48, 121, 21);
  themed->Bevel().SetMode(bmWindows);
  EXPECT_TRUE(themed->Themed());
  EXPECT_FALSE(ExStyle(*themed) & WS_EX_CLIENTEDGE);
  EXPECT_FALSE(Style(*themed) & WS_BORDER);

  auto* plain = form.Add<TQelCustomBevelPanel>(8, 80, 121, 21);
  plain->Bevel().SetMode(bmWindows);
  EXPECT_FALSE(plain->Themed()) << "panels do not support themes";
  EXPECT_TRUE(ExStyle(*plain) & WS_EX_CLIENTEDGE);

  // Switching theming off gives the themed field the client edge back,
  // without a new window.
  HWND window = themed->Handle();
  QelApplication().SetThemesAllowed(false);
  EXPECT_FALSE(themed->Themed());
  EXPECT_TRUE(ExStyle(*themed) & WS_EX_CLIENTEDGE);
  EXPECT_EQ(window, themed->Handle());
  EXPECT_EQ(TRect(0, 0, 117, 17), themed->ClientRect());

  themed->SetCtlXP(false);
  QelApplication().SetThemesAllowed(true);
  EXPECT_FALSE(themed->Themed()) << "CtlXP false";
  EXPECT_TRUE(ExStyle(*themed) & WS_EX_CLIENTEDGE);
}

}  // namespace
