// The stand-in's test side, which the product tests rely on and which has no counterpart
// on a real platform: the screen a test chooses, the call log, the ledger and the faults,
// failures on demand, what controls were painted with, the idle script and scripted
// message boxes, and the stops for a program that would hang. What the stand-in answers
// to Win32 calls is checked in tests/conformance, on the stand-in and on Wine alike.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "platform.h"
#include "sequence.h"
#include "standin.h"
#include "standin_windows.h"

namespace {

using Lines = std::vector<std::string>;

// A dialog as the toolkit writes it: no items, MS Sans Serif 8 points; visible or not.
HWND MakeDialog(DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT) {
  const WORD words[] = {
      LOWORD(style), HIWORD(style), 0,   0,   0,   10,  20,  200, 100, 0,   0,   ' ', 0,   8,
      'M',           'S',           ' ', 'S', 'a', 'n', 's', ' ', 'S', 'e', 'r', 'i', 'f', 0};
  return CreateDialogIndirectParamA(standin::ProgramModule(),
                                    reinterpret_cast<LPCDLGTEMPLATEA>(words), nullptr, nullptr, 0);
}

HWND AddButton(HWND dialog, int id) {
  return CreateWindowExA(0, "BUTTON", "Go", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 10, 10, 60, 20,
                         dialog, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr,
                         nullptr);
}

void Pump() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE) != FALSE) {
    DispatchMessageA(&msg);
  }
}

class StandInTest : public ::testing::Test {
 protected:
  void SetUp() override { standin::Reset(); }
  void TearDown() override { EXPECT_SEQUENCE(Lines{}, standin::LiveObjects()); }
};

TEST_F(StandInTest, TheScreensResolutionAndWorkAreaAreTheTestsChoice) {
  struct Case {
    int dpi;
    LONG baseX, baseY, fontHeight;  // as Wine measures MS Sans Serif 8 pt there
  };
  for (Case c : {Case{96, 6, 12, -11}, Case{120, 8, 15, -13}, Case{144, 9, 17, -16}}) {
    SCOPED_TRACE(c.dpi);
    standin::SetScreenDpi(c.dpi);
    HWND dialog = MakeDialog();
    RECT units{0, 0, 4, 8};
    ASSERT_TRUE(MapDialogRect(dialog, &units));
    EXPECT_EQ(units.right, c.baseX);
    EXPECT_EQ(units.bottom, c.baseY);
    EXPECT_EQ(standin::FontInfo(standin::FontOf(dialog)).lfHeight, c.fontHeight);
    DestroyWindow(dialog);
  }
  standin::SetWorkArea(RECT{0, 0, 800, 560});
  RECT work{};
  EXPECT_TRUE(SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0));
  EXPECT_EQ(work.bottom, 560);
  HWND centred = MakeDialog(WS_POPUP | WS_CAPTION | DS_SETFONT | DS_CENTER);
  RECT frame = standin::WindowRectOf(centred);
  EXPECT_LE(std::abs(frame.left + frame.right - 800), 1);
  EXPECT_LE(std::abs(frame.top + frame.bottom - 560), 1);
  DestroyWindow(centred);
}

TEST_F(StandInTest, TheCallLogHoldsOnlyTheProgramsOwnCallsWithReadableNames) {
  HWND dialog = MakeDialog();
  HWND button = AddButton(dialog, 11);
  standin::ClearCalls();
  SendMessageA(button, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("Go\r\n"));
  EnableWindow(button, FALSE);
  HDC dc = GetDC(dialog);
  SelectObject(dc, GetStockObject(NULL_BRUSH));
  SetTextColor(dc, RGB(255, 0, 0));
  ReleaseDC(dialog, dc);
  PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(11, BN_CLICKED), reinterpret_cast<LPARAM>(button));
  standin::PumpMessages();  // the test's own: not logged
  EXPECT_SEQUENCE(
      (Lines{"SendMessageA(BUTTON#11, WM_SETTEXT, 0, \"Go\\r\\n\")", "EnableWindow(BUTTON#11, 0)",
             "GetDC(dialog#1)", "GetStockObject(5)", "SelectObject(dc#1, NULL_BRUSH)",
             "SetTextColor(dc#1, 0xFF)", "ReleaseDC(dialog#1, dc#1)",
             "PostMessageA(dialog#1, WM_COMMAND, 11, BUTTON#11)"}),
      standin::Calls());
  DestroyWindow(dialog);
}

