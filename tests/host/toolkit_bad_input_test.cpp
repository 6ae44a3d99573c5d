// What callers can get wrong: identifiers that name no control, windows the toolkit never
// built or that are gone, empty and very long texts, a control taken for a dialog. No
// crash, nothing left behind, and nothing changes where nothing should.
#include <string>

#include "dialogs/control_extras.h"
#include "dialogs/controls.h"
#include "dialogs/message_box.h"
#include "dialogs/modal.h"
#include "toolkit_fixture.h"

namespace toolkit_test {
namespace {

using ToolkitBadInputTest = ToolkitTest;

TEST_F(ToolkitBadInputTest, AnIdentifierThatNamesNoControlChangesNothing) {
  HWND dialog = Dialog();
  HWND label = Label(dialog, 1002);
  standin::ClearCalls();

  EXPECT_EQ(ControlHandle(dialog, 999), nullptr);
  EnableControl(dialog, 999, 0);
  SetControlText(dialog, 999, "text");
  SetControlColor(dialog, 999, 0x0000FF, 0x00FF00);
  EXPECT_SEQUENCE((Lines{"GetDlgItem(dialog#1, 999)", "GetDlgItem(dialog#1, 999)",
                         "EnableWindow(NULL, 0)", "GetDlgItem(dialog#1, 999)",
                         "SetWindowTextA(NULL, \"text\")", "GetDlgItem(dialog#1, 999)"}),
                  standin::Calls());
  EXPECT_EQ(FindRecord(dialog)->background, -3) << "not even the dialog's own colours";
  EXPECT_EQ(FindRecord(dialog)->foreground, -3);

  char buffer[8] = "old";
  EXPECT_EQ(ReadWindowText(dialog, 999, buffer, sizeof buffer), 0u);
  EXPECT_STREQ(buffer, "");
  EXPECT_EQ(ReadListSelection(dialog, 999, buffer, sizeof buffer), 0u);
  EXPECT_EQ(CallerValue(dialog, 999, 1), 0);
  SetCallerValue(dialog, 999, 1, 5);
  SetControlImage(dialog, 999, "none");
  SetControlCallback(dialog, 999, Record);
  RemoveControl(dialog, 999);
  EXPECT_TRUE(standin::IsAlive(label));
  EXPECT_EQ(standin::TextOf(label), "label");
  EXPECT_TRUE(standin::IsEnabled(label));
  DestroyWindow(dialog);
}

TEST_F(ToolkitBadInputTest, AGoneDialogGetsNoControlsIconsOrColours) {
  standin::AddIconResource(standin::ProgramModule(), "#104");
  HWND dialog = Dialog();
  DestroyWindow(dialog);
  standin::ClearCalls();

  EXPECT_EQ(AddControl(kLabel, dialog, 1, "x", nullptr, 0, 0, 0, 5, 5, 0, 0, nullptr, ""), nullptr);
  SetDialogIcon(dialog, "#104");
  SetControlColor(dialog, kDialogItself, 0, 0x00FF00);
  EXPECT_EQ(FindRecord(dialog), nullptr);
  EXPECT_SEQUENCE(Lines{}, standin::CallsTo({"CreateWindowExA", "LoadImageA", "CreateSolidBrush",
                                             "GlobalAlloc"}));

  // Run anyway: the callback gets its two direct calls, and that is all.
  LONG result = 42;
  ShowDialogModal(dialog, Record, &result);
  EndDialogWith(dialog, 3);
  EXPECT_EQ(result, 42);
  EXPECT_SEQUENCE((Lines{"dialog#1 WM_INITDIALOG(dialog#1, 0)", "dialog#1 WM_SIZE(0, 0)"}),
                  callback_.seen);
  EXPECT_SEQUENCE(Lines{}, standin::CallsTo({"ShowWindow", "PeekMessageA"}));

  // A value that never was a window at all.
  auto* never = reinterpret_cast<HWND>(0x1234);
  standin::ClearCalls();
  EXPECT_EQ(AddControl(kLabel, never, 1, "x", nullptr, 0, 0, 0, 5, 5, 0, 0, nullptr, ""), nullptr);
  SetDialogIcon(never, "#104");
  SetControlColor(never, 1, 0, 0);
  RedrawControl(never);
  DiscardRecord(never);
  EXPECT_SEQUENCE(Lines{}, standin::CallsTo({"CreateWindowExA", "LoadImageA", "CreateSolidBrush",
                                             "GlobalAlloc", "GlobalFree"}));
}

// A window of the caller's own: the toolkit runs none of its rules on it, but the calls
// it makes to the platform still happen.
TEST_F(ToolkitBadInputTest, AWindowTheToolkitNeverBuiltIsNoDialog) {
  HWND owner = Owner();
  LONG result = 42;
  ShowDialogModal(owner, Record, &result);
  RECT client = standin::ClientRectOf(owner);
  EXPECT_SEQUENCE((Lines{"window#1 WM_INITDIALOG(window#1, 0)",
                         standin::MessageLine(
                             owner, WM_SIZE, SIZE_RESTORED,
                             MAKELPARAM(client.right - client.left, client.bottom - client.top))}),
                  callback_.seen);
  EXPECT_EQ(AddControl(kPushButton, owner, 1, "x", nullptr, 0, 0, 0, 5, 5, 0, 0, nullptr, ""),
            nullptr);
  EXPECT_TRUE(standin::ChildrenOf(owner).empty());

  standin::ClearCalls();
  EndDialogWith(owner, 3);
  EXPECT_EQ(result, 42);
  EXPECT_FALSE(standin::IsAlive(owner));
  EXPECT_SEQUENCE(
      (Lines{"SendMessageA(window#1, WM_CLOSE, 0, 0)",
             "GetWindowLongPtrA(window#1, GWLP_HWNDPARENT)", "DestroyWindow(window#1)"}),
      standin::CallsTo({"SendMessageA", "GetWindowLongPtrA", "DestroyWindow"}));
}

TEST_F(ToolkitBadInputTest, AControlIsNoDialog) {
  standin::AddIconResource(standin::ProgramModule(), "#104");
  HWND dialog = Dialog();
  HWND button = Button(dialog, 1001);
  standin::ClearCalls();
  EXPECT_EQ(AddControl(kLabel, button, 1, "x", nullptr, 0, 0, 0, 5, 5, 0, 0, nullptr, ""), nullptr);
  SetDialogIcon(button, "#104");
  EXPECT_SEQUENCE(Lines{}, standin::Calls());
  EXPECT_TRUE(standin::ChildrenOf(button).empty());
  DestroyWindow(dialog);
}

TEST_F(ToolkitBadInputTest, EmptyAndVeryLongTexts) {
  const std::string longText(10000, 'w');
  HWND empty = NewDialog(kDialogUnitsMode, nullptr, "", 0, 0, 10, 10, 0, 0);
  HWND none = NewDialog(kDialogUnitsMode, nullptr, nullptr, 0, 0, 10, 10, 0, 0);
  HWND titled = NewDialog(kDialogUnitsMode, nullptr, longText.c_str(), 0, 0, 10, 10, 0, 0);
  EXPECT_EQ(standin::TextOf(empty), "");
  EXPECT_EQ(standin::TextOf(none), "");
  EXPECT_EQ(standin::TextOf(titled), longText);

  HWND label = AddControl(kLabel, titled, 1, longText.c_str(), nullptr, 0, 0, 0, 5, 5, 0, 0,
                          nullptr, nullptr);
  HWND blank = AddControl(kLabel, titled, 2, nullptr, nullptr, 0, 0, 0, 5, 5, 0, 0, nullptr, "");
  EXPECT_EQ(standin::TextOf(label), longText);
  EXPECT_EQ(standin::TextOf(blank), "");
  SetControlText(titled, 2, longText.c_str());
  EXPECT_EQ(standin::TextOf(blank), longText);
  SetControlText(titled, 1, nullptr);
  EXPECT_EQ(standin::TextOf(label), "");
  char buffer[16];
  EXPECT_EQ(ReadWindowText(titled, 2, buffer, sizeof buffer), 15u);
  EXPECT_EQ(std::string(buffer), longText.substr(0, 15));

  SetDialogIcon(titled, "");  // no icon of that name
  EXPECT_EQ(standin::IconOf(titled, ICON_BIG), nullptr);

  standin::AnswerMessageBoxes([](const standin::MessageBox&) { return IDOK; });
  ShowMessageBox(longText.c_str(), MB_OK, longText.c_str());
  ShowMessageBox(nullptr, MB_OK, nullptr);
  ASSERT_EQ(standin::MessageBoxes().size(), 2u);
  EXPECT_EQ(standin::MessageBoxes()[0].text, longText);
  EXPECT_EQ(standin::MessageBoxes()[0].caption, longText);
  EXPECT_EQ(standin::MessageBoxes()[1].text, "");
  EXPECT_EQ(standin::MessageBoxes()[1].caption, "Setup");
  for (HWND dialog : {empty, none, titled}) {
    DestroyWindow(dialog);
  }
}

}  // namespace
}  // namespace toolkit_test
