#include "Unit1.h"

TForm1* Form1 = nullptr;

namespace {
// The text height the layout was made for.
constexpr int kLayoutTextHeight = 15;
}  // namespace

TForm1::TForm1(TComponent* owner) : TForm(owner) {
  SetName("Form1");
  SetCaption("Baudix - baudix.example");
  SetBorderStyle(bsSingle);
  SetBorderIcons({biSystemMenu, biHelp});
  SetClientSize(457, 479);
  SetColor(clBtnFace);
  Font().SetCharset(ANSI_CHARSET);
  Font().SetColor(clWindowText);
  Font().SetHeight(-11);
  Font().SetName("MS Reference Sans Serif");
  Font().SetStyle({});
  SetTextHeight(kLayoutTextHeight);
}
