// The harness on the stand-in: a fresh machine for every check, input scripted into its
// queue, its virtual clock, message boxes answered by script, and files laid out in its
// file system.
#include <gtest/gtest.h>

#include "harness.h"
#include "standin.h"
#include "standin_windows.h"

namespace harness {

bool OnStandIn() {
  return true;
}

void Begin() {
  standin::Reset();
  HMODULE module = standin::ProgramModule();
  for (const char* icon : {"#104", "ALPHA", "ZETA", "#7"}) {
    standin::AddIconResource(module, icon, {32});
  }
  standin::AddBitmapResource(module, "LOGO", 40, 20);
  standin::AddFolder(Folder());
}

// What a check misuses on purpose (bad input) the stand-in notes as faults; here only
// what it left behind counts.
void End() {
  EXPECT_EQ(standin::LiveObjects(), std::vector<std::string>{}) << "left behind by the check";
}

HINSTANCE Module() {
  return standin::ProgramModule();
}

void Click(HWND window) {
  standin::Click(window);
}

void PressKey(BYTE key, bool shift) {
  standin::PressKey(key, shift);
}

void PressAltF4() {
  standin::PressAltF4();
}

void ClickCloseBox(HWND window) {
  standin::ClickCloseBox(window);
}

void ChooseSystemMenuClose(HWND window) {
  standin::ChooseSystemMenuClose(window);
}

void SendFromOtherThread(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  standin::SendFromOtherThread(window, message, wParam, lParam);
}

DWORD Now() {
  return GetTickCount();
}

BoxAnswer::BoxAnswer(const std::string& caption, int button,
                     const std::function<void(HWND box)>& whileOpen) {
  standin::AnswerMessageBoxes([caption, button, whileOpen](const standin::MessageBox& box) {
    EXPECT_EQ(box.caption, caption) << "another box than the one expected";
    if (whileOpen) {
      whileOpen(box.window);
    }
    return button;
  });
}

BoxAnswer::~BoxAnswer() {
  standin::AnswerMessageBoxes(nullptr);
}

std::string Folder() {
  return "C:\\Checks";
}

void MakeFolder(const std::string& path) {
  standin::AddFolder(Folder() + "\\" + path);
}

void MakeProgram(const std::string& path) {
  standin::AddProgram(Folder() + "\\" + path);
}

void MakeFile(const std::string& path) {
  // A file that is no program: what the platform answers when it is started.
  standin::AddProgram(Folder() + "\\" + path, {.failWith = ERROR_BAD_EXE_FORMAT});
}

}  // namespace harness
