// The status bar on the real common-controls status window: panel layout,
// texts handed over at paint time with their flags, size grip, background,
// font rule and docked bounds.
#include "widgets/StatusBar.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <ostream>
#include <string>
#include <vector>

#include "support/Render.h"
#include "support/TestForm.h"

// Rectangles in failure messages.
void PrintTo(const TRect& r, std::ostream* out) {
  *out << "(" << r.Left << ", " << r.Top << ", " << r.Right << ", " << r.Bottom << ")";
}

namespace {

constexpr char kModel[] = "ATmega128";
constexpr int kClientWidth = 457;
constexpr int kClientHeight = 479;

struct TPanelText {
  std::string text;
  WORD type = 0;  // SBT_* flags
};

TPanelText PanelText(TStatusBar& bar, int index) {
  HWND window = bar.Handle();
  const LRESULT lengthAndType = SendMessageA(window, SB_GETTEXTLENGTHA, index, 0);
  std::string text(LOWORD(lengthAndType) + 1, '\0');
  SendMessageA(window, SB_GETTEXTA, index, reinterpret_cast<LPARAM>(text.data()));
  text.resize(LOWORD(lengthAndType));
  return {text, HIWORD(lengthAndType)};
}

std::vector<int> Parts(TStatusBar& bar) {
  std::vector<int> rights(256);
  const int count = static_cast<int>(SendMessageA(bar.Handle(), SB_GETPARTS, rights.size(),
                                                  reinterpret_cast<LPARAM>(rights.data())));
  rights.resize(static_cast<size_t>(count));
  return rights;
}

TRect PartRect(TStatusBar& bar, int index) {
  RECT r{};
  SendMessageA(bar.Handle(), SB_GETRECT, index, reinterpret_cast<LPARAM>(&r));
  return r;
}

// The bar carries either the size grip or, without it, the top style.
std::string GripStyle(TStatusBar& bar) {
  const LONG style = GetWindowLongA(bar.Handle(), GWL_STYLE);
  const bool grip = style & SBARS_SIZEGRIP;
  const bool top = (style & CCS_TOP) == CCS_TOP;
  return grip ? (top ? "grip and top" : "grip") : (top ? "top" : "neither");
}

void Paint(TWinControl& control) {
  UpdateWindow(control.Handle());
  PumpMessages();
}

// A shown form like the window (fixed single border, 457 x 479 client
// area) with the bar as the window declares it.
class TModelForm {
 public:
  TModelForm() : form_(CreateForm<TForm>(nullptr)) {
    form_->SetBorderStyle(bsSingle);
    form_->SetClientSize(kClientWidth, kClientHeight);
    form_->Font().SetName("Tahoma");
    bar_ = new TStatusBar(form_);
    bar_->SetBounds(0, 460, kClientWidth, 19);
    bar_->SetParent(form_);
    TStatusPanel& panel = bar_->Panels().Add();
    panel.SetText(kModel);
    panel.SetWidth(340);
    bar_->SetParentFont(true);
    bar_->SetUseSystemFont(false);
    form_->Show();
    PumpMessages();
  }
  TModelForm(const TModelForm&) = delete;
  TModelForm& operator=(const TModelForm&) = delete;
  ~TModelForm() {
    delete form_;
    PumpMessages();
  }
  TForm* operator->() { return form_; }
  TStatusBar& Bar() { return *bar_; }

 private:
  TForm* form_;
  TStatusBar* bar_;
};

}  // namespace

// --- The window's bar ---

TEST(StatusBarWindow, SinglePanelSpansTheWholeBar) {
  TModelForm form;
  TStatusBar* bar = &form.Bar();
  Paint(*bar);
  EXPECT_EQ(std::vector<int>{-1}, Parts(*bar)) << "the last part reaches the right end";
  const TRect part = PartRect(*bar, 0);
  EXPECT_EQ(0, part.Left);
  EXPECT_EQ(kClientWidth, part.Right) << "the declared width 340 has no effect";
  const TPanelText text = PanelText(*bar, 0);
  EXPECT_EQ(kModel, text.text);
  EXPECT_EQ(0, text.type) << "lowered, left-aligned, drawn by the platform";
  EXPECT_EQ("top", GripStyle(*bar)) << "never on a fixed single border";
}

TEST(StatusBarWindow, KeepsItsDockedBounds) {
  TModelForm form;
  TStatusBar* bar = &form.Bar();
  Paint(*bar);
  const TRect docked{0, 460, kClientWidth, kClientHeight};
  EXPECT_EQ(docked, bar->BoundsRect());
  RECT window{};
  GetWindowRect(bar->Handle(), &window);
  MapWindowPoints(nullptr, form->Handle(), reinterpret_cast<POINT*>(&window), 2);
  EXPECT_EQ(docked, TRect(window)) << "the platform window did not size itself";

  SendMessageA(bar->Handle(), WM_SIZE, SIZE_RESTORED, MAKELPARAM(kClientWidth, 19));
  EXPECT_EQ(docked, bar->BoundsRect()) << "a size message does not move the bar";

  form->SetClientSize(300, 200);
  EXPECT_EQ((TRect{0, 181, 300, 200}), bar->BoundsRect()) << "docked to the new bottom";
  Paint(*bar);
  EXPECT_EQ(300, PartRect(*bar, 0).Right) << "the last part follows the right end";
}

