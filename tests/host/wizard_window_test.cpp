// The wizard window as it is built and first shown.
#include <cstdlib>

#include "utf16.h"
#include "wizard/entry.h"
#include "wizard_fixture.h"

namespace wizard_test {
namespace {

using WizardWindowTest = WizardTest;

struct Row {
  int id;
  const char* windowClass;
  const char* text;
  int x, y, width, height;
};
// The control table in creation order, in dialog units.
constexpr Row kTable[12] = {
    {1001, "STATIC", "1.  Install DirectX 9.0", 15, 20, 215, 15},
    {1002, "BUTTON", "Install", 260, 20, 50, 15},
    {1003, "BUTTON", "Skip (already installed)", 320, 20, 80, 15},
    {1005, "STATIC", "4.  Plug the adapter into the USB port", 15, 125, 225, 15},
    {1004, "STATIC", "2.  Install Quillmark", 15, 55, 215, 15},
    {1006, "BUTTON", "Install", 260, 55, 50, 15},
    {1007, "BUTTON", "Done", 375, 215, 35, 15},
    {1008, "BUTTON", "Skip (already installed)", 320, 55, 80, 15},
    {1009, "STATIC", "", 25, 145, 325, 85},
    {1010, "STATIC", "3.  Install Video Adapter Drivers", 15, 91, 215, 15},
    {1011, "BUTTON", "Install", 260, 89, 50, 15},
    {1012, "BUTTON", "Skip (already installed)", 320, 89, 80, 15},
};

// Dialog units to pixels as MapDialogRect rounds: to the nearest pixel, halves up.
int Pixels(int units, int base, int per) {
  return (units * base * 2 + per) / (per * 2);
}

// Each control as CreateWindowExA was asked for it: edges converted, then differences.
std::vector<std::string> ExpectedCreation(int baseX, int baseY) {
  std::vector<std::string> calls;
  for (const Row& row : kTable) {
    int left = Pixels(row.x, baseX, 4);
    int top = Pixels(row.y, baseY, 8);
    int right = Pixels(row.x + row.width, baseX, 4);
    int bottom = Pixels(row.y + row.height, baseY, 8);
    bool button = std::string(row.windowClass) == "BUTTON";
    calls.push_back("CreateWindowExA(0x0, \"" + std::string(row.windowClass) + "\", \"" + row.text +
                    "\", " + (button ? "0x50010000" : "0x50000000") + ", " + std::to_string(left) +
                    ", " + std::to_string(top) + ", " + std::to_string(right - left) + ", " +
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

    standin::IconInfo big = standin::IconInfoOf(standin::IconOf(window, ICON_BIG));
    standin::IconInfo small = standin::IconInfoOf(standin::IconOf(window, ICON_SMALL));
    EXPECT_EQ(big.resource + " " + std::to_string(big.width), "#104 32");
    EXPECT_EQ(small.resource + " " + std::to_string(small.width), "#104 16");

    std::vector<std::string> children;
    for (HWND child : standin::ChildrenOf(window)) {
      children.push_back(std::to_string(GetDlgCtrlID(child)) + " " + standin::ClassOf(child) +
                         " \"" + standin::TextOf(child) + "\"");
    }
    std::vector<std::string> expected;
    for (const Row& row : kTable) {
      expected.push_back(std::to_string(row.id) + " " + row.windowClass + " \"" + row.text + "\"");
    }
    EXPECT_SEQUENCE(expected, children) << "controls in creation (tab) order";
    EXPECT_SEQUENCE(ExpectedState(0), State());

    // The message area paints red on the dialog's face colour.
    ASSERT_TRUE(standin::LastPaintOf(Control(kMessage)).has_value());
    standin::Paint paint = *standin::LastPaintOf(Control(kMessage));
    EXPECT_EQ(paint.textColour, 0x0000FFu);
    EXPECT_EQ(paint.backgroundColour, GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(standin::NameOf(paint.brush), "brush(COLOR_BTNFACE)");
    standin::Click(Control(kDone));
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

TEST_F(WizardWindowTest, BuildsInTheOrderThatKeepsTheWindowHiddenUntilItRuns) {
  Press(kDone);
  Answer(IDYES);
  Run();
  // The caption after creation, the icon, the controls (the message area coloured right
  // after it is made), the label font for the four labels without repainting, then the
  // run; the label font is deleted after it.
  std::vector<std::string> expected = {
      "CreateDialogIndirectParamA", "SetWindowTextA(dialog#1, \"" + std::string(kCaption) + "\")",
      "LoadImageA(0x400000, \"#104\", 1, 32, 32, 0x0)",
      "LoadImageA(0x400000, \"#104\", 1, 16, 16, 0x0)"};
  for (const Row& row : kTable) {
    expected.push_back("CreateWindowExA #" + std::to_string(row.id));
  }
  expected.insert(
      expected.end(),
      {"CreateFontIndirectA(lf{height=-16,weight=400,charset=0,face=\"MS Sans Serif\"})",
       "SendMessageA(STATIC#1001, WM_SETFONT, font#2, 0)",
       "SendMessageA(STATIC#1005, WM_SETFONT, font#2, 0)",
       "SendMessageA(STATIC#1004, WM_SETFONT, font#2, 0)",
       "SendMessageA(STATIC#1010, WM_SETFONT, font#2, 0)",
       "CreateFontIndirectA(lf{height=-16,weight=700,charset=0,face=\"MS Sans Serif\"})",
       "CreateFontIndirectA(lf{height=-16,weight=400,charset=0,face=\"MS Sans Serif\"})",
       "SendMessageA(STATIC#1001, WM_SETFONT, font#3, 0)", "ShowWindow(dialog#1, 5)",
       "DeleteObject(font#4)", "DeleteObject(font#3)", "DeleteObject(font#2)"});
  std::vector<std::string> actual;
  for (const std::string& call : standin::Calls()) {
    bool labelFont = call.find("WM_SETFONT, font#") != std::string::npos &&
                     call.find("WM_SETFONT, font#1,") == std::string::npos;
    if (call.rfind("CreateDialogIndirectParamA", 0) == 0) {
      actual.push_back("CreateDialogIndirectParamA");
    } else if (call.rfind("CreateWindowExA", 0) == 0) {
      size_t id = call.find("dialog#1, ") + 10;
      actual.push_back("CreateWindowExA #" + call.substr(id, 4));
    } else if (call.rfind("SetWindowTextA(dialog", 0) == 0 || call.rfind("LoadImageA", 0) == 0 ||
               call.rfind("CreateFontIndirectA", 0) == 0 || labelFont ||
               call.rfind("ShowWindow", 0) == 0 || call.rfind("DeleteObject", 0) == 0) {
      actual.push_back(call);
    }
  }
  EXPECT_SEQUENCE(expected, actual);
}

TEST_F(WizardWindowTest, FontsAndRectanglesFollowTheScreenResolution) {
  standin::SetScreenDpi(144);
  Then([] {
    for (int label : {1001, 1004, 1010, 1005}) {
      LOGFONTA font = standin::FontInfo(standin::FontOf(Control(label)));
      EXPECT_EQ(font.lfHeight, -24) << label;
      EXPECT_EQ(std::string(font.lfFaceName), "MS Sans Serif");
      EXPECT_EQ(font.lfWeight, label == 1001 ? 700 : 400);
      EXPECT_EQ(font.lfCharSet, 0);
      EXPECT_EQ(font.lfItalic + font.lfUnderline + font.lfStrikeOut + font.lfWidth, 0);
    }
    standin::Click(Control(kDone));
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
      standin::Click(Control(kDone));
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
    EXPECT_EQ(standin::IconOf(Window(), ICON_BIG), nullptr);
    EXPECT_SEQUENCE(ExpectedState(0), State());
    standin::Click(Control(kDone));
  });
  Answer(IDYES);
  EXPECT_EQ(Run(), 0u);
}

}  // namespace
}  // namespace wizard_test
