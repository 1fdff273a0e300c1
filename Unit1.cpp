#include "Unit1.h"

#include <windows.h>

#include <algorithm>
#include <initializer_list>
#include <iterator>

#include "BaudixVersion.h"

#include "calc/UsartTable.h"
#include "framework/Accessible.h"
#include "framework/Clipboard.h"
#include "framework/PopupMenu.h"
#include "framework/Screen.h"
#include "framework/SystemMenu.h"
#include "widgets/Image.h"
#include "widgets/QelBackPanel.h"
#include "widgets/QelComboBox.h"
#include "widgets/QelDrawEdge.h"
#include "widgets/QelLabel.h"
#include "widgets/QelMaskEdit.h"
#include "widgets/QelSpeedButton.h"
#include "widgets/QelStaticText.h"
#include "widgets/StatusBar.h"

TForm1* Form1 = nullptr;

namespace {

// The text height the layout was made for; other fonts scale it.
constexpr int kLayoutTextHeight = 15;

// The program's home, shown in the caption and on the about page.
constexpr char kCaption[] = "Baudix - www.baudix.example";
constexpr char kEmailAddress[] = "info@baudix.example";
constexpr char kWebAddress[] = "www.baudix.example";

constexpr char kWindowFontName[] = "MS Reference Sans Serif";
constexpr int kWindowFontHeight = -11;
constexpr int kHeadingFontHeight = -13;

constexpr char kLegalNotice[] =
    "Rechtlicher Hinweis:\r\n"
    "Der Autor dieses Programms haftet nicht f\xFCr Sch\xE4" "den an Soft- oder Hardware oder "
    "Verm\xF6gensch\xE4" "den, die durch das Benutzen des Programms entstehen, es sei denn "
    "diese beruhen auf einem grob fahrl\xE4ssigen oder vors\xE4tzlichen Handeln des Autors, "
    "seiner Erf\xFCllungsgehilfen oder seiner gesetzlichen Vertreter.";

// The grid's look.
constexpr int kGridColumns = 5;
constexpr int kGridRows = 19;                 // header and the 18 result rows
constexpr int kGridLeft = 8;                  // on the main page
constexpr int kGridTop = 104;
constexpr int kHeaderRowHeight = 20;
constexpr int kRateColumnWidth = 144;
constexpr int kValueColumnWidth = 70;
constexpr int kMaxRateRow = 18;
constexpr TColor kHeaderColor = 0xE0BC8F;     // red 143, green 188, blue 224
constexpr TColor kBodyTextColor = 0x323232;
constexpr TColor kOddRowColor = 0xFAFAFA;
constexpr int kTextIndentX = 4;
constexpr int kTextIndentY = 2;
// Kept free at a cell's right edge, where a header cell has its raised edge.
constexpr int kTextMarginRight = 2;

// The column-group captions over the grid.
constexpr TColor kGroupCaptionColor = 0xA8E089;  // red 137, green 224, blue 168

// What screen readers hear where no text on screen says it.
constexpr char kTableName[] = "Ergebnistabelle";
constexpr char kBannerName[] = "Baudix";
constexpr char kExactDescription[] = "exakt";

// Copying the table: Ctrl+Shift+C anywhere, and the grid's context menu.
constexpr WORD kCopyTableKey = 'C';
constexpr char kCopyTableCaption[] = "Tabelle kopieren";

// The help button's command ("?" in the caption).
constexpr WPARAM kHelpCommand = SC_CONTEXTHELP;
constexpr char kHelpMenuCaption[] = "?\tF1";

// The exact-match flags make a cell bold and black without changing its
// text: the rows whose flags changed while this lives are drawn again, on
// every way out (a recalculation that fails after clearing them included).
class TExactRowsRedraw {
 public:
  explicit TExactRowsRedraw(TStringGrid& grid) : grid_(grid) {
    std::copy(std::begin(ExactU2X0), std::end(ExactU2X0), normal_);
    std::copy(std::begin(ExactU2X1), std::end(ExactU2X1), double_);
  }
  TExactRowsRedraw(const TExactRowsRedraw&) = delete;
  TExactRowsRedraw& operator=(const TExactRowsRedraw&) = delete;
  ~TExactRowsRedraw() {
    for (int i = 0; i < kUsartRateCount; ++i) {
      if (ExactU2X0[i] == normal_[i] && ExactU2X1[i] == double_[i]) continue;
      for (int col = 0; col < kGridColumns; ++col)
        grid_.InvalidateRect(grid_.CellRect(col, i + 1), false);
    }
  }

