// What the toolkit checks share that run in both rings (both_rings_test.cpp, on the
// stand-in in the host build and on Wine) or on Wine alone (tests/wine): a fixture, a modal
// run that records what its callback sees, and helpers that read windows through Win32.
// tests/host/ring_standin.cpp and tests/wine/ring_win32.cpp give the parts that differ.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "dialogs/construction.h"
#include "dialogs/registry.h"
#include "message_table.h"
#include "platform.h"

namespace ring {

// The program's own icon group (one 32 x 32 image) and bitmap (16 x 16), and a group that
// does not exist (toolkit_wine_test.rc; the stand-in lays out the same).
constexpr char kIcon[] = "#201";
constexpr char kBitmap[] = "#202";
constexpr char kMissingIcon[] = "#299";

// Each check starts as setup.exe does after start-up: the thread slot open and the
// program's module recorded as the one dialogs, controls and icons come from. At the end
// the slot is closed; on the stand-in nothing may be left alive or misused.
class ToolkitCheck : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
};

// ShowDialogModal; on Wine a run that has not ended after 10 s is ended with a failure,
// message boxes first, so that one broken check does not stop the whole program.
void ShowModal(HWND dialog, DialogCallback callback, LONG* result);

// One modal run: every call of its callback as a row, and what the callback does with
// each message (0 for all when none is given).
struct ModalRun {
  HWND dialog = nullptr;
  LONG result = 77;
  std::vector<messages::Row> calls;
  std::function<INT_PTR(HWND, UINT, WPARAM, LPARAM)> onMessage;
};
void RunModal(ModalRun* run);

inline std::string Hex(unsigned long value) {
  char text[16];
  std::snprintf(text, sizeof(text), "0x%lX", value);
  return text;
}

inline std::string WindowText(HWND window) {
  std::string text(static_cast<size_t>(GetWindowTextLengthA(window)) + 1, '\0');
  text.resize(static_cast<size_t>(GetWindowTextA(window, &text[0], static_cast<int>(text.size()))));
  return text;
}

inline HWND Add(int kind, HWND dialog, LONG id, const char* text, LONG x, LONG y, LONG width,
                LONG height, DWORD style = 0) {
  return AddControl(kind, dialog, id, text, nullptr, 0, x, y, width, height, style, 0, nullptr,
                    nullptr);
}

// A dialog of the wizard's styles, centred, in dialog units.
inline HWND WizardLikeDialog(const char* caption, LONG width = 200, LONG height = 100) {
  return NewDialog(kDialogUnitsMode, nullptr, caption, kNoPosition, kNoPosition, width, height,
                   0x94C80AD4, 0x10100);
}

// "W x H" of an icon's image, or "(no icon)".
inline std::string IconSize(HICON icon) {
  ICONINFO info{};
  if (!GetIconInfo(icon, &info)) {
    return "(no icon)";
  }
  BITMAP bitmap{};
  GetObjectA(info.hbmColor != nullptr ? info.hbmColor : info.hbmMask, sizeof(bitmap), &bitmap);
  DeleteObject(info.hbmColor);
  DeleteObject(info.hbmMask);
  return std::to_string(bitmap.bmWidth) + " x " + std::to_string(bitmap.bmHeight);
}

}  // namespace ring
