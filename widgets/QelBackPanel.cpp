#include "widgets/QelBackPanel.h"

TQelBackPanel::TQelBackPanel(TComponent* owner) : TQelCustomParentPanel(owner) {
  SetBounds(Left(), Top(), kDefaultWidth, kDefaultHeight);
}
