// What a check that runs in both rings (the host build on the stand-in, and Wine) asks of
// the ring it runs in. tests/host/ring_standin.cpp and tests/wine/ring_win32.cpp each
// give these; the checks themselves are written once, in both_rings_test.cpp.
#pragma once

#include <gtest/gtest.h>

#include <vector>

#include "dialogs/registry.h"
#include "message_table.h"
#include "platform.h"

namespace ring {

// Each toolkit check starts as setup.exe does after start-up: the thread slot open and the
// program's module recorded as the one dialogs, controls and icons come from. At the end
// the slot is closed; on the stand-in nothing may be left alive or misused.
class ToolkitCheck : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
};

// ShowDialogModal, in a ring that ends a run that hangs (on Wine after 10 s) with a failure.
void RunModal(HWND dialog, DialogCallback callback, LONG* result);

// The ring's own checks after a modal run whose callback saw these rows (its two direct
// calls first): on the stand-in, that every message delivered to the dialog reached the
// callback but activation, and that the loop left at its first look after the dialog had
// gone. Nothing on Wine, which has no record of deliveries.
void AfterModalRun(HWND dialog, const std::vector<messages::Row>& seen);

}  // namespace ring
