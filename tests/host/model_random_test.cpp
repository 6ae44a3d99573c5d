// Random use of the whole program: seeded runs of clicks on any control, close requests,
// keys, answers to the boxes (nested ones included) and installers that start or fail,
// end at once or later, with input given while they run. After every event the window,
// the steps, the working directory, the installers started and the open boxes must be
// what the model in wizard_model.h says; after every run nothing may be left alive.
//
// MODEL_SEED=n replays run n alone and prints its events; MODEL_RUNS=n sets how many
// runs the set has (1000 by default), dealt out to four tests that run side by side.
#include <algorithm>
#include <array>
#include <cinttypes>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "wizard/entry.h"
#include "wizard_fixture.h"
#include "wizard_model.h"

namespace {

using wizard_model::Action;
using wizard_model::Input;
using wizard_model::Installer;
using wizard_model::Model;

// splitmix64: the same numbers for a seed with every compiler and library.
class Random {
 public:
  explicit Random(uint64_t seed) : state_(seed) {}
  int Below(int n) { return static_cast<int>(Next() % static_cast<uint64_t>(n)); }
  bool Percent(int p) { return Below(100) < p; }

 private:
  uint64_t Next() {
    uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  uint64_t state_;
};

constexpr const char* kMedia[] = {R"(D:\Setup)", R"(E:\)", R"(D:\Drivers\USB Video\Disk 1)"};

using wizard_table::kControls;

// Boxes open in the middle of the screen, over the middle of the window: the controls
// whose middle a box covers, measured once on the quit question.
const std::set<int>& ControlsUnderABox() {
  static const std::set<int> covered = [] {
    std::set<int> under;
    standin::Reset();
    standin::AddIconResource(standin::ProgramModule(), "#104", {32});
    standin::WhenIdle([] { standin::Click(wizard_test::Control(IDC_DONE)); });
    standin::AnswerMessageBoxes([&under](const standin::MessageBox& box) {
      RECT area = standin::WindowRectOf(box.window);
      for (const auto& row : kControls) {
        RECT rect = standin::WindowRectOf(wizard_test::Control(row.id));
        LONG x = (rect.left + rect.right) / 2;
        LONG y = (rect.top + rect.bottom) / 2;
        if (x >= area.left && x < area.right && y >= area.top && y < area.bottom) {
          under.insert(row.id);
        }
      }
      return IDYES;
    });
    standin::RunProcess(ProcessMain);
    standin::Reset();
    return under;
  }();
  return covered;
}

std::string Describe(const Action& action) {
  switch (action.input) {
    case Input::kClick:
      return "click " + std::to_string(action.id);
    case Input::kCloseBox:
      return "close box";
    case Input::kMenuClose:
      return "system menu Close";
    case Input::kAltF4:
      return "Alt+F4";
    case Input::kEsc:
      return "Esc";
  }
  return "?";
}

std::string Describe(Installer installer, DWORD runsFor) {
  switch (installer) {
    case Installer::kEndsAtOnce:
      return "ends at once";
    case Installer::kRunsAWhile:
      return "runs " + std::to_string(runsFor) + " ms";
    case Installer::kMissingFolder:
      return "folder missing";
    case Installer::kMissingProgram:
      return "program missing";
    case Installer::kNotAProgram:
      return "not a program";
  }
  return "?";
}

// What was reached over the whole set, so that a change that stops the runs from
// getting somewhere shows.
struct Reached {
  int warnings = 0;
  int deepestBox = 0;
  int inputWhileRunning = 0;
  int closedUnderAQuestion = 0;  // the window went while a question stayed open
  int endedInLastStep = 0;
};

class RandomRun {
 public:
  explicit RandomRun(uint64_t seed) : seed_(seed), random_(seed) {
    medium_ = kMedia[random_.Below(3)];
    for (int i = 0; i < 3; ++i) {
      int roll = random_.Below(100);
      installers_[i] = roll < 25   ? Installer::kEndsAtOnce
                       : roll < 60 ? Installer::kRunsAWhile
                       : roll < 73 ? Installer::kMissingFolder
                       : roll < 86 ? Installer::kMissingProgram
                                   : Installer::kNotAProgram;
      runsFor_[i] = 1000 + static_cast<DWORD>(random_.Below(60000));
    }
    budget_ = 5 + random_.Below(36);
  }

