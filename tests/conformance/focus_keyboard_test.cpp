// Showing a dialog, the focus and the dialog keyboard: activation and the first tab stop,
// Tab and Shift+Tab, Space, Enter and Esc through IsDialogMessageA, Alt+F4, the default
// push button, WM_NEXTDLGCTL, EnableWindow, and clicks, the close box and the system menu
// as a person gives them.
#include "conformance.h"
#include "sequence_table.h"

namespace conformance {
namespace {

bool LooksDefault(HWND button) {
  return (GetWindowLongA(button, GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
}

using Showing = Check;

TEST_F(Showing, TheDialogIsActivatedAndHandsTheFocusToItsFirstTabStop) {
  HWND dialog = MakeShownDialog(TwoButtons());
  EXPECT_TRUE(IsWindowVisible(dialog));
  EXPECT_EQ(GetActiveWindow(), dialog);
  EXPECT_EQ(GetFocus(), GetDlgItem(dialog, 11));
  EXPECT_SEQUENCE(
      (Lines{"dialog WM_SHOWWINDOW(1, 0)", "dialog WM_NCACTIVATE(1, 0)", "dialog WM_ACTIVATE(1, 0)",
             "dialog WM_SETFOCUS(0, 0)", "dialog WM_KILLFOCUS(BUTTON#11, 0)"}),
      Seen({WM_SHOWWINDOW, WM_NCACTIVATE, WM_ACTIVATE, WM_SETFOCUS, WM_KILLFOCUS}, "dialog"));
  TheJournal().rows.clear();
  EXPECT_TRUE(ShowWindow(dialog, SW_SHOW)) << "it was visible before";
  EXPECT_SEQUENCE(Lines{}, Seen({WM_SHOWWINDOW, WM_ACTIVATE, WM_SETFOCUS}, "dialog"));
  DestroyWindow(dialog);
}

TEST_F(Showing, HidingTheFocusHandsItOnAndDisablingItLeavesNoFocusThatTabBringsBack) {
  HWND dialog = MakeShownDialog(TwoButtons());
  HWND first = GetDlgItem(dialog, 11);
  HWND second = GetDlgItem(dialog, 12);
  ASSERT_EQ(GetFocus(), first);
  ShowWindow(first, SW_HIDE);
  EXPECT_EQ(GetFocus(), second) << "to the dialog, which passes it to its next tab stop";
  EnableWindow(second, FALSE);
  EXPECT_EQ(GetFocus(), nullptr) << "disabling drops the focus altogether";
  harness::WaitUntilIdle(dialog);
  TheJournal().rows.clear();
  harness::PressKey(VK_TAB);
  harness::WaitUntilIdle(dialog);
  EXPECT_EQ(GetFocus(), nullptr) << "Tab finds no focus to move on from";
  EXPECT_SEQUENCE((Lines{"dialog WM_SYSKEYDOWN(9, plain)", "dialog WM_SYSKEYUP(9, plain up)"}),
                  Seen({WM_SYSKEYDOWN, WM_SYSKEYUP, WM_KEYDOWN, WM_NEXTDLGCTL}))
      << "without a focus the active window gets the keys, as system keys";
  DestroyWindow(dialog);
}

TEST_F(Showing, EnableWindowAnswersWhetherTheWindowWasDisabled) {
  HWND dialog = MakeShownDialog(TwoButtons());
  HWND button = GetDlgItem(dialog, 11);
  ASSERT_EQ(GetFocus(), button);
  struct Step {
    BOOL enable;
    BOOL answer;
    Lines messages;
  };
  const Step steps[] = {
      {FALSE,
       FALSE,
       {"BUTTON#11 WM_CANCELMODE(0, 0)", "BUTTON#11 WM_KILLFOCUS(0, 0)",
        "BUTTON#11 WM_ENABLE(0, 0)"}},
      {FALSE, TRUE, {"BUTTON#11 WM_CANCELMODE(0, 0)"}},
      {TRUE, TRUE, {"BUTTON#11 WM_ENABLE(1, 0)"}},
      {TRUE, FALSE, {}},
  };
  for (const Step& step : steps) {
    TheJournal().rows.clear();
    EXPECT_EQ(EnableWindow(button, step.enable), step.answer);
    EXPECT_SEQUENCE(step.messages, Seen({WM_CANCELMODE, WM_KILLFOCUS, WM_ENABLE}));
    EXPECT_EQ(IsWindowEnabled(button), step.enable);
  }
  EXPECT_EQ(GetFocus(), nullptr) << "a disabled window cannot keep the focus";
  DestroyWindow(dialog);
}

using DialogKeys = Check;

TEST_F(DialogKeys, EscEnterTabShiftTabAndSpaceAsAPersonTypesThem) {
  HWND dialog = MakeShownDialog(TwoButtons());
  HWND first = GetDlgItem(dialog, 11);
  HWND second = GetDlgItem(dialog, 12);
  struct Step {
    Lines commands;
    HWND focus;
    BYTE key;
    bool shift;
    bool firstLooksDefault;
    bool secondLooksDefault;
  };
  const Step steps[] = {
      {{"dialog WM_COMMAND(2, 0)"}, first, VK_ESCAPE, false, false, false},
      {{"dialog WM_COMMAND(1, 0)"}, first, VK_RETURN, false, false, false},  // DM_GETDEFID: IDOK
      {{}, second, VK_TAB, false, false, true},
      {{"dialog WM_COMMAND(12, BUTTON#12)"}, second, VK_RETURN, false, false, true},
      {{"dialog WM_COMMAND(12, BUTTON#12)"}, second, VK_SPACE, false, false, true},
      {{}, first, VK_TAB, true, true, false},
      {{}, second, VK_TAB, true, false, true},  // round again
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(std::to_string(step.key) + (step.shift ? " with shift" : ""));
    TheJournal().rows.clear();
    harness::PressKey(step.key, step.shift);
    harness::WaitUntilIdle(dialog);
    EXPECT_SEQUENCE(step.commands, Seen({WM_COMMAND}));
    EXPECT_EQ(GetFocus(), step.focus);
    EXPECT_EQ(LooksDefault(first), step.firstLooksDefault);
    EXPECT_EQ(LooksDefault(second), step.secondLooksDefault);
  }
  EXPECT_EQ(SendMessageA(dialog, DM_GETDEFID, 0, 0), MAKELONG(IDOK, DC_HASDEFID))
      << "the focus moved the look, not the default id";
  DestroyWindow(dialog);
}

TEST_F(DialogKeys, NextDlgCtlWithAWindowMovesTheFocusAndTheDefaultLook) {
  HWND dialog = MakeShownDialog(TwoButtons());
  HWND first = GetDlgItem(dialog, 11);
  HWND second = GetDlgItem(dialog, 12);
  SendMessageA(dialog, DM_SETDEFID, 11, 0);
  EXPECT_TRUE(LooksDefault(first));
  EXPECT_EQ(SendMessageA(dialog, DM_GETDEFID, 0, 0), MAKELONG(11, DC_HASDEFID));

  SendMessageA(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(second), TRUE);
  EXPECT_EQ(GetFocus(), second);
  EXPECT_FALSE(LooksDefault(first));
  EXPECT_TRUE(LooksDefault(second));
  EXPECT_EQ(SendMessageA(dialog, DM_GETDEFID, 0, 0), MAKELONG(11, DC_HASDEFID));
  TheJournal().rows.clear();
  harness::PressKey(VK_RETURN);
  harness::WaitUntilIdle(dialog);
  EXPECT_SEQUENCE((Lines{"dialog WM_COMMAND(12, BUTTON#12)"}), Seen({WM_COMMAND}))
      << "Enter presses the focused default-looking button";

  // Back on the first: the look follows, the id stays.
  SendMessageA(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(first), TRUE);
  EXPECT_EQ(GetFocus(), first);
  EXPECT_TRUE(LooksDefault(first));
  EXPECT_FALSE(LooksDefault(second));
  DestroyWindow(dialog);
}

TEST_F(DialogKeys, EnterLeavesADisabledDefaultButtonAlone) {
  HWND dialog = MakeShownDialog(TwoButtons());
  SendMessageA(dialog, DM_SETDEFID, 12, 0);
  EXPECT_TRUE(LooksDefault(GetDlgItem(dialog, 12)));
  SetFocus(dialog);
  TheJournal().rows.clear();
  harness::PressKey(VK_RETURN);
  harness::WaitUntilIdle(dialog);
  EnableWindow(GetDlgItem(dialog, 12), FALSE);
  harness::PressKey(VK_RETURN);
  harness::WaitUntilIdle(dialog);
  EXPECT_SEQUENCE((Lines{"dialog WM_COMMAND(12, BUTTON#12)"}), Seen({WM_COMMAND}));
  DestroyWindow(dialog);
}

TEST_F(DialogKeys, AltF4GoesToTheFocusWhichHasTheTopLevelWindowClose) {
  HWND dialog = MakeShownDialog(TwoButtons());
  TheJournal().rows.clear();
  harness::PressAltF4();
  harness::WaitUntilIdle(dialog);
  EXPECT_SEQUENCE((Lines{"BUTTON#11 WM_SYSKEYDOWN(18, alt)", "BUTTON#11 WM_SYSKEYDOWN(115, alt)",
                         "BUTTON#11 WM_SYSKEYUP(115, alt up)", "BUTTON#11 WM_KEYUP(18, plain up)"}),
                  Seen({WM_SYSKEYDOWN, WM_SYSKEYUP, WM_KEYDOWN, WM_KEYUP}));
  EXPECT_SEQUENCE((Lines{"dialog WM_SYSCOMMAND(0xF060, 0)", "dialog WM_CLOSE(0, 0)",
                         "dialog WM_COMMAND(2, 0)"}),
                  Seen({WM_SYSCOMMAND, WM_CLOSE, WM_COMMAND}));
  DestroyWindow(dialog);
}

using Clicks = Check;

TEST_F(Clicks, AClickPressesAnEnabledButtonWhenTheLoopTakesIt) {
  HWND dialog = MakeShownDialog(TwoButtons());
  HWND second = GetDlgItem(dialog, 12);
  harness::WaitUntilIdle(dialog);
  TheJournal().rows.clear();
  harness::Click(second);
  EXPECT_SEQUENCE(Lines{}, Seen({WM_LBUTTONDOWN, WM_COMMAND}))
      << "nothing happens before the program takes the input";
  harness::WaitUntilIdle(dialog);
  RECT client{};
  GetClientRect(second, &client);
  LPARAM middle = MAKELPARAM(client.right / 2, client.bottom / 2);
  EXPECT_SEQUENCE(
      (Lines{RowOf(second, WM_LBUTTONDOWN, MK_LBUTTON, middle),
             "BUTTON#12 WM_SETFOCUS(BUTTON#11, 0)", RowOf(second, WM_LBUTTONUP, 0, middle),
             "dialog WM_COMMAND(12, BUTTON#12)"}),
      Seen({WM_LBUTTONDOWN, WM_LBUTTONUP, WM_SETFOCUS, WM_COMMAND}));
  // Pushed in while the button is down (again at each move of the mouse), out at the end.
  Lines states = Seen({BM_SETSTATE});
  ASSERT_GE(states.size(), 2u);
  EXPECT_EQ(states.front(), "BUTTON#12 BM_SETSTATE(1, 0)");
  EXPECT_EQ(states.back(), "BUTTON#12 BM_SETSTATE(0, 0)");
  EXPECT_EQ(GetFocus(), second);
  DestroyWindow(dialog);
}

TEST_F(Clicks, AClickOnADisabledButtonGoesToTheDialogEvenWhenItWasEnabledAtTheClick) {
  HWND dialog = MakeShownDialog(TwoButtons());
  HWND second = GetDlgItem(dialog, 12);
  EnableWindow(second, FALSE);
  RECT rect = RectInParent(second);
  LPARAM middle = MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
  harness::WaitUntilIdle(dialog);
  TheJournal().rows.clear();
  harness::Click(second);
  harness::WaitUntilIdle(dialog);
  EXPECT_SEQUENCE((Lines{RowOf(dialog, WM_LBUTTONDOWN, MK_LBUTTON, middle),
                         RowOf(dialog, WM_LBUTTONUP, 0, middle)}),
                  Seen({WM_LBUTTONDOWN, WM_LBUTTONUP, WM_COMMAND}));

  // Enabled at the click, disabled before the program took it: nothing is pressed.
  EnableWindow(second, TRUE);
  harness::Click(second);
  EnableWindow(second, FALSE);
  TheJournal().rows.clear();
  harness::WaitUntilIdle(dialog);
  EXPECT_SEQUENCE(Lines{}, Seen({WM_COMMAND}));
  DestroyWindow(dialog);
}

TEST_F(Clicks, TheCloseBoxAndTheSystemMenusCloseSendSysCommandClose) {
  HWND dialog = MakeShownDialog(TwoButtons());
  harness::WaitUntilIdle(dialog);
  TheJournal().rows.clear();
  harness::ClickCloseBox(dialog);
  harness::WaitUntilIdle(dialog);
  Lines rows = Seen({WM_SYSCOMMAND, WM_CLOSE, WM_COMMAND});
  ASSERT_EQ(rows.size(), 3u) << ::testing::PrintToString(rows);
  EXPECT_EQ(rows[0].rfind("dialog WM_SYSCOMMAND(0xF060, ", 0), 0u) << rows[0];
  EXPECT_EQ(rows[1], "dialog WM_CLOSE(0, 0)");
  EXPECT_EQ(rows[2], "dialog WM_COMMAND(2, 0)");

  TheJournal().rows.clear();
  harness::ChooseSystemMenuClose(dialog);
  harness::WaitUntilIdle(dialog);
  rows.clear();
  for (const std::string& row : Seen({WM_SYSCOMMAND, WM_CLOSE})) {
    if (row.find("(0xF01") == std::string::npos) {  // leaves out moving by the caption
      rows.push_back(row);
    }
  }
  ASSERT_EQ(rows.size(), 3u) << ::testing::PrintToString(rows);
  EXPECT_EQ(rows[0], "dialog WM_SYSCOMMAND(0xF100, 32)") << "Alt+Space opens the menu";
  EXPECT_EQ(rows[1].rfind("dialog WM_SYSCOMMAND(0xF060, ", 0), 0u) << rows[1];
  EXPECT_EQ(rows[2], "dialog WM_CLOSE(0, 0)");
  DestroyWindow(dialog);
}

}  // namespace
}  // namespace conformance
