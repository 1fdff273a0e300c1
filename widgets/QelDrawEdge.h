// TQelDrawEdge: a windowless frame line. It draws a platform edge around
// its rectangle (Style esEdge: EdgeStyle on the FrameSides), across it
// (esDiagonal: the diagonal ending in the corner DiagonalStyle names), or a
// classic border (esStandard: StandardStyle, as a bevel draws it). Soft
// uses the platform's soft edge colours, Filled fills the inside with
// clBtnFace; otherwise nothing but the lines is drawn, so the parent shows
// between them.
#pragma once

#include "widgets/QelBevel.h"
#include "widgets/QelControl.h"

class TQelDrawEdge : public TQelControl {
 public:
  static constexpr int kDefaultSize = 40;

  explicit TQelDrawEdge(TComponent* owner);

  TQelDiagonalStyle DiagonalStyle() const { return diagonalStyle_; }
  void SetDiagonalStyle(TQelDiagonalStyle value) { Store(diagonalStyle_, value); }
  TQelEdgeStyle EdgeStyle() const { return edgeStyle_; }
  void SetEdgeStyle(TQelEdgeStyle value) { Store(edgeStyle_, value); }
  bool Filled() const { return filled_; }
  void SetFilled(bool value) { Store(filled_, value); }
  TQelFrameSides FrameSides() const { return frameSides_; }
  void SetFrameSides(TQelFrameSides value) { Store(frameSides_, value); }
  TQelBorderStyle StandardStyle() const { return standardStyle_; }
  void SetStandardStyle(TQelBorderStyle value) { Store(standardStyle_, value); }
  bool Soft() const { return soft_; }
  void SetSoft(bool value) { Store(soft_, value); }
  TQelDrawEdgeStyle Style() const { return style_; }
  void SetStyle(TQelDrawEdgeStyle value) { Store(style_, value); }

 protected:
  void Paint() override;
  // A line between parts of a page: a separator.
  void DescribeAccessible(TAccessibleInfo& info) override;

 private:
  template <class T>
  void Store(T& field, T value) {
    if (field == value) return;
    field = value;
    Invalidate();
  }

  TQelDiagonalStyle diagonalStyle_ = dsEndBottomLeft;
  TQelEdgeStyle edgeStyle_ = etEtched;
  bool filled_ = false;
  TQelFrameSides frameSides_ = kQelAllFrameSides;
  TQelBorderStyle standardStyle_ = lsSingleLowered;
  bool soft_ = false;
  TQelDrawEdgeStyle style_ = esEdge;
};
