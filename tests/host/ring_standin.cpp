// The stand-in's side of the checks that run in both rings (tests/shared/ring.h).
#include <algorithm>
#include <string>

#include "dialogs/modal.h"
#include "ring.h"
#include "runtime/startup.h"
#include "runtime/thread_record.h"
#include "sequence.h"
#include "standin.h"
#include "standin_windows.h"

namespace ring {
namespace {

std::vector<std::string> loopEnd;  // the loop's last calls in the latest modal run

}  // namespace

void ToolkitCheck::SetUp() {
  standin::Reset();
  ResetWindowRegistry();
  RecordProgramInstance(standin::ProgramModule());
  ASSERT_TRUE(OpenThreadSlot());
}

void ToolkitCheck::TearDown() {
  CloseThreadSlot();
  EXPECT_SEQUENCE(std::vector<std::string>{}, standin::LiveObjects());
  EXPECT_SEQUENCE(std::vector<std::string>{}, standin::Faults());
}

void RunModal(HWND dialog, DialogCallback callback, LONG* result) {
  standin::ClearDeliveries();
  ShowDialogModal(dialog, callback, result);
  loopEnd = standin::CallsTo({"DestroyWindow", "PeekMessageA", "IsWindow", "Sleep"});
  loopEnd.erase(loopEnd.begin(), loopEnd.end() - std::min<std::ptrdiff_t>(2, loopEnd.size()));
}

void AfterModalRun(HWND dialog, const std::vector<messages::Row>& seen) {
  std::vector<std::string> delivered;
  for (const std::string& line : standin::DeliveryLines(dialog)) {
    if (line.find(" WM_ACTIVATE(") == std::string::npos) {
      delivered.push_back(line);
    }
  }
  std::vector<std::string> reached;
  for (size_t i = 2; i < seen.size(); ++i) {  // after the two direct calls
    reached.push_back(
        standin::MessageLine(dialog, seen[i].message, seen[i].wParam, seen[i].lParam));
  }
  EXPECT_SEQUENCE(delivered, reached) << "every message delivered reached the callback";
  std::string name = standin::NameOf(dialog);
  EXPECT_SEQUENCE(
      (std::vector<std::string>{"DestroyWindow(" + name + ")", "IsWindow(" + name + ")"}), loopEnd)
      << "the loop left at its first look after the dialog had gone";
}

}  // namespace ring