TEST_F(StandInTest, TheLedgerListsWhatIsAliveAndMisuseIsAFault) {
  standin::AddIconResource(standin::ProgramModule(), "#104");
  HWND dialog = MakeDialog();
  LOGFONTA logical{};
  logical.lfHeight = -16;
  logical.lfWeight = FW_BOLD;
  std::strcpy(logical.lfFaceName, "MS Sans Serif");
  HFONT font = CreateFontIndirectA(&logical);
  HBRUSH brush = CreateSolidBrush(0x0000FF);
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  auto* icon =
      static_cast<HICON>(LoadImageA(standin::ProgramModule(), "#104", IMAGE_ICON, 32, 32, 0));
  EXPECT_SEQUENCE(
      (Lines{"window dialog#1 \" \"", "font font#2 \"MS Sans Serif\" height -16 weight 700",
             "brush brush#1 0x0000FF", "DC dc#1 (GetDC of the screen)", "DC dc#2 (memory)",
             "icon icon#1 32x32 from #104"}),
      standin::LiveObjects())
      << "the dialog's own font is the platform's";
  EXPECT_EQ(standin::LiveObjectsOf("brush"), Lines{"brush brush#1 0x0000FF"});

  HGDIOBJ old = SelectObject(memory, font);
  EXPECT_FALSE(DeleteObject(font)) << "still selected";
  SelectObject(memory, old);
  EXPECT_TRUE(DeleteObject(font));
  EXPECT_FALSE(DeleteObject(font));
  DeleteObject(brush);
  EXPECT_EQ(ReleaseDC(nullptr, memory), 0);
  ReleaseDC(nullptr, screen);
  DeleteDC(memory);
  DestroyIcon(icon);
  EXPECT_FALSE(DestroyIcon(icon));
  HFONT dialogFont = standin::FontOf(dialog);
  DestroyWindow(dialog);
  EXPECT_FALSE(standin::IsObjectAlive(dialogFont)) << "the platform deletes it with the dialog";
  EXPECT_SEQUENCE((Lines{"DeleteObject(font#2): still selected into dc#2",
                         "DeleteObject(font#2): deleted twice",
                         "ReleaseDC(NULL, dc#2): not a DC that GetDC gave for that window",
                         "DestroyIcon(icon#1): destroyed twice"}),
                  standin::Faults());

  // A template that does not hold together is a fault too, and makes nothing.
  const WORD cut[] = {LOWORD(DS_SETFONT), HIWORD(DS_SETFONT), 0, 0, 1, 0, 0, 10, 10, 0, 0, 0};
  EXPECT_EQ(CreateDialogIndirectParamA(standin::ProgramModule(),
                                       reinterpret_cast<LPCDLGTEMPLATEA>(cut), nullptr, nullptr, 0),
            nullptr);
  ASSERT_EQ(standin::Faults().size(), 5u);
  EXPECT_EQ(
      standin::Faults()[4].rfind("CreateDialogIndirectParamA: malformed dialog template: ", 0), 0u)
      << standin::Faults()[4];
}

