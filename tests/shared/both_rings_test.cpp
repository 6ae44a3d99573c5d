// Checks that hold on the stand-in and on Wine alike, written once and built into the host
// tests and the Wine tests, each with its ring's adapter (ring.h): a modal run as the
// callback sees it, and the floating-point unit around a guarded platform call.
#include "dialogs/construction.h"
#include "dialogs/modal.h"
#include "ring.h"
#include "runtime/error_state.h"
#include "runtime/fpu.h"
#include "sequence_table.h"

namespace {

// The one modal run under way: what its callback saw and what it does.
struct ModalRun {
  HWND button = nullptr;
  WPARAM endCommand = 0;
  std::vector<messages::Row> rows;
  std::vector<std::string> ending;  // how WM_DESTROY and WM_NCDESTROY found the run
  LONG result = 77;
  bool insideEnd = false;
};
ModalRun* run = nullptr;

// Its first WM_SIZE posts the button's command, on which it ends the dialog; activation
// must never reach it.
INT_PTR EndsOnItsButton(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  run->rows.push_back(messages::Seen(dialog, message, wParam, lParam));
  if (message == WM_SIZE && run->rows.size() == 2) {
    PostMessageA(dialog, WM_COMMAND, run->endCommand, reinterpret_cast<LPARAM>(run->button));
  } else if (message == WM_COMMAND && wParam == run->endCommand) {
    run->insideEnd = true;
    EndDialogWith(dialog, 1234);
    run->insideEnd = false;
  } else if (message == WM_DESTROY || message == WM_NCDESTROY) {
    run->ending.push_back(messages::MessageName(message) +
                          (run->insideEnd ? " inside" : " outside") + " EndDialogWith, result " +
                          std::to_string(run->result));
  }
  return 0;
}

using ToolkitInBothRings = ring::ToolkitCheck;

TEST_F(ToolkitInBothRings, TheCallbackSeesAModalRunFromTheDirectCallsToTheDestruction) {
  HWND dialog = NewDialog(kDialogUnitsMode, nullptr, "Toolkit sequence", kNoPosition, kNoPosition,
                          200, 100, 0x94C80AD4, 0x10100);
  ASSERT_NE(dialog, nullptr);
  ModalRun r;
  run = &r;
  r.button = AddControl(kPushButton, dialog, 1001, "End", nullptr, 0, 10, 70, 50, 14, 0, 0, nullptr,
                        nullptr);
  AddControl(kLabel, dialog, 1002, "Label", nullptr, 0, 10, 10, 100, 10, 0, 0, nullptr, nullptr);
  r.endCommand = static_cast<WPARAM>(MAKEWPARAM(1001, BN_CLICKED));
  RECT client{};
  GetClientRect(dialog, &client);

  ring::RunModal(dialog, EndsOnItsButton, &r.result);
  run = nullptr;

  // What the toolkit causes and acts on, with the platform's own traffic (painting,
  // activation, the focus) described once in the shared table.
  EXPECT_MESSAGES(messages::ModalRunEndedByItsButton(
                      dialog, r.button, MAKELPARAM(client.right, client.bottom), r.endCommand),
                  r.rows);
  EXPECT_SEQUENCE((std::vector<std::string>{"WM_DESTROY inside EndDialogWith, result 1234",
                                            "WM_NCDESTROY inside EndDialogWith, result 1234"}),
                  r.ending);
  EXPECT_EQ(r.result, 1234);
  EXPECT_EQ(FindRecord(dialog), nullptr);
  EXPECT_EQ(FindRecord(r.button), nullptr);
  ring::AfterModalRun(dialog, r.rows);
  EXPECT_FALSE(IsWindow(dialog));
}

TEST(GuardInBothRings, TheCallRunsInTheUnitsDefaultStateAndTheProgramsStateComesBack) {
  WORD original = FpuControlWord();
  SetFpuControlWord(kProgramFpuControlWord);
  WORD programs = FpuControlWord();  // the unit reads its reserved bit 6 back as 1
  SystemCallVerdict verdict;
  WORD inside = GuardedSystemCall(
      [] {
        WORD word = FpuControlWord();
        SetFpuControlWord(0x0C7F);  // a platform call that changes the unit's setting
        return word;
      },
      &verdict);
  WORD after = FpuControlWord();
  SetFpuControlWord(original);
  EXPECT_EQ(inside, 0x037F) << "the unit's initial control word";
  EXPECT_EQ(after, programs);
  EXPECT_EQ(programs & ~0x0040, kProgramFpuControlWord);
}

}  // namespace
