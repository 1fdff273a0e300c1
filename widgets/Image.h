// TImage: a bitmap picture, drawn unscaled with its top-left corner at the
// control's top-left corner. With AutoSize the control takes the picture's
// size whenever the picture or the setting changes. Windowless: it paints
// onto its parent and never takes the focus.
#pragma once

#include <windows.h>

#include "framework/Gdi.h"
#include "framework/GraphicControl.h"

class TImage : public TGraphicControl {
 public:
  explicit TImage(TComponent* owner);

  // Takes ownership of `bitmap` (nullptr clears the picture).
  void SetBitmap(HBITMAP bitmap);
  // Loads the bitmap resource `name` from the executable.
  void LoadFromResourceName(const char* name);
  HBITMAP Bitmap() const { return bitmap_.Get(); }
  // The picture's size; 0 x 0 without a picture.
  TSize PictureSize() const;

  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool value);

 protected:
  void Paint() override;
  // A graphic; its name is AccessibleName (what the picture shows).
  void DescribeAccessible(TAccessibleInfo& info) override;

 private:
  void AdjustSize();

  TGdiObject<HBITMAP> bitmap_;
  bool autoSize_ = false;
};