TEST_F(StandInTest, FailuresComeOnDemand) {
  HWND dialog = MakeDialog();
  standin::FailDestroyWindow(dialog, true);
  standin::ClearDeliveries();
  EXPECT_FALSE(DestroyWindow(dialog));
  EXPECT_EQ(standin::LastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
  EXPECT_TRUE(standin::DeliveryLines().empty()) << "nothing was destroyed";
  standin::FailDestroyWindow(dialog, false);
  EXPECT_TRUE(DestroyWindow(dialog));
  standin::FailCreateSolidBrush(true);
  EXPECT_EQ(CreateSolidBrush(0x00FF00), nullptr);
  standin::FailMessageBoxes(true);
  EXPECT_EQ(MessageBoxA(nullptr, "x", "y", MB_OK), 0);
  EXPECT_TRUE(standin::MessageBoxes().empty());
}

TEST_F(StandInTest, APaintRecordsWhatTheControlWasPaintedWith) {
  HWND dialog = MakeDialog();
  HWND button = AddButton(dialog, 11);
  HWND label = CreateWindowExA(0, "STATIC", "red", WS_CHILD | WS_VISIBLE, 0, 0, 40, 10, dialog,
                               reinterpret_cast<HMENU>(100), nullptr, nullptr);
  SendMessageA(label, WM_SETFONT, reinterpret_cast<WPARAM>(standin::FontOf(dialog)), FALSE);
  ShowWindow(dialog, SW_SHOW);
  standin::ClearPaints();
  Pump();
  std::optional<standin::Paint> paint = standin::LastPaintOf(label);
  ASSERT_TRUE(paint.has_value());
  EXPECT_EQ(paint->colourMessage, static_cast<UINT>(WM_CTLCOLORSTATIC));
  EXPECT_EQ(paint->textColour, 0u) << "the default processing's colours";
  EXPECT_EQ(paint->backgroundColour, 0xC0C0C0u);
  EXPECT_EQ(standin::NameOf(paint->brush), "brush(COLOR_BTNFACE)");
  EXPECT_EQ(paint->text, "red");
  EXPECT_EQ(paint->font, standin::FontOf(dialog));
  EXPECT_EQ(standin::LastPaintOf(button)->colourMessage, static_cast<UINT>(WM_CTLCOLORBTN));
  DestroyWindow(dialog);
}

TEST_F(StandInTest, IdleActionsRunWhenTheLoopFindsTheQueueEmptyAndSleeps) {
  HWND dialog = MakeDialog();
  std::vector<int> ran;
  standin::WhenIdle([&] { ran.push_back(1); });
  standin::WhenIdle([&] { ran.push_back(2); });
  EXPECT_EQ(standin::PendingIdleActions(), 2u);
  MSG msg;
  auto idle = [&] {
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    Sleep(1);
  };
  idle();
  EXPECT_EQ(ran, std::vector<int>{1});
  Sleep(5);
  EXPECT_EQ(ran, std::vector<int>{1}) << "a pause without an empty queue found is not idleness";
  idle();
  EXPECT_EQ(ran, (std::vector<int>{1, 2}));
  EXPECT_EQ(standin::Now(), 7u) << "the clock moves with every Sleep";
  DestroyWindow(dialog);
}

TEST_F(StandInTest, MessageBoxesAreAnsweredByScriptWhichSeesEachBox) {
  HWND dialog = MakeDialog();
  std::vector<int> depths;
  standin::AnswerMessageBoxes([&](const standin::MessageBox& box) {
    depths.push_back(box.depth);
    if (box.depth == 1) {
      MessageBoxA(dialog, "Inner", "Nested", MB_OKCANCEL);
    }
    return box.depth == 1 ? IDNO : IDOK;
  });
  Sleep(5);
  EXPECT_EQ(MessageBoxA(nullptr, "Quit?", "Warning", MB_YESNO | MB_DEFBUTTON2), IDNO);
  EXPECT_EQ(depths, (std::vector<int>{1, 2}));
  ASSERT_EQ(standin::MessageBoxes().size(), 2u);
  const standin::MessageBox& box = standin::MessageBoxes()[0];
  EXPECT_EQ(box.text + " " + box.caption, "Quit? Warning");
  EXPECT_EQ(box.style, static_cast<UINT>(MB_YESNO | MB_DEFBUTTON2));
  EXPECT_EQ(box.owner, nullptr);
  EXPECT_EQ(box.shownAt, 5u);
  EXPECT_EQ(box.answer, IDNO);
  EXPECT_EQ(standin::MessageBoxes()[1].owner, dialog);
  EXPECT_EQ(standin::MessageBoxes()[1].answer, IDOK);
  DestroyWindow(dialog);
}

LRESULT CALLBACK NeverPaints(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return message == WM_PAINT ? 0 : DefWindowProcA(window, message, wParam, lParam);
}

// A message loop that naps while its queue is empty, until the window is gone.
int IdleUntilGone(HWND window) {
  int sleeps = 0;
  MSG msg;
  while (IsWindow(window) != FALSE) {
    if (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE) == FALSE) {
      Sleep(1);
      ++sleeps;
    }
  }
  return sleeps;
}

TEST_F(StandInTest, AProductThatWaitsForInputThatNeverComesIsReportedAndItsWindowsGo) {
  HWND dialog = MakeDialog();
  standin::SetIdleLimit(5);
  std::vector<std::string> reports;
  standin::ReportHangsTo([&reports](const std::string& what) { reports.push_back(what); });
  EXPECT_EQ(IdleUntilGone(dialog), 6);
  standin::ReportHangsTo([](const std::string& what) { ADD_FAILURE() << what; });
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_NE(reports[0].find("waits for input that the test never gives"), std::string::npos);
  EXPECT_EQ(standin::TopLevelWindows(), std::vector<HWND>{});
}

using StandInDeathTest = StandInTest;

TEST_F(StandInDeathTest, AProgramThatWouldHangIsStoppedWithTheReason) {
  EXPECT_DEATH(MessageBoxA(nullptr, "Quit?", "Warning", MB_YESNO), "answers no message boxes");
  standin::AnswerMessageBoxes([](const standin::MessageBox&) { return IDOK; });
  EXPECT_DEATH(MessageBoxA(nullptr, "Quit?", "Warning", MB_YESNO), "whose buttons are 6, 7");

  HWND dialog = MakeDialog();
  standin::SetIdleLimit(5);
  EXPECT_DEATH(
      {
        standin::ReportHangsTo(nullptr);
        IdleUntilGone(dialog);
      },
      "waits for input that the test never gives");
  DestroyWindow(dialog);

  standin::RegisterWindowClass("NeverPaints", NeverPaints);
  HWND window = CreateWindowExA(0, "NeverPaints", "", WS_POPUP | WS_VISIBLE, 0, 0, 10, 10, nullptr,
                                nullptr, nullptr, nullptr);
  EXPECT_DEATH(Pump(), "WM_PAINT for window#1 was handed out 1000 times");
  DestroyWindow(window);
}

}  // namespace
