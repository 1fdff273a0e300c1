// The window as the program builds it: layout, the result table after start
// and after typing, the cell colours, the unselectable grid, the two pages,
// the conversion error box and the model list, which chooses what the table
// is computed for.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "BaudixVersion.h"
#include "Unit1.h"
#include "app/Application.h"
#include "calc/LocaleFormats.h"
#include "framework/Screen.h"
#include "framework/SystemMenu.h"
#include "support/CellPixels.h"
#include "support/MessageBoxCloser.h"
#include "support/ProgramWindow.h"
#include "support/Render.h"
#include "support/TestForm.h"
#include "window/support/CoreTable.h"
#include "widgets/Image.h"
#include "widgets/QelBackPanel.h"
#include "widgets/QelBaseEdit.h"
#include "widgets/QelComboBox.h"
#include "widgets/QelDrawEdge.h"
#include "widgets/QelLabel.h"
#include "widgets/QelMaskEdit.h"
#include "widgets/QelSpeedButton.h"
#include "widgets/QelStaticText.h"
#include "widgets/StatusBar.h"

namespace {

// The table for "16000000" and "250000": rate, UBBR and error at U2X = 0,
// UBBR and error at U2X = 1, "*" where the exact-match flag is set.
const char* const kWorkedExample[18][5] = {
    {"250000", "3", "0.00%*", "7", "0.00%*"},     {"2400", "416", "-0.08%", "832", "0.00%*"},
    {"4800", "207", "0.15%", "416", "-0.08%"},    {"9600", "103", "0.16%", "207", "0.16%"},
    {"14400", "68", "0.64%", "138", "-0.08%"},    {"19200", "51", "0.16%", "103", "0.16%"},
    {"28800", "34", "-0.80%", "68", "0.64%"},     {"38400", "25", "0.16%", "51", "0.16%"},
    {"57600", "16", "2.12%", "34", "-0.80%"},     {"76800", "12", "0.16%", "25", "0.16%"},
    {"115200", "8", "-3.55%", "16", "2.12%"},     {"230400", "3", "8.51%", "8", "-3.55%"},
    {"250000", "3", "0.00%*", "7", "0.00%*"},     {"500000", "1", "0.00%*", "3", "0.00%*"},
    {"1000000", "0", "0.00%*", "1", "0.00%*"},    {"2000000", "-", "-", "0", "0.00%*"},
    {"2500000", "-", "-", "-", "-"},              {"2000000 MAX", "-", "-", "0", "0.00%*"},
};

// The expected texts have "." whatever the system's separator.
class Window : public ProgramWindowTest {
 protected:
  // The table as the grid and flags hold it, in the form of kWorkedExample.
  std::string TableRow(int row) {
    std::string text;
    for (int col = 0; col < 5; ++col) {
      text += Grid().Cells(col, row);
      if ((col == 2 && ExactU2X0[row - 1]) || (col == 4 && ExactU2X1[row - 1])) text += "*";
      text += col < 4 ? " | " : "";
    }
    return text;
  }

