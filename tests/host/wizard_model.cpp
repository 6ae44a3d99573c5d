#include "wizard_model.h"

#include "dialogs/registry.h"
#include "wizard_fixture.h"

#include <algorithm>
#include <utility>

namespace wizard_model {
namespace {

using wizard_table::FocusIn;
using wizard_table::kControls;
using wizard_table::kSteps;

// The run time's error numbers for a program that cannot be started.
int ErrorNumber(Installer installer) {
  switch (installer) {
    case Installer::kMissingFolder:  // the platform says file not found for both
    case Installer::kMissingProgram:
      return kErrorFileNotFound;
    default:
      return kErrorPathFileAccess;  // not a program the platform can run
  }
}

// One level up; a drive root stays where it is.
std::string Parent(const std::string& path) {
  if (path.size() <= 3) {
    return path;
  }
  size_t cut = path.rfind('\\');
  return cut <= 2 ? path.substr(0, 3) : path.substr(0, cut);
}

const wizard_table::ControlRow& RowOf(int id) {
  return *std::find_if(std::begin(kControls), std::end(kControls),
                       [id](const wizard_table::ControlRow& row) { return row.id == id; });
}

}  // namespace

Model::Model(std::string medium, std::array<Installer, 3> installers, std::set<int> underBox)
    : medium_(std::move(medium)),
      installers_(installers),
      underBox_(std::move(underBox)),
      focus_(FocusIn(0)),
      directory_(medium_),
      zOrder_{0} {}

void Model::Give(Action action) {
  pending_.push_back(action);
  Pump();
}

void Model::Answer(int button) {
  if (Depth() == 0 || frames_.back().kind == Where::kInstaller) {
    return;
  }
  Frame box = frames_.back();
  int depth = Depth();
  frames_.pop_back();
  bool wasActive = zOrder_.front() == depth;
  zOrder_.erase(std::find(zOrder_.begin(), zOrder_.end(), depth));
  // Activation passes to the box's owner, or else to the frontmost window that can take it.
  if (wasActive && box.kind == Where::kWarning && open_) {
    Raise(0);
  } else if (wasActive) {
    for (int window : zOrder_) {
      if (window != 0 || Enabled()) {
        Raise(window);
        break;
      }
    }
  }
  if (box.kind == Where::kQuestion && button == IDYES) {
    open_ = false;
    zOrder_.erase(std::remove(zOrder_.begin(), zOrder_.end(), 0), zOrder_.end());
  } else if (box.kind == Where::kQuestion) {
    focus_ = FocusIn(shown_);  // back on the step in progress
  } else if (box.kind == Where::kWarning) {
    FinishStep(box.step);  // the step counts all the same
  }
  Pump();
}

void Model::InstallerEnds() {
  if (frames_.empty() || frames_.back().kind != Where::kInstaller) {
    return;
  }
  int step = frames_.back().step;
  frames_.pop_back();
  launches_.back().running = false;
  directory_ = medium_;
  FinishStep(step);
  Pump();
}

Model::Where Model::Now() const {
  if (!frames_.empty()) {
    return frames_.back().kind;
  }
  return open_ ? Where::kIdle : Where::kEnded;
}

bool Model::ButtonEnabled(int id) const {
  const wizard_table::ControlRow& row = RowOf(id);
  return row.font == nullptr && id != IDC_MESSAGE && row.enabled[shown_] == 'E';
}

// The loop that runs takes the input in its order; nothing is taken while an installer
// is waited for.
void Model::Pump() {
  while (!pending_.empty() && (frames_.empty() || frames_.back().kind != Where::kInstaller)) {
    Action action = pending_.front();
    pending_.pop_front();
    Take(action);
  }
}

void Model::Take(const Action& action) {
  if (!open_) {
    return;  // clicks find no window; keys go to a box, which ignores them
  }
  bool boxInFront = zOrder_.front() != 0;
  switch (action.input) {
    case Input::kClick:
      if ((boxInFront && underBox_.contains(action.id)) || !Enabled()) {
        return;  // the box gets it, or the disabled window swallows it
      }
      Raise(0);
      if (ButtonEnabled(action.id)) {
        focus_ = action.id;  // a button takes the focus with the click
        Command(action.id);
      }
      return;
    case Input::kCloseBox:
    case Input::kMenuClose:
      if (Enabled()) {
        Raise(0);
        Command(IDC_DONE);
      }
      return;
    case Input::kAltF4:
      if (!boxInFront) {
        Command(IDC_DONE);  // keys go to the active window
      }
      return;
    case Input::kEsc:
      return;  // the window's Cancel command does nothing
  }
}

void Model::Command(int id) {
  for (int step = 1; step <= 3; ++step) {
    if (id == kSteps[step - 1].install || id == kSteps[step - 1].skip) {
      Step(step, id == kSteps[step - 1].install);
      return;
    }
  }
  if (steps_ < 3) {
    OpenBox(Where::kQuestion, 0);
  } else {
    open_ = false;
    zOrder_.erase(std::remove(zOrder_.begin(), zOrder_.end(), 0), zOrder_.end());
  }
}

void Model::Step(int step, bool install) {
  ++steps_;
  if (!install) {
    FinishStep(step);
    return;
  }
  Installer installer = installers_[step - 1];
  if (installer == Installer::kEndsAtOnce || installer == Installer::kRunsAWhile) {
    bool runs = installer == Installer::kRunsAWhile;
    launches_.push_back({"\"" + Program(step) + "\" in " + Folder(step), runs});
    directory_ = Folder(step);
    if (runs) {
      frames_.push_back({Where::kInstaller, step});
      return;  // until it ends
    }
    directory_ = medium_;
    FinishStep(step);
    return;
  }
  directory_ = medium_;  // set back after the failed start
  OpenBox(Where::kWarning, step);
}

void Model::FinishStep(int step) {
  directory_ = Parent(directory_);
  shown_ = step;
  focus_ = FocusIn(step);  // on to the next step's Install, or to Done
}

void Model::OpenBox(Where kind, int step) {
  frames_.push_back({kind, step});
  zOrder_.insert(zOrder_.begin(), Depth());
}

void Model::Raise(int window) {
  if (window == 0 && zOrder_.front() != 0) {
    // Activated again, the window puts the focus on its first enabled button in tab order.
    for (const WizardControl& control : WizardControls) {
      if (control.kind == kPushButton && ButtonEnabled(control.id)) {
        focus_ = control.id;
        break;
      }
    }
  }
  zOrder_.erase(std::find(zOrder_.begin(), zOrder_.end(), window));
  zOrder_.insert(zOrder_.begin(), window);
}

bool Model::Enabled() const {
  return std::none_of(frames_.begin(), frames_.end(),
                      [](const Frame& frame) { return frame.kind == Where::kWarning; });
}

int Model::Depth() const {
  return static_cast<int>(std::count_if(frames_.begin(), frames_.end(), [](const Frame& frame) {
    return frame.kind != Where::kInstaller;
  }));
}

std::string Model::Folder(int step) const {
  std::string base = medium_.back() == '\\' ? medium_ : medium_ + "\\";
  return base + kInstallers[step - 1].folder;
}

// The installer by its full path: start directory, a backslash, folder, program.
std::string Model::Program(int step) const {
  return wizard_table::InstallerPath(medium_, step);
}

std::vector<std::string> Model::Lines() const {
  std::vector<std::string> lines;
  if (!open_) {
    lines.emplace_back("window closed");
  } else {
    lines.emplace_back(Enabled() ? "window enabled" : "window disabled");
    std::vector<std::string> window =
        wizard_test::WindowIn(shown_, zOrder_.front() == 0 ? focus_ : 0);
    lines.insert(lines.end(), window.begin(), window.end());
  }
  lines.push_back("steps " + std::to_string(steps_));
  lines.push_back("directory " + directory_);
  for (const Launch& launch : launches_) {
    lines.push_back("launch " + launch.line + (launch.running ? ": running" : ": ended"));
  }
  int depth = 0;
  for (const Frame& frame : frames_) {
    if (frame.kind == Where::kInstaller) {
      continue;
    }
    bool question = frame.kind == Where::kQuestion;
    std::string text = question
                           ? kQuitQuestion
                           : wizard_table::FailedStartWarning(
                                 Program(frame.step), ErrorNumber(installers_[frame.step - 1]));
    lines.push_back("box " + std::to_string(++depth) + ": " +
                    (question ? "no owner, 0x104" : "owned by the window, 0x30") + ", \"" +
                    kWarningCaption + "\", \"" + wizard_table::Escaped(text) + "\"");
  }
  lines.push_back(zOrder_.empty()        ? "active none"
                  : zOrder_.front() == 0 ? "active window"
                                         : "active box " + std::to_string(zOrder_.front()));
  if (!frames_.empty() && frames_.back().kind == Where::kInstaller) {
    lines.push_back("waiting for installer " + std::to_string(frames_.back().step));
  }
  return lines;
}

}  // namespace wizard_model