 private:
  TStringGrid& grid_;
  bool normal_[kUsartFlagCount];
  bool double_[kUsartFlagCount];
};

// Whether the cell is drawn as an exact match, black and bold: a value of a
// mode whose flag is set, or a standard rate with either flag.
bool DrawnExact(int col, int row) {
  if (row < 1 || row > kMaxRateRow) return false;
  const bool normalExact = ExactU2X0[row - 1];
  const bool doubleExact = ExactU2X1[row - 1];
  if (col == 1 || col == 2) return normalExact;
  if (col == 3 || col == 4) return doubleExact;
  return row > 1 && row < kMaxRateRow && (normalExact || doubleExact);
}

void SetFontOf(TControl& control, BYTE charset, TColor color, int height, const char* name,
               TFontStyles style = {}) {
  TFont& font = control.Font();
  font.SetCharset(charset);
  font.SetColor(color);
  font.SetHeight(height);
  font.SetName(name);
  font.SetStyle(style);
}

// One entry of the declared layout: a control of class C owned by the
// window, named, placed on `parent`. The entries run in declaration order,
// which is also the creation order and the stacking order.
template <class C>
C* Declare(TForm1* form, C*& field, const char* name, TWinControl* parent, int left, int top,
           int width, int height) {
  field = new C(form);
  field->SetName(name);
  field->SetBounds(left, top, width, height);
  field->SetParent(parent);
  return field;
}

void DeclareLabel(TQelLabel& label, const char* caption) {
  label.Bevel().SetMode(bmCustom);
  label.SetCaption(caption);
}

void DeclareEntryField(TQelMaskEdit& field, const char* text, int tabOrder) {
  field.SetMaskType(meInteger);
  field.SetMaxLength(8);
  field.SetAlignment(taCenter);
  field.Bevel().SetMode(bmWindows);
  field.Caret().SetBlinkRate(530);
  field.SetDecimals(8);
  field.SetTabOrder(tabOrder);
  field.SetText(text);
}

void DeclareGroupCaption(TQelStaticText& caption, const char* text) {
  caption.SetCaption(text);
  caption.SetAutoSize(false);
  caption.SetColor(kGroupCaptionColor);
  SetFontOf(caption, DEFAULT_CHARSET, clWindowText, kWindowFontHeight, "Tahoma", {fsBold});
  caption.SetOptions({});
}

// The about page with the fonts at hand, where a text needs more room than
// the layout gives it (a wider font than the layout's): the contact
// addresses keep their right edge and grow to the left, and the legal notice
// keeps one free line below its last, as in the layout, its frame growing
// upwards and the labels above it moving up with it.
void FitAboutPage(TForm1& form) {
  for (TQelLabel* address : {form.QelLabel7, form.QelLabel9}) {
    const int width = address->TextExtent().Width;
    if (width > address->Width())
      address->SetBounds(address->Left() + address->Width() - width, address->Top(), width,
                         address->Height());
  }
  TQelLabel& notice = *form.QelLabel5;
  const int textHeight = notice.TextExtent().Height;  // selects the label's font
  const int growth = textHeight + notice.Canvas().TextHeight("X") - notice.Height();
  if (growth <= 0) return;
  using TControls = std::initializer_list<TControl*>;
  for (TControl* frame : TControls{form.QelDrawEdge1, &notice}) {
    frame->SetBounds(frame->Left(), frame->Top() - growth, frame->Width(),
                     frame->Height() + growth);
  }
  for (TControl* above : TControls{form.QelLabel7, form.QelLabel9, form.QelLabel10})
    above->SetBounds(above->Left(), above->Top() - growth, above->Width(), above->Height());
}

}  // namespace

