// TSizeConstraints: the smallest and largest size a control may take
// (0 = no limit). A form also hands them to the platform (WM_GETMINMAXINFO),
// so dragging its frame respects them.
#pragma once

#include "framework/Events.h"

class TSizeConstraints : public TObject {
 public:
  int MinWidth() const { return minWidth_; }
  int MinHeight() const { return minHeight_; }
  int MaxWidth() const { return maxWidth_; }
  int MaxHeight() const { return maxHeight_; }
  void SetMinWidth(int value) { Store(minWidth_, value); }
  void SetMinHeight(int value) { Store(minHeight_, value); }
  void SetMaxWidth(int value) { Store(maxWidth_, value); }
  void SetMaxHeight(int value) { Store(maxHeight_, value); }

  // `width` and `height` brought within the limits.
  void Apply(int& width, int& height) const;

  TNotifyEvent OnChange;

 private:
  void Store(int& field, int value);

  int minWidth_ = 0;
  int minHeight_ = 0;
  int maxWidth_ = 0;
  int maxHeight_ = 0;
};