  // Runs the program to its end; false when it parted from the model (reported then).
  bool Go(Reached* reached) {
    const std::set<int>& underBox = ControlsUnderABox();
    standin::Reset();
    standin::AddIconResource(standin::ProgramModule(), "#104", {32});
    std::string launcher = medium_.back() == '\\' ? medium_ + "setup.exe" : medium_ + "\\setup.exe";
    standin::AddFolder(medium_);
    standin::AddProgram(launcher);
    standin::SetLauncherPath(launcher);
    standin::SetCurrentDirectory(medium_);
    standin::SetCommandLine("\"" + launcher + "\"");
    for (int step = 1; step <= 3; ++step) {
      std::string folder = wizard_test::Join(medium_, kInstallers[step - 1].folder);
      std::string program = wizard_table::InstallerPath(medium_, step);
      auto hook = [this, step](const standin::Launch&) { WhileWaited(step); };
      switch (installers_[step - 1]) {
        case Installer::kEndsAtOnce:
          standin::AddProgram(program, {.runsFor = 0, .whileWaited = hook});
          break;
        case Installer::kRunsAWhile:
          standin::AddProgram(program, {.runsFor = runsFor_[step - 1], .whileWaited = hook});
          break;
        case Installer::kMissingFolder:
          break;
        case Installer::kMissingProgram:
          standin::AddFolder(folder);
          break;
        case Installer::kNotAProgram:
          standin::AddProgram(program, {.failWith = ERROR_BAD_EXE_FORMAT});
          break;
      }
    }
    model_ = std::make_unique<Model>(medium_, installers_, underBox);
    standin::AnswerMessageBoxes([this](const standin::MessageBox& box) { return InBox(box); });
    standin::WhenIdle([this] { AtIdle(); });

    UINT exitCode = standin::RunProcess(ProcessMain);
    Check("at the end");
    std::vector<std::string> left = standin::LiveObjects();
    const std::vector<std::string>& faults = standin::Faults();
    left.insert(left.end(), faults.begin(), faults.end());
    if (!parted_ && (exitCode != 0 || !left.empty())) {
      Part("exit code " + std::to_string(exitCode) + (left.empty() ? "" : ", left behind:") +
           SameSequence({}, left).message());
    }
    for (const standin::MessageBox& box : standin::MessageBoxes()) {
      reached->warnings += box.style == (MB_OK | MB_ICONWARNING) ? 1 : 0;
      reached->deepestBox = std::max(reached->deepestBox, box.depth);
    }
    reached->inputWhileRunning += queuedInputs_;
    reached->closedUnderAQuestion += closedUnderAQuestion_ ? 1 : 0;
    reached->endedInLastStep += StepCount >= 3 ? 1 : 0;
    standin::Reset();  // nothing of this run reaches the next test
    return !parted_;
  }

  std::string Story() const {
    std::string story = "seed " + std::to_string(seed_) + ", medium " + medium_ + "\n";
    for (int i = 0; i < 3; ++i) {
      story += "installer " + std::to_string(i + 1) + ": " + Describe(installers_[i], runsFor_[i]) +
               "\n";
    }
    for (size_t i = 0; i < events_.size(); ++i) {
      story += "  " + std::to_string(i + 1) + ". " + events_[i] + "\n";
    }
    return story + "replay: MODEL_SEED=" + std::to_string(seed_) +
           " host_tests --gtest_filter='*ModelRandomTest*/0'\n";
  }

 private:
  // The window's loop waits for input: the next event, or Done once the events are used.
  void AtIdle() {
    const std::vector<std::string>& calls = standin::Calls();
    HWND window = wizard_test::Window();
    if (!calls.empty() && calls.back() == "Sleep(1)" && window != nullptr) {
      Check("while the window waits");
      Action action{Input::kClick, IDC_DONE};
      if (!parted_ && budget_ > 0) {
        --budget_;
        action = Pick();
      }
      Note("window waits", Describe(action));
      if (parted_ && ++forcedDone_ > 5) {
        DestroyWindow(window);  // the program no longer ends by Done; stop it all the same
      } else {
        Give(action);
      }
    }
    standin::WhenIdle([this] { AtIdle(); });
  }