TForm1::TForm1(TComponent* owner) : TForm(owner) {
  SetName("Form1");
  SetCaption(kCaption);
  SetBorderStyle(bsSingle);
  SetBorderIcons({biSystemMenu, biHelp});
  SetClientSize(457, 479);
  SetColor(clBtnFace);
  SetFontOf(*this, ANSI_CHARSET, clWindowText, kWindowFontHeight, kWindowFontName);
  SetTextHeight(kLayoutTextHeight);
  OnCreate = [this](TObject* sender) { FormCreate(sender); };
  OnShortCut = [this](WORD key, TShiftState shift, bool& handled) {
    FormShortCut(key, shift, handled);
  };
  DeclareLayout();
}

void TForm1::DeclareLayout() {
  Declare(this, QelBackPanel2, "QelBackPanel2", this, 8, 8, 441, 450);
  QelBackPanel2->Bevel().SetMode(bmEdge);
  QelBackPanel2->SetTabOrder(2);

  Declare(this, QelBackPanel1, "QelBackPanel1", this, 8, 8, 441, 450);
  QelBackPanel1->Bevel().SetMode(bmEdge);
  QelBackPanel1->SetTabOrder(0);

  Declare(this, StatusBar1, "StatusBar1", this, 0, 460, 457, 19);
  TStatusPanel& panel = StatusBar1->Panels().Add();
  panel.SetText("ATmega128");
  panel.SetWidth(340);
  StatusBar1->SetParentFont(true);
  StatusBar1->SetUseSystemFont(false);

  // The main page.
  TQelBackPanel* page = QelBackPanel1;
  DeclareLabel(*Declare(this, QelLabel1, "QelLabel1", page, 288, 32, 87, 17), "Mikrocontroller");
  QelLabel1->SetOptions({});
  DeclareLabel(*Declare(this, QelLabel2, "QelLabel2", page, 8, 32, 82, 17), "Frequenz [Hz]");
  QelLabel2->SetOptions({});
  DeclareLabel(*Declare(this, QelLabel3, "QelLabel3", page, 8, 8, 46, 18), "USART");
  QelLabel3->SetOptions({});
  SetFontOf(*QelLabel3, ANSI_CHARSET, clWindowText, kHeadingFontHeight, kWindowFontName);
  DeclareLabel(*Declare(this, QelLabel4, "QelLabel4", page, 152, 32, 88, 17), "Baudrate [bps]");
  QelLabel4->SetOptions({});
  DeclareLabel(*Declare(this, QelLabel6, "QelLabel6", page, 8, 408, 425, 41),
               "Berechnung des Registerinhaltes UBBR f\xFCr eine gegebene Frequenz und Baudrate");
  QelLabel6->SetOptions({});
  QelLabel6->SetAutoSize(false);
  QelLabel6->SetMultiLine(true);
  SetFontOf(*QelLabel6, ANSI_CHARSET, clWindowText, kHeadingFontHeight, kWindowFontName);

  DeclareEntryField(*Declare(this, QelMaskEdit1, "QelMaskEdit1", page, 8, 48, 121, 21),
                    "16000000", 0);
  QelMaskEdit1->OnTextChangedAt = [this](TObject* sender, int at) {
    QelMaskEdit2TextChangedAt(sender, at);
  };

  Declare(this, QelComboBox1, "QelComboBox1", page, 288, 48, 145, 23);
  QelComboBox1->SetStyle(csDropDownList);
  QelComboBox1->SetColor(clWhite);
  QelComboBox1->SetItemHeight(15);
  for (const TAvrModel& model : AvrModels()) QelComboBox1->Items().Add(model.name);
  // The opened list is bounded by the screen below the box, not by a count.
  QelComboBox1->SetDropDownCount(static_cast<int>(AvrModels().size()));
  QelComboBox1->SetTabOrder(2);
  QelComboBox1->OnChange = [this](TObject* sender) { QelComboBox1Change(sender); };
  // A click beside the open list closes it and puts back the selection it
  // opened with, which the platform reports as no change.
  QelComboBox1->OnCloseUp = QelComboBox1->OnChange;

  Declare(this, StringGrid_USART, "StringGrid_USART", page, kGridLeft, kGridTop, 425, 292);
  StringGrid_USART->SetColCount(kGridColumns);
  StringGrid_USART->SetDefaultRowHeight(15);
  StringGrid_USART->SetFixedCols(0);
  StringGrid_USART->SetRowCount(kGridRows);
  StringGrid_USART->SetFixedRows(1);
  StringGrid_USART->SetFixedColor(kHeaderColor);
  StringGrid_USART->SetGridLineWidth(0);
  StringGrid_USART->SetOptions({goFixedVertLine, goVertLine, goHorzLine});
  StringGrid_USART->SetBorderStyle(bsNone);
  StringGrid_USART->SetScrollBars(ssNone);
  StringGrid_USART->SetTabStop(false);
  StringGrid_USART->SetTabOrder(3);
  SetFontOf(*StringGrid_USART, ANSI_CHARSET, clWindowText, kWindowFontHeight, kWindowFontName);
  // The drawing handler fills and writes every cell itself.
  StringGrid_USART->SetCellsDrawnByHandler(true);
  StringGrid_USART->OnDrawCell = [this](TObject* sender, int col, int row, const TRect& rect,
                                        TGridDrawState state) {
    StringGrid_USARTDrawCell(sender, col, row, rect, state);
  };
  StringGrid_USART->OnSelectCell = [this](TObject* sender, int col, int row, bool& canSelect) {
    StringGrid_USARTSelectCell(sender, col, row, canSelect);
  };
  StringGrid_USART->SetAccessibleName(kTableName);
  StringGrid_USART->OnDescribeCell = [this](TObject* sender, int col, int row,
                                            TAccessibleInfo& info) {
    StringGrid_USARTDescribeCell(sender, col, row, info);
  };
  StringGrid_USART->OnContextPopup = [this](TObject* sender, TPoint at, bool& handled) {
    StringGrid_USARTContextPopup(sender, at, handled);
  };

  DeclareEntryField(*Declare(this, QelMaskEdit2, "QelMaskEdit2", page, 152, 48, 105, 21),
                    "250000", 1);
  SetFontOf(*QelMaskEdit2, ANSI_CHARSET, clNavy, kWindowFontHeight, kWindowFontName, {fsBold});
  QelMaskEdit2->OnTextChangedAt = QelMaskEdit1->OnTextChangedAt;
  // Readers name the fields and the list by the labels above them.
  QelMaskEdit1->SetAccessibleLabel(QelLabel2);
  QelMaskEdit2->SetAccessibleLabel(QelLabel4);
  QelComboBox1->SetAccessibleLabel(QelLabel1);

  // The bevel's properties are read in their own order: the second caption's
  // border width arrives while the mode is still bmCustom.
  DeclareGroupCaption(*Declare(this, QelStaticText1, "QelStaticText1", page, 153, 86, 139, 17),
                      "U2X = 0");
  QelStaticText1->Bevel().SetWidthInner(0);
  QelStaticText1->Bevel().SetBorderSides({});
  QelStaticText1->Bevel().SetMode(bmEdge);
  DeclareGroupCaption(*Declare(this, QelStaticText2, "QelStaticText2", page, 293, 86, 139, 17),
                      "U2X = 1");
  QelStaticText2->Bevel().SetBorderSides({});
  QelStaticText2->Bevel().SetBorderWidth(2);
  QelStaticText2->Bevel().SetMode(bmEdge);

  // The about page.
  page = QelBackPanel2;
  Declare(this, QelDrawEdge1, "QelDrawEdge1", page, 16, 280, 409, 113);
  QelDrawEdge1->SetFrameSides({fsBottom, fsTop});

  DeclareLabel(*Declare(this, QelLabel5, "QelLabel5", page, 24, 288, 401, 105), kLegalNotice);
  QelLabel5->SetAutoSize(false);
  QelLabel5->SetMultiLine(true);
  QelLabel5->SetOptions({});
  SetFontOf(*QelLabel5, ANSI_CHARSET, clWindowText, kWindowFontHeight, kWindowFontName);

  DeclareLabel(*Declare(this, QelLabel7, "QelLabel7", page, 296, 240, 126, 17), kEmailAddress);
  QelLabel7->SetAlignment(agCenterRight);
  QelLabel7->SetAutoSize(false);
  DeclareLabel(*Declare(this, QelLabel8, "QelLabel8", page, 16, 48, 318, 17),
               "Dieses Programm wird euch zur Verf\xFCgung gestellt von");
  DeclareLabel(*Declare(this, QelLabel9, "QelLabel9", page, 296, 256, 126, 17), kWebAddress);
  QelLabel9->SetAlignment(agCenterRight);
  QelLabel9->SetAutoSize(false);

  Declare(this, Image1, "Image1", page, 10, 120, 420, 42);
  Image1->SetAutoSize(true);
  Image1->LoadFromResourceName("BANNER");
  Image1->SetAccessibleName(kBannerName);

  Declare(this, QelSpeedButton1, "QelSpeedButton1", page, 184, 408, 73, 30);
  QelSpeedButton1->SetCaption("OK");
  QelSpeedButton1->OnClick = [this](TObject* sender) { QelSpeedButton1Click(sender); };

  DeclareLabel(*Declare(this, QelLabel10, "QelLabel10", page, 16, 256, 131, 17),
               "Programmversion: " BAUDIX_VERSION);
}

