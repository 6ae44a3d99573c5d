// Ending the run: "Done", every other way of closing the window, and the quit question.
#include "wizard/entry.h"
#include "wizard_fixture.h"

namespace wizard_test {
namespace {

using WizardCloseTest = WizardTest;

class WizardFontTest : public WizardTest {
 protected:
  HFONT bold_ = nullptr;
  HFONT normal_ = nullptr;
};

// Each box was preceded by the toolkit's 5 ms pause.
void ExpectPauseBeforeEachBox() {
  std::vector<std::string> calls = standin::CallsTo({"Sleep", "MessageBoxA"});
  for (size_t i = 0; i < calls.size(); ++i) {
    if (calls[i].rfind("MessageBoxA", 0) == 0) {
      ASSERT_GT(i, 0u);
      EXPECT_EQ(calls[i - 1], "Sleep(5)");
    }
  }
}

// Each way a person can ask the window to close.
struct CloseWay {
  const char* name;
  void (*request)();
};
const CloseWay kCloseWays[] = {
    {"Done", [] { standin::Click(Control(IDC_DONE)); }},
    {"close box", [] { standin::ClickCloseBox(Window()); }},
    {"system menu", [] { standin::ChooseSystemMenuClose(Window()); }},
    {"Alt+F4", [] { standin::PressAltF4(); }},
};

TEST_F(WizardCloseTest, EveryCloseRequestAsksBeforeTheLastStepAndNoKeepsTheState) {
  for (const CloseWay& way : kCloseWays) {
    SCOPED_TRACE(way.name);
    SetUp();
    Press(IDC_STEP1_SKIP);  // S1
    Then(way.request);
    ExpectStateThen(1);
    Then(way.request);
    int asked = 0;
    standin::AnswerMessageBoxes([&asked](const standin::MessageBox& box) {
      EXPECT_EQ(box.text, kQuitQuestion);
      EXPECT_EQ(box.caption, kWarningCaption);
      EXPECT_EQ(box.style, 0x104u) << "Yes and No, No the default";
      EXPECT_EQ(box.owner, nullptr);
      EXPECT_TRUE(standin::IsEnabled(Window())) << "the question leaves the window enabled";
      return ++asked == 1 ? IDNO : IDYES;
    });
    EXPECT_EQ(Run(), 0u);
    EXPECT_EQ(asked, 2);
    EXPECT_EQ(Window(), nullptr) << "Yes ended the run";
    ExpectPauseBeforeEachBox();
    TearDown();
  }
}

TEST_F(WizardCloseTest, EveryCloseRequestEndsTheRunAtOnceAfterTheLastStep) {
  for (const CloseWay& way : kCloseWays) {
    SCOPED_TRACE(way.name);
    SetUp();
    Press(IDC_STEP1_SKIP);
    Press(IDC_STEP2_SKIP);
    Press(IDC_STEP3_SKIP);
    Then(way.request);
    EXPECT_EQ(Run(), 0u);
    EXPECT_TRUE(standin::MessageBoxes().empty());
    TearDown();
  }
}

TEST_F(WizardCloseTest, AClosedQuestionOrOneThatCannotBeShownCountsAsNo) {
  Press(IDC_DONE);
  ExpectStateThen(0);
  Then([] { standin::FailMessageBoxes(true); });
  Press(IDC_DONE);
  ExpectStateThen(0);
  Then([] { standin::FailMessageBoxes(false); });
  Press(IDC_DONE);
  int asked = 0;
  standin::AnswerMessageBoxes([&asked](const standin::MessageBox&) {
    return ++asked == 1 ? 0 : IDYES;  // closed without a button, then Yes
  });
  EXPECT_EQ(Run(), 0u);
  EXPECT_EQ(asked, 2);
}

TEST_F(WizardCloseTest, EscDoesNotCloseTheWindow) {
  Then([] { standin::PressKey(VK_ESCAPE); });
  ExpectStateThen(0);
  Then([] { standin::PressKey(VK_ESCAPE); });
  Press(IDC_DONE);
  Answer(IDYES);
  EXPECT_EQ(Run(), 0u);
  EXPECT_EQ(standin::MessageBoxes().size(), 1u) << "only Done asked";
}

TEST_F(WizardCloseTest, ASecondDoneWhileTheQuestionIsOpenAsksAgainInsideIt) {
  Press(IDC_DONE);
  std::vector<int> depths;
  standin::AnswerMessageBoxes([&depths](const standin::MessageBox& box) {
    depths.push_back(box.depth);
    if (box.depth == 1) {
      // The window still takes clicks: a second Done opens a second question inside
      // the first, whose Yes ends the run while the first question is still open.
      standin::Click(Control(IDC_DONE));
      standin::PumpMessages();
      EXPECT_EQ(Window(), nullptr);
      return IDNO;
    }
    return IDYES;
  });
  EXPECT_EQ(Run(), 0u);
  EXPECT_EQ(depths, (std::vector<int>{1, 2}));
}

TEST_F(WizardFontTest, TheStepFontsAreDeletedOnceWhenTheWindowGoes) {
  Then([this] {
    bold_ = BoldStepFont;
    normal_ = NormalStepFont;
    standin::Click(Control(IDC_DONE));
  });
  Answer(IDYES);
  EXPECT_EQ(Run(), 0u);
  ASSERT_NE(bold_, nullptr);
  ASSERT_NE(normal_, nullptr);
  // Normal first, then bold, each once; the window's label font after the run.
  EXPECT_SEQUENCE((std::vector<std::string>{"DeleteObject(" + standin::NameOf(normal_) + ")",
                                            "DeleteObject(" + standin::NameOf(bold_) + ")",
                                            "DeleteObject(font#2)"}),
                  standin::CallsTo({"DeleteObject"}));
  EXPECT_EQ(standin::LiveObjectsOf("font"), std::vector<std::string>{});
}

TEST_F(WizardCloseTest, TheWindowEndsWithResultZeroAndTheProcessWithExitCodeZero) {
  Press(IDC_STEP1_SKIP);
  Press(IDC_STEP2_SKIP);
  Press(IDC_STEP3_SKIP);
  Press(IDC_DONE);
  EXPECT_EQ(Run(), 0u);
  EXPECT_SEQUENCE((std::vector<std::string>{"CoUninitialize()", "ExitProcess(0)"}),
                  standin::CallsTo({"CoUninitialize", "ExitProcess"}));
  EXPECT_EQ(standin::TopLevelWindows(), std::vector<HWND>{});
}

}  // namespace
}  // namespace wizard_test