  // A box is open: input given meanwhile (handled by the box's loop at once), then an answer.
  int InBox(const standin::MessageBox& box) {
    bool question = (box.style & MB_TYPEMASK) == MB_YESNO;
    std::string where =
        "box " + std::to_string(box.depth) + (question ? " (question)" : " (warning)");
    for (;;) {
      Check(where);
      int answer = question ? IDYES : IDOK;
      if (!parted_ && budget_ > 0) {
        --budget_;
        if (!random_.Percent(question ? 45 : 50)) {
          Action action = Pick();
          Note(where, Describe(action));
          Give(action);
          standin::PumpMessages();
          continue;
        }
        int roll = random_.Below(100);
        answer = roll < 30 ? 0 : !question ? IDOK : roll < 65 ? IDYES : IDNO;
      }
      Note(where, answer == 0       ? "close the box"
                  : answer == IDYES ? "Yes"
                  : answer == IDOK  ? "OK"
                                    : "No");
      if (!parted_) {
        bool windowOpen = model_->WindowOpen();
        model_->Answer(answer);
        closedUnderAQuestion_ |= windowOpen && !model_->WindowOpen() && box.depth > 1;
      }
      return answer;
    }
  }

  // An installer runs: input given now waits in the queue, and is dropped once it has ended.
  void WhileWaited(int step) {
    waitingFor_ = step;
    std::string where = "installer " + std::to_string(step) + " runs";
    Check(where);
    while (installers_[step - 1] == Installer::kRunsAWhile && !parted_ && budget_ > 0 &&
           random_.Percent(55)) {
      --budget_;
      Action action = Pick();
      Note(where, Describe(action) + " (queued, to be dropped)");
      Perform(action);
      ++queuedInputs_;
      Check(where);
    }
    Note(where, "installer " + std::to_string(step) + " ends");
    if (!parted_) {
      model_->InstallerEnds();
    }
    waitingFor_ = 0;
  }

  // Any control, enabled or not, or more often one of the buttons that would act; close
  // requests of every kind and Esc. Only keys once the window is gone.
  Action Pick() {
    if (wizard_test::Window() == nullptr) {
      return {random_.Percent(50) ? Input::kEsc : Input::kAltF4};
    }
    int roll = random_.Below(100);
    if (roll < 40) {
      return {Input::kClick, kControls[random_.Below(static_cast<int>(std::size(kControls)))].id};
    }
    if (roll < 75) {
      std::vector<int> acting;
      for (const auto& row : kControls) {
        if (model_->ButtonEnabled(row.id)) {
          acting.push_back(row.id);
        }
      }
      return {Input::kClick,
              acting[static_cast<size_t>(random_.Below(static_cast<int>(acting.size())))]};
    }
    return {roll < 82   ? Input::kCloseBox
            : roll < 88 ? Input::kMenuClose
            : roll < 94 ? Input::kAltF4
                        : Input::kEsc};
  }

  void Give(const Action& action) {
    if (!parted_) {
      model_->Give(action);
    }
    Perform(action);
  }

  static void Perform(const Action& action) {
    switch (action.input) {
      case Input::kClick:
        standin::Click(wizard_test::Control(action.id));
        break;
      case Input::kCloseBox:
        standin::ClickCloseBox(wizard_test::Window());
        break;
      case Input::kMenuClose:
        standin::ChooseSystemMenuClose(wizard_test::Window());
        break;
      case Input::kAltF4:
        standin::PressAltF4();
        break;
      case Input::kEsc:
        standin::PressKey(VK_ESCAPE);
        break;
    }
  }

  void Note(const std::string& where, const std::string& event) {
    events_.push_back("[" + where + "] " + event);
  }

