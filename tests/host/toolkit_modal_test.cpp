// Running a dialog modally: what reaches the callback and when, the results it gives,
// closing through the system menu, the owner's part, and how the loop ends. (The run that
// both rings make is in tests/shared/both_rings_test.cpp.)
#include <string>

#include "dialogs/modal.h"
#include "toolkit_fixture.h"

namespace toolkit_test {
namespace {

using ToolkitModalTest = ToolkitTest;

constexpr WPARAM kLineDown = 1;  // SB_LINEDOWN
constexpr char kPeek[] = "PeekMessageA(msg, NULL, 0, 0, PM_REMOVE)";

TEST_F(ToolkitModalTest, TheSizeTypeAndShowCommandFollowTheStyle) {
  struct Case {
    DWORD style;
    const char* size;
    const char* show;
  };
  for (Case c : {Case{0x80C000C0 | WS_MAXIMIZE, "WM_SIZE(2, ", ", 3)"},
                 Case{0x80C000C0 | WS_MINIMIZE, "WM_SIZE(1, ", ", 6)"}}) {
    SCOPED_TRACE(c.show);
    callback_.seen.clear();
    HWND dialog = Dialog("", c.style);
    std::string name = standin::NameOf(dialog);
    EndWhenIdle(dialog, 0);
    standin::ClearCalls();
    LONG result = 0;
    ShowDialogModal(dialog, Record, &result);
    ASSERT_GE(callback_.seen.size(), 2u);
    EXPECT_EQ(callback_.seen[1].rfind(name + " " + c.size, 0), 0u) << callback_.seen[1];
    EXPECT_SEQUENCE(Lines{"ShowWindow(" + name + c.show}, standin::CallsTo({"ShowWindow"}));
  }
}

TEST_F(ToolkitModalTest, EndingTheDialogInTheDirectInitDialogShowsNothing) {
  HWND dialog = Dialog();
  callback_.onMessage = [](HWND window, UINT message, WPARAM, LPARAM) {
    if (message == WM_INITDIALOG) {
      EndDialogWith(window, 5);
    }
  };
  standin::ClearCalls();
  LONG result = 42;
  ShowDialogModal(dialog, Record, &result);
  EXPECT_EQ(result, 42);
  EXPECT_SEQUENCE((Lines{"dialog#1 WM_INITDIALOG(dialog#1, 0)", "dialog#1 WM_SIZE(0, 0)"}),
                  callback_.seen);
  EXPECT_SEQUENCE(Lines{}, standin::CallsTo({"ShowWindow", "PeekMessageA", "EnableWindow"}));
  EXPECT_FALSE(standin::IsAlive(dialog));
}

TEST_F(ToolkitModalTest, AnOwnerIsDisabledWhileTheDialogRunsAndGetsTheFocusBack) {
  HWND owner = Owner();
  for (DWORD idle : {0u, static_cast<DWORD>(DS_NOIDLEMSG)}) {
    SCOPED_TRACE(idle);
    HWND dialog = Dialog("", 0x80C000C0 | idle, owner);
    std::string name = standin::NameOf(dialog);
    Lines enabled;
    callback_.onMessage = [&](HWND, UINT message, WPARAM, LPARAM) {
      if (message == WM_INITDIALOG || message == WM_SHOWWINDOW || message == WM_DESTROY) {
        enabled.push_back(standin::MessageName(message) +
                          (standin::IsEnabled(owner) ? " owner enabled" : " owner disabled"));
      }
    };
    EndWhenIdle(dialog, 1);
    standin::ClearCalls();
    LONG result = 0;
    ShowDialogModal(dialog, Record, &result);

    Lines expected = {"SendMessageA(window#1, WM_CANCELMODE, 0, 0)", "EnableWindow(window#1, 0)",
                      "ShowWindow(" + name + ", 5)"};
    if (idle == 0) {
      expected.push_back("SendMessageA(window#1, WM_ENTERIDLE, 0, " + name + ")");
    }
    for (const char* line : {"SendMessageA(@, WM_CLOSE, 0, 0)", "EnableWindow(window#1, 1)",
                             "DestroyWindow(@)", "SetFocus(window#1)"}) {
      std::string text = line;
      size_t at = text.find('@');
      expected.push_back(at == std::string::npos ? text : text.replace(at, 1, name));
    }
    EXPECT_SEQUENCE(expected, Only(standin::CallsTo({"SendMessageA", "EnableWindow", "ShowWindow",
                                                     "DestroyWindow", "SetFocus"}),
                                   {"window#1", "ShowWindow", "DestroyWindow", "WM_CLOSE"}));
    EXPECT_SEQUENCE((Lines{"WM_INITDIALOG owner enabled", "WM_SHOWWINDOW owner disabled",
                           "WM_DESTROY owner enabled"}),
                    enabled);
    EXPECT_EQ(GetFocus(), owner);
    callback_.seen.clear();
  }
  DestroyWindow(owner);
}

TEST_F(ToolkitModalTest, WhenTheDialogCannotBeDestroyedTheOwnerIsDisabledAgainAndTheLoopGoesOn) {
  HWND owner = Owner();
  HWND dialog = Dialog("", 0x80C001C0, owner);
  standin::FailDestroyWindow(dialog, true);
  Lines calls;
  bool ownerEnabled = true;
  standin::WhenIdle([&] {
    standin::ClearCalls();
    EndDialogWith(dialog, 4);
    calls = standin::CallsTo({"SendMessageA", "EnableWindow", "DestroyWindow"});
    ownerEnabled = standin::IsEnabled(owner);
  });
  LONG kept = 0;
  standin::WhenIdle([&] {
    kept = FindRecord(dialog) != nullptr ? *FindRecord(dialog)->resultLocation : -1;
    // Once the owner is enabled by someone else, a failed ending leaves it so.
    EnableWindow(owner, TRUE);
    EndDialogWith(dialog, 5);
    EXPECT_TRUE(standin::IsEnabled(owner));
    standin::FailDestroyWindow(dialog, false);
  });
  EndWhenIdle(dialog, 6);
  LONG result = 0;
  ShowDialogModal(dialog, Record, &result);

  EXPECT_SEQUENCE((Lines{"SendMessageA(dialog#1, WM_CLOSE, 0, 0)", "EnableWindow(window#1, 1)",
                         "DestroyWindow(dialog#1)", "EnableWindow(window#1, 0)"}),
                  calls);
  EXPECT_FALSE(ownerEnabled);
  EXPECT_EQ(kept, 4) << "the result is stored before the destruction is tried";
  EXPECT_EQ(result, 6);
  DestroyWindow(owner);
}

// Without a loop of its own: shown and repainted at once, the owner left alone; the
// caller's loop runs it.
TEST_F(ToolkitModalTest, AModelessDialogIsShownAndRepaintedWithoutALoop) {
  HWND owner = Owner();
  HWND dialog = Dialog("", 0, owner);
  HWND label = Label(dialog, 1002);
  SetShowCommand(dialog, SW_SHOWMAXIMIZED);
  SetShowCommand(dialog, 4);  // any other command shows it plainly
  SetShowCommand(label, SW_HIDE);
  standin::ClearCalls();
  ShowDialogModeless(dialog, Record);
  EXPECT_SEQUENCE((Lines{"ShowWindow(dialog#1, 5)", "RedrawWindow(dialog#1, NULL, NULL, 0x185)"}),
                  standin::CallsTo({"ShowWindow", "RedrawWindow", "EnableWindow", "PeekMessageA"}));
  EXPECT_TRUE(standin::IsEnabled(owner));
  EXPECT_FALSE(standin::IsShown(label));
  SetShowCommand(dialog, SW_HIDE);
  EXPECT_FALSE(standin::IsShown(dialog)) << "a shown dialog is hidden at once";
  SendMessageA(dialog, WM_USER + 7, 0, 0);
  EXPECT_SEQUENCE((Lines{"dialog#1 WM_INITDIALOG(dialog#1, 0)", "dialog#1 WM_USER+7(0, 0)"}),
                  Only(callback_.seen, {"WM_INITDIALOG", "WM_USER"}));
  DestroyWindow(owner);
}

// A control's own callback: a second recorder, writing into the same list.
INT_PTR OwnCallback(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  callback->seen.push_back("control: " + standin::MessageLine(window, message, wParam, lParam));
  return message == WM_HSCROLL ? 0 : 1;
}

TEST_F(ToolkitModalTest, AControlsOwnCallbackComesFirstForCommandsAndScrolling) {
  HWND dialog = Dialog();
  HWND button = Button(dialog, 1001, 0, OwnCallback);
  HWND bar =
      AddControl(kScrollBar, dialog, 1002, "", nullptr, 0, 5, 50, 80, 10, 0, 0, OwnCallback, "");
  Button(dialog, 1003);  // no callback of its own
  standin::WhenIdle([&] {
    callback_.seen.clear();
    standin::Click(button);
  });
  standin::WhenIdle([&] {
    SendMessageA(dialog, WM_HSCROLL, kLineDown, reinterpret_cast<LPARAM>(bar));
    SendMessageA(dialog, WM_VSCROLL, kLineDown, reinterpret_cast<LPARAM>(bar));
    SendMessageA(dialog, WM_COMMAND, 1003, 0);
    SendMessageA(dialog, WM_COMMAND, 1999, 0);
  });
  EndWhenIdle(dialog, 0);
  LONG result = 0;
  ShowDialogModal(dialog, Record, &result);
  EXPECT_SEQUENCE((Lines{"control: dialog#1 WM_COMMAND(1001, BUTTON#1001)",
                         "control: dialog#1 WM_HSCROLL(1, SCROLLBAR#1002)",
                         "dialog#1 WM_HSCROLL(1, SCROLLBAR#1002)",
                         "control: dialog#1 WM_VSCROLL(1, SCROLLBAR#1002)",
                         "dialog#1 WM_COMMAND(1003, 0)", "dialog#1 WM_COMMAND(1999, 0)"}),
                  Only(callback_.seen, {"WM_COMMAND", "SCROLL"}));
}

// A message sent from another thread may destroy the dialog while PeekMessageA looks at
// the queue; here the idle moment does it, and nothing is queued afterwards.
TEST_F(ToolkitModalTest, TheLoopEndsWhenTheDialogIsGoneAndTheQueueEmpty) {
  HWND dialog = Dialog();
  standin::WhenIdle([&] {
    DestroyWindow(dialog);
    standin::PumpMessages();
    MSG left;
    ASSERT_FALSE(PeekMessageA(&left, nullptr, 0, 0, PM_NOREMOVE));
    standin::ClearCalls();
  });
  // Only a loop that napped on would need this to get out.
  standin::WhenIdle([] { PostMessageA(nullptr, WM_NULL, 0, 0); });
  LONG result = 42;
  ShowDialogModal(dialog, Record, &result);
  EXPECT_SEQUENCE((Lines{kPeek, "IsWindow(dialog#1)"}), standin::Calls());
  EXPECT_EQ(standin::PendingIdleActions(), 1u);
  EXPECT_EQ(result, 42);
}

// Once shown, a dialog counts as shown for good: hidden again, it reappears at the next
// show command instead of keeping it for a showing that has already happened.
TEST_F(ToolkitModalTest, ADialogShownAndHiddenAgainIsShownAtOnce) {
  HWND dialog = Dialog();
  ShowDialogModeless(dialog, Record);
  SetShowCommand(dialog, SW_HIDE);
  ASSERT_FALSE(standin::IsShown(dialog));
  standin::ClearCalls();
  SetShowCommand(dialog, SW_SHOWNORMAL);
  EXPECT_SEQUENCE(Lines{"ShowWindow(dialog#1, 1)"}, standin::CallsTo({"ShowWindow"}));
  EXPECT_TRUE(standin::IsShown(dialog));
  DestroyWindow(dialog);
}

}  // namespace
}  // namespace toolkit_test
