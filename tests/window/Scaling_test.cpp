// The window at other display densities and without its font: the whole
// result table shows, in proportion, under its captions, every text whole,
// for every model in the list and the longest texts of every family; the
// about page keeps its proportions, the banner scaled with it, every text
// whole.
// Wine reads the density and the font replacements once, when a process
// starts, so each configuration is written into the prefix (this test's own,
// see tests/CMakeLists.txt) and the window is checked in a new process of
// this program.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <string>

#include "Unit1.h"
#include "app/Application.h"
#include "framework/Gdi.h"
#include "framework/Screen.h"
#include "support/MessageBoxCloser.h"
#include "support/Render.h"
#include "support/TestForm.h"
#include "widgets/Image.h"
#include "widgets/QelBackPanel.h"
#include "widgets/QelComboBox.h"
#include "widgets/QelDrawEdge.h"
#include "widgets/QelLabel.h"
#include "widgets/QelMaskEdit.h"
#include "widgets/QelStaticText.h"
#include "widgets/StatusBar.h"

namespace {

// Set in the process that checks one configuration.
constexpr char kChildVariable[] = "BAUDIX_SCALING_CHILD";

struct TConfiguration {
  const char* name;
  DWORD pixelsPerInch;
  bool fontMapped;  // "MS Reference Sans Serif" replaced by Open Sans
};

const TConfiguration kConfigurations[] = {
    {"Mapped96", 96, true},
    {"Mapped120", 120, true},
    {"Mapped144", 144, true},
    {"Fallback96", 96, false},
};

void SetDword(const char* key, const char* name, DWORD value) {
  RegSetKeyValueA(HKEY_CURRENT_USER, key, name, REG_DWORD, &value, sizeof value);
}

void Configure(const TConfiguration& c) {
  SetDword("Control Panel\\Desktop", "LogPixels", c.pixelsPerInch);
  SetDword("Software\\Wine\\Fonts", "LogPixels", c.pixelsPerInch);
  constexpr char kReplacements[] = "Software\\Wine\\Fonts\\Replacements";
  constexpr char kFont[] = "MS Reference Sans Serif";
  constexpr char kMapped[] = "Open Sans";
  if (c.fontMapped) {
    RegSetKeyValueA(HKEY_CURRENT_USER, kReplacements, kFont, REG_SZ, kMapped, sizeof kMapped);
  } else {
    RegDeleteKeyValueA(HKEY_CURRENT_USER, kReplacements, kFont);
  }
}

// Runs this program on `filter` with kChildVariable set; its exit status
// and output.
std::pair<DWORD, std::string> RunChild(const std::string& filter) {
  char exe[MAX_PATH];
  GetModuleFileNameA(nullptr, exe, MAX_PATH);
  char folder[MAX_PATH];
  char outputFile[MAX_PATH];
  GetTempPathA(MAX_PATH, folder);
  GetTempFileNameA(folder, "bdx", 0, outputFile);
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  HANDLE output = CreateFileA(outputFile, GENERIC_WRITE, FILE_SHARE_READ, &inherit,
                              CREATE_ALWAYS, 0, nullptr);
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = output;
  startup.hStdError = output;
  std::string command = std::string("\"") + exe + "\" --gtest_brief=1 --gtest_filter=" + filter;
  SetEnvironmentVariableA(kChildVariable, "1");
  PROCESS_INFORMATION process{};
  const bool started = CreateProcessA(exe, command.data(), nullptr, nullptr, TRUE, 0, nullptr,
                                      nullptr, &startup, &process);
  SetEnvironmentVariableA(kChildVariable, nullptr);
  CloseHandle(output);
  DWORD status = ~0u;
  if (started) {
    WaitForSingleObject(process.hProcess, INFINITE);
    GetExitCodeProcess(process.hProcess, &status);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
  }
  std::ostringstream text;
  text << std::ifstream(outputFile).rdbuf();
  DeleteFileA(outputFile);
  return {status, text.str()};
}

class Scaling : public ::testing::TestWithParam<TConfiguration> {
 protected:
  static bool InChild() { return GetEnvironmentVariableA(kChildVariable, nullptr, 0) > 0; }

  void RunConfigured() {
    struct TBackToDefault {
      ~TBackToDefault() { Configure(kConfigurations[0]); }
    } backToDefault;
    Configure(GetParam());
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    const auto [status, output] =
        RunChild(std::string(info->test_suite_name()) + "." + info->name());
    EXPECT_EQ(status, 0u) << output;
    EXPECT_NE(output.find("[  PASSED  ] 1 test."), std::string::npos) << output;
  }

