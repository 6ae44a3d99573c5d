#include "wizard_fixture.h"

#include "wizard/entry.h"

namespace wizard_test {

namespace {

constexpr int kControls[] = {1001, 1002, 1003, 1004, 1006, 1008,
                             1010, 1011, 1012, 1005, 1007, 1009};
constexpr int kLabels[] = {1001, 1004, 1010, 1005};

std::string Escaped(const std::string& text) {
  std::string out;
  for (char c : text) {
    out += c == '\r' ? std::string("\\r") : c == '\n' ? std::string("\\n") : std::string(1, c);
  }
  return out;
}

// The enabled controls and label fonts per state: the rows of the program's tables.
struct StateRow {
  const char* enabled;  // one letter per control of kControls: E or D
  const char* fonts;    // one letter per label of kLabels: B bold, N normal, L label font
  const char* message;
};
constexpr StateRow kStates[4] = {
    {"EEEDDDDDDDEE", "BLLL", ""},
    {"DDDEEEDDDDEE", "NBNL", ""},
    {"DDDDDDEEEDEE", "NNBN", kPlugOutWarning},
    {"DDDDDDDDDEEE", "BBNN", kClosingInstructions},
};

std::string FontName(HFONT font) {
  if (font != nullptr && font == BoldStepFont) {
    return "bold";
  }
  if (font != nullptr && font == NormalStepFont) {
    return "normal";
  }
  // The window's own label font: 12-point normal, made before the window showed.
  LOGFONTA info = standin::FontInfo(font);
  return info.lfWeight == FW_NORMAL && std::string(info.lfFaceName) == "MS Sans Serif"
             ? "label font"
             : "font " + standin::NameOf(font);
}

}  // namespace

HWND Window() {
  return standin::FindWindowByCaption(kCaption);
}

HWND Control(int id) {
  return standin::FindControl(Window(), id);
}

std::vector<std::string> State() {
  std::vector<std::string> lines;
  for (int id : kControls) {
    lines.push_back(std::to_string(id) +
                    (standin::IsEnabled(Control(id)) ? " enabled" : " disabled"));
  }
  for (int id : kLabels) {
    lines.push_back(std::to_string(id) + " " + FontName(standin::FontOf(Control(id))));
  }
  lines.push_back("message \"" + Escaped(standin::TextOf(Control(kMessage))) + "\"");
  lines.push_back("steps " + std::to_string(StepCount));
  return lines;
}

std::vector<std::string> ExpectedState(int state) {
  const StateRow& row = kStates[state];
  std::vector<std::string> lines;
  for (size_t i = 0; i < std::size(kControls); ++i) {
    lines.push_back(std::to_string(kControls[i]) +
                    (row.enabled[i] == 'E' ? " enabled" : " disabled"));
  }
  for (size_t i = 0; i < std::size(kLabels); ++i) {
    const char* font = row.fonts[i] == 'B' ? "bold" : row.fonts[i] == 'N' ? "normal" : "label font";
    lines.push_back(std::to_string(kLabels[i]) + " " + font);
  }
  lines.push_back("message \"" + Escaped(row.message) + "\"");
  lines.push_back("steps " + std::to_string(state));
  return lines;
}

std::string Join(const std::string& directory, const std::string& name) {
  return directory + "\\" + name;
}

void WizardTest::SetUp() {
  script_.clear();
  dispatching_ = false;
  standin::Reset();
  standin::AddIconResource(standin::ProgramModule(), "#104", {32});
  UseMedium("D:\\Setup");
}

void WizardTest::TearDown() {
  EXPECT_EQ(standin::LiveObjects(), std::vector<std::string>{});
  EXPECT_EQ(standin::Faults(), std::vector<std::string>{});
  EXPECT_EQ(script_.size(), 0u) << "the run ended before all input was given";
}

void WizardTest::Then(std::function<void()> action) {
  script_.push_back(std::move(action));
  if (!dispatching_) {
    dispatching_ = true;
    standin::WhenIdle([this] { Dispatch(); });
  }
}

void WizardTest::Dispatch() {
  const std::vector<std::string>& calls = standin::Calls();
  bool loopWaits = !calls.empty() && calls.back() == "Sleep(1)";
  if (loopWaits && !script_.empty()) {
    std::function<void()> action = std::move(script_.front());
    script_.pop_front();
    action();
  }
  if (script_.empty()) {
    dispatching_ = false;
  } else {
    standin::WhenIdle([this] { Dispatch(); });
  }
}

void WizardTest::UseMedium(const std::string& root) {
  root_ = root;
  standin::AddFolder(root);
  std::string launcher = root.back() == '\\' ? root + "setup.exe" : root + "\\setup.exe";
  standin::AddProgram(launcher);
  standin::SetLauncherPath(launcher);
  standin::SetCurrentDirectory(root);
  standin::SetCommandLine("\"" + launcher + "\"");
}

void WizardTest::AddInstaller(int step, const standin::ProgramScript& script) {
  const InstallerInfo& installer = kInstallers[step - 1];
  standin::AddProgram(Join(Join(root_, installer.folder), installer.program), script);
}

void WizardTest::AddInstallers(const standin::ProgramScript& script) {
  for (int step = 1; step <= 3; ++step) {
    AddInstaller(step, script);
  }
}

void WizardTest::Press(int id) {
  Then([id] { standin::Click(Control(id)); });
}

void WizardTest::ExpectStateThen(int state) {
  Then([state] { EXPECT_SEQUENCE(ExpectedState(state), State()) << "in state S" << state; });
}

void WizardTest::Answer(int button) {
  standin::AnswerMessageBoxes([button](const standin::MessageBox&) { return button; });
}

}  // namespace wizard_test