// --- Panels ---

TEST(StatusBarPanels, LayoutSumsWidthsAndStretchesTheLast) {
  TTestForm form;
  auto* bar = form.Add<TStatusBar>(0, 0, 300, 19);
  EXPECT_EQ(std::vector<int>{-1}, Parts(*bar)) << "no panels: one part to the right end";
  EXPECT_EQ("", PanelText(*bar, 0).text);

  for (int width : {50, 80, 999}) bar->Panels().Add().SetWidth(width);
  EXPECT_EQ((std::vector<int>{50, 130, -1}), Parts(*bar));
  bar->Panels()[0].SetWidth(60);
  EXPECT_EQ((std::vector<int>{60, 140, -1}), Parts(*bar));
  bar->Panels().Delete(1);
  EXPECT_EQ((std::vector<int>{60, -1}), Parts(*bar));
  bar->Panels().Clear();
  EXPECT_EQ(std::vector<int>{-1}, Parts(*bar));
}

TEST(StatusBarPanels, AtMost128PartsArePassedOn) {
  TTestForm form;
  auto* bar = form.Add<TStatusBar>(0, 0, 300, 19);
  for (int i = 0; i < 130; ++i) bar->Panels().Add().SetWidth(1);
  const std::vector<int> parts = Parts(*bar);
  ASSERT_EQ(128u, parts.size());
  EXPECT_EQ(127, parts[126]);
  EXPECT_EQ(-1, parts[127]);
}

TEST(StatusBarPanels, TextsAreHandedOverAtTheNextPaint) {
  TTestForm form;
  auto* bar = form.Add<TStatusBar>(0, 0, 300, 19);
  TStatusPanel& panel = bar->Panels().Add();
  panel.SetText("first");
  EXPECT_EQ("", PanelText(*bar, 0).text) << "pending until the bar paints";
  Paint(*bar);
  EXPECT_EQ("first", PanelText(*bar, 0).text);

  panel.SetText("second");
  EXPECT_EQ("first", PanelText(*bar, 0).text);
  Paint(*bar);
  EXPECT_EQ("second", PanelText(*bar, 0).text);
}

TEST(StatusBarPanels, BevelAlignmentAndStyleFlags) {
  TTestForm form;
  auto* bar = form.Add<TStatusBar>(0, 0, 300, 19);
  TStatusPanel& panel = bar->Panels().Add();
  panel.SetText("x");
  struct TCase {
    TStatusPanelBevel bevel;
    TAlignment alignment;
    bool rightToLeft;
    TPanelText expected;
  };
  const TCase cases[] = {
      {pbLowered, taLeftJustify, false, {"x", 0}},
      {pbNone, taLeftJustify, false, {"x", SBT_NOBORDERS}},
      {pbRaised, taLeftJustify, false, {"x", SBT_POPOUT}},
      {pbLowered, taCenter, false, {"\tx", 0}},
      {pbLowered, taRightJustify, false, {"\t\tx", 0}},
      {pbRaised, taCenter, true, {"\tx", SBT_POPOUT | SBT_RTLREADING}},
  };
  for (const TCase& c : cases) {
    panel.SetBevel(c.bevel);
    panel.SetAlignment(c.alignment);
    panel.SetRightToLeftReading(c.rightToLeft);
    Paint(*bar);
    const TPanelText got = PanelText(*bar, 0);
    EXPECT_EQ(c.expected.text, got.text) << "bevel " << c.bevel << ", alignment " << c.alignment;
    EXPECT_EQ(c.expected.type, got.type) << "bevel " << c.bevel << ", alignment " << c.alignment;
  }
}

TEST(StatusBarPanels, OwnerDrawnPanelGoesThroughOnDrawPanel) {
  TTestForm form;
  auto* bar = form.Add<TStatusBar>(0, 0, 300, 19);
  bar->Panels().Add().SetWidth(100);
  TStatusPanel& drawn = bar->Panels().Add();
  drawn.SetStyle(psOwnerDraw);
  std::vector<TRect> rects;
  bar->OnDrawPanel = [&](TStatusBar* sender, TStatusPanel& panel, const TRect& rect) {
    EXPECT_EQ(bar, sender);
    EXPECT_EQ(&drawn, &panel);
    rects.push_back(rect);
    sender->Canvas().Brush().SetColor(clRed);
    sender->Canvas().FillRect(rect);
  };
  Paint(*bar);
  EXPECT_EQ(SBT_OWNERDRAW, PanelText(*bar, 1).type & SBT_OWNERDRAW);
  const TPixels pixels = RenderControl(*bar);
  ASSERT_FALSE(rects.empty()) << "the panel was not drawn by the handler";
  const TRect rect = rects.back();
  EXPECT_GE(rect.Left, 100);
  EXPECT_TRUE(PixelIs(pixels, (rect.Left + rect.Right) / 2, (rect.Top + rect.Bottom) / 2, clRed));
}

