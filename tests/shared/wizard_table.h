// The wizard as a person sees it, for every ring that runs it (the host tests, the model
// of the random runs, the end-to-end driver): which controls each state enables, the
// label fonts, the message area, where the focus goes, and the warning about an installer
// that did not start. Identifiers, texts and installers come from the product's headers;
// what the states show is written here once, from the program's rules.
#pragma once

#include <string>

#include "wizard/installer.h"
#include "wizard/sequencer.h"
#include "wizard/window.h"

namespace wizard_table {

// The label and the two buttons of steps 1 to 3, by step.
struct Step {
  LONG label;
  LONG install;
  LONG skip;
};
constexpr Step kSteps[3] = {{IDC_STEP1_LABEL, IDC_STEP1_INSTALL, IDC_STEP1_SKIP},
                            {IDC_STEP2_LABEL, IDC_STEP2_INSTALL, IDC_STEP2_SKIP},
                            {IDC_STEP3_LABEL, IDC_STEP3_INSTALL, IDC_STEP3_SKIP}};

// Each control in the states S0 to S3 (step 1 to step 4 active): E enabled, D disabled;
// and for the four step labels their font: B bold, N normal, L the window's own label
// font, which they have before their step first changes them.
struct ControlRow {
  LONG id;
  const char* name;
  const char* enabled;
  const char* font;  // nullptr: no step label
};
constexpr ControlRow kControls[12] = {
    {IDC_STEP1_LABEL, "step-1 label", "EDDD", "BNNB"},  // greyed in S3, and bold: done
    {IDC_STEP1_INSTALL, "step-1 Install", "EDDD", nullptr},
    {IDC_STEP1_SKIP, "step-1 Skip", "EDDD", nullptr},
    {IDC_STEP2_LABEL, "step-2 label", "DEDD", "LBNB"},
    {IDC_STEP2_INSTALL, "step-2 Install", "DEDD", nullptr},
    {IDC_STEP2_SKIP, "step-2 Skip", "DEDD", nullptr},
    {IDC_STEP3_LABEL, "step-3 label", "DDED", "LNBN"},
    {IDC_STEP3_INSTALL, "step-3 Install", "DDED", nullptr},
    {IDC_STEP3_SKIP, "step-3 Skip", "DDED", nullptr},
    {IDC_STEP4_LABEL, "step-4 label", "DDDE", "LLNN"},
    {IDC_DONE, "Done", "EEEE", nullptr},
    {IDC_MESSAGE, "message", "EEEE", nullptr},
};

// A control as a row names it: "1006 step-2 Install".
inline std::string NameOf(LONG id) {
  for (const ControlRow& row : kControls) {
    if (row.id == id) {
      return std::to_string(id) + " " + row.name;
    }
  }
  return std::to_string(id);
}

// The message area in each state.
constexpr const char* kMessages[4] = {"", "", kPlugOutWarning, kClosingInstructions};

// The button with the keyboard focus once a state is reached (or, after a question
// answered No, again): the Install of the step in progress, "Done" in S3.
constexpr LONG FocusIn(int state) {
  return state < 3 ? kSteps[state].install : IDC_DONE;
}

// A text with its line ends written as \r and \n, so that it fits in one row.
inline std::string Escaped(const std::string& text) {
  std::string out;
  for (char c : text) {
    out += c == '\r' ? std::string("\\r") : c == '\n' ? std::string("\\n") : std::string(1, c);
  }
  return out;
}

// The warning about a step's installer that did not start, for its full path (in UTF-8)
// and the error number its start recorded.
inline std::string FailedStartWarning(const std::string& program, int number) {
  const char* reason = kOtherFailure;
  for (const FailureReason& known : kFailureReasons) {
    reason = known.number == number ? known.text : reason;
  }
  return kFailedStartHead + program + kFailedStartReasonBefore + reason + kFailedStartNumberBefore +
         std::to_string(number) + kFailedStartEnd;
}

// <directory>\<folder>\<program> of a step, with the directory as it stands (a drive root
// E:\ gives E:\\DirectX9\DXSETUP.exe, as the program writes it).
inline std::string InstallerPath(const std::string& directory, int step) {
  return directory + "\\" + kInstallers[step - 1].folder + "\\" + kInstallers[step - 1].program;
}

}  // namespace wizard_table
