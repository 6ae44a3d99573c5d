// The stand-in's side of the toolkit checks that run in both rings (tests/shared/ring.h).
#include "dialogs/modal.h"
#include "ring.h"
#include "runtime/startup.h"
#include "runtime/thread_record.h"
#include "sequence.h"
#include "standin.h"
#include "standin_windows.h"

namespace ring {

void ToolkitCheck::SetUp() {
  standin::Reset();
  standin::AddIconResource(standin::ProgramModule(), kIcon, {32});
  standin::AddBitmapResource(standin::ProgramModule(), kBitmap, 16, 16);
  ResetWindowRegistry();
  RecordProgramInstance(standin::ProgramModule());
  ASSERT_TRUE(OpenThreadSlot());
}

void ToolkitCheck::TearDown() {
  CloseThreadSlot();
  EXPECT_SEQUENCE(std::vector<std::string>{}, standin::LiveObjects());
  EXPECT_SEQUENCE(std::vector<std::string>{}, standin::Faults());
}

// A run that would hang is reported by the stand-in, which ends it (hang_report.cpp).
void ShowModal(HWND dialog, DialogCallback callback, LONG* result) {
  ShowDialogModal(dialog, callback, result);
}

}  // namespace ring
