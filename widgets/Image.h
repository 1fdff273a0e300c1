// TImage: a bitmap picture, drawn with its top-left corner at the control's
// top-left corner at the layout's scale: unscaled until the control's form
// scales its layout (ScaleBy, a display density or font other than the
// layout's), then stretched by the same factor with the platform's halftone
// filter. With AutoSize the control takes the picture's size at that scale
// whenever the picture, the setting or the scale changes. Windowless: it
// paints onto its parent and never takes the focus.
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
  // The size the picture is drawn at: PictureSize at the layout's scale.
  TSize ShownSize() const;

  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool value);

 protected:
  void Paint() override;
  // A graphic; its name is AccessibleName (what the picture shows).
  void DescribeAccessible(TAccessibleInfo& info) override;
  void ChangeScale(int m, int d, bool moveToo) override;

 private:
  void AdjustSize();

  TGdiObject<HBITMAP> bitmap_;
  bool autoSize_ = false;
  int scaleM_ = 1;  // every ChangeScale so far as one factor, scaleM_ / scaleD_
  int scaleD_ = 1;
};
