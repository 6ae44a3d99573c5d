// The real platform's side of the toolkit checks that run in both rings
// (tests/shared/ring.h).
#include <string>

#include "dialogs/modal.h"
#include "ring.h"
#include "runtime/startup.h"
#include "runtime/thread_record.h"

namespace ring {
namespace {

HWND runningDialog = nullptr;

BOOL CALLBACK EndMessageBox(HWND window, LPARAM) {
  char name[16] = "";
  GetClassNameA(window, name, sizeof(name));
  if (window != runningDialog && std::string(name) == "#32770") {
    EndDialog(window, 0);
  }
  return TRUE;
}

void CALLBACK Watchdog(HWND, UINT, UINT_PTR, DWORD) {
  ADD_FAILURE() << "the modal run did not end within 10 s; destroying the dialog";
  EnumThreadWindows(GetCurrentThreadId(), EndMessageBox, 0);
  DestroyWindow(runningDialog);
}

}  // namespace

// As ProcessMain (which a test program does not run) would record it.
void ToolkitCheck::SetUp() {
  ASSERT_TRUE(OpenThreadSlot());
  RecordProgramInstance(GetModuleHandleA(nullptr));
}

void ToolkitCheck::TearDown() {
  CloseThreadSlot();
}

void ShowModal(HWND dialog, DialogCallback callback, LONG* result) {
  runningDialog = dialog;
  UINT_PTR watchdog = SetTimer(nullptr, 0, 10000, Watchdog);
  ShowDialogModal(dialog, callback, result);
  KillTimer(nullptr, watchdog);
  runningDialog = nullptr;
}

}  // namespace ring
