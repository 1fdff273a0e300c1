// The window at other display densities and without its font: the whole
// result table shows, in proportion, under its captions, every text whole.
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
#include "widgets/QelStaticText.h"

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
