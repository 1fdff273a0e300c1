// TQelBackPanel: a page of a window. A windowed container that fills itself
// with Color and draws its bevel's border (with bmEdge an etched groove
// around its outermost 2 pixels); its children keep their own positions,
// measured from its outer top-left corner.
#pragma once

#include "widgets/QelPanel.h"

class TQelBackPanel : public TQelCustomParentPanel {
 public:
  static constexpr int kDefaultWidth = 100;
  static constexpr int kDefaultHeight = 40;

  explicit TQelBackPanel(TComponent* owner);
};
