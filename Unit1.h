// TForm1: the program's one window. Two pages of the same size lie on top of
// each other: the calculator (QelBackPanel1) and the about page
// (QelBackPanel2); the caption's help button and the about page's OK button
// switch between them. A status bar runs along the bottom.
//
// The window is the view of the recalculation: it hands CalcUSART the two
// entry texts and the model selected in the list, and takes the grid cells
// back. The selected model also names the column groups, the register
// columns, the clock in the frequency label and the status bar's panel.
#pragma once

#include <string>

#include "calc/Usart.h"
#include "framework/Form.h"
#include "widgets/Grids.h"

class TImage;
class TQelBackPanel;
class TQelComboBox;
class TQelDrawEdge;
class TQelLabel;
class TQelMaskEdit;
class TQelSpeedButton;
class TQelStaticText;
class TStatusBar;

class TForm1 : public TForm, private TUsartTableView {
 public:
  explicit TForm1(TComponent* owner);

  // The window.
  TQelBackPanel* QelBackPanel2 = nullptr;  // about page
  TQelBackPanel* QelBackPanel1 = nullptr;  // main page
  TStatusBar* StatusBar1 = nullptr;
  // The main page.
  TQelLabel* QelLabel1 = nullptr;
  TQelLabel* QelLabel2 = nullptr;
  TQelLabel* QelLabel3 = nullptr;
  TQelLabel* QelLabel4 = nullptr;
  TQelLabel* QelLabel6 = nullptr;
  TQelMaskEdit* QelMaskEdit1 = nullptr;  // frequency [Hz]
  TQelComboBox* QelComboBox1 = nullptr;
  TStringGrid* StringGrid_USART = nullptr;
  TQelMaskEdit* QelMaskEdit2 = nullptr;  // baud rate [bps]
  TQelStaticText* QelStaticText1 = nullptr;
  TQelStaticText* QelStaticText2 = nullptr;
  // The about page.
  TQelDrawEdge* QelDrawEdge1 = nullptr;
  TQelLabel* QelLabel5 = nullptr;
  TQelLabel* QelLabel7 = nullptr;
  TQelLabel* QelLabel8 = nullptr;
  TQelLabel* QelLabel9 = nullptr;
  TImage* Image1 = nullptr;
  TQelSpeedButton* QelSpeedButton1 = nullptr;
  TQelLabel* QelLabel10 = nullptr;

  void FormCreate(TObject* Sender);
  void QelMaskEdit2TextChangedAt(TObject* Sender, int At);
  void QelComboBox1Change(TObject* Sender);
  void StringGrid_USARTDrawCell(TObject* Sender, int ACol, int ARow, const TRect& Rect,
                                TGridDrawState State);
  void StringGrid_USARTSelectCell(TObject* Sender, int ACol, int ARow, bool& CanSelect);
  void StringGrid_USARTDescribeCell(TObject* Sender, int ACol, int ARow, TAccessibleInfo& Info);
  void StringGrid_USARTContextPopup(TObject* Sender, TPoint MousePos, bool& Handled);
  void FormShortCut(WORD Key, TShiftState Shift, bool& Handled);
  void QelSpeedButton1Click(TObject* Sender);
  void InitGrid();

  // Whether the about page is showing.
  bool AboutPageShown() const;

  void WndProc(TMessage& msg) override;

 protected:
  void CreateWnd() override;
  void KeyDown(WORD& key, TShiftState shift) override;

 private:
  void DeclareLayout();
  void ToggleAboutPage();
  void ShowMainPage();
  // CalcUSART, with the grid's invalidations gathered into one.
  void Recalculate();
  // The result table on the clipboard, tab-separated with its header row.
  void CopyTable();
  // The grid's context menu ("Tabelle kopieren") at a screen point.
  void ShowTableMenu(TPoint screen);
  // The texts that follow the selected model: status panel, frequency label,
  // group captions and register headers.
  void ShowModel();

  std::string FrequencyText() override;
  std::string BaudRateText() override;
  const TAvrModel& Model() override;
  void SetCell(int col, int row, const std::string& text) override;

  const TAvrModel* model_ = &DefaultAvrModel();  // the one the table shows
  int textIndentY_ = 0;  // from a cell's top to its text, set by InitGrid
};

extern TForm1* Form1;
