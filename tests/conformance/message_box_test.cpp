// Message boxes: the button pressed is the answer; an owned box disables its owner while
// it is open and gives activation back; an unowned one leaves every window enabled and
// its loop goes on handling the thread's messages.
#include "conformance.h"

namespace conformance {
namespace {

using MessageBoxes = Check;

TEST_F(MessageBoxes, AnOwnedBoxDisablesItsOwnerWhileOpenAndGivesActivationBack) {
  HWND owner = MakeOwner();
  harness::WaitUntilIdle();
  bool ownerEnabled = true;
  std::string caption;
  int answer = 0;
  {
    harness::BoxAnswer yes("Warning", IDYES, [&](HWND box) {
      ownerEnabled = IsWindowEnabled(owner) != FALSE;
      caption = TextOf(box);
    });
    answer = MessageBoxA(owner, "Quit?", "Warning", MB_YESNO | MB_DEFBUTTON2);
  }
  EXPECT_EQ(answer, IDYES);
  EXPECT_FALSE(ownerEnabled);
  EXPECT_EQ(caption, "Warning");
  EXPECT_TRUE(IsWindowEnabled(owner));
  EXPECT_EQ(GetActiveWindow(), owner) << "the owner is active again";
  DestroyWindow(owner);
}

TEST_F(MessageBoxes, AnUnownedBoxLeavesTheProgramWorkingAndClosedGivesCancel) {
  HWND dialog = MakeShownDialog(TwoButtons());
  bool dialogEnabled = false;
  bool boxOpen = false;
  bool handledWhileOpen = false;
  TheJournal().onMessage = [&](HWND, UINT message, WPARAM, LPARAM) {
    if (message == WM_APP + 1) {
      handledWhileOpen = boxOpen;
    }
  };
  int answer = -1;
  {
    harness::BoxAnswer closed("Outer", 0, [&](HWND) {
      dialogEnabled = IsWindowEnabled(dialog) != FALSE;
      PostMessageA(dialog, WM_APP + 1, 0, 0);  // taken by the box's loop before its close
    });
    boxOpen = true;
    answer = MessageBoxA(nullptr, "Quit?", "Outer", MB_YESNO);
    boxOpen = false;
  }
  EXPECT_TRUE(dialogEnabled);
  EXPECT_EQ(answer, IDCANCEL) << "closed without a button";
  EXPECT_TRUE(handledWhileOpen) << "the box's own loop handed the dialog its message";
  {
    harness::BoxAnswer ok("Plain", IDOK);
    EXPECT_EQ(MessageBoxA(nullptr, "Done.", "Plain", MB_OK), IDOK);
  }
  DestroyWindow(dialog);
}

}  // namespace
}  // namespace conformance
