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
#include "wizard_table.h"

namespace wizard_test {

using wizard_table::kSteps;

HWND Window();
HWND Control(LONG id);

// A step label's font as a person tells it: "bold", "normal" or "label font" (the window's
// own, which the labels have before their step first changes them); what a label shows in
// a state.
std::string FontName(HFONT font);
std::string FontIn(const wizard_table::ControlRow& label, int state);

// What a person sees of the window: each control enabled or not, the step labels' fonts
// (bold, normal, or the window's own label font) and the message text; the keyboard focus
// while the window is the active one.
std::vector<std::string> WindowSeen();
// The same for state S0 to S3, from the table in wizard_table.h, with the focus on the
// given control (0: the window is not the active one).
std::vector<std::string> WindowIn(int state, LONG focus);
// Those, and the steps counted; the focus where the state puts it.
std::vector<std::string> State();
std::vector<std::string> ExpectedState(int state, bool active = true);

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
  void Press(LONG id);
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
