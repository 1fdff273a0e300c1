// TForm1: the program's one window.
#pragma once

#include "framework/Form.h"

class TForm1 : public TForm {
 public:
  explicit TForm1(TComponent* owner);
};

extern TForm1* Form1;