  // What the program shows, in the model's terms.
  std::vector<std::string> Seen() const {
    std::vector<std::string> lines;
    HWND window = wizard_test::Window();
    if (window == nullptr) {
      lines.emplace_back("window closed");
      lines.push_back("steps " + std::to_string(StepCount));
    } else {
      lines.emplace_back(standin::IsEnabled(window) ? "window enabled" : "window disabled");
      std::vector<std::string> seen = wizard_test::WindowSeen();
      lines.insert(lines.end(), seen.begin(), seen.end());
      lines.push_back("steps " + std::to_string(StepCount));
    }
    lines.push_back("directory " + standin::CurrentDirectory());
    for (const standin::Launch& launch : standin::Launches()) {
      lines.push_back("launch " + launch.commandLine + " in " + launch.directory +
                      (standin::HasEnded(launch.processId) ? ": ended" : ": running"));
    }
    HWND active = GetActiveWindow();
    std::string activeLine = active == nullptr  ? "active none"
                             : active == window ? "active window"
                                                : "active " + standin::NameOf(active);
    int depth = 0;
    for (const standin::MessageBox& box : standin::MessageBoxes()) {
      if (!standin::IsAlive(box.window)) {
        continue;
      }
      ++depth;
      char style[16];
      std::snprintf(style, sizeof style, "0x%X", box.style);
      std::string owner = box.owner == nullptr  ? "no owner"
                          : box.owner == window ? "owned by the window"
                                                : "owned by " + standin::NameOf(box.owner);
      lines.push_back("box " + std::to_string(depth) + ": " + owner + ", " + style + ", \"" +
                      box.caption + "\", \"" + wizard_table::Escaped(box.text) + "\"");
      if (active == box.window) {
        activeLine = "active box " + std::to_string(depth);
      }
    }
    lines.push_back(activeLine);
    if (waitingFor_ != 0) {
      lines.push_back("waiting for installer " + std::to_string(waitingFor_));
    }
    return lines;
  }

  void Check(const std::string& where) {
    if (parted_) {
      return;
    }
    ::testing::AssertionResult same = SameSequence(model_->Lines(), Seen());
    if (!same) {
      Part(where + ", the model (left) and the program (right) differ:" + same.message());
    }
  }

  void Part(const std::string& what) {
    parted_ = true;
    ADD_FAILURE() << Story() << what;
    std::fflush(stdout);  // out before the program, gone astray, might stop the test binary
  }

  uint64_t seed_;
  Random random_;
  std::string medium_;
  std::array<Installer, 3> installers_{};
  std::array<DWORD, 3> runsFor_{};
  int budget_ = 0;  // random events still to give
  std::unique_ptr<Model> model_;
  std::vector<std::string> events_;
  bool parted_ = false;
  int waitingFor_ = 0;  // the step whose installer the program waits for
  int forcedDone_ = 0;
  int queuedInputs_ = 0;
  bool closedUnderAQuestion_ = false;
};

// The runs are dealt out to four tests, seed by seed, so that they run side by side.
constexpr uint64_t kShares = 4;

class ModelRandomTest : public ::testing::TestWithParam<uint64_t> {};

TEST_P(ModelRandomTest, RandomRunsMatchTheModelAfterEveryEvent) {
  const uint64_t share = GetParam();
  Reached reached;
  if (const char* seed = std::getenv("MODEL_SEED")) {
    if (share == 0) {
      RandomRun run(std::strtoull(seed, nullptr, 10));
      bool same = run.Go(&reached);
      std::printf("%s%s\n", run.Story().c_str(), same ? "the program matched the model" : "");
    }
    return;
  }
  const char* count = std::getenv("MODEL_RUNS");
  uint64_t runs = count != nullptr ? std::strtoull(count, nullptr, 10) : 1000;
  uint64_t mine = 0;
  for (uint64_t seed = 1 + share; seed <= runs; seed += kShares, ++mine) {
    RandomRun run(seed);
    if (!run.Go(&reached)) {
      ADD_FAILURE() << "run " << seed << " parted from the model; " << mine
                    << " runs of this share before it matched";
      return;
    }
  }
  std::string under;
  for (int id : ControlsUnderABox()) {
    under += " " + std::to_string(id);
  }
  std::printf(
      "%" PRIu64
      " runs: %d warning boxes, boxes nested %d deep, %d inputs given while an installer ran, "
      "%d windows gone under an open question, %d runs past the last step; under a box:%s\n",
      mine, reached.warnings, reached.deepestBox, reached.inputWhileRunning,
      reached.closedUnderAQuestion, reached.endedInLastStep, under.c_str());
  if (mine >= 250) {
    // What a share of a thousand runs gets to; a generator that stops reaching one of these
    // no longer tests it.
    EXPECT_GT(reached.warnings, 12);
    EXPECT_GE(reached.deepestBox, 3);
    EXPECT_GT(reached.inputWhileRunning, 25);
    EXPECT_GT(reached.closedUnderAQuestion, 1);
    EXPECT_GT(reached.endedInLastStep, 25);
  }
}

INSTANTIATE_TEST_SUITE_P(Share, ModelRandomTest, ::testing::Range(uint64_t{0}, kShares));

}  // namespace
