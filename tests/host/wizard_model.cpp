#include "wizard_model.h"

#include "wizard_fixture.h"

#include <algorithm>
#include <utility>

namespace wizard_model {
namespace {

// The texts a person reads, as the wizard tests write them.
using wizard_test::kClosingInstructions;
using wizard_test::kPlugOutWarning;
using wizard_test::kQuitQuestion;
constexpr const char* kMessages[4] = {"", "", kPlugOutWarning, kClosingInstructions};

// Each control with the state in which it is enabled (-1: always).
struct ControlRule {
  int id;
  int enabledIn;
  bool button;
};
constexpr ControlRule kControlRules[] = {
    {1001, 0, false}, {1002, 0, true},  {1003, 0, true},   {1004, 1, false},
    {1006, 1, true},  {1008, 1, true},  {1010, 2, false},  {1011, 2, true},
    {1012, 2, true},  {1005, 3, false}, {kDone, -1, true}, {1009, -1, false},
};

// Label fonts per state: B bold, N normal, L the window's own label font.
constexpr const char* kLabelFonts[4] = {"BLLL", "NBNL", "NNBN", "BBNN"};

// The step buttons: Install, Skip.
constexpr int kStepButtons[3][2] = {{1002, 1003}, {1006, 1008}, {1011, 1012}};

struct InstallerFiles {
  const char* folder;
  const char* program;
};
constexpr InstallerFiles kFiles[3] = {{"DirectX9", "DXSETUP.exe"},
                                      {"Quillmark Install", "QuillmarkInstaller.exe"},
                                      {"Video Driver", "Drenvo.exe"}};

// The run time's error numbers for a program that cannot be started.
int ErrorNumber(Installer installer) {
  switch (installer) {
    case Installer::kMissingFolder:  // the platform says file not found for both
    case Installer::kMissingProgram:
      return 53;
    default:
      return 75;  // not a program the platform can run
  }
}

// The warning's reason, in the person's words, follows the error number: a missing folder
// reads as a program not found, since that is what the platform reported.
std::string Reason(Installer installer) {
  return ErrorNumber(installer) == 53 ? "The program was not found on the installation medium."
                                      : "Windows could not start the program.";
}

// One level up; a drive root stays where it is.
std::string Parent(const std::string& path) {
  if (path.size() <= 3) {
    return path;
  }
  size_t cut = path.rfind('\\');
  return cut <= 2 ? path.substr(0, 3) : path.substr(0, cut);
}

const ControlRule& RuleOf(int id) {
  return *std::find_if(std::begin(kControlRules), std::end(kControlRules),
                       [id](const ControlRule& rule) { return rule.id == id; });
}

}  // namespace

std::string Escaped(const std::string& text) {
  std::string out;
  for (char c : text) {
    out += c == '\r' ? std::string("\\r") : c == '\n' ? std::string("\\n") : std::string(1, c);
  }
  return out;
}

Model::Model(std::string medium, std::array<Installer, 3> installers, std::set<int> underBox)
    : medium_(std::move(medium)),
      installers_(installers),
      underBox_(std::move(underBox)),
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
  if (box.kind == Where::kQuestion && button == kYes) {
    open_ = false;
    zOrder_.erase(std::remove(zOrder_.begin(), zOrder_.end(), 0), zOrder_.end());
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
  const ControlRule& rule = RuleOf(id);
  return rule.button && (rule.enabledIn < 0 || rule.enabledIn == shown_);
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
        Command(action.id);
      }
      return;
    case Input::kCloseBox:
    case Input::kMenuClose:
      if (Enabled()) {
        Raise(0);
        Command(kDone);
      }
      return;
    case Input::kAltF4:
      if (!boxInFront) {
        Command(kDone);  // keys go to the active window
      }
      return;
    case Input::kEsc:
      return;  // the window's Cancel command does nothing
  }
}

void Model::Command(int id) {
  for (int step = 1; step <= 3; ++step) {
    if (id == kStepButtons[step - 1][0] || id == kStepButtons[step - 1][1]) {
      Step(step, id == kStepButtons[step - 1][0]);
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
}

void Model::OpenBox(Where kind, int step) {
  frames_.push_back({kind, step});
  zOrder_.insert(zOrder_.begin(), Depth());
}

void Model::Raise(int window) {
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
  return base + kFiles[step - 1].folder;
}

// The installer by its full path: start directory, a backslash, folder, program.
std::string Model::Program(int step) const {
  return medium_ + "\\" + kFiles[step - 1].folder + "\\" + kFiles[step - 1].program;
}

std::vector<std::string> Model::Lines() const {
  std::vector<std::string> lines;
  if (!open_) {
    lines.emplace_back("window closed");
  } else {
    lines.emplace_back(Enabled() ? "window enabled" : "window disabled");
    for (int id : kControls) {
      int enabledIn = RuleOf(id).enabledIn;
      bool enabled = enabledIn < 0 || enabledIn == shown_;
      lines.push_back(std::to_string(id) + (enabled ? " enabled" : " disabled"));
    }
    for (size_t i = 0; i < std::size(kLabels); ++i) {
      char font = kLabelFonts[shown_][i];
      lines.push_back(std::to_string(kLabels[i]) + (font == 'B'   ? " bold"
                                                    : font == 'N' ? " normal"
                                                                  : " label font"));
    }
    lines.push_back("message \"" + Escaped(kMessages[shown_]) + "\"");
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
                           : "The installer could not be started:\r\n" + Program(frame.step) +
                                 "\r\n\r\n" + Reason(installers_[frame.step - 1]) +
                                 "\r\n\r\nThis step has not been completed (error " +
                                 std::to_string(ErrorNumber(installers_[frame.step - 1])) + ").";
    lines.push_back("box " + std::to_string(++depth) + ": " +
                    (question ? "no owner, 0x104" : "owned by the window, 0x30") +
                    R"(, "Installation Warning", ")" + Escaped(text) + "\"");
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