// --- Size grip ---

TEST(StatusBarGrip, OnlyAtTheCornerOfASizeableForm) {
  TTestForm form(300, 200);
  ASSERT_EQ(bsSizeable, form->BorderStyle());
  auto* bar = form.Add<TStatusBar>(0, 181, 300, 19);
  EXPECT_EQ("grip", GripStyle(*bar)) << "docked at the bottom of a sizeable form";

  bar->SetAlign(alNone);
  bar->SetBounds(0, 100, 300, 19);
  EXPECT_EQ("top", GripStyle(*bar)) << "away from the bottom-right corner";
  bar->SetBounds(0, 181, 300, 19);
  EXPECT_EQ("grip", GripStyle(*bar)) << "back at the corner";

  bar->SetSizeGrip(false);
  EXPECT_EQ("top", GripStyle(*bar)) << "SizeGrip off";
  bar->SetSizeGrip(true);
  EXPECT_EQ("grip", GripStyle(*bar));

  form->SetBorderStyle(bsSingle);
  EXPECT_EQ("top", GripStyle(*bar)) << "fixed single border";
  form->SetBorderStyle(bsSizeToolWin);
  bar->SetAlign(alBottom);
  EXPECT_EQ("grip", GripStyle(*bar)) << "sizeable tool window";
}

// --- Look ---

TEST(StatusBarLook, BackgroundColourGoesToThePlatform) {
  TTestForm form;
  auto* bar = form.Add<TStatusBar>(0, 0, 300, 19);
  // SB_SETBKCOLOR answers with the colour it replaces.
  auto platformColour = [bar] {
    const COLORREF colour = static_cast<COLORREF>(
        SendMessageA(bar->Handle(), SB_SETBKCOLOR, 0, static_cast<LPARAM>(CLR_DEFAULT)));
    SendMessageA(bar->Handle(), SB_SETBKCOLOR, 0, static_cast<LPARAM>(colour));
    return ColorText(colour);
  };
  EXPECT_EQ(ColorText(ColorToRGB(clBtnFace)), platformColour()) << "class default";
  bar->SetColor(clYellow);
  EXPECT_EQ(ColorText(ColorToRGB(clYellow)), platformColour());
}

TEST(StatusBarLook, FontRule) {
  TTestForm form;
  form->Font().SetName("Tahoma");
  form->Font().SetHeight(-13);
  auto* bar = form.Add<TStatusBar>(0, 0, 300, 19);
  NONCLIENTMETRICSA metrics{};
  metrics.cbSize = sizeof metrics;
  SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
  EXPECT_TRUE(bar->UseSystemFont()) << "class default";
  EXPECT_FALSE(bar->ParentFont());
  EXPECT_EQ(metrics.lfStatusFont.lfFaceName, bar->Font().Name());
  EXPECT_EQ(metrics.lfStatusFont.lfHeight, bar->Font().Height());
  EXPECT_EQ(clBtnText, bar->Font().Color());

  bar->SetParentFont(true);
  EXPECT_FALSE(bar->UseSystemFont()) << "the parent's font replaces the system font";
  EXPECT_TRUE(bar->Font().SameAs(form->Font()));

  bar->SetUseSystemFont(true);
  EXPECT_FALSE(bar->ParentFont());
  EXPECT_EQ(metrics.lfStatusFont.lfFaceName, bar->Font().Name());
  EXPECT_EQ(reinterpret_cast<LRESULT>(bar->Font().Handle()),
            SendMessageA(bar->Handle(), WM_GETFONT, 0, 0));

  bar->Font().SetHeight(-20);
  EXPECT_FALSE(bar->UseSystemFont()) << "a font of its own replaces the system font";
}

TEST(StatusBarLook, SimplePanelShowsSimpleText) {
  TTestForm form;
  auto* bar = form.Add<TStatusBar>(0, 0, 300, 19);
  bar->Panels().Add().SetText("panel");
  bar->SetSimpleText("simple");
  bar->SetSimplePanel(true);
  EXPECT_TRUE(SendMessageA(bar->Handle(), SB_ISSIMPLE, 0, 0));
  EXPECT_EQ("simple", PanelText(*bar, 0).text) << "in simple mode part 0 reads the simple text";
  bar->SetSimplePanel(false);
  EXPECT_FALSE(SendMessageA(bar->Handle(), SB_ISSIMPLE, 0, 0));
}
