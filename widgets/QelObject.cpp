#include "widgets/QelObject.h"

void TQelObject::EndUpdate(bool reportChange) {
  updating_ = false;
  if (reportChange) Changed();
}

void TQelObject::Changed() {
  if (!updating_ && onChange_) onChange_(this);
}
