// The whole program run on the stand-in: a medium laid out, scripted input queued with
// Then(), ProcessMain run to its end, and afterwards nothing left alive.
#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "runtime/startup.h"
#include "sequence.h"
#include "standin.h"
#include "standin_windows.h"

namespace wizard_test {

constexpr char kCaption[] = "Quillmark Installer -- USB 2.0 Adapter";
constexpr char kWarningCaption[] = "Installation Warning";
constexpr char kQuitQuestion[] =
    "You have not completed the installation process\r\nAre you sure you want to quit?";
constexpr char kPlugOutWarning[] =
    "\r\nMake sure the USB 2.0 Video Adapter is not connected to the PC\r\n\r\n";
constexpr char kClosingInstructions[] =
    "Windows should find the new hardware and locate the drivers.\r\n\r\nWhen the installation "
    "is completed press the \"Done\" button\r\n\r\nand run the Quillmark program.  ";

struct InstallerInfo {
  const char* folder;
  const char* program;
};
constexpr InstallerInfo kInstallers[3] = {{"DirectX9", "DXSETUP.exe"},
                                          {"Quillmark Install", "QuillmarkInstaller.exe"},
                                          {"Video Driver", "Drenvo.exe"}};
constexpr int kInstallButton[3] = {1002, 1006, 1011};
constexpr int kSkipButton[3] = {1003, 1008, 1012};
constexpr int kDone = 1007;
constexpr int kMessage = 1009;

HWND Window();
HWND Control(int id);

// What a person sees: each control's enabled state, the step labels' fonts (bold,
// normal, or the window's own label font), the message text and the steps counted.
std::vector<std::string> State();
// The same for state S0 to S3, from the program's tables.
std::vector<std::string> ExpectedState(int state);

// "D:\Setup" + "\" + "DirectX9" with the start directory as it stands (E:\ gives E:\\).
std::string Join(const std::string& directory, const std::string& name);

class WizardTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // The medium: the launcher at its root, which is the working directory at start.
  void UseMedium(const std::string& root);
  // The three installers in their folders under the medium's root.
  void AddInstallers(const standin::ProgramScript& script = {});
  void AddInstaller(int step, const standin::ProgramScript& script = {});

  // Input and checks for the next moments in which the window's loop waits for input, in
  // order. (The pause before a message box is an idle moment too, but a person's next
  // click is meant for after the box.)
  void Then(std::function<void()> action);
  void Press(int id);
  void ExpectStateThen(int state);
  // Answers every message box with the given button and keeps what was asked.
  void Answer(int button);

  UINT Run() { return standin::RunProcess(ProcessMain); }

  std::string root_;

 private:
  void Dispatch();

  std::deque<std::function<void()>> script_;
  bool dispatching_ = false;
};

}  // namespace wizard_test
