// The edge line around the legal notice: two grooves, nothing between them.
#include "widgets/QelDrawEdge.h"

#include <gtest/gtest.h>

#include "support/Render.h"
#include "support/TestForm.h"

namespace {

TEST(QelDrawEdge, NewEdgeDefaults) {
  TTestForm form;
  auto* edge = new TQelDrawEdge(&form.Form());
  EXPECT_EQ(TQelDrawEdge::kDefaultSize, edge->Width());
  EXPECT_EQ(TQelDrawEdge::kDefaultSize, edge->Height());
  EXPECT_EQ(esEdge, edge->Style());
  EXPECT_EQ(etEtched, edge->EdgeStyle());
  EXPECT_TRUE(edge->FrameSides() == kQelAllFrameSides);
  EXPECT_FALSE(edge->Filled());
  EXPECT_FALSE(edge->Soft());
  EXPECT_EQ(dsEndBottomLeft, edge->DiagonalStyle());
  EXPECT_EQ(lsSingleLowered, edge->StandardStyle());
}

TEST(QelDrawEdge, TopAndBottomGroovesAndNothingBetween) {
  TTestForm form(460, 470);
  form->SetColor(clYellow);  // so that "nothing drawn" can be told from clBtnFace
  auto* edge = form.Add<TQelDrawEdge>(16, 280, 409, 113);
  edge->SetFrameSides({fsBottom, fsTop});
  PumpMessages();
  const TPixels pixels = RenderGraphic(*edge);
  EXPECT_EQ(409, pixels.Count({0, 0, 409, 1}, ColorToRGB(clBtnShadow))) << "row 0";
  EXPECT_EQ(409, pixels.Count({0, 1, 409, 2}, ColorToRGB(clBtnHighlight))) << "row 1";
  EXPECT_EQ(409, pixels.Count({0, 111, 409, 112}, ColorToRGB(clBtnShadow))) << "row 111";
  EXPECT_EQ(409, pixels.Count({0, 112, 409, 113}, ColorToRGB(clBtnHighlight))) << "row 112";
  EXPECT_EQ(409 * 109, pixels.Count({0, 2, 409, 111}, clYellow)) << "between the grooves";
}

TEST(QelDrawEdge, ChangesRepaintOnlyWhenTheValueDiffers) {
  TTestForm form;
  auto* edge = form.Add<TQelDrawEdge>(8, 8, 40, 40);
  PumpMessages();
  ValidateRect(form->Handle(), nullptr);
  edge->SetEdgeStyle(etEtched);
  edge->SetFrameSides(kQelAllFrameSides);
  EXPECT_FALSE(GetUpdateRect(form->Handle(), nullptr, FALSE));
  edge->SetSoft(true);
  EXPECT_TRUE(GetUpdateRect(form->Handle(), nullptr, FALSE));
}

TEST(QelDrawEdge, FilledFillsTheInsideWithTheButtonFace) {
  TTestForm form;
  form->SetColor(clYellow);
  auto* edge = form.Add<TQelDrawEdge>(8, 8, 40, 40);
  edge->SetFilled(true);
  PumpMessages();
  const TPixels pixels = RenderGraphic(*edge);
  EXPECT_EQ(36 * 36, pixels.Count({2, 2, 38, 38}, ColorToRGB(clBtnFace)));
}

}  // namespace
