// A callback may destroy the dialog during any platform call that reaches it. The
// toolkit then holds no pointer to the dialog's records, which are freed by that time
// (AddressSanitizer watches every one), and leaves nothing alive and nothing freed twice.
#include "dialogs/controls.h"
#include "toolkit_fixture.h"

namespace toolkit_test {
namespace {

using ToolkitReentryTest = ToolkitTest;

// An owner window that destroys the dialog it owns when the given message reaches it.
HWND ownedDialog = nullptr;
UINT destroyingMessage = 0;

LRESULT CALLBACK DestroyingOwnerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == destroyingMessage && ownedDialog != nullptr) {
    HWND dialog = ownedDialog;
    ownedDialog = nullptr;
    DestroyWindow(dialog);
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

// The dialog runs without a loop, so that its callback gets every message; at the nth
// `message` after this the callback destroys it.
void DestroyOn(Callback* seen, HWND dialog, UINT message, int nth = 1) {
  ShowDialogModeless(dialog, Record);
  seen->onMessage = [seen, message, nth, count = 0](HWND window, UINT got, WPARAM, LPARAM) mutable {
    if (got == message && ++count == nth) {
      seen->onMessage = nullptr;
      DestroyWindow(window);
    }
  };
}

TEST_F(ToolkitReentryTest, TheOwnerMayEndTheDialogWhenTheModalRunDisablesIt) {
  standin::RegisterWindowClass("DestroyingOwner", DestroyingOwnerProc);
  for (UINT message : {WM_CANCELMODE, WM_ENABLE}) {
    SCOPED_TRACE(standin::MessageName(message));
    HWND owner = CreateWindowExA(0, "DestroyingOwner", "owner", WS_POPUP | WS_VISIBLE, 0, 0, 300,
                                 200, nullptr, nullptr, standin::ProgramModule(), nullptr);
    HWND dialog = Dialog("", 0, owner);
    ownedDialog = dialog;
    destroyingMessage = message;
    LONG result = 9;
    ShowDialogModal(dialog, Record, &result);
    EXPECT_EQ(ownedDialog, nullptr) << "the owner never got the message";
    EXPECT_FALSE(IsWindow(dialog));
    EXPECT_EQ(FindRecord(dialog), nullptr);
    EXPECT_EQ(result, 9);
    DestroyWindow(owner);
  }
}

TEST_F(ToolkitReentryTest, TheCallbackMayEndTheDialogWhileAControlIsAdded) {
  standin::AddIconResource(standin::ProgramModule(), "mark");
  // Creating a control notifies the dialog; a default button is announced to it.
  struct Case {
    UINT message;
    int kind;
    DWORD style;
  };
  for (Case c : {Case{WM_PARENTNOTIFY, kLabel, 0}, Case{DM_SETDEFID, kImageButton, 0x50010001}}) {
    SCOPED_TRACE(standin::MessageName(c.message));
    HWND dialog = Dialog();
    DestroyOn(&callback_, dialog, c.message);
    HWND control = AddControl(c.kind, dialog, 1, "mark", nullptr, 0, 5, 5, 40, 20, c.style, 0,
                              nullptr, nullptr);
    EXPECT_EQ(callback_.onMessage, nullptr) << "the dialog never got the message";
    EXPECT_FALSE(IsWindow(dialog));
    EXPECT_FALSE(IsWindow(control));
    EXPECT_EQ(FindRecord(control), nullptr);
  }
}

TEST_F(ToolkitReentryTest, TheCallbackMayEndTheDialogWhenItGetsItsIcons) {
  standin::AddIconResource(standin::ProgramModule(), "#104");
  for (int nth : {1, 2}) {  // at the big icon, at the small one
    SCOPED_TRACE(nth);
    HWND dialog = Dialog();
    DestroyOn(&callback_, dialog, WM_SETICON, nth);
    SetDialogIcon(dialog, "#104");
    EXPECT_EQ(callback_.onMessage, nullptr) << "the dialog never got the message";
    EXPECT_FALSE(IsWindow(dialog));
    EXPECT_SEQUENCE(Lines{}, standin::LiveObjectsOf("icon"));
  }
}

TEST_F(ToolkitReentryTest, TheCallbackMayEndTheDialogWhileItRepaintsBehindAControl) {
  HWND dialog = Dialog();
  HWND label = Label(dialog, 1);
  SetControlColor(dialog, 1, 0, kTransparentColour);
  // The label repaints first; the dialog's own erasing behind it comes second.
  DestroyOn(&callback_, dialog, WM_ERASEBKGND);
  RedrawControl(label);
  EXPECT_EQ(callback_.onMessage, nullptr) << "the dialog was never erased";
  EXPECT_FALSE(IsWindow(dialog));
}

}  // namespace
}  // namespace toolkit_test
