// Installers that cannot be started: the person is told, the step still counts, and
// nothing but the program in the step's own folder is ever started.
#include "wizard/entry.h"
#include "wizard_fixture.h"

namespace wizard_test {
namespace {

using WizardFailuresTest = WizardTest;

using wizard_table::FailedStartWarning;
using wizard_table::InstallerPath;

struct BoxSeen {
  std::string text;
  std::string caption;
  UINT style;
  bool ownedByWindow;
  bool windowEnabled;
};

class WarningBoxes {
 public:
  WarningBoxes() {
    standin::AnswerMessageBoxes([this](const standin::MessageBox& box) {
      seen_.push_back({box.text, box.caption, box.style, box.owner == Window() && box.owner,
                       standin::IsEnabled(Window())});
      return box.style == (MB_OK | MB_ICONWARNING) ? IDOK : IDYES;
    });
  }
  const std::vector<BoxSeen>& Seen() const { return seen_; }

 private:
  std::vector<BoxSeen> seen_;
};

TEST_F(WizardFailuresTest, AMissingFolderOrProgramIsReportedAndTheStepStillCounts) {
  // Step 1's folder is missing, which Wine reports as a file not found; step 2's start
  // fails with path not found, as Windows reports a missing folder; step 3's program may
  // not be run. The medium's folder has letters that no ANSI code page holds together:
  // the warnings show them as they are.
  UseMedium("D:\\Загрузки 日本 medium");
  AddInstaller(2, {.failWith = ERROR_PATH_NOT_FOUND});
  AddInstaller(3, {.failWith = ERROR_ACCESS_DENIED});
  WarningBoxes boxes;
  Press(IDC_STEP1_INSTALL);
  ExpectStateThen(1);
  Press(IDC_STEP2_INSTALL);
  ExpectStateThen(2);
  Press(IDC_STEP3_INSTALL);
  ExpectStateThen(3);
  Press(IDC_DONE);
  EXPECT_EQ(Run(), 0u);

  std::vector<std::string> expected = {
      FailedStartWarning(InstallerPath(root_, 1), kErrorFileNotFound),
      FailedStartWarning(InstallerPath(root_, 2), kErrorPathNotFound),
      FailedStartWarning(InstallerPath(root_, 3), kErrorAccessDenied)};
  std::vector<std::string> texts;
  for (const BoxSeen& box : boxes.Seen()) {
    texts.push_back(box.text);
    EXPECT_EQ(box.caption, kWarningCaption);
    EXPECT_EQ(box.style, 0x30u);
    EXPECT_TRUE(box.ownedByWindow) << "the box belongs to the wizard window";
    EXPECT_FALSE(box.windowEnabled) << "the window takes no clicks while the box is open";
  }
  EXPECT_SEQUENCE(expected, texts);
  EXPECT_TRUE(standin::Launches().empty()) << "nothing else was started in their place";
  // The warning comes after the attempt and before the window moves on.
  std::vector<std::string> order;
  for (const std::string& call : standin::CallsTo(
           {"CreateProcessW", "MessageBoxW", "SetCurrentDirectoryW", "SetCurrentDirectoryA"})) {
    order.push_back(call.substr(0, call.find('(')));
  }
  std::vector<std::string> expectedOrder;
  for (int step = 1; step <= 3; ++step) {
    expectedOrder.insert(expectedOrder.end(),
                         {"SetCurrentDirectoryW", "CreateProcessW", "SetCurrentDirectoryW",
                          "MessageBoxW", "SetCurrentDirectoryA"});  // the last: "..\\"
  }
  EXPECT_SEQUENCE(expectedOrder, order);
}

TEST_F(WizardFailuresTest, PlantedProgramsOfTheSameNameNeverRun) {
  // Where a bare name would be looked for first: beside the launcher, in the system
  // folders and on PATH.
  standin::AddProgram(Join(root_, kInstallers[0].program));
  standin::AddProgram(Join("C:\\Windows\\System32", kInstallers[1].program));
  standin::AddProgram(Join("C:\\Tools", kInstallers[2].program));
  standin::SetSearchPath({"C:\\Tools"});
  // And in the folders of a medium's layout under the working directory at start.
  standin::AddProgram(InstallerPath("C:\\Users\\me", 1));
  standin::AddProgram(InstallerPath("C:\\Users\\me", 2));
  standin::SetCurrentDirectory("C:\\Users\\me");
  AddInstaller(1);
  standin::AddFolder(Join(root_, kInstallers[1].folder));  // its program is missing
  standin::AddFolder(Join(root_, kInstallers[2].folder));  // and this one too
  WarningBoxes boxes;
  for (const auto& step : kSteps) {
    Press(step.install);
  }
  ExpectStateThen(3);
  Press(IDC_DONE);
  EXPECT_EQ(Run(), 0u);
  ASSERT_EQ(standin::Launches().size(), 1u);
  EXPECT_EQ(standin::Launches()[0].image, InstallerPath(root_, 1));
  EXPECT_EQ(boxes.Seen().size(), 2u);
}

TEST_F(WizardFailuresTest, WithoutAKnownMediumEveryInstallWarnsAndNothingStarts) {
  // The program's own path cannot be had; the working directory and the root of its
  // drive hold installers, and must not be taken for the medium.
  AddInstallers();
  standin::AddProgram(InstallerPath("D:", 1));
  standin::SetLauncherPath("");
  WarningBoxes boxes;
  for (const auto& step : kSteps) {
    Press(step.install);
  }
  ExpectStateThen(3);
  Press(IDC_DONE);
  EXPECT_EQ(Run(), 0u);
  EXPECT_TRUE(standin::CallsTo({"CreateProcessW"}).empty());
  std::vector<std::string> texts;
  for (const BoxSeen& box : boxes.Seen()) {
    texts.push_back(box.text);
  }
  EXPECT_SEQUENCE(
      (std::vector<std::string>{FailedStartWarning(InstallerPath("", 1), kErrorPathFileAccess),
                                FailedStartWarning(InstallerPath("", 2), kErrorPathFileAccess),
                                FailedStartWarning(InstallerPath("", 3), kErrorPathFileAccess)}),
      texts);
}

TEST_F(WizardFailuresTest, AFailureInOneCallOfTheCallbackDoesNotCarryIntoTheNext) {
  // Step 1 fails to start; step 2 starts fine and must not repeat step 1's warning.
  AddInstaller(2);
  WarningBoxes boxes;
  Press(IDC_STEP1_INSTALL);
  Press(IDC_STEP2_INSTALL);
  Press(IDC_STEP3_SKIP);
  Press(IDC_DONE);
  EXPECT_EQ(Run(), 0u);
  EXPECT_EQ(boxes.Seen().size(), 1u);
  EXPECT_EQ(standin::Launches().size(), 1u);
}

TEST_F(WizardFailuresTest, AQuotedPathOf256UnitsStartsWholeAndOneOf257DoesNot) {
  // 256 UTF-16 units fill a command exactly; one more and the cut would name another file,
  // so nothing starts and the person is told. The medium's letters take two bytes each in
  // UTF-8 and none is in the ANSI code page.
  const std::string inside = InstallerPath("", 1);
  std::vector<std::string> seen;
  for (size_t quoted : {256U, 257U}) {
    SetUp();
    std::string medium = "D:\\";
    for (size_t i = 0; i < quoted - 2 - inside.size() - 3; ++i) {
      medium += "я";
    }
    UseMedium(medium);
    AddInstaller(1);
    WarningBoxes boxes;
    Press(IDC_STEP1_INSTALL);
    ExpectStateThen(1);
    Press(IDC_DONE);  // the question is answered Yes
    EXPECT_EQ(Run(), 0u);
    std::string warnings;
    for (const BoxSeen& box : boxes.Seen()) {
      bool expected = box.text == FailedStartWarning(medium + inside, kErrorPathFileAccess);
      warnings += box.style != (MB_OK | MB_ICONWARNING) ? ""
                  : expected                            ? ", warned"
                                                        : ", warned: " + box.text;
    }
    const std::vector<standin::Launch>& launches = standin::Launches();
    std::string command = std::string("\"").append(medium).append(inside).append("\"");
    bool whole = !launches.empty() && launches[0].commandLine == command;
    seen.push_back(std::to_string(quoted) + ": " +
                   (launches.empty() ? "nothing started"
                    : whole          ? "started whole"
                                     : "cut") +
                   warnings);
    TearDown();
  }
  EXPECT_SEQUENCE((std::vector<std::string>{"256: started whole", "257: nothing started, warned"}),
                  seen);
}

}  // namespace
}  // namespace wizard_test
