// setup.exe from start to end, used as a person uses it: every test lays out a medium,
// starts the real program in it, presses its buttons and keys, answers its questions, and
// after each step compares the window's whole state with the state it should be in.
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>

#include "wizard_driver.h"

namespace e2e {
namespace {

// How long nothing has to happen before a test takes it that nothing will.
constexpr DWORD kSettleMs = 400;

class Wizard : public testing::Test {
 protected:
  // Lays out the medium, starts setup.exe and checks the window it opens with.
  void Start(const MediumLayout& layout = MediumLayout()) {
    run_.reset();  // an earlier run ends before its medium goes
    medium_.reset(new Medium(layout));
    run_.reset(new WizardRun(*medium_));
    ASSERT_EQ(run_->Trouble(), "");
    EXPECT_SEQUENCE(ExpectedState(0), run_->WaitForState(ExpectedState(0)));
  }

  void TearDown() override {
    run_.reset();
    medium_.reset();
  }

  void Skip(int step) {
    run_->Click(kSteps[step - 1].skip);
    EXPECT_SEQUENCE(ExpectedState(step), run_->WaitForState(ExpectedState(step)));
  }

  // Install, by a click or by a key: the step's installer starts from its folder, and
  // until it ends the window stays as it was and answers other programs, as the installer's
  // broadcast when it ends needs; then it moves on to the next step.
  void Install(int step, WORD key = 0) {
    if (key == 0) {
      run_->Click(kSteps[step - 1].install);
    } else {
      run_->PressKeys({key});
    }
    InstallerRecord record = run_->WaitForInstaller();
    EXPECT_SEQUENCE(ExpectedRecord(*medium_, step), record.lines);
    EXPECT_SEQUENCE(ExpectedState(step - 1), run_->State());
    ASSERT_NE(record.processId, 0u);
    run_->EndInstaller(record);
    EXPECT_SEQUENCE(ExpectedState(step), run_->WaitForState(ExpectedState(step)));
  }

  // The quit question, once it has appeared after an action taken with `before` open.
  HWND Question(const std::vector<HWND>& before) {
    HWND question = run_->WaitForNewBox(before);
    EXPECT_NE(question, nullptr) << "no question appeared";
    if (question != nullptr) {
      EXPECT_SEQUENCE(ExpectedQuestion(), run_->BoxContents(question));
    }
    return question;
  }

  HWND PressDone() {
    std::vector<HWND> before = run_->Boxes();
    run_->Click(IDC_DONE);
    return Question(before);
  }

  void Answer(HWND box, int button) {
    if (box == nullptr) {
      return;
    }
    run_->ClickBoxButton(box, button);
    EXPECT_TRUE(run_->WaitUntilGone(box)) << "the box stayed open after button " << button;
  }

  void QuitWithYes() {
    Answer(PressDone(), IDYES);
    EXPECT_EQ(run_->WaitForExit(), "exit code 0");
  }

  // Nothing has changed: the window shows the same state a while later and still runs.
  void ExpectUnchanged(int state) {
    Sleep(kSettleMs);
    EXPECT_SEQUENCE(ExpectedState(state), run_->State());
    EXPECT_EQ(WaitForSingleObject(run_->Process(), 0), static_cast<DWORD>(WAIT_TIMEOUT))
        << "setup.exe ended";
  }

  // The keyboard focus is on the control, which also looks like the default button.
  void ExpectFocus(LONG id) {
    std::vector<std::string> expected = {"focus: " + NameOf(id), "default look: " + NameOf(id)};
    EXPECT_SEQUENCE(expected, run_->WaitForFocus(expected));
  }