void TForm1::CreateWnd() {
  TForm::CreateWnd();
  // Where the caption shows no help button, F1 and the system menu give its
  // command.
  const bool offerHelpCommand = !CaptionShowsHelpButton(Handle());
  SetKeyPreview(offerHelpCommand);
  if (offerHelpCommand) AppendSystemMenuCommand(*this, kHelpCommand, kHelpMenuCaption);
}

void TForm1::FormCreate(TObject*) {
  // A fixed size: the frame cannot be dragged.
  Constraints().SetMaxHeight(Height());
  Constraints().SetMaxWidth(Width());
  Constraints().SetMinHeight(Height());
  Constraints().SetMinWidth(Width());
  SetBounds((Screen::Width() - Width()) / 2, (Screen::Height() - Height()) / 2, Width(),
            Height());
  QelBackPanel1->BringToFront();
  QelBackPanel2->SetVisible(false);
  InitGrid();
  FitAboutPage(*this);
  Recalculate();
}

void TForm1::InitGrid() {
  QelComboBox1->SetItemIndex(static_cast<int>(model_ - AvrModels().data()));
  QelComboBox1->Refresh();
  // The window's scaling applies to these sizes too (it already did to the
  // default row height), edge by edge from the page's origin, so that the
  // cells keep their texts whole, fill the grid and stay under the captions.
  StringGrid_USART->SetRowHeights(0, ScaledExtent(kGridTop, kHeaderRowHeight));
  // In rows shorter than the layout's the texts' top indent shrinks with
  // them, so that glyphs reaching below the line ("/" in "1047/-6") stay in
  // the cell.
  textIndentY_ = std::min(kTextIndentY, kTextIndentY * StringGrid_USART->DefaultRowHeight() /
                                            kLayoutTextHeight);
  int edge = kGridLeft;
  for (int col = 0; col < kGridColumns; ++col) {
    const int width = col == 0 ? kRateColumnWidth : kValueColumnWidth;
    StringGrid_USART->SetColWidths(col, ScaledExtent(edge, width));
    edge += width;
  }
  ShowModel();
}

