// The four steps: every path through them, what each Install starts, and input given
// while an installer runs.
#include <unistd.h>

#include <algorithm>

#include "wizard/entry.h"
#include "wizard_fixture.h"

namespace wizard_test {
namespace {

using WizardStepsTest = WizardTest;

using wizard_table::InstallerPath;

std::string QuotedInstaller(const std::string& root, int step) {
  return "\"" + InstallerPath(root, step) + "\"";
}

// A text as the call log quotes it.
std::string Logged(const std::string& text) {
  std::string out = "\"";
  for (char c : text) {
    out += c == '"' ? std::string("\\\"") : std::string(1, c);
  }
  return out + "\"";
}

// The wait for a step's installer, once a second.
std::string Look(int step) {
  return "MsgWaitForMultipleObjects(1, process#" + std::to_string(step) + ", 0, 1000, 0x60)";
}

TEST_F(WizardStepsTest, EveryPathOfInstallAndSkipReachesTheLastStep) {
  for (int path = 0; path < 8; ++path) {
    SCOPED_TRACE("path " + std::to_string(path));
    SetUp();
    AddInstallers({.runsFor = 1500});
    std::vector<std::string> expectedLaunches;
    for (int step = 1; step <= 3; ++step) {
      bool install = (path >> (step - 1) & 1) != 0;
      Press(install ? kSteps[step - 1].install : kSteps[step - 1].skip);
      ExpectStateThen(step);
      if (install) {
        expectedLaunches.push_back(QuotedInstaller(root_, step) + " in " +
                                   Join(root_, kInstallers[step - 1].folder));
      }
    }
    Press(IDC_DONE);  // three steps taken: no question
    EXPECT_EQ(Run(), 0u);
    EXPECT_EQ(standin::MessageBoxes().size(), 0u);
    std::vector<std::string> launches;
    for (const standin::Launch& launch : standin::Launches()) {
      launches.push_back(launch.commandLine + " in " + launch.directory);
      EXPECT_EQ(launch.showWindow, SW_SHOWNORMAL);
    }
    EXPECT_SEQUENCE(expectedLaunches, launches);
    TearDown();
  }
}

TEST_F(WizardStepsTest, EachInstallRunsInItsFolderWaitsAndMovesUpAfterwards) {
  AddInstallers({.runsFor = 2000});
  for (const auto& step : kSteps) {
    Press(step.install);
  }
  Press(IDC_DONE);
  EXPECT_EQ(Run(), 0u);
  std::vector<std::string> expected;
  for (int step = 1; step <= 3; ++step) {
    expected.insert(
        expected.end(),
        {"SetCurrentDirectoryW(L" + Logged(Join(root_, kInstallers[step - 1].folder)) + ")",
         "CreateProcessW(NULL, L" + Logged(QuotedInstaller(root_, step)), Look(step), Look(step),
         R"(SetCurrentDirectoryW(L"D:\Setup"))", R"(SetCurrentDirectoryA("..\"))"});
  }
  std::vector<std::string> actual;
  for (const std::string& call :
       standin::CallsTo({"SetCurrentDirectoryW", "SetCurrentDirectoryA", "CreateProcessW",
                         "MsgWaitForMultipleObjects"})) {
    actual.push_back(call.rfind("CreateProcessW", 0) == 0 ? call.substr(0, call.find("\", sa{") + 1)
                                                          : call);
  }
  EXPECT_SEQUENCE(expected, actual);
  EXPECT_EQ(standin::CurrentDirectory(), "D:\\") << "one level above the start directory";
  for (const standin::Launch& launch : standin::Launches()) {
    EXPECT_TRUE(standin::HasEnded(launch.processId));
    EXPECT_EQ(launch.errorMode, 0x8001u);
  }
}

TEST_F(WizardStepsTest, ADriveRootGivesTwoBackslashesWhichThePlatformAccepts) {
  UseMedium("E:\\");
  AddInstaller(1);
  Press(IDC_STEP1_INSTALL);
  ExpectStateThen(1);
  Press(IDC_DONE);
  Answer(IDYES);
  EXPECT_EQ(Run(), 0u);
  const std::string folder = std::string("E:\\\\") + kInstallers[0].folder;  // E:\\DirectX9
  EXPECT_SEQUENCE((std::vector<std::string>{"SetCurrentDirectoryW(L" + Logged(folder) + ")",
                                            "SetCurrentDirectoryW(L\"E:\\\")",
                                            "SetCurrentDirectoryA(\"..\\\")"}),
                  standin::CallsTo({"SetCurrentDirectoryW", "SetCurrentDirectoryA"}));
  ASSERT_EQ(standin::Launches().size(), 1u);
  EXPECT_EQ(standin::Launches()[0].commandLine,
            "\"" + folder + "\\" + kInstallers[0].program + "\"");
  EXPECT_EQ(standin::Launches()[0].directory, std::string("E:\\") + kInstallers[0].folder);
  EXPECT_EQ(standin::CurrentDirectory(), "E:\\");
}

TEST_F(WizardStepsTest, TheWindowDoesNotChangeWhileAnInstallerRuns) {
  int checked = 0;
  for (int step = 1; step <= 3; ++step) {
    AddInstaller(step, {.runsFor = 30000, .whileWaited = [step, &checked](const standin::Launch&) {
                          // The handler is blocked in the wait: the window still shows the
                          // state of before the press, apart from the steps counted.
                          std::vector<std::string> expected = ExpectedState(step - 1);
                          expected.back() = "steps " + std::to_string(step);
                          EXPECT_SEQUENCE(expected, State())
                              << "while installer " << step << " runs";
                          ++checked;
                        }});
    Press(kSteps[step - 1].install);
  }
  Press(IDC_DONE);
  EXPECT_EQ(Run(), 0u);
  EXPECT_EQ(checked, 3);
}

TEST_F(WizardStepsTest, WhileAnInstallerRunsTheWindowAnswersAndRepaintsAndSentCommandsWait) {
  alarm(60);  // a step started inside the wait would spin on the guard lock for ever
  bool answeredWhileRunning = false;
  // The installer tells every window that the environment has changed, its window is
  // dragged across the wizard's, and a tool presses step 2's Install.
  AddInstaller(1, {.runsFor = 30000, .whileWaited = [&](const standin::Launch& launch) {
                     standin::SendFromOtherThread(
                         Window(), WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>("Environment"),
                         [&, launch](LRESULT) {
                           answeredWhileRunning = !standin::HasEnded(launch.processId);
                         });
                     RedrawWindow(Window(), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
                     standin::SendFromOtherThread(Window(), WM_COMMAND, IDC_STEP2_INSTALL, 0);
                   }});
  AddInstaller(2);
  Press(IDC_STEP1_INSTALL);
  ExpectStateThen(2);  // step 2 ran once, after step 1
  Press(IDC_DONE);
  Answer(IDYES);
  EXPECT_EQ(Run(), 0u);
  alarm(0);
  EXPECT_TRUE(answeredWhileRunning);
  ASSERT_EQ(standin::Launches().size(), 2u);
  EXPECT_GE(standin::Launches()[1].startedAt, *standin::Launches()[0].endsAt);
  // Woken, the wait's first look delivers and then repaints the window.
  std::vector<std::string> calls =
      standin::CallsTo({"MsgWaitForMultipleObjects", "DispatchMessageA"});
  auto look = std::find(calls.begin(), calls.end(), Look(1));
  ASSERT_GT(std::distance(look, calls.end()), 1);
  EXPECT_EQ(look[1], "DispatchMessageA(msg{dialog#1, WM_PAINT, 0, 0})");
}

TEST_F(WizardStepsTest, InputGivenWhileAnInstallerRunsIsDroppedButAPostedDoneIsNot) {
  // Against the window as the step leaves it, Space on step 1's Install (the focus moves on)
  // and clicks on the next step's greyed buttons would act; a close request from another
  // program, answered by posting "Done", must.
  AddInstaller(1, {.runsFor = 30000, .whileWaited = [](const standin::Launch&) {
                     standin::PressKey(VK_SPACE);
                     standin::Click(Control(IDC_STEP2_INSTALL));
                     standin::Click(Control(IDC_STEP2_SKIP));
                   }});
  AddInstaller(2, {.runsFor = 30000, .whileWaited = [](const standin::Launch&) {
                     standin::Click(Control(IDC_STEP3_INSTALL));
                     standin::SendFromOtherThread(Window(), WM_SYSCOMMAND, SC_CLOSE, 0);
                   }});
  std::vector<std::string> whenAsked;
  standin::AnswerMessageBoxes([&whenAsked](const standin::MessageBox&) {
    whenAsked = State();
    return IDYES;
  });
  Press(IDC_STEP1_INSTALL);
  ExpectStateThen(1);
  Press(IDC_STEP2_INSTALL);
  EXPECT_EQ(Run(), 0u);
  EXPECT_EQ(standin::Launches().size(), 2u);
  EXPECT_EQ(standin::MessageBoxes().size(), 1u);
  EXPECT_SEQUENCE(ExpectedState(2, false), whenAsked);
}

TEST_F(WizardStepsTest, CommandsActOnTheIdentifierAloneAndIgnoreEverythingElse) {
  AddInstallers();
  Then([] {
    HWND window = Window();
    // A notification code in the high word does not matter.
    SendMessageA(window, WM_COMMAND, MAKEWPARAM(IDC_STEP1_SKIP, 0x1234), 0);
    // Labels, the message area, Esc's IDCANCEL, IDOK and unknown identifiers do nothing.
    for (LONG id : {IDC_STEP1_LABEL, IDC_STEP2_LABEL, IDC_STEP4_LABEL, IDC_STEP3_LABEL, IDC_MESSAGE,
                    IDOK, IDCANCEL, 0, 999, IDC_STEP3_SKIP + 1, 0xFFFF}) {
      SendMessageA(window, WM_COMMAND, static_cast<WPARAM>(id), 0);
    }
    EXPECT_SEQUENCE(ExpectedState(1), State());
  });
  Then([] { standin::PressKey(VK_ESCAPE); });
  ExpectStateThen(1);
  Press(IDC_STEP2_SKIP);
  Press(IDC_STEP3_SKIP);
  ExpectStateThen(3);
  Then([] {
    // A click on a step button that is disabled by now goes nowhere.
    standin::Click(Control(IDC_STEP1_INSTALL));
  });
  ExpectStateThen(3);
  Press(IDC_DONE);
  EXPECT_EQ(Run(), 0u);
  EXPECT_TRUE(standin::Launches().empty());
  EXPECT_TRUE(standin::MessageBoxes().empty());
}

TEST_F(WizardStepsTest, InstallWithANotificationCodeInTheHighWordRunsTheStep) {
  constexpr WORD kDoubleClicked = 5;  // BN_DOUBLECLICKED, as a button with BS_NOTIFY sends
  AddInstaller(1);
  Then(
      [] { SendMessageA(Window(), WM_COMMAND, MAKEWPARAM(IDC_STEP1_INSTALL, kDoubleClicked), 0); });
  ExpectStateThen(1);
  Press(IDC_DONE);
  Answer(IDYES);
  EXPECT_EQ(Run(), 0u);
  ASSERT_EQ(standin::Launches().size(), 1u);
  EXPECT_EQ(standin::Launches()[0].commandLine, QuotedInstaller(root_, 1));
}

// Where the keyboard focus is, and which buttons are drawn as the default one.
std::string FocusAndDefault() {
  HWND focus = GetFocus();
  std::string line = "focus " + (focus == nullptr    ? std::string("none")
                                 : focus == Window() ? std::string("the window")
                                                     : std::to_string(GetDlgCtrlID(focus)));
  line += ", default";
  for (const auto& row : wizard_table::kControls) {
    if ((standin::StyleOf(Control(row.id)) & BS_TYPEMASK) == BS_DEFPUSHBUTTON) {
      line += " " + std::to_string(row.id);
    }
  }
  return line;
}

std::string FocusAndDefault(LONG focus, LONG preferred) {
  return "focus " + std::to_string(focus) + ", default" +
         (preferred != 0 ? " " + std::to_string(preferred) : "");
}

TEST_F(WizardStepsTest, TheFocusFollowsTheStepsSoTheKeyboardAloneFinishes) {
  // Step 1's installer is missing, so its warning box comes first; step 2 is skipped.
  AddInstaller(3);
  standin::AnswerMessageBoxes(
      [](const standin::MessageBox& box) { return box.style == 0x104u ? IDNO : IDOK; });
  std::vector<std::string> seen;
  auto note = [&seen] { seen.push_back(FocusAndDefault()); };
  auto keys = [](const std::vector<BYTE>& pressed) {
    return [pressed] {
      for (BYTE key : pressed) {
        standin::PressKey(key);
      }
    };
  };
  Then(note);
  Then(keys({VK_SPACE}));  // step 1's Install; its warning is closed with OK
  Then(note);
  Then(keys({VK_ESCAPE, VK_TAB, VK_TAB}));  // Esc does nothing; Tab goes past Done to Skip
  Then(note);
  Then(keys({VK_SPACE}));
  Then(note);
  Then([] { standin::PressAltF4(); });  // the quit question, answered No
  Then(note);
  Then(keys({VK_RETURN}));  // step 3's Install
  Then(note);
  Then(keys({VK_RETURN}));  // Done
  EXPECT_EQ(Run(), 0u);
  EXPECT_SEQUENCE((std::vector<std::string>{FocusAndDefault(IDC_STEP1_INSTALL, 0),
                                            FocusAndDefault(IDC_STEP2_INSTALL, IDC_STEP2_INSTALL),
                                            FocusAndDefault(IDC_STEP2_SKIP, IDC_STEP2_SKIP),
                                            FocusAndDefault(IDC_STEP3_INSTALL, IDC_STEP3_INSTALL),
                                            FocusAndDefault(IDC_STEP3_INSTALL, IDC_STEP3_INSTALL),
                                            FocusAndDefault(IDC_DONE, IDC_DONE)}),
                  seen);
  ASSERT_EQ(standin::MessageBoxes().size(), 2u);
  ASSERT_EQ(standin::Launches().size(), 1u);
  EXPECT_EQ(standin::Launches()[0].image, InstallerPath(root_, 3));
}

}  // namespace
}  // namespace wizard_test