  // The ink of a cell (what differs from its background, the header's
  // one-pixel edges left out) keeps clear of where DrawText clips it: the
  // cell's right and bottom edges and 4 pixels in from its left.
  static void ExpectTextWhole(const TPixels& pixels, const TStringGrid& grid, int col, int row) {
    const TRect cell = grid.CellRect(col, row);
    const TColor background = pixels.Pixel(cell.Left + 1, cell.Bottom - 1);
    TRect ink{cell.Right, cell.Bottom, cell.Left, cell.Top};
    for (int y = cell.Top; y < cell.Bottom; ++y) {
      for (int x = cell.Left + 1; x < cell.Right - 1; ++x) {
        if (pixels.Pixel(x, y) == background) continue;
        ink = {std::min(ink.Left, x), std::min(ink.Top, y), std::max(ink.Right, x + 1),
               std::max(ink.Bottom, y + 1)};
      }
    }
    EXPECT_TRUE(ink.Left < ink.Right && ink.Left > cell.Left + 4 &&
                ink.Right < cell.Right - 1 && ink.Bottom < cell.Bottom)
        << "\"" << grid.Cells(col, row) << "\" in column " << col << ", row " << row
        << ": ink " << ink.Left << ".." << ink.Right << " x " << ink.Top << ".." << ink.Bottom
        << " in the cell " << cell.Left << ".." << cell.Right << " x " << cell.Top << ".."
        << cell.Bottom;
  }

  // The bounds of the ink inside `box`: the pixels `isInk` picks. A text
  // too large for its box would be cut at its edges (a centred one at both
  // sides), so the ink keeps clear of them.
  template <class IsInk>
  static TRect InkBounds(const TRect& box, IsInk isInk) {
    TRect ink{box.Right, box.Bottom, box.Left, box.Top};
    for (int y = box.Top; y < box.Bottom; ++y)
      for (int x = box.Left; x < box.Right; ++x)
        if (isInk(x, y))
          ink = {std::min(ink.Left, x), std::min(ink.Top, y), std::max(ink.Right, x + 1),
                 std::max(ink.Bottom, y + 1)};
    return ink;
  }
  // Ink: what differs from the colour at `background`.
  static TRect InkBounds(const TPixels& pixels, const TRect& box, POINT background) {
    const TColor paper = pixels.Pixel(background.x, background.y);
    return InkBounds(box, [&](int x, int y) { return pixels.Pixel(x, y) != paper; });
  }
  // Ink: what differs from a rendering without the text.
  static TRect InkBounds(const TPixels& pixels, const TPixels& blank, const TRect& box) {
    return InkBounds(box, [&](int x, int y) { return pixels.Pixel(x, y) != blank.Pixel(x, y); });
  }
  static std::string InkText(const TRect& ink, const TRect& box) {
    std::ostringstream text;
    text << ": ink " << ink.Left << ".." << ink.Right << " x " << ink.Top << ".." << ink.Bottom
         << " in " << box.Left << ".." << box.Right << " x " << box.Top << ".." << box.Bottom;
    return text.str();
  }

  // Selects the model as the list reports a user's choice.
  static void Choose(const TAvrModel& model) {
    TQelComboBox& list = *Form1->QelComboBox1;
    list.SetItemIndex(static_cast<int>(&model - AvrModels().data()));
    list.OnChange(&list);
  }

  // The bounding box of what differs from `background` in `area`; empty
  // when nothing does.
  static TRect InkBox(const TPixels& pixels, const TRect& area, TColor background) {
    return InkBounds(area, [&](int x, int y) { return pixels.Pixel(x, y) != background; });
  }

  // How much `area` differs from `background`: the summed difference of
  // every pixel's colour channels (antialiased ink counts in part).
  static long InkAmount(const TPixels& pixels, const TRect& area, TColor background) {
    long amount = 0;
    for (int y = area.Top; y < area.Bottom; ++y) {
      for (int x = area.Left; x < area.Right; ++x) {
        const TColor pixel = pixels.Pixel(x, y);
        for (int shift = 0; shift < 24; shift += 8)
          amount += std::abs(static_cast<int>((pixel >> shift) & 0xFF) -
                             static_cast<int>((background >> shift) & 0xFF));
      }
    }
    return amount;
  }

