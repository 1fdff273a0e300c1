#include "widgets/QelDrawEdge.h"

#include <oleacc.h>

#include "framework/Accessible.h"

namespace {
constexpr UINT kDiagonalFlags[] = {BF_DIAGONAL_ENDBOTTOMLEFT, BF_DIAGONAL_ENDBOTTOMRIGHT,
                                   BF_DIAGONAL_ENDTOPLEFT, BF_DIAGONAL_ENDTOPRIGHT};
}  // namespace

TQelDrawEdge::TQelDrawEdge(TComponent* owner) : TQelControl(owner) {
  SetBounds(Left(), Top(), kDefaultSize, kDefaultSize);
}

void TQelDrawEdge::DescribeAccessible(TAccessibleInfo& info) {
  TQelControl::DescribeAccessible(info);
  info.Role = ROLE_SYSTEM_SEPARATOR;
}

void TQelDrawEdge::Paint() {
  TRect rect(0, 0, Width(), Height());
  UINT flags = 0;
  if (soft_) flags |= BF_SOFT;
  if (filled_) flags |= BF_MIDDLE;
  switch (style_) {
    case esEdge:
      Canvas().DrawEdge(rect, QelEdgeKind(edgeStyle_), flags | QelBorderFlags(frameSides_));
      break;
    case esDiagonal:
      Canvas().DrawEdge(rect, QelEdgeKind(edgeStyle_), flags | kDiagonalFlags[diagonalStyle_]);
      break;
    case esStandard: {
      TQelBevel border;
      border.SetMode(bmStandard);
      border.SetStandardStyle(standardStyle_);
      border.PaintBevel(Canvas(), rect, true);
      break;
    }
  }
}
