#include "wizard_fixture.h"

#include "wizard/entry.h"

namespace wizard_test {

namespace {

using wizard_table::Escaped;
using wizard_table::kControls;

std::string Focus(HWND focus) {
  return "focus " + (focus == nullptr ? std::string("none") : std::to_string(GetDlgCtrlID(focus)));
}

}  // namespace

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

std::string FontIn(const wizard_table::ControlRow& label, int state) {
  char letter = label.font[state];
  return letter == 'B' ? "bold" : letter == 'N' ? "normal" : "label font";
}

HWND Window() {
  return standin::FindWindowByCaption(kWizardCaption);
}

HWND Control(LONG id) {
  return standin::FindControl(Window(), id);
}

std::vector<std::string> WindowSeen() {
  std::vector<std::string> lines;
  HWND window = Window();
  // The children in creation order, which is the order of the window's table (read once:
  // the random runs read the window after every event).
  std::vector<HWND> children = standin::ChildrenOf(window);
  auto control = [&children](LONG id) {
    for (size_t i = 0; i < children.size() && i < kWizardControlCount; ++i) {
      if (WizardControls[i].id == id) {
        return children[i];
      }
    }
    return HWND{};
  };
  for (const auto& row : kControls) {
    HWND child = control(row.id);
    lines.push_back(std::to_string(row.id) +
                    (standin::IsEnabled(child) ? " enabled" : " disabled") +
                    (row.font != nullptr ? ", " + FontName(standin::FontOf(child)) : ""));
  }
  lines.push_back("message \"" + Escaped(standin::TextOf(control(IDC_MESSAGE))) + "\"");
  if (GetActiveWindow() == window) {
    lines.push_back(Focus(GetFocus()));
  }
  return lines;
}

std::vector<std::string> WindowIn(int state, LONG focus) {
  std::vector<std::string> lines;
  for (const auto& row : kControls) {
    lines.push_back(std::to_string(row.id) +
                    (row.enabled[state] == 'E' ? " enabled" : " disabled") +
                    (row.font != nullptr ? ", " + FontIn(row, state) : ""));
  }
  lines.push_back("message \"" + Escaped(wizard_table::kMessages[state]) + "\"");
  if (focus != 0) {
    lines.push_back("focus " + std::to_string(focus));
  }
  return lines;
}

std::vector<std::string> State() {
  std::vector<std::string> lines = WindowSeen();
  lines.push_back("steps " + std::to_string(StepCount));
  return lines;
}

std::vector<std::string> ExpectedState(int state, bool active) {
  std::vector<std::string> lines = WindowIn(state, active ? wizard_table::FocusIn(state) : 0);
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
  standin::AddProgram(wizard_table::InstallerPath(root_, step), script);
}

void WizardTest::AddInstallers(const standin::ProgramScript& script) {
  for (int step = 1; step <= 3; ++step) {
    AddInstaller(step, script);
  }
}

void WizardTest::Press(LONG id) {
  Then([id] { standin::Click(Control(id)); });
}

void WizardTest::ExpectStateThen(int state) {
  Then([state] { EXPECT_SEQUENCE(ExpectedState(state), State()) << "in state S" << state; });
}

void WizardTest::Answer(int button) {
  standin::AnswerMessageBoxes([button](const standin::MessageBox&) { return button; });
}

}  // namespace wizard_test