void TForm1::QelMaskEdit2TextChangedAt(TObject*, int) { Recalculate(); }

void TForm1::QelComboBox1Change(TObject*) {
  // Raised for every way the user moves the selection, and for typing and
  // closing the list that may leave it where it was.
  const int index = QelComboBox1->ItemIndex();
  if (index < 0) return;
  const TAvrModel& model = AvrModels()[static_cast<size_t>(index)];
  if (&model == model_) return;
  model_ = &model;
  TInvalidationBatch batch(*StringGrid_USART);
  ShowModel();
  Recalculate();
}

void TForm1::ShowModel() {
  const TBaudFamilyInfo& family = FamilyInfo(model_->family);
  StatusBar1->Panels()[0].SetText(model_->name);
  QelLabel2->SetCaption(family.frequencyLabel);
  QelStaticText1->SetCaption(family.captions[0]);
  QelStaticText2->SetCaption(family.captions[1]);
  for (int col = 0; col < kGridColumns; ++col) SetCell(col, 0, UsartHeader(model_->family, col));
}

void TForm1::Recalculate() {
  // Readers read the table anew, once, when the recalculation is over.
  TAccessibleReorder reorder(*StringGrid_USART);
  // A keystroke rewrites all 90 result cells, but most keep their text and
  // look: only the changed ones are drawn again, gathered into one
  // invalidation.
  TInvalidationBatch batch(*StringGrid_USART);
  TExactRowsRedraw exactRows(*StringGrid_USART);
  CalcUSART(*this);
}

