// The message box: the pause before it, its caption and style, failure, its owner, and
// the dialog's callback entered again while a box is open.
#include <string>

#include "dialogs/message_box.h"
#include "dialogs/modal.h"
#include "toolkit_fixture.h"

namespace toolkit_test {
namespace {

using ToolkitMessageBoxTest = ToolkitTest;

TEST_F(ToolkitMessageBoxTest, PausesThenShowsTheBoxWithItsCaptionAndStyleUnchanged) {
  standin::AnswerMessageBoxes([](const standin::MessageBox& box) {
    if ((box.style & 0xF) == MB_OK) {
      return IDOK;
    }
    return box.caption == "Setup" ? IDNO : IDYES;
  });
  DWORD start = standin::Now();
  const std::string longCaption(300, 'c');
  EXPECT_EQ(ShowMessageBox("Quit?\r\nSure?", 0x104, ""), IDNO);
  EXPECT_EQ(ShowMessageBox("Quit?", 0x104, " "), IDYES);
  EXPECT_EQ(ShowMessageBox("", MB_OK | MB_ICONWARNING | MB_SYSTEMMODAL, nullptr), IDOK);
  EXPECT_EQ(ShowMessageBox(nullptr, MB_OK, longCaption.c_str()), IDOK);  // no text at all
  EXPECT_SEQUENCE((Lines{"Sleep(5)", "MessageBoxA(NULL, \"Quit?\\r\\nSure?\", \"Setup\", 0x104)",
                         "Sleep(5)", "MessageBoxA(NULL, \"Quit?\", \" \", 0x104)", "Sleep(5)",
                         "MessageBoxA(NULL, \"\", \"Setup\", 0x1030)", "Sleep(5)",
                         "MessageBoxA(NULL, \"\", \"" + longCaption + "\", 0x0)"}),
                  standin::Calls());
  ASSERT_EQ(standin::MessageBoxes().size(), 4u);
  EXPECT_GE(standin::MessageBoxes()[0].shownAt, start + 5);
  EXPECT_GE(standin::MessageBoxes()[1].shownAt, standin::MessageBoxes()[0].shownAt + 5);
  EXPECT_EQ(standin::MessageBoxes()[0].style, 0x104u);
}

TEST_F(ToolkitMessageBoxTest, GivesZeroWhenThePlatformCannotShowIt) {
  standin::FailMessageBoxes(true);
  EXPECT_EQ(ShowMessageBox("text", MB_YESNO, "caption"), 0);
  EXPECT_EQ(ShowOwnedMessageBox(nullptr, "text", MB_YESNO, ""), 0);
  EXPECT_TRUE(standin::MessageBoxes().empty());
}

TEST_F(ToolkitMessageBoxTest, AnOwnedBoxDisablesItsOwnerAndAnUnownedOneNothing) {
  HWND owner = Owner();
  HWND dialog = Dialog();
  ShowWindow(dialog, SW_SHOW);
  Lines seen;
  standin::AnswerMessageBoxes([&](const standin::MessageBox& box) {
    seen.push_back(standin::NameOf(box.owner) + " " + box.caption +
                   (standin::IsEnabled(owner) ? " owner enabled" : " owner disabled") +
                   (standin::IsEnabled(dialog) ? ", dialog enabled" : ", dialog disabled"));
    return IDOK;
  });
  EXPECT_EQ(ShowOwnedMessageBox(owner, "text", MB_OK, ""), IDOK);
  EXPECT_EQ(ShowMessageBox("text", MB_OK, "free"), IDOK);
  EXPECT_SEQUENCE((Lines{"window#1 Setup owner disabled, dialog enabled",
                         "NULL free owner enabled, dialog enabled"}),
                  seen);
  EXPECT_SEQUENCE((Lines{"Sleep(5)", "MessageBoxA(window#1, \"text\", \"Setup\", 0x0)", "Sleep(5)",
                         "MessageBoxA(NULL, \"text\", \"free\", 0x0)"}),
                  standin::CallsTo({"Sleep", "MessageBoxA"}));
  EXPECT_TRUE(standin::IsEnabled(owner));
  DestroyWindow(dialog);
  DestroyWindow(owner);
}

// While the question is open the dialog still works: a second press asks again, inside
// the first question.
TEST_F(ToolkitMessageBoxTest, TheCallbackIsEnteredAgainWhileABoxIsOpen) {
  HWND dialog = Dialog();
  HWND button = Button(dialog, 1001);
  Lines answers;
  callback_.onMessage = [&](HWND window, UINT message, WPARAM, LPARAM) {
    if (message == WM_COMMAND) {
      int answer = ShowMessageBox("Quit?", 0x104, "Warning");
      answers.push_back(std::to_string(answer));
      if (answer == IDYES) {
        EndDialogWith(window, 2);
      }
    }
  };
  standin::AnswerMessageBoxes([&](const standin::MessageBox& box) {
    if (box.depth == 1) {
      standin::Click(button);
      standin::PumpMessages();
      return IDYES;
    }
    return IDNO;
  });
  standin::WhenIdle([&] { standin::Click(button); });
  LONG result = 0;
  ShowDialogModal(dialog, Record, &result);
  EXPECT_EQ(result, 2);
  EXPECT_SEQUENCE((Lines{"7", "6"}), answers);
  ASSERT_EQ(standin::MessageBoxes().size(), 2u);
  EXPECT_EQ(standin::MessageBoxes()[1].depth, 2);
  EXPECT_EQ(Only(callback_.seen, {"WM_COMMAND"}).size(), 2u);
}

}  // namespace
}  // namespace toolkit_test
