// Installers that cannot be started: the person is told, the step still counts, and
// nothing but the program in the step's own folder is ever started.
#include "wizard/entry.h"
#include "wizard_fixture.h"

namespace wizard_test {
namespace {

using WizardFailuresTest = WizardTest;

std::string FailedStartText(const std::string& program, int number) {
  std::string reason = number == 53   ? "The program was not found on the installation medium."
                       : number == 76 ? "Its folder was not found on the installation medium."
                       : number == 70 ? "Windows denied access to the program."
                                      : "Windows could not start the program.";
  return "The installer could not be started:\r\n" + program + "\r\n\r\n" + reason +
         "\r\n\r\nThis step has not been completed (error " + std::to_string(number) + ").";
}

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
  Press(1002);
  ExpectStateThen(1);
  Press(1006);
  ExpectStateThen(2);
  Press(1011);
  ExpectStateThen(3);
  Press(kDone);
  EXPECT_EQ(Run(), 0u);

  std::vector<std::string> expected = {
      FailedStartText(R"(D:\Загрузки 日本 medium\DirectX9\DXSETUP.exe)", 53),
      FailedStartText(R"(D:\Загрузки 日本 medium\Quillmark Install\QuillmarkInstaller.exe)", 76),
      FailedStartText(R"(D:\Загрузки 日本 medium\Video Driver\Drenvo.exe)", 70)};
  std::vector<std::string> texts;
  for (const BoxSeen& box : boxes.Seen()) {
    texts.push_back(box.text);
    EXPECT_EQ(box.caption, "Installation Warning");
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
  standin::AddProgram("D:\\Setup\\DXSETUP.exe");
  standin::AddProgram("C:\\Windows\\System32\\QuillmarkInstaller.exe");
  standin::AddProgram("C:\\Tools\\Drenvo.exe");
  standin::SetSearchPath({"C:\\Tools"});
  // And in the folders of a medium's layout under the working directory at start.
  standin::AddProgram(R"(C:\Users\me\DirectX9\DXSETUP.exe)");
  standin::AddProgram(R"(C:\Users\me\Quillmark Install\QuillmarkInstaller.exe)");
  standin::SetCurrentDirectory("C:\\Users\\me");
  AddInstaller(1);
  standin::AddFolder("D:\\Setup\\Quillmark Install");  // its program is missing
  standin::AddFolder("D:\\Setup\\Video Driver");       // and this one too
  WarningBoxes boxes;
  for (int button : kInstallButton) {
    Press(button);
  }
  ExpectStateThen(3);
  Press(kDone);
  EXPECT_EQ(Run(), 0u);
  ASSERT_EQ(standin::Launches().size(), 1u);
  EXPECT_EQ(standin::Launches()[0].image, "D:\\Setup\\DirectX9\\DXSETUP.exe");
  EXPECT_EQ(boxes.Seen().size(), 2u);
}

TEST_F(WizardFailuresTest, WithoutAKnownMediumEveryInstallWarnsAndNothingStarts) {
  // The program's own path cannot be had; the working directory and the root of its
  // drive hold installers, and must not be taken for the medium.
  AddInstallers();
  standin::AddProgram("D:\\DirectX9\\DXSETUP.exe");
  standin::SetLauncherPath("");
  WarningBoxes boxes;
  for (int button : kInstallButton) {
    Press(button);
  }
  ExpectStateThen(3);
  Press(kDone);
  EXPECT_EQ(Run(), 0u);
  EXPECT_TRUE(standin::CallsTo({"CreateProcessW"}).empty());
  std::vector<std::string> texts;
  for (const BoxSeen& box : boxes.Seen()) {
    texts.push_back(box.text);
  }
  EXPECT_SEQUENCE(
      (std::vector<std::string>{FailedStartText("\\DirectX9\\DXSETUP.exe", 75),
                                FailedStartText("\\Quillmark Install\\QuillmarkInstaller.exe", 75),
                                FailedStartText("\\Video Driver\\Drenvo.exe", 75)}),
      texts);
}

TEST_F(WizardFailuresTest, AFailureInOneCallOfTheCallbackDoesNotCarryIntoTheNext) {
  // Step 1 fails to start; step 2 starts fine and must not repeat step 1's warning.
  AddInstaller(2);
  WarningBoxes boxes;
  Press(1002);
  Press(1006);
  Press(1012);
  Press(kDone);
  EXPECT_EQ(Run(), 0u);
  EXPECT_EQ(boxes.Seen().size(), 1u);
  EXPECT_EQ(standin::Launches().size(), 1u);
}

TEST_F(WizardFailuresTest, AQuotedPathOf256UnitsStartsWholeAndOneOf257DoesNot) {
  // 256 UTF-16 units fill a command exactly; one more and the cut would name another file,
  // so nothing starts and the person is told. The medium's letters take two bytes each in
  // UTF-8 and none is in the ANSI code page.
  const std::string inside = "\\DirectX9\\DXSETUP.exe";
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
    Press(1002);
    ExpectStateThen(1);
    Press(kDone);  // the question is answered Yes
    EXPECT_EQ(Run(), 0u);
    std::string warnings;
    for (const BoxSeen& box : boxes.Seen()) {
      bool expected = box.text == FailedStartText(medium + inside, 75);
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