void TForm1::CopyTable() { SetClipboardText(Handle(), StringGrid_USART->TabSeparatedText()); }

void TForm1::ShowTableMenu(TPoint screen) {
  if (ShowPopupMenu(*StringGrid_USART, screen, {kCopyTableCaption}) == 0) CopyTable();
}

void TForm1::FormShortCut(WORD Key, TShiftState Shift, bool& Handled) {
  if (Key == kCopyTableKey && Shift == TShiftState{ssCtrl, ssShift}) {
    Handled = true;
    CopyTable();
  }
  // The keyboard's ways to a context menu open the table's, on the main page.
  const bool menuKey = (Key == VK_APPS && Shift.Empty()) ||
                       (Key == VK_F10 && Shift == TShiftState{ssShift});
  if (menuKey && !AboutPageShown()) {
    Handled = true;
    ShowTableMenu(StringGrid_USART->ClientOrigin());
  }
}

void TForm1::StringGrid_USARTContextPopup(TObject*, TPoint MousePos, bool& Handled) {
  Handled = true;
  ShowTableMenu(MousePos);
}

void TForm1::StringGrid_USARTDescribeCell(TObject*, int ACol, int ARow, TAccessibleInfo& Info) {
  // What a reader of the screen sees around the cell: the row's rate, the
  // caption over the column's group and the column header.
  const TQelStaticText& group = ACol <= 2 ? *QelStaticText1 : *QelStaticText2;
  std::string name;
  const auto add = [&name](const std::string& part) {
    if (!name.empty()) name += ", ";
    name += WithoutAccelChars(part);
  };
  if (ARow > 0 && ACol > 0) add(StringGrid_USART->Cells(0, ARow));
  if (ACol > 0) add(group.Caption());
  if (ARow > 0) add(StringGrid_USART->Cells(ACol, 0));
  Info.Name = name;
  if (DrawnExact(ACol, ARow)) Info.Description = kExactDescription;
}

