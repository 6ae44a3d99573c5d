// The wizard window as it is built and first shown.
#include <algorithm>
#include <cstdlib>
#include <optional>

#include "dialogs/registry.h"
#include "utf16.h"
#include "wizard/entry.h"
#include "wizard_fixture.h"

namespace wizard_test {
namespace {

using WizardWindowTest = WizardTest;

// The class each kind of control of the window's table is made of.
std::string ClassOf(const WizardControl& control) {
  return control.kind == kPushButton ? "BUTTON" : "STATIC";
}

HICON Icon(HWND window, WPARAM which) {
  return reinterpret_cast<HICON>(SendMessageA(window, WM_GETICON, which, 0));
}

// Dialog units to pixels as MapDialogRect rounds: to the nearest pixel, halves up.
int Pixels(int units, int base, int per) {
  return (units * base * 2 + per) / (per * 2);
}

// Each control as CreateWindowExA was asked for it: edges converted, then differences.
std::vector<std::string> ExpectedCreation(int baseX, int baseY) {
  std::vector<std::string> calls;
  for (const WizardControl& row : WizardControls) {
    int left = Pixels(row.x, baseX, 4);
    int top = Pixels(row.y, baseY, 8);
    int right = Pixels(row.x + row.width, baseX, 4);
    int bottom = Pixels(row.y + row.height, baseY, 8);
    bool button = row.kind == kPushButton;
    calls.push_back("CreateWindowExA(0x0, \"" + ClassOf(row) + "\", \"" + row.text + "\", " +
                    (button ? "0x50010000" : "0x50000000") + ", " + std::to_string(left) + ", " +
                    std::to_string(top) + ", " + std::to_string(right - left) + ", " +
                    std::to_string(bottom - top) + ", dialog#1, " + std::to_string(row.id) +
                    ", 0x400000, NULL)");
  }
  return calls;
}

TEST_F(WizardWindowTest, IsBuiltFromItsTableCentredWithItsIconAndStartsInStepOne) {
  Then([] {
    HWND window = Window();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(standin::StyleOf(window) & ~WS_VISIBLE, 0x84C80AD4u);
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(window, GWL_EXSTYLE)) & 0x10100u, 0x10100u);
    // Centred in the work area whatever position the template asks for.
    RECT frame = standin::WindowRectOf(window);
    EXPECT_LE(std::abs((frame.left + frame.right) - 1024), 1);
    EXPECT_LE(std::abs((frame.top + frame.bottom) - 768), 1);
    RECT client = standin::ClientRectOf(window);
    EXPECT_EQ(client.right - client.left, Pixels(418, 6, 4));
    EXPECT_EQ(client.bottom - client.top, Pixels(240, 12, 8));

    standin::IconInfo big = standin::IconInfoOf(Icon(window, ICON_BIG));
    standin::IconInfo small = standin::IconInfoOf(Icon(window, ICON_SMALL));
    EXPECT_EQ(big.resource + " " + std::to_string(big.width), "#104 32");
    EXPECT_EQ(small.resource + " " + std::to_string(small.width), "#104 16");

    std::vector<std::string> children;
    for (HWND child : standin::ChildrenOf(window)) {
      children.push_back(std::to_string(GetDlgCtrlID(child)) + " " + standin::ClassOf(child) +
                         " \"" + standin::TextOf(child) + "\"");
    }
    std::vector<std::string> expected;
    for (const WizardControl& row : WizardControls) {
      expected.push_back(std::to_string(row.id) + " " + ClassOf(row) + " \"" + row.text + "\"");
    }
    EXPECT_SEQUENCE(expected, children) << "controls in creation (tab) order";
    EXPECT_SEQUENCE(ExpectedState(0), State());

    // The message area paints red on the dialog's face colour.
    ASSERT_TRUE(standin::LastPaintOf(Control(IDC_MESSAGE)).has_value());
    standin::Paint paint = *standin::LastPaintOf(Control(IDC_MESSAGE));
    EXPECT_EQ(paint.textColour, 0x0000FFu);
    EXPECT_EQ(paint.backgroundColour, GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(standin::NameOf(paint.brush), "brush(COLOR_BTNFACE)");
    standin::Click(Control(IDC_DONE));
  });
  Answer(IDYES);
  EXPECT_EQ(Run(), 0u);
  EXPECT_SEQUENCE(
      std::vector<std::string>{"CreateDialogIndirectParamA(0x400000, dlg{style=0x84C80AD4,"
                               "ex=0x10100,items=0,x=84,y=53,cx=418,cy=240,class=0,title=\" \","
                               "font=8 \"MS Sans Serif\"}, NULL, dlgproc, 0)"},
      standin::CallsTo({"CreateDialogIndirectParamA"}));
  EXPECT_SEQUENCE(ExpectedCreation(6, 12), standin::CallsTo({"CreateWindowExA"}));
}

TEST_F(WizardWindowTest, ItsFirstLookIsTheFinishedOneWithNothingRepainted) {
  // Built while hidden, the window shows finished: each step label is painted once, in the
  // font that step 1's state gives it, with its caption and its icon in place.
  Then([] {
    std::vector<std::string> expected;
    std::vector<std::string> seen;
    for (const auto& row : wizard_table::kControls) {
      if (row.font != nullptr) {
        std::vector<std::string> deliveries = standin::DeliveryLines(Control(row.id));
        auto paints = std::count_if(
            deliveries.begin(), deliveries.end(),
            [](const std::string& line) { return line.find(" WM_PAINT(") != std::string::npos; });
        std::optional<standin::Paint> paint = standin::LastPaintOf(Control(row.id));
        seen.push_back(std::to_string(row.id) + " painted " + std::to_string(paints) + " in " +
                       (paint.has_value() ? FontName(paint->font) : std::string("none")));
        expected.push_back(std::to_string(row.id) + " painted 1 in " + FontIn(row, 0));
      }
    }
    EXPECT_SEQUENCE(expected, seen);
    EXPECT_EQ(standin::TextOf(Window()), kWizardCaption);
    EXPECT_NE(Icon(Window(), ICON_SMALL), nullptr);
    standin::Click(Control(IDC_DONE));
  });
  Answer(IDYES);
  EXPECT_EQ(Run(), 0u);
}

TEST_F(WizardWindowTest, FontsAndRectanglesFollowTheScreenResolution) {
  standin::SetScreenDpi(144);
  Then([] {
    for (LONG label : {IDC_STEP1_LABEL, IDC_STEP2_LABEL, IDC_STEP3_LABEL, IDC_STEP4_LABEL}) {
      LOGFONTA font = standin::FontInfo(standin::FontOf(Control(label)));
      EXPECT_EQ(font.lfHeight, -24) << label;
      EXPECT_EQ(std::string(font.lfFaceName), "MS Sans Serif");
      EXPECT_EQ(font.lfWeight, label == IDC_STEP1_LABEL ? FW_BOLD : FW_NORMAL);
      EXPECT_EQ(font.lfCharSet, 0);
      EXPECT_EQ(font.lfItalic + font.lfUnderline + font.lfStrikeOut + font.lfWidth, 0);
    }
    standin::Click(Control(IDC_DONE));
  });
  Answer(IDYES);
  EXPECT_EQ(Run(), 0u);
  EXPECT_SEQUENCE(ExpectedCreation(9, 17), standin::CallsTo({"CreateWindowExA"}));
}

TEST_F(WizardWindowTest, TheStartDirectoryIsTheFolderOfTheProgramsOwnFile) {
  // As the platform reports a working directory: no backslash at the end except for a
  // drive root. Letters outside the ANSI code page are kept. What does not fit the buffer
  // of 400 UTF-16 units, or cannot be had, leaves it empty.
  std::string fits = "D:\\";
  for (int i = 0; i < 396; ++i) {
    fits += i % 2 == 0 ? "я" : "m";  // 399 units
  }
  const struct {
    std::string module;
    std::string expected;
  } cases[] = {
      {"D:\\Setup\\setup.exe", "D:\\Setup"},
      {"E:\\setup.exe", "E:\\"},
      {R"(\\server\share\medium\setup.exe)", R"(\\server\share\medium)"},
      {"D:\\Загрузки 日本 medium\\setup.exe", "D:\\Загрузки 日本 medium"},
      {fits + "\\setup.exe", fits},
      {fits + "я\\setup.exe", ""},
      {"D:\\" + std::string(700, 'm') + "\\setup.exe", ""},  // cut by the platform
      {"", ""},                                              // the call fails
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.module.substr(0, 40));
    SetUp();
    standin::SetLauncherPath(c.module);
    // Started from elsewhere, with a command line that names yet another folder.
    standin::SetCurrentDirectory("C:\\Windows\\System32");
    standin::SetCommandLine(R"("D:\Setup\setup.exe" /S /D=C:\Elsewhere)");
    std::string seen;
    Then([&seen] {
      seen = utf16::ToUtf8(StartDirectory.CString());
      standin::Click(Control(IDC_DONE));
    });
    Answer(IDYES);
    EXPECT_EQ(Run(), 0u);
    EXPECT_EQ(seen, c.expected);
    EXPECT_SEQUENCE(std::vector<std::string>{"GetModuleFileNameW(NULL, buffer, 660)"},
                    standin::CallsTo({"GetModuleFileNameW", "GetCurrentDirectoryA"}));
    TearDown();
  }
}

TEST_F(WizardWindowTest, RunsWithoutAnIconWhenTheResourceIsMissing) {
  standin::Reset();
  UseMedium("D:\\Setup");
  Then([] {
    EXPECT_EQ(Icon(Window(), ICON_BIG), nullptr);
    EXPECT_SEQUENCE(ExpectedState(0), State());
    standin::Click(Control(IDC_DONE));
  });
  Answer(IDYES);
  EXPECT_EQ(Run(), 0u);
}

}  // namespace
}  // namespace wizard_test