  // A text declared bold shows bold: its ink in `area` of the rendering
  // (where it is drawn into `textRect` with `flags`) is clearly more than
  // the same text drawn there in the same font without bold.
  static void ExpectBold(const TPixels& pixels, const TRect& area, const TRect& textRect,
                         const std::string& text, const TFont& font, UINT flags) {
    const TColor background = pixels.Pixel(area.Left, area.Top);
    TFont regular;
    regular.Assign(font);
    regular.SetStyle({});
    TPixels reference(pixels.Width(), pixels.Height());
    {
      TGdiObject<HBRUSH> fill(CreateSolidBrush(background));
      const RECT all{0, 0, pixels.Width(), pixels.Height()};
      FillRect(reference.DC(), &all, fill.Get());
      TSelectObject select(reference.DC(), regular.Handle());
      SetBkMode(reference.DC(), TRANSPARENT);
      SetTextColor(reference.DC(), ColorToRGB(font.Color()));
      RECT r = textRect;
      DrawTextA(reference.DC(), text.data(), static_cast<int>(text.size()), &r, flags);
    }
    const long bold = InkAmount(pixels, area, background);
    const long plain = InkAmount(reference, area, background);
    EXPECT_GT(bold, plain * 5 / 4) << "\"" << text << "\" in " << font.Name() << " "
                                   << font.Height() << ": ink " << bold << ", without bold "
                                   << plain;
  }

  // A one-line label shows its whole text: its ink on the page is as wide
  // as the text drawn alone, unclipped, in the label's font.
  static void ExpectLabelWhole(const TPixels& page, TQelLabel& label, TColor background) {
    const TSize text = label.TextExtent();
    TPixels alone(text.Width + 20, text.Height);
    {
      TSelectObject font(alone.DC(), label.Font().Handle());
      const std::string& caption = label.Caption();
      TextOutA(alone.DC(), 10, 0, caption.data(), static_cast<int>(caption.size()));
    }
    const TRect whole = InkBox(alone, {0, 0, alone.Width(), alone.Height()}, clWhite);
    const TRect shown = InkBox(page, label.BoundsRect(), background);
    EXPECT_EQ(shown.Width(), whole.Width())
        << label.Name() << " \"" << label.Caption() << "\": ink " << shown.Left << ".."
        << shown.Right << " in the label " << label.Left() << ".." << label.Left() + label.Width();
  }