void TForm1::StringGrid_USARTDrawCell(TObject*, int ACol, int ARow, const TRect& Rect,
                                      TGridDrawState) {
  // No cell is ever current or selected.
  StringGrid_USART->SetSelection({-1, -1, 0, -1});
  const std::string& text = StringGrid_USART->Cells(ACol, ARow);
  TCanvas& canvas = StringGrid_USART->Canvas();
  TFont& font = canvas.Font();
  // Bold is added to or removed from the style the grid prepared.
  auto setBold = [&font](bool bold) {
    TFontStyles style = font.Style();
    style.Set(fsBold, bold);
    font.SetStyle(style);
  };
  auto exactMatch = [&font, &setBold] {
    font.SetColor(clBlack);
    setBold(true);
  };

  const bool exact = DrawnExact(ACol, ARow);
  if (ARow == 0) setBold(true);
  if (ARow == 1) {
    font.SetColor(clNavy);
    setBold(true);
  }
  if (ARow > 1 && ARow < kMaxRateRow) {
    font.SetColor(kBodyTextColor);
    setBold(false);
  }
  if (ARow == kMaxRateRow) {
    font.SetColor(clMaroon);
    setBold(true);
  }
  if (exact) exactMatch();
  if (ARow % 2 == 1) canvas.Brush().SetColor(kOddRowColor);
  if (HighContrast()) {
    // System pairs only: the header as the grid's fixed cells, the exact
    // matches highlighted, everything else window text on window.
    const TContrastPair pair = ARow == 0 ? cpFace : exact ? cpHighlight : cpWindow;
    font.SetColor(ContrastText(pair));
    canvas.Brush().SetColor(ContrastBackground(pair));
  }

  SetBkMode(canvas.Handle(), OPAQUE);
  canvas.FillRect(Rect);
  // A text wider than its cell ("BSEL/BSCALE" in a bold header) is drawn
  // in a smaller font rather than cut: centred right of the indent, it keeps
  // the margin free at the right edge.
  const int room = Rect.Right - Rect.Left - kTextIndentX - 2 * kTextMarginRight;
  for (int width = canvas.TextWidth(text); width > room && font.Height() < -1;
       width = canvas.TextWidth(text))
    font.SetHeight(std::max(font.Height() + 1, MulDiv(font.Height(), room, width)));
  TRect textRect(Rect.Left + kTextIndentX, Rect.Top + textIndentY_, Rect.Right, Rect.Bottom);
  canvas.DrawText(text, textRect, DT_CENTER);
}

void TForm1::StringGrid_USARTSelectCell(TObject*, int, int, bool& CanSelect) { CanSelect = false; }

void TForm1::QelSpeedButton1Click(TObject*) { ShowMainPage(); }

bool TForm1::AboutPageShown() const { return QelBackPanel2->Visible(); }

void TForm1::ToggleAboutPage() {
  if (AboutPageShown()) {
    ShowMainPage();
  } else {
    QelBackPanel2->BringToFront();
    QelBackPanel2->SetVisible(true);
  }
}

void TForm1::ShowMainPage() {
  QelBackPanel1->BringToFront();
  QelBackPanel2->SetVisible(false);
}

void TForm1::WndProc(TMessage& msg) {
  // The caption's help button switches the pages; the platform's
  // context-help mode is never entered.
  if (msg.Msg == WM_SYSCOMMAND && msg.WParam == kHelpCommand) {
    ToggleAboutPage();
    msg.Result = 0;
    return;
  }
  TForm::WndProc(msg);
}

void TForm1::KeyDown(WORD& key, TShiftState shift) {
  if (key == VK_F1 && KeyPreview()) {
    ToggleAboutPage();
    key = 0;
    return;
  }
  TForm::KeyDown(key, shift);
}

std::string TForm1::FrequencyText() { return QelMaskEdit1->Text(); }

std::string TForm1::BaudRateText() { return QelMaskEdit2->Text(); }

const TAvrModel& TForm1::Model() { return *model_; }

void TForm1::SetCell(int col, int row, const std::string& text) {
  if (text != StringGrid_USART->Cells(col, row)) StringGrid_USART->SetCells(col, row, text);
}