  std::unique_ptr<Medium> medium_;
  std::unique_ptr<WizardRun> run_;
};

// Each installer tells every window with a plain SendMessageA that the environment has
// changed before it ends, as real ones do: it ends only if the waiting window answers.
TEST_F(Wizard, InstallingAllThreeStepsThenDoneEndsWithoutAQuestion) {
  Start();
  Install(1);
  Install(2);
  Install(3);
  run_->Click(IDC_DONE);
  EXPECT_EQ(run_->WaitForExit(), "exit code 0");
  EXPECT_EQ(run_->Records().size(), 3u);
}

TEST_F(Wizard, SkippingAllThreeStepsStartsNothingAndDoneEndsWithoutAQuestion) {
  Start();
  Skip(1);
  Skip(2);
  Skip(3);
  run_->Click(IDC_DONE);
  EXPECT_EQ(run_->WaitForExit(), "exit code 0");
  EXPECT_EQ(run_->Records().size(), 0u);
}

TEST_F(Wizard, DonePressedByASentBmClickEndsTheProgram) {
  Start();
  Skip(1);
  Skip(2);
  Skip(3);
  // As a tool for the disabled presses it: the press is handled inside the program's
  // wait for messages and leaves nothing in its queue, so it must see by itself that the
  // window has gone.
  DWORD_PTR result = 0;
  EXPECT_NE(SendMessageTimeoutA(GetDlgItem(run_->Window(), IDC_DONE), BM_CLICK, 0, 0, SMTO_NORMAL,
                                5000, &result),
            0)
      << "BM_CLICK was not answered";
  EXPECT_EQ(run_->WaitForExit(), "exit code 0");
}

TEST_F(Wizard, DoneBeforeTheEndAsksAndNoKeepsTheWindowAsItWas) {
  Start();
  HWND question = PressDone();
  // The question has no owner: the window stays enabled and as it was while it is open.
  EXPECT_SEQUENCE(ExpectedState(0), run_->State());
  Answer(question, IDNO);
  ExpectUnchanged(0);
  QuitWithYes();
}

TEST_F(Wizard, TheQuestionAnswersNoToEnterAndToBeingClosed) {
  Start();
  Skip(1);
  Skip(2);

  HWND question = PressDone();
  run_->PressKey(question, VK_RETURN);
  EXPECT_TRUE(run_->WaitUntilGone(question)) << "Enter did not close the question";
  ExpectUnchanged(2);

  // A Yes/No box without Cancel may ignore Esc and its close command (Windows does);
  // either way the window must be as it was once the question has gone.
  struct Closing {
    const char* how;
    void (*close)(WizardRun*, HWND);
  };
  const Closing closings[] = {
      {"Esc", [](WizardRun* run, HWND box) { run->PressKey(box, VK_ESCAPE); }},
      {"its Close command", [](WizardRun* run, HWND box) { run->PostClose(box); }},
  };
  for (const Closing& closing : closings) {
    question = PressDone();
    closing.close(run_.get(), question);
    bool closed = run_->WaitUntilGone(question, kSettleMs * 2);
    std::printf("note: the question %s %s\n",
                closed ? "closed on" : "stayed open (answered No) after", closing.how);
    if (!closed) {
      Answer(question, IDNO);
    }
    ExpectUnchanged(2);
  }
  QuitWithYes();
}

TEST_F(Wizard, AltF4TheCloseBoxAndTheSystemMenusCloseArePressesOfDone) {
  Start();
  Skip(1);

  std::vector<HWND> before = run_->Boxes();
  run_->PressAltF4(run_->Window());
  Answer(Question(before), IDNO);
  ExpectUnchanged(1);

  before = run_->Boxes();
  run_->ClickCloseBox();
  Answer(Question(before), IDNO);
  ExpectUnchanged(1);

  before = run_->Boxes();
  run_->PostClose(run_->Window());
  Answer(Question(before), IDYES);
  EXPECT_EQ(run_->WaitForExit(), "exit code 0");
}

TEST_F(Wizard, EscDoesNothing) {
  Start();
  // Alt+F4 right after Esc: its question shows that the keys have arrived, and it must be
  // the only one.
  run_->PressKey(run_->Window(), VK_ESCAPE);
  run_->PressAltF4(run_->Window());
  HWND question = Question({});
  Sleep(kSettleMs);
  EXPECT_EQ(run_->Boxes().size(), 1u);
  Answer(question, IDNO);
  ExpectUnchanged(0);
  QuitWithYes();
}

TEST_F(Wizard, DoneWhileTheQuestionIsOpenAsksASecondTimeInsideTheFirst) {
  Start();
  HWND first = PressDone();
  HWND second = PressDone();  // the window still takes clicks
  ASSERT_NE(second, nullptr);
  EXPECT_NE(second, first);
  EXPECT_EQ(run_->Boxes().size(), 2u);

  Answer(second, IDNO);
  EXPECT_TRUE(IsWindow(first)) << "the first question closed with the second";
  EXPECT_SEQUENCE(ExpectedState(0), run_->State());
  // The No puts the focus back on the step in progress, which makes the window active
  // again: it may then lie over the first question, which has no owner to keep it in
  // front; a person brings it back with the task switcher, once the window has settled.
  ExpectFocus(IDC_STEP1_INSTALL);
  run_->BringToFront(first);
  Answer(first, IDYES);
  EXPECT_EQ(run_->WaitForExit(), "exit code 0");
}

TEST_F(Wizard, AMissingInstallerFolderIsReportedAndNothingElseRuns) {
  // The folder is missing, but there are same-named programs beside setup.exe and on PATH.
  MediumLayout layout;
  layout.folder[0] = false;
  layout.plantBesideSetup = true;
  layout.plantOnPath = true;
  Start(layout);

  run_->Click(IDC_STEP1_INSTALL);
  HWND warning = run_->WaitForNewBox({});
  ASSERT_NE(warning, nullptr) << "no warning appeared";
  EXPECT_SEQUENCE(
      ExpectedStartWarning(medium_->InstallerPath(1), StartErrorNumber(medium_->InstallerPath(1))),
      run_->BoxContents(warning));
  EXPECT_SEQUENCE(ExpectedState(0, Look::kBehindOwnedBox), run_->State());
  Answer(warning, IDOK);
  // The step counts all the same.
  EXPECT_SEQUENCE(ExpectedState(1), run_->WaitForState(ExpectedState(1)));
  Skip(2);
  Skip(3);
  run_->Click(IDC_DONE);
  EXPECT_EQ(run_->WaitForExit(), "exit code 0");
  EXPECT_EQ(run_->Records().size(), 0u) << "a program was started";
}

TEST_F(Wizard, AMissingInstallerIsReportedAndTheNextStepStillInstalls) {
  MediumLayout layout;
  layout.program[1] = false;
  Start(layout);
  Skip(1);

  run_->Click(IDC_STEP2_INSTALL);
  HWND warning = run_->WaitForNewBox({});
  ASSERT_NE(warning, nullptr) << "no warning appeared";
  EXPECT_SEQUENCE(
      ExpectedStartWarning(medium_->InstallerPath(2), StartErrorNumber(medium_->InstallerPath(2))),
      run_->BoxContents(warning));
  EXPECT_SEQUENCE(ExpectedState(1, Look::kBehindOwnedBox), run_->State());
  Answer(warning, IDOK);
  EXPECT_SEQUENCE(ExpectedState(2), run_->WaitForState(ExpectedState(2)));
  Install(3);
  run_->Click(IDC_DONE);
  EXPECT_EQ(run_->WaitForExit(), "exit code 0");
  EXPECT_EQ(run_->Records().size(), 1u);
}

TEST_F(Wizard, OnlyTheInstallerInItsFolderRunsNotOnesBesideSetupOrOnPath) {
  // Started from the medium's root, from a folder with a DirectX9\DXSETUP.exe of its own,
  // and from the system folder: the medium is where setup.exe is, each time.
  const struct {
    StartIn folder;
    const char* name;
  } starts[] = {{StartIn::kMedium, "the medium"},
                {StartIn::kPlantedFolder, "a folder with its own DirectX9"},
                {StartIn::kSystemFolder, "the system folder"}};
  for (const auto& start : starts) {
    SCOPED_TRACE(std::string("started in ") + start.name);
    MediumLayout layout;
    layout.plantBesideSetup = true;
    layout.plantOnPath = true;
    layout.startIn = start.folder;
    Start(layout);
    Install(1);  // its record names the program in the medium's DirectX9
    Install(2);
    Skip(3);
    run_->Click(IDC_DONE);
    EXPECT_EQ(run_->WaitForExit(), "exit code 0");
    EXPECT_EQ(run_->Records().size(), 2u);
  }
}

TEST_F(Wizard, TheKeyboardAloneTakesTheWizardToItsEnd) {
  // Space, Tab, Esc, Alt+F4 and Enter only: install step 1, skip step 2, install step 3.
  Start();
  EXPECT_SEQUENCE(
      (std::vector<std::string>{"focus: " + NameOf(IDC_STEP1_INSTALL), "default look: none"}),
      run_->Focus());
  Install(1, VK_SPACE);
  ExpectFocus(IDC_STEP2_INSTALL);
  run_->PressKeys({VK_TAB, VK_TAB});  // past Done to Skip
  ExpectFocus(IDC_STEP2_SKIP);
  run_->PressKeys({VK_SPACE});
  EXPECT_SEQUENCE(ExpectedState(2), run_->WaitForState(ExpectedState(2)));
  ExpectFocus(IDC_STEP3_INSTALL);

  run_->PressKeys({VK_ESCAPE});
  std::vector<HWND> before = run_->Boxes();
  run_->PressAltF4(run_->Window());
  HWND question = Question(before);
  run_->PressKey(question, VK_RETURN);  // No, the default
  EXPECT_TRUE(run_->WaitUntilGone(question)) << "Enter did not close the question";
  ExpectUnchanged(2);
  ExpectFocus(IDC_STEP3_INSTALL);

  Install(3, VK_RETURN);
  ExpectFocus(IDC_DONE);
  run_->PressKeys({VK_RETURN});
  EXPECT_EQ(run_->WaitForExit(), "exit code 0");
  EXPECT_EQ(run_->Records().size(), 2u);
}

TEST_F(Wizard, TheKeyboardAloneClosesTheWarningAndGoesOn) {
  MediumLayout layout;
  layout.program[0] = false;
  Start(layout);
  run_->PressKeys({VK_SPACE});
  HWND warning = run_->WaitForNewBox({});
  ASSERT_NE(warning, nullptr) << "no warning appeared";
  EXPECT_SEQUENCE(
      ExpectedStartWarning(medium_->InstallerPath(1), StartErrorNumber(medium_->InstallerPath(1))),
      run_->BoxContents(warning));
  run_->PressKey(warning, VK_RETURN);
  EXPECT_TRUE(run_->WaitUntilGone(warning)) << "Enter did not close the warning";
  EXPECT_SEQUENCE(ExpectedState(1), run_->WaitForState(ExpectedState(1)));
  ExpectFocus(IDC_STEP2_INSTALL);
  run_->PressKeys({VK_TAB, VK_TAB, VK_SPACE});
  EXPECT_SEQUENCE(ExpectedState(2), run_->WaitForState(ExpectedState(2)));
  ExpectFocus(IDC_STEP3_INSTALL);
  run_->PressKeys({VK_TAB, VK_SPACE});
  EXPECT_SEQUENCE(ExpectedState(3), run_->WaitForState(ExpectedState(3)));
  ExpectFocus(IDC_DONE);
  run_->PressKeys({VK_SPACE});
  EXPECT_EQ(run_->WaitForExit(), "exit code 0");
  EXPECT_EQ(run_->Records().size(), 0u);
}

TEST_F(Wizard, KeysAndAClickMadeWhileAnInstallerRunsStartNothingAfterItEnds) {
  // Space again and Enter on step 1's Install, a click on the greyed step-2 Install: once
  // step 1 is done the focus is on step 2's Install, which stale input would press.
  Start();
  run_->PressKeys({VK_SPACE});
  InstallerRecord record = run_->WaitForInstaller();
  ASSERT_NE(record.processId, 0u);
  run_->PressKeys({VK_SPACE, VK_RETURN});
  run_->Click(IDC_STEP2_INSTALL, false);
  EXPECT_SEQUENCE(ExpectedState(0), run_->State());
  run_->EndInstaller(record);
  EXPECT_SEQUENCE(ExpectedState(1), run_->WaitForState(ExpectedState(1)));
  ExpectFocus(IDC_STEP2_INSTALL);
  Skip(2);  // queued after anything stale; a second installer would hold it up
  EXPECT_EQ(run_->Records().size(), 1u);
}

TEST_F(Wizard, APlantedLibraryRunsInAProgramBesideItButNeverInSetup) {
  // The platform is told to prefer a library beside a program to its own, and there is one
  // beside setup.exe and one beside step 1's installer, which makes a window without
  // restricting where its libraries come from.
  MediumLayout layout;
  layout.plantLibrary = true;
  Start(layout);
  Install(1);
  EXPECT_SEQUENCE(std::vector<std::string>{"ran in " + medium_->InstallerPath(1)},
                  run_->PlantedLibraryRuns());
}

TEST_F(Wizard, AMediumInAFolderNamedOutsideTheCodePageWorks) {
  // Neither Cyrillic nor CJK letters are in Wine's ANSI code page, 1252. A missing installer
  // is named as it is; the three installers run, their records naming folder and command.
  MediumLayout layout;
  layout.rootName = "Загрузки 日本 medium";
  layout.program[0] = false;
  Start(layout);
  run_->Click(IDC_STEP1_INSTALL);
  HWND warning = run_->WaitForNewBox({});
  ASSERT_NE(warning, nullptr) << "no warning appeared";
  EXPECT_SEQUENCE(
      ExpectedStartWarning(medium_->InstallerPath(1), StartErrorNumber(medium_->InstallerPath(1))),
      run_->BoxContents(warning));

  layout.program[0] = true;
  Start(layout);
  ASSERT_NO_FATAL_FAILURE(Install(1));
  Install(2);
  Install(3);
  run_->Click(IDC_DONE);
  EXPECT_EQ(run_->WaitForExit(), "exit code 0");
}

}  // namespace
}  // namespace e2e