  static void Type(TWinControl& field, const std::string& keys) {
    for (char c : keys) SendMessageA(field.Handle(), WM_CHAR, static_cast<unsigned char>(c), 1);
    PumpMessages();
  }
  static void PressKey(TWinControl& control, WORD key) {
    SendMessageA(control.Handle(), WM_KEYDOWN, key, 1);
    SendMessageA(control.Handle(), WM_KEYUP, key, 0xC0000001);
    PumpMessages();
  }
  static constexpr WPARAM kHelpCommand = SC_CONTEXTHELP;
  static void HelpButton() {
    SendMessageA(Form1->Handle(), WM_SYSCOMMAND, kHelpCommand, 0);
    PumpMessages();
  }
};

TEST_F(Window, LaysOutAtScaleOneWithTheFontsOfThePrefix) {
  EXPECT_EQ(Form1->FontTextHeight(), 15) << "the layout would be scaled";
  EXPECT_EQ(Form1->ClientWidth(), 457);
  EXPECT_EQ(Form1->ClientHeight(), 479);
  const struct {
    TControl* control;
    TRect bounds;
  } expected[] = {
      {Form1->QelBackPanel1, {8, 8, 449, 458}},     {Form1->QelBackPanel2, {8, 8, 449, 458}},
      {Form1->StatusBar1, {0, 460, 457, 479}},      {Form1->QelMaskEdit1, {8, 48, 129, 69}},
      {Form1->QelMaskEdit2, {152, 48, 257, 69}},    {Form1->StringGrid_USART, {8, 104, 433, 396}},
      {Form1->QelStaticText1, {153, 86, 292, 103}}, {Form1->QelStaticText2, {293, 86, 432, 103}},
      {Form1->QelSpeedButton1, {184, 408, 257, 438}},
  };
  for (const auto& e : expected) {
    const TRect r = e.control->BoundsRect();
    EXPECT_EQ(r, e.bounds) << e.control->Name() << " at " << r.Left << "," << r.Top << ","
                           << r.Right << "," << r.Bottom;
  }
  // Fixed size, centred on the primary display.
  EXPECT_EQ(Form1->Constraints().MinWidth(), Form1->Width());
  EXPECT_EQ(Form1->Constraints().MaxHeight(), Form1->Height());
  EXPECT_EQ(Form1->Left(), (GetSystemMetrics(SM_CXSCREEN) - Form1->Width()) / 2);
  EXPECT_EQ(Form1->Top(), (GetSystemMetrics(SM_CYSCREEN) - Form1->Height()) / 2);
}

// What a control shows as its text: the entry, the list's or the status
// panel's text, else the caption.
std::string ShownText(TControl& control) {
  if (auto* edit = dynamic_cast<TQelBaseEdit*>(&control)) return edit->Text();
  if (auto* list = dynamic_cast<TCustomCombo*>(&control)) return list->Text();
  if (auto* bar = dynamic_cast<TStatusBar*>(&control)) return bar->Panels()[0].Text();
  return control.Caption();
}

TEST_F(Window, EveryControlHasItsDeclaredTextFontAndColours) {
  constexpr char kSans[] = "MS Reference Sans Serif";
  constexpr TColor kGroupCaption = 0xA8E089;
  const struct {
    TControl* control;
    const char* text;
    TColor color;
    const char* font;
    int height;
    TFontStyles style;
    TColor fontColor;
    BYTE charset;
  } declared[] = {
      {Form1, "Baudix - www.baudix.example", clBtnFace, kSans, -11, {}, clWindowText, ANSI_CHARSET},
      {Form1->QelBackPanel2, "", clBtnFace, kSans, -11, {}, clWindowText, ANSI_CHARSET},
      {Form1->QelBackPanel1, "", clBtnFace, kSans, -11, {}, clWindowText, ANSI_CHARSET},
      {Form1->StatusBar1, "ATmega128", clBtnFace, kSans, -11, {}, clWindowText, ANSI_CHARSET},
      {Form1->QelLabel1, "Mikrocontroller", clBtnFace, kSans, -11, {}, clWindowText, ANSI_CHARSET},
      {Form1->QelLabel2, "Frequenz [Hz]", clBtnFace, kSans, -11, {}, clWindowText, ANSI_CHARSET},
      {Form1->QelLabel3, "USART", clBtnFace, kSans, -13, {}, clWindowText, ANSI_CHARSET},
      {Form1->QelLabel4, "Baudrate [bps]", clBtnFace, kSans, -11, {}, clWindowText, ANSI_CHARSET},
      {Form1->QelLabel6,
       "Berechnung des Registerinhaltes UBBR f\xFCr eine gegebene Frequenz und Baudrate",
       clBtnFace, kSans, -13, {}, clWindowText, ANSI_CHARSET},
      {Form1->QelMaskEdit1, "16000000", clWindow, kSans, -11, {}, clWindowText, ANSI_CHARSET},
      {Form1->QelComboBox1, "ATmega128", clWhite, kSans, -11, {}, clWindowText, ANSI_CHARSET},
      {Form1->StringGrid_USART, "", clWindow, kSans, -11, {}, clWindowText, ANSI_CHARSET},
      {Form1->QelMaskEdit2, "250000", clWindow, kSans, -11, {fsBold}, clNavy, ANSI_CHARSET},
      {Form1->QelStaticText1, "U2X = 0", kGroupCaption, "Tahoma", -11, {fsBold}, clWindowText,
       DEFAULT_CHARSET},
      {Form1->QelStaticText2, "U2X = 1", kGroupCaption, "Tahoma", -11, {fsBold}, clWindowText,
       DEFAULT_CHARSET},
      {Form1->QelDrawEdge1, "", clBtnFace, kSans, -11, {}, clWindowText, ANSI_CHARSET},
      {Form1->QelLabel5,
       "Rechtlicher Hinweis:\r\nDer Autor dieses Programms haftet nicht f\xFCr Sch\xE4"
       "den an Soft- oder Hardware oder Verm\xF6gensch\xE4"
       "den, die durch das Benutzen des Programms entstehen, es sei denn diese beruhen auf "
       "einem grob fahrl\xE4ssigen oder vors\xE4tzlichen Handeln des Autors, seiner "
       "Erf\xFCllungsgehilfen oder seiner gesetzlichen Vertreter.",
       clBtnFace, kSans, -11, {}, clWindowText, ANSI_CHARSET},
      {Form1->QelLabel7, "info@baudix.example", clBtnFace, kSans, -11, {}, clWindowText,
       ANSI_CHARSET},
      {Form1->QelLabel8, "Dieses Programm wird euch zur Verf\xFCgung gestellt von", clBtnFace,
       kSans, -11, {}, clWindowText, ANSI_CHARSET},
      {Form1->QelLabel9, "www.baudix.example", clBtnFace, kSans, -11, {}, clWindowText,
       ANSI_CHARSET},
      {Form1->Image1, "", clBtnFace, kSans, -11, {}, clWindowText, ANSI_CHARSET},
      {Form1->QelSpeedButton1, "OK", clBtnFace, kSans, -11, {}, clWindowText, ANSI_CHARSET},
      {Form1->QelLabel10, "Programmversion: " BAUDIX_VERSION, clBtnFace, kSans, -11, {},
       clWindowText, ANSI_CHARSET},
  };
  EXPECT_EQ(Form1->ComponentCount() + 1, static_cast<int>(std::size(declared)))
      << "a control was added or lost";
  for (const auto& d : declared) {
    TControl& c = *d.control;
    const TFont& font = c.Font();
    EXPECT_EQ(ShownText(c), d.text) << c.Name();
    EXPECT_EQ(c.Color(), d.color) << c.Name();
    EXPECT_EQ(font.Name(), d.font) << c.Name();
    EXPECT_EQ(font.Height(), d.height) << c.Name();
    EXPECT_EQ(font.Style().Bits(), d.style.Bits()) << c.Name();
    EXPECT_EQ(font.Color(), d.fontColor) << c.Name();
    EXPECT_EQ(font.Charset(), d.charset) << c.Name();
  }
}

TEST_F(Window, StartsWithTheTableForTheDefaultTexts) {
  const char* headers[5] = {"Baudrate [bps]", "UBBR", "ERROR", "UBBR", "ERROR"};
  for (int col = 0; col < 5; ++col) EXPECT_EQ(Grid().Cells(col, 0), headers[col]);
  for (int row = 1; row <= 18; ++row) {
    std::string expected;
    for (int col = 0; col < 5; ++col) {
      expected += kWorkedExample[row - 1][col];
      expected += col < 4 ? " | " : "";
    }
    EXPECT_EQ(TableRow(row), expected) << "row " << row;
  }
  EXPECT_EQ(Form1->QelComboBox1->Text(), "ATmega128");
  EXPECT_EQ(Grid().ColWidths(0), 144);
  EXPECT_EQ(Grid().RowHeights(0), 20);
  EXPECT_EQ(GetFocus(), Form1->QelMaskEdit1->Handle()) << "the first field takes the focus";
}

TEST_F(Window, TypingIntoEitherFieldRecalculates) {
  TQelMaskEdit& baud = *Form1->QelMaskEdit2;
  baud.SetFocus();
  baud.SelectAll();
  Type(baud, "9600");
  EXPECT_EQ(TableRow(1), "9600 | 103 | 0.16% | 207 | 0.16%");

  TQelMaskEdit& frequency = *Form1->QelMaskEdit1;
  frequency.SetFocus();
  frequency.SelectAll();
  Type(frequency, "7372800");
  EXPECT_EQ(TableRow(1), "9600 | 47 | 0.00%* | 95 | 0.00%*");
  EXPECT_EQ(TableRow(18), "921600 MAX | - | - | 0 | 0.00%*");

  PressKey(frequency, VK_BACK);
  EXPECT_EQ(Grid().Cells(0, 18), "92160 MAX");
  EXPECT_TRUE(closer_.Boxes().empty());

  // Only what changed is drawn again: a digit in the baud-rate field changes
  // row 1 alone, and a row whose exact-match flags change (here one flag
  // falsified before, which the recalculation puts right) although its
  // texts stay.
  constexpr int kFlagRow = 10;
  ExactU2X0[kFlagRow - 1] = !ExactU2X0[kFlagRow - 1];
  SendMessageA(baud.Handle(), WM_CHAR, '0', 1);
  TRegionHandle pending(CreateRectRgn(0, 0, 0, 0));
  GetUpdateRgn(Grid().Handle(), pending.Get(), FALSE);
  for (int row = 0; row < 19; ++row) {
    const RECT cell = Grid().CellRect(3, row);
    EXPECT_EQ(RectInRegion(pending.Get(), &cell) != FALSE, row == 1 || row == kFlagRow)
        << "row " << row;
  }
  PumpMessages();

  // The double-speed flag alone: an "8" over the last digit of 16000000
  // leaves row 16 its texts, but 2000001 bps is no longer exact.
  frequency.SetFocus();
  frequency.SelectAll();
  Type(frequency, "16000000");
  constexpr int kDoubleSpeedOnlyRow = 16;
  ASSERT_EQ(TableRow(kDoubleSpeedOnlyRow), "2000000 | - | - | 0 | 0.00%*");
  frequency.SetSelection(8, 1);
  SendMessageA(frequency.Handle(), WM_CHAR, '8', 1);
  EXPECT_EQ(TableRow(kDoubleSpeedOnlyRow), "2000000 | - | - | 0 | 0.00%");
  GetUpdateRgn(Grid().Handle(), pending.Get(), FALSE);
  for (int col : {0, 3, 4}) {
    const RECT cell = Grid().CellRect(col, kDoubleSpeedOnlyRow);
    EXPECT_TRUE(RectInRegion(pending.Get(), &cell)) << "column " << col << " keeps its bold";
  }
  PumpMessages();
}

TEST_F(Window, CellsAreColouredByRowAndExactMatch) {
  TPixels pixels = RenderControl(Grid());
  // The header's raised edges: highlight at the left, shadow at the right.
  const TRect header = Grid().CellRect(1, 0);
  EXPECT_TRUE(PixelIs(pixels, header.Left, header.Top + 10, clBtnHighlight));
  EXPECT_TRUE(PixelIs(pixels, header.Right - 1, header.Top + 10, clBtnShadow));
  // Background, text colour and weight by row and exact match (navy for the
  // user's rate, black where a flag applies, $323232 in the body, maroon in
  // row 18).
  const struct {
    int col, row;
    TColor background, text;
    bool bold;
  } samples[] = {{1, 0, 0xE0BC8F, clWindowText, true}, {0, 1, 0xFAFAFA, clNavy, true},
                 {1, 1, 0xFAFAFA, clBlack, true},      {0, 2, clWindow, clBlack, true},
                 {1, 2, clWindow, 0x323232, false},    {3, 2, clWindow, clBlack, true},
                 {1, 3, 0xFAFAFA, 0x323232, false},    {0, 18, clWindow, clMaroon, true},
                 {1, 18, clWindow, clMaroon, true},    {3, 18, clWindow, clBlack, true}};
  for (const auto& c : samples)
    EXPECT_TRUE(CellDrawnAs(pixels, Grid(), c.col, c.row, c.background, c.text, c.bold));
}

TEST_F(Window, NoCellCanBeSelected) {
  const TGridRect none{-1, -1, 0, -1};
  const TRect cell = Grid().CellRect(2, 5);
  const LPARAM at = MAKELPARAM(cell.Left + 5, cell.Top + 5);
  SendMessageA(Grid().Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
  SendMessageA(Grid().Handle(), WM_LBUTTONUP, 0, at);
  PumpMessages();
  for (WORD key : {VK_DOWN, VK_RIGHT, VK_NEXT, VK_END, VK_HOME}) PressKey(Grid(), key);
  EXPECT_EQ(Grid().Selection(), none);
  TPixels pixels = RenderControl(Grid());
  EXPECT_EQ(pixels.Count({0, 0, 425, 292}, ColorToRGB(clHighlight)), 0);
  EXPECT_TRUE(closer_.Boxes().empty());
}

TEST_F(Window, TabCyclesFrequencyBaudRateListAndPassesTheGridBy) {
  // Through the application's loop, as a real key goes.
  const auto tab = [] {
    PostMessageA(GetFocus(), WM_KEYDOWN, VK_TAB, 1);
    while (Application->ProcessOneMessage()) {
    }
    return GetFocus();
  };
  ASSERT_EQ(GetFocus(), Form1->QelMaskEdit1->Handle());
  EXPECT_EQ(tab(), Form1->QelMaskEdit2->Handle());
  EXPECT_EQ(tab(), Form1->QelComboBox1->Handle());
  EXPECT_EQ(tab(), Form1->QelMaskEdit1->Handle());
}

TEST_F(Window, HelpCommandAndOkSwitchPagesWithoutMovingTheFocus) {
  HWND focus = GetFocus();
  for (WPARAM neighbour : {kHelpCommand - 0x10, kHelpCommand + 0x10}) {
    SendMessageA(Form1->Handle(), WM_SYSCOMMAND, neighbour, 0);
    PumpMessages();
    EXPECT_FALSE(Form1->AboutPageShown()) << "system command " << std::hex << neighbour;
  }
  HelpButton();
  EXPECT_TRUE(Form1->AboutPageShown());
  EXPECT_EQ(GetFocus(), focus);
  HelpButton();
  EXPECT_FALSE(Form1->AboutPageShown());

  HelpButton();
  TQelSpeedButton& ok = *Form1->QelSpeedButton1;
  const LPARAM at = MAKELPARAM(ok.Left() + 30, ok.Top() + 15);
  SendMessageA(Form1->QelBackPanel2->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
  SendMessageA(Form1->QelBackPanel2->Handle(), WM_LBUTTONUP, 0, at);
  PumpMessages();
  EXPECT_FALSE(Form1->AboutPageShown());
  EXPECT_EQ(GetFocus(), focus);

  // Typing still reaches the covered field while the about page shows.
  HelpButton();
  TQelMaskEdit& frequency = *Form1->QelMaskEdit1;
  PressKey(frequency, VK_END);
  PressKey(frequency, VK_BACK);
  PressKey(frequency, VK_BACK);
  Type(frequency, "8");
  EXPECT_EQ(frequency.Text(), "1600008");
  EXPECT_EQ(Grid().Cells(0, 18), "200001 MAX");
}

// The about page and the version resource (the test program carries the
// program's resources) show one version, in words and in numbers.
TEST_F(Window, AboutPageShowsTheVersionOfTheVersionResource) {
  char path[MAX_PATH];
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string data(GetFileVersionInfoSizeA(path, nullptr), '\0');
  ASSERT_FALSE(data.empty());
  ASSERT_TRUE(GetFileVersionInfoA(path, 0, data.size(), data.data()));
  char* text = nullptr;
  VS_FIXEDFILEINFO* numbers = nullptr;
  UINT size = 0;
  ASSERT_TRUE(VerQueryValueA(data.data(), "\\StringFileInfo\\040704E4\\ProductVersion",
                             reinterpret_cast<void**>(&text), &size));
  ASSERT_TRUE(VerQueryValueA(data.data(), "\\", reinterpret_cast<void**>(&numbers), &size));
  const std::string version = text;
  EXPECT_EQ(Form1->QelLabel10->Caption(), "Programmversion: " + version);
  const std::string dotted = std::to_string(HIWORD(numbers->dwProductVersionMS)) + "." +
                             std::to_string(LOWORD(numbers->dwProductVersionMS)) + "." +
                             std::to_string(HIWORD(numbers->dwProductVersionLS)) + "." +
                             std::to_string(LOWORD(numbers->dwProductVersionLS));
  EXPECT_TRUE(dotted.starts_with(version + ".")) << dotted << " against " << version;
}

// Wine never shows the caption's help button (not with a window manager's
// frame either), so there F1 and the system menu must give its command.
TEST_F(Window, F1AndTheSystemMenuGiveTheHelpCommandWhereTheCaptionHasNoHelpButton) {
  const bool offered = !CaptionShowsHelpButton(Form1->Handle());
  if (RunningUnderWine()) {
    EXPECT_TRUE(offered) << "Wine shows no help button";
  }
  PressKey(*Form1->QelMaskEdit1, VK_F1);
  EXPECT_EQ(Form1->AboutPageShown(), offered);
  PressKey(*Form1->QelMaskEdit1, VK_F1);
  EXPECT_FALSE(Form1->AboutPageShown());
  char item[16] = {};
  const bool listed = GetMenuStringA(GetSystemMenu(Form1->Handle(), FALSE), SC_CONTEXTHELP, item,
                                     sizeof item, MF_BYCOMMAND) > 0;
  EXPECT_EQ(listed, offered);
  if (offered) {
    EXPECT_STREQ(item, "?\tF1");
  }
}

TEST_F(Window, ALoneMinusShowsTheErrorAndIsEmptiedWhenTheBoxTakesTheFocus) {
  TQelMaskEdit& frequency = *Form1->QelMaskEdit1;
  frequency.SelectAll();
  Type(frequency, "-");
  ASSERT_EQ(closer_.Boxes().size(), 1u);
  EXPECT_EQ(closer_.Boxes()[0].text, "'-' ist kein g\xFCltiger Integerwert.");
  EXPECT_EQ(closer_.Boxes()[0].caption, Application->Title());
  EXPECT_EQ(frequency.Text(), "");
  EXPECT_EQ(GetFocus(), frequency.Handle()) << "the focus is back in the field";
  EXPECT_EQ(Grid().Cells(0, 18), "0 MAX") << "recalculated with the empty text";
  EXPECT_EQ(Grid().Cells(1, 1), "-");

  // The baud-rate field, which is not the window's first field, gets the
  // focus back too.
  TQelMaskEdit& baud = *Form1->QelMaskEdit2;
  baud.SetFocus();
  baud.SelectAll();
  Type(baud, "-");
  ASSERT_EQ(closer_.Boxes().size(), 2u);
  EXPECT_EQ(baud.Text(), "");
  EXPECT_EQ(GetFocus(), baud.Handle()) << "the focus is back in the field";
}

// The window's texts reach the platform as UTF-16, so that they read the
// same on every code page (scripts/test runs this once more under code page
// 1251, where a text handed over as code page 1252 bytes reads otherwise).
TEST_F(Window, TheWindowsTextsReachThePlatformAsUtf16) {
  // The text the window keeps and its frame shows (GetWindowTextW would ask
  // the window, whose ANSI procedure answers in the system's code page).
  auto windowText = [](HWND window) {
    wchar_t text[64] = {};
    InternalGetWindowText(window, text, 64);
    return std::wstring(text);
  };
  Form1->SetCaption("Baudix - Gr\xFC\xDF" "e");
  EXPECT_EQ(windowText(Form1->Handle()), L"Baudix - Gr\u00FC\u00DFe");
  TQelBackPanel panel(nullptr);  // its window made with the caption
  panel.SetCaption("\xC4rger");
  panel.SetParent(Form1);
  EXPECT_EQ(windowText(panel.Handle()), L"\u00C4rger");

  constexpr UINT kCommand = 0xF200;
  AppendSystemMenuCommand(*Form1, kCommand, "\xDC" "ber");
  wchar_t item[16] = {};
  GetMenuStringW(GetSystemMenu(Form1->Handle(), FALSE), kCommand, item, 16, MF_BYCOMMAND);
  EXPECT_STREQ(item, L"\u00DCber");

  Form1->StatusBar1->Panels()[0].SetText("Gr\xF6\xDF" "e");
  PumpMessages();
  wchar_t status[16] = {};
  SendMessageW(Form1->StatusBar1->Handle(), SB_GETTEXTW, 0, reinterpret_cast<LPARAM>(status));
  EXPECT_STREQ(status, L"Gr\u00F6\u00DFe");

  TComboItems& items = Form1->QelComboBox1->Items();
  EXPECT_EQ(items.Strings(items.Add("Ger\xE4t")), "Ger\xE4t");

  // The field's copy is UTF-16 on the clipboard, not a text the platform
  // converts from the system's code page.
  TQelMaskEdit& frequency = *Form1->QelMaskEdit1;
  frequency.SelectAll();
  frequency.Perform(WM_COPY);
  ASSERT_TRUE(OpenClipboard(nullptr));
  const UINT first = EnumClipboardFormats(0);
  const auto* copied = static_cast<const wchar_t*>(GlobalLock(GetClipboardData(CF_UNICODETEXT)));
  EXPECT_EQ(first, static_cast<UINT>(CF_UNICODETEXT));
  EXPECT_STREQ(copied, L"16000000");
  GlobalUnlock(GetClipboardData(CF_UNICODETEXT));
  CloseClipboard();
}

// The move reaches the recalculation as one edit, so its error never sees
// the lone "-" that the moved digits leave behind for a moment.
TEST_F(Window, DraggingTheDigitsOfANegativeNumberKeepsThem) {
  TQelMaskEdit& frequency = *Form1->QelMaskEdit1;
  frequency.SelectAll();
  Type(frequency, "12");
  PressKey(frequency, VK_HOME);
  Type(frequency, "-");
  ASSERT_EQ(frequency.Text(), "-12");
  ASSERT_TRUE(closer_.Boxes().empty());
  auto mouse = [&frequency](UINT msg, int x) {
    SendMessageA(frequency.Handle(), msg, msg == WM_LBUTTONUP ? 0 : MK_LBUTTON, MAKELPARAM(x, 5));
  };
  int insideSelection = 0;  // the first x at which a click lands at 3
  while (insideSelection < frequency.Width() && frequency.CursorPos() != 3) {
    mouse(WM_LBUTTONDOWN, ++insideSelection);
    mouse(WM_LBUTTONUP, insideSelection);
  }
  frequency.SetSelection(2, 2);  // "12"
  mouse(WM_LBUTTONDOWN, insideSelection);
  mouse(WM_MOUSEMOVE, 0);
  mouse(WM_LBUTTONUP, 0);
  PumpMessages();
  EXPECT_EQ(frequency.Text(), "12-");
  ASSERT_EQ(closer_.Boxes().size(), 1u);
  EXPECT_EQ(closer_.Boxes()[0].text, "'12-' ist kein g\xFCltiger Integerwert.");
}

}  // namespace

namespace {

TEST_F(Window, AltF4ClosesTheWindowFromTheDropDownList) {
  bool asked = false;
  Form1->OnCloseQuery = [&asked](TObject*, bool& canClose) {
    asked = true;
    canClose = false;
  };
  Form1->QelComboBox1->SetFocus();
  constexpr LPARAM kAltDown = LPARAM(1) << 29;
  SendMessageA(Form1->QelComboBox1->Handle(), WM_SYSKEYDOWN, VK_F4, kAltDown | 1);
  PumpMessages();
  EXPECT_TRUE(asked) << "Alt+F4 in the list did not ask the window to close";
}

}  // namespace

// --- The model list ---

namespace {

// How the user chooses the model in the list.
enum class TWay { kDownKey, kUpKey, kMouse, kAltDownAndEnter, kTypedSearch };

// A model of each family, chosen in one of the ways, and the texts that must
// then name its generator.
struct TModelChoice {
  const char* name;  // of the test
  const char* model;
  TWay way;
  const char* typed;  // for the typed search
  const char* captions[2];
  const char* registerHeaders[2];
  const char* frequencyLabel;
};

// Each way leads straight to its model: the models passed on the way there
// are of the ATmega128's family.
const TModelChoice kModelChoices[] = {
    {"ClassicByDownKey", "ATmega1280", TWay::kDownKey, "", {"U2X = 0", "U2X = 1"},
     {"UBBR", "UBBR"}, "Frequenz [Hz]"},
    {"Uart8ByUpKey", "ATmega103", TWay::kUpKey, "", {"U2X = 0", "kein U2X"}, {"UBBR", "UBBR"},
     "Frequenz [Hz]"},
    {"Uart12ByMouse", "AT90S4433", TWay::kMouse, "", {"U2X = 0", "kein U2X"}, {"UBBR", "UBBR"},
     "Frequenz [Hz]"},
    {"LinByMouse", "ATmega16M1", TWay::kMouse, "", {"LBT = 32", "LBT 8\x96" "63"},
     {"LDIV", "LDIV/LBT"}, "Frequenz [Hz]"},
    {"FractionalByAltDownAndEnter", "ATmega1608", TWay::kAltDownAndEnter, "",
     {"CLK2X = 0", "CLK2X = 1"}, {"BAUD", "BAUD"}, "CLK_PER [Hz]"},
    {"XmegaByTypedSearch", "ATxmega128A1U", TWay::kTypedSearch, "atx", {"CLK2X = 0", "CLK2X = 1"},
     {"BSEL/BSCALE", "BSEL/BSCALE"}, "fPER [Hz]"},
};

void PrintTo(const TModelChoice& choice, std::ostream* out) { *out << choice.model; }

bool Invalid(HWND window, const TRect& rect) {
  TRegionHandle pending(CreateRectRgn(0, 0, 0, 0));
  GetUpdateRgn(window, pending.Get(), FALSE);
  const RECT r = rect;
  return RectInRegion(pending.Get(), &r) != FALSE;
}

class ModelList : public Window, public ::testing::WithParamInterface<TModelChoice> {
 protected:
  TQelComboBox& List() { return *Form1->QelComboBox1; }

  int IndexOf(const std::string& model) {
    for (int i = 0; i < List().Items().Count(); ++i)
      if (List().Items()[i] == model) return i;
    return -1;
  }

  // Real messages to the list, none of them painted yet.
  void Choose(const TModelChoice& choice) {
    HWND list = List().Handle();
    const int steps = IndexOf(choice.model) - List().ItemIndex();
    const auto key = [list](WORD vk) {
      SendMessageA(list, WM_KEYDOWN, vk, 1);
      SendMessageA(list, WM_KEYUP, vk, 0xC0000001);
    };
    switch (choice.way) {
      case TWay::kDownKey:
      case TWay::kUpKey:
        for (int i = 0; i < std::abs(steps); ++i) key(steps > 0 ? VK_DOWN : VK_UP);
        break;
      case TWay::kAltDownAndEnter: {
        constexpr LPARAM kAltDown = LPARAM(1) << 29;
        SendMessageA(list, WM_SYSKEYDOWN, VK_DOWN, kAltDown | 1);
        SendMessageA(list, WM_SYSKEYUP, VK_DOWN, kAltDown | 0xC0000001);
        ASSERT_TRUE(List().DroppedDown());
        for (int i = 0; i < steps; ++i) key(VK_DOWN);
        key(VK_RETURN);
        break;
      }
      case TWay::kMouse: {
        const LPARAM field = MAKELPARAM(List().Width() / 2, List().Height() / 2);
        SendMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, field);
        SendMessageA(list, WM_LBUTTONUP, 0, field);
        ASSERT_TRUE(List().DroppedDown());
        COMBOBOXINFO info{};
        info.cbSize = sizeof info;
        GetComboBoxInfo(list, &info);
        // The list opens at the selected row; the wheel scrolls it up to the
        // model's row.
        RECT row{};
        for (int notch = 0; notch < 10; ++notch) {
          SendMessageA(info.hwndList, LB_GETITEMRECT, IndexOf(choice.model),
                       reinterpret_cast<LPARAM>(&row));
          if (row.top >= 0) break;
          SendMessageA(info.hwndList, WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0);
        }
        const LPARAM at = MAKELPARAM((row.left + row.right) / 2, (row.top + row.bottom) / 2);
        SendMessageA(info.hwndList, WM_MOUSEMOVE, 0, at);
        SendMessageA(info.hwndList, WM_LBUTTONDOWN, MK_LBUTTON, at);
        SendMessageA(info.hwndList, WM_LBUTTONUP, 0, at);
        break;
      }
      case TWay::kTypedSearch:
        for (const char* c = choice.typed; *c; ++c) SendMessageA(list, WM_CHAR, *c, 1);
        break;
    }
    EXPECT_FALSE(List().DroppedDown());
  }
};

TEST_P(ModelList, ChoosingAModelRecalculatesForItAndRedrawsWhatChanged) {
  const TModelChoice& choice = GetParam();
  TQelStaticText* const captions[2] = {Form1->QelStaticText1, Form1->QelStaticText2};
  TQelLabel& label = *Form1->QelLabel2;
  TQelBackPanel& page = *Form1->QelBackPanel1;
  List().SetFocus();
  PumpMessages();
  std::vector<std::string> cellsBefore;
  for (int row = 0; row < 19; ++row)
    for (int col = 0; col < 5; ++col) cellsBefore.push_back(Grid().Cells(col, row));
  const std::vector<bool> normalBefore(std::begin(ExactU2X0), std::end(ExactU2X0));
  const std::vector<bool> doubleBefore(std::begin(ExactU2X1), std::end(ExactU2X1));
  const std::string captionsBefore[2] = {captions[0]->Caption(), captions[1]->Caption()};
  const std::string labelBefore = label.Caption();
  const TRect labelBoundsBefore = label.BoundsRect();

  Choose(choice);
  if (HasFatalFailure()) return;

  EXPECT_EQ(List().Text(), choice.model);
  EXPECT_EQ(GetFocus(), List().Handle()) << "the focus stays in the list";
  EXPECT_EQ(Form1->QelMaskEdit1->Text(), "16000000");
  EXPECT_EQ(Form1->QelMaskEdit2->Text(), "250000");
  EXPECT_EQ(Form1->StatusBar1->Panels()[0].Text(), choice.model);
  EXPECT_EQ(label.Caption(), choice.frequencyLabel);
  const char* headers[5] = {"Baudrate [bps]", choice.registerHeaders[0], "ERROR",
                            choice.registerHeaders[1], "ERROR"};
  for (int col = 0; col < 5; ++col) EXPECT_EQ(Grid().Cells(col, 0), headers[col]) << col;
  const TCoreTable core("16000000", "250000", *FindAvrModel(choice.model));
  EXPECT_EQ(core.Mismatch(Grid()), "");

  // Only what changed is drawn again: a cell whose text changed or whose
  // row's exact-match flags did (a flag changes the row's bold, not its
  // texts), a caption or label whose text changed.
  for (int row = 0; row < 19; ++row) {
    const bool flags = row > 0 && (ExactU2X0[row - 1] != normalBefore[row - 1] ||
                                   ExactU2X1[row - 1] != doubleBefore[row - 1]);
    for (int col = 0; col < 5; ++col) {
      const bool changed = flags || Grid().Cells(col, row) != cellsBefore[row * 5 + col];
      EXPECT_EQ(Invalid(Grid().Handle(), Grid().CellRect(col, row)), changed)
          << "cell " << col << ", " << row << " \"" << Grid().Cells(col, row) << "\"";
    }
  }
  for (int group = 0; group < 2; ++group) {
    EXPECT_EQ(captions[group]->Caption(), choice.captions[group]);
    EXPECT_EQ(Invalid(captions[group]->Handle(), captions[group]->ClientRect()),
              captionsBefore[group] != choice.captions[group])
        << captions[group]->Name();
  }
  TRegionHandle pageInvalid(CreateRectRgn(0, 0, 0, 0));
  RECT pageBox{};
  const bool pageRedrawn = GetUpdateRgn(page.Handle(), pageInvalid.Get(), FALSE) != NULLREGION;
  GetRgnBox(pageInvalid.Get(), &pageBox);
  EXPECT_EQ(pageRedrawn, labelBefore != choice.frequencyLabel) << "the frequency label";
  if (pageRedrawn) {
    const RECT before = labelBoundsBefore;
    const RECT after = label.BoundsRect();
    RECT labelArea{};
    UnionRect(&labelArea, &before, &after);
    RECT both{};
    UnionRect(&both, &labelArea, &pageBox);
    EXPECT_TRUE(EqualRect(&both, &labelArea)) << "the page is redrawn beyond the label";
  }
  EXPECT_TRUE(Invalid(Form1->StatusBar1->Handle(), Form1->StatusBar1->ClientRect()));

  PumpMessages();
  char shown[32] = {};
  SendMessageA(Form1->StatusBar1->Handle(), SB_GETTEXTA, 0, reinterpret_cast<LPARAM>(shown));
  EXPECT_STREQ(shown, choice.model) << "the status bar's own text";
  EXPECT_TRUE(closer_.Boxes().empty());
}

// The list opens down to the screen's bottom; a click beside it closes it
// and puts back the model it opened with, and the window follows it back.
TEST_F(Window, TheListOpensToTheScreenBottomAndAClickBesideItPutsItsModelBack) {
  TQelComboBox& list = *Form1->QelComboBox1;
  list.SetFocus();
  PumpMessages();
  constexpr LPARAM kAltDown = LPARAM(1) << 29;
  SendMessageA(list.Handle(), WM_SYSKEYDOWN, VK_DOWN, kAltDown | 1);
  for (int i = 0; i < 4; ++i) SendMessageA(list.Handle(), WM_KEYDOWN, VK_DOWN, 1);
  ASSERT_EQ(Form1->StatusBar1->Panels()[0].Text(), "ATmega1608") << "the open list's selection";
  COMBOBOXINFO info{};
  info.cbSize = sizeof info;
  GetComboBoxInfo(list.Handle(), &info);
  // The list opened with as many rows as fit below the box.
  RECT opened{};
  GetWindowRect(info.hwndList, &opened);
  RECT work{};
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  EXPECT_GT(opened.bottom + list.ItemHeight(), work.bottom) << "a row more would have fitted";
  const LPARAM beside = MAKELPARAM(-40, 20);
  SendMessageA(info.hwndList, WM_LBUTTONDOWN, MK_LBUTTON, beside);
  SendMessageA(info.hwndList, WM_LBUTTONUP, 0, beside);
  PumpMessages();
  EXPECT_FALSE(list.DroppedDown());
  EXPECT_EQ(list.Text(), "ATmega128");
  EXPECT_EQ(Form1->StatusBar1->Panels()[0].Text(), "ATmega128");
  EXPECT_EQ(Form1->QelStaticText1->Caption(), "U2X = 0");
  EXPECT_EQ(Grid().Cells(1, 0), "UBBR");
  EXPECT_EQ(TableRow(1), "250000 | 3 | 0.00%* | 7 | 0.00%*");
}

INSTANTIATE_TEST_SUITE_P(Families, ModelList, ::testing::ValuesIn(kModelChoices),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