  // The caption stands over columns first and first + 1: from their left
  // boundary, one design pixel in, to their right boundary.
  static void ExpectOverColumns(const TQelStaticText& caption, const TStringGrid& grid,
                                int first, int textHeight) {
    const int start = grid.Left() + grid.CellRect(first, 0).Left;
    const int end = grid.Left() + grid.CellRect(first + 1, 0).Right;
    EXPECT_EQ(caption.Left() + caption.Width(), end) << caption.Name();
    EXPECT_GE(caption.Left() - start, 0) << caption.Name();
    EXPECT_LE(caption.Left() - start, (textHeight + 14) / 15) << caption.Name();
  }
};

TEST_P(Scaling, TheWholeTableShowsInProportionWithEveryTextWhole) {
  if (!RunningUnderWine()) GTEST_SKIP() << "the configurations are set in Wine's registry";
  if (!InChild()) {
    RunConfigured();
    return;
  }
  const TConfiguration& c = GetParam();
  TMessageBoxCloser closer;
  TProgramSetup setup;
  Application->CreateMainForm(Form1);
  Form1->SetVisible(true);
  PumpMessages();

  TWindowDC screen(nullptr);
  ASSERT_EQ(GetDeviceCaps(screen.Get(), LOGPIXELSY), static_cast<int>(c.pixelsPerInch));
  // The window scales by t / 15: 13 / 15 with Wine's fallback font.
  const int t = Form1->FontTextHeight();
  if (c.pixelsPerInch == 96) {
    EXPECT_EQ(t, c.fontMapped ? 15 : 13);
  } else {
    EXPECT_GT(t, 15);
  }

  const TStringGrid& grid = *Form1->StringGrid_USART;
  int width = 0;
  for (int col = 0; col < 5; ++col) width += grid.ColWidths(col);
  int height = 0;
  for (int row = 0; row < 19; ++row) height += grid.RowHeights(row);
  EXPECT_LE(width, grid.ClientWidth()) << "columns cut off";
  EXPECT_LE(height, grid.ClientHeight()) << "rows cut off";
  EXPECT_EQ(grid.CellRect(4, 18).Right, width);

  EXPECT_EQ(grid.RowHeights(1), t);
  EXPECT_NEAR(grid.RowHeights(0), 20.0 * t / 15, 1);
  EXPECT_NEAR(grid.ColWidths(0), 144.0 * t / 15, 1);
  for (int col = 1; col < 5; ++col) EXPECT_NEAR(grid.ColWidths(col), 70.0 * t / 15, 1);

  ExpectOverColumns(*Form1->QelStaticText1, grid, 1, t);
  ExpectOverColumns(*Form1->QelStaticText2, grid, 3, t);

  const TPixels pixels = RenderControl(*Form1->StringGrid_USART);
  for (int row = 0; row < 19; ++row)
    for (int col = 0; col < 5; ++col) ExpectTextWhole(pixels, grid, col, row);

  // Every text declared bold is bold: the column-group captions, the
  // header, the wanted rate's row.
  for (TQelStaticText* caption : {Form1->QelStaticText1, Form1->QelStaticText2}) {
    const TRect client = caption->ClientRect();
    ExpectBold(RenderControl(*caption), client, client, caption->Caption(), caption->Font(),
               DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  }
  for (int row = 0; row < 2; ++row) {
    const TRect cell = grid.CellRect(1, row);
    TFont font;
    font.Assign(Form1->StringGrid_USART->Font());
    font.SetStyle({fsBold});
    font.SetColor(row == 0 ? clWindowText : clNavy);
    ExpectBold(pixels, {cell.Left + 2, cell.Top + 2, cell.Right - 2, cell.Bottom - 1},
               {cell.Left + 4, cell.Top + 2, cell.Right, cell.Bottom}, grid.Cells(1, row), font,
               DT_CENTER);
  }

  // Every model's name in the list's field, where the platform clips it, and
  // in the status bar's panel, inside its border.
  TQelComboBox& list = *Form1->QelComboBox1;
  TStatusBar& bar = *Form1->StatusBar1;
  COMBOBOXINFO info{};
  info.cbSize = sizeof info;
  GetComboBoxInfo(list.Handle(), &info);
  RECT panel{};
  SendMessageA(bar.Handle(), SB_GETRECT, 0, reinterpret_cast<LPARAM>(&panel));
  InflateRect(&panel, -1, -1);
  list.SetItemIndex(-1);
  bar.Panels()[0].SetText("");
  PumpMessages();
  const TPixels blankList = RenderControl(list);
  const TPixels blankBar = RenderControl(bar);
  for (const TAvrModel& model : AvrModels()) {
    Choose(model);
    PumpMessages();  // the panel's text goes to the platform when it paints
    const TRect field = info.rcItem;
    const TRect inList = InkBounds(RenderControl(list), blankList, field);
    EXPECT_TRUE(inList.Left < inList.Right && inList.Top > field.Top &&
                inList.Right < field.Right && inList.Bottom < field.Bottom)
        << model.name << " in the list" << InkText(inList, field);
    // The bar's height is the layout's; its text must not run out at the
    // right.
    const TRect inBar = InkBounds(RenderControl(bar), blankBar, panel);
    EXPECT_TRUE(inBar.Left < inBar.Right && inBar.Right < panel.right)
        << model.name << " in the status bar" << InkText(inBar, panel);
  }

  // Each family's captions, frequency label and headers, and its longest
  // register texts: "1047/-6" at 32 MHz, five-digit BAUD values and
  // "12499999 MAX" at 99999999 Hz.
  const char* const kModels[] = {"ATmega256RFR2", "ATmega103", "AT90S4433",
                                 "ATmega64M1",    "AVR128DB48", "ATxmega256A3BU"};
  const char* const kTexts[][2] = {{"32000000", "115200"}, {"99999999", "9600"}};
  for (const char* name : kModels) {
    Choose(*FindAvrModel(name));
    for (const auto& texts : kTexts) {
      Form1->QelMaskEdit1->SetText(texts[0]);
      Form1->QelMaskEdit2->SetText(texts[1]);
      const TPixels cells = RenderControl(*Form1->StringGrid_USART);
      for (int row = 0; row < 19; ++row)
        for (int col = 0; col < 5; ++col) ExpectTextWhole(cells, grid, col, row);
    }
    for (TQelStaticText* caption : {Form1->QelStaticText1, Form1->QelStaticText2}) {
      const TRect box = caption->ClientRect();
      const TRect ink = InkBounds(RenderControl(*caption), box, {1, 1});
      EXPECT_TRUE(ink.Left < ink.Right && ink.Right < box.Right && ink.Bottom < box.Bottom)
          << caption->Caption() << " over the " << name << InkText(ink, box);
    }
    TQelLabel& label = *Form1->QelLabel2;
    const TRect box{0, 0, label.Width(), label.Height()};
    const TRect ink = InkBounds(RenderGraphic(label), box, {label.Width() - 1, 0});
    EXPECT_TRUE(ink.Left < ink.Right && ink.Right < box.Right && ink.Bottom < box.Bottom)
        << label.Caption() << " for the " << name << InkText(ink, box);
    EXPECT_LE(label.Left() + label.Width(), Form1->QelLabel4->Left()) << label.Caption();
  }
  EXPECT_TRUE(closer.Boxes().empty());
}

TEST_P(Scaling, TheAboutPageKeepsItsProportionsWithEveryTextWhole) {
  if (!RunningUnderWine()) GTEST_SKIP() << "the configurations are set in Wine's registry";
  if (!InChild()) {
    RunConfigured();
    return;
  }
  TMessageBoxCloser closer;
  TProgramSetup setup;
  Application->CreateMainForm(Form1);
  Form1->SetVisible(true);
  Form1->Perform(WM_SYSCOMMAND, SC_CONTEXTHELP);
  PumpMessages();
  ASSERT_TRUE(Form1->AboutPageShown());
  const TPixels page = RenderControl(*Form1->QelBackPanel2);
  const TColor background = ColorToRGB(clBtnFace);
  const int t = Form1->FontTextHeight();
  auto scaled = [](int layoutPixels) { return Form1->ScaledExtent(0, layoutPixels); };

  for (TQelLabel* label :
       {Form1->QelLabel7, Form1->QelLabel8, Form1->QelLabel9, Form1->QelLabel10})
    ExpectLabelWhole(page, *label, background);
  // The contact addresses keep the right edge the layout gives them.
  for (TQelLabel* address : {Form1->QelLabel7, Form1->QelLabel9})
    EXPECT_EQ(address->Left() + address->Width(), scaled(422)) << address->Name();

  // The banner at the page's scale in both directions: the margins of the
  // layout (10 and 11 pixels at the sides), 42 pixels high.
  const TImage& image = *Form1->Image1;
  const int edge = Form1->QelBackPanel2->Bevel().Extent();
  const TRect banner = InkBox(
      page, {edge, image.Top(), page.Width() - edge, image.Top() + image.Height()}, background);
  EXPECT_NEAR(banner.Left, scaled(10), 1);
  EXPECT_NEAR(page.Width() - banner.Right, scaled(11), 1);
  EXPECT_NEAR(banner.Height(), 42.0 * t / 15, 1);
  if (t == 15) {
    // At the layout's own scale the picture is copied as it is.
    TPixels picture(420, 42);
    {
      TMemoryDC source(picture.DC());
      TSelectObject select(source.Get(), image.Bitmap());
      BitBlt(picture.DC(), 0, 0, 420, 42, source.Get(), 0, 0, SRCCOPY);
    }
    int differing = 0;
    for (int y = 0; y < 42; ++y)
      for (int x = 0; x < 420; ++x)
        differing += page.Pixel(image.Left() + x, image.Top() + y) != picture.Pixel(x, y);
    EXPECT_EQ(differing, 0) << "pixels of the banner changed at scale 1";
  }

  // The legal notice keeps at least as much free space below its last line
  // as above its first, inside the lines of its frame.
  const TQelDrawEdge& frame = *Form1->QelDrawEdge1;
  const TQelLabel& notice = *Form1->QelLabel5;
  const int inside = frame.Top() + 2;
  const int insideEnd = frame.Top() + frame.Height() - 2;
  const TRect ink = InkBox(page, {notice.Left(), inside, notice.Left() + notice.Width(), insideEnd},
                           background);
  EXPECT_GE(insideEnd - ink.Bottom, ink.Top - inside)
      << "notice ink " << ink.Top << ".." << ink.Bottom << " in the frame " << inside << ".."
      << insideEnd;
  EXPECT_GE(frame.Top(), Form1->QelLabel10->Top() + Form1->QelLabel10->Height());
  EXPECT_TRUE(closer.Boxes().empty());
}

// Windows hands the real density only to a program that says it lays itself
// out for it, and turns on the common controls 6 only when asked to. (Under
// Wine neither shows, so the manifest itself is read.)
TEST(Manifest, DeclaresSystemDpiAwarenessAndKeepsTheClassicControls) {
  HRSRC found = FindResourceA(nullptr, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));
  ASSERT_TRUE(found) << "no application manifest";
  const std::string manifest(static_cast<const char*>(LockResource(LoadResource(nullptr, found))),
                             SizeofResource(nullptr, found));
  EXPECT_NE(manifest.find("<dpiAware>true</dpiAware>"), std::string::npos) << manifest;
  EXPECT_EQ(manifest.find("Common-Controls"), std::string::npos) << manifest;
}

INSTANTIATE_TEST_SUITE_P(Configurations, Scaling, ::testing::ValuesIn(kConfigurations),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
