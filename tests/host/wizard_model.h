// A small model of what a person sees while using the wizard, written from the program's
// rules rather than from its code: the window's four states, the quit question and the
// warning box, the working directory and the installers started. Random tests give the
// program and the model the same input and compare what each shows after every event.
#pragma once

#include <array>
#include <deque>
#include <set>
#include <string>
#include <vector>

#include "platform.h"

namespace wizard_model {

// What one step's installer does on the medium.
enum class Installer { kEndsAtOnce, kRunsAWhile, kMissingFolder, kMissingProgram, kNotAProgram };

// Input a person gives.
enum class Input { kClick, kCloseBox, kMenuClose, kAltF4, kEsc };
struct Action {
  Input input;
  int id = 0;  // the control clicked
};

class Model {
 public:
  // medium: the working directory at start. underBox: the controls whose middle a
  // message box covers while it lies above the window.
  Model(std::string medium, std::array<Installer, 3> installers, std::set<int> underBox);

  // Input given while the window's loop or a box's loop runs: handled at once.
  void Give(Action action);
  // The innermost box closes with this button (0: closed without one).
  void Answer(int button);
  void InstallerEnds();

  enum class Where { kIdle, kQuestion, kWarning, kInstaller, kEnded };
  Where Now() const;
  bool WindowOpen() const { return open_; }
  bool ButtonEnabled(int id) const;

  // Window (enabled or not, each control, the focus while it is active; or closed), steps,
  // working directory, installers started, open boxes innermost last, the active window,
  // what is waited on.
  std::vector<std::string> Lines() const;

 private:
  struct Frame {
    Where kind;  // kQuestion, kWarning or kInstaller
    int step;    // the warning's or installer's step
  };
  struct Launch {
    std::string line;
    bool running;
  };

  void Take(const Action& action);
  void Command(int id);
  void Step(int step, bool install);
  void FinishStep(int step);
  void OpenBox(Where kind, int step);
  void Pump();
  void Raise(int window);
  bool Enabled() const;  // no warning box open
  int Depth() const;     // open boxes
  std::string Folder(int step) const;
  std::string Program(int step) const;

  std::string medium_;
  std::array<Installer, 3> installers_;
  std::set<int> underBox_;

  bool open_ = true;  // the window exists
  int shown_ = 0;     // the state the window shows, S0 to S3
  LONG focus_;        // the control with the window's keyboard focus
  int steps_ = 0;
  std::string directory_;
  std::vector<Launch> launches_;
  std::vector<Frame> frames_;   // boxes open and installers waited for, innermost last
  std::vector<int> zOrder_;     // front first: 0 the window, n the box at depth n
  std::deque<Action> pending_;  // input given, not yet taken
};

}  // namespace wizard_model
