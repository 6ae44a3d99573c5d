#include "wizard/sequencer.h"

#include "dialogs/controls.h"
#include "dialogs/message_box.h"
#include "dialogs/modal.h"
#include "runtime/directory.h"
#include "runtime/error_state.h"
#include "runtime/process.h"
#include "runtime/text.h"
#include "wizard/entry.h"
#include "wizard/installer.h"
#include "wizard/window.h"

namespace {

constexpr DWORD kQuitQuestionStyle = MB_YESNO | MB_DEFBUTTON2;  // No is the default
constexpr DWORD kFailedStartStyle = MB_OK | MB_ICONWARNING;
constexpr DWORD kMessageSize = 400;
constexpr DWORD kFailedStartMessageSize = 600;
constexpr SHORT kStepsToFinish = 3;

struct Switch {
  LONG id;
  LONG on;
};

void Enable(HWND window, const Switch* switches, DWORD count) {
  for (DWORD i = 0; i < count; ++i) {
    EnableControl(window, switches[i].id, switches[i].on);
  }
}

template <DWORD N>
void Enable(HWND window, const Switch (&switches)[N]) {
  Enable(window, switches, N);
}

void SetStepFont(HWND window, LONG id, HFONT font) {
  SendWindowMessage(ControlHandle(window, id), WM_SETFONT, reinterpret_cast<WPARAM>(font), 0);
  RedrawControl(ControlHandle(window, id));
}

// A message text goes through a fixed buffer of 400 bytes and is read back from it, so
// at most 399 characters reach the control.
void SetMessage(HWND window, const char* text) {
  FixedText<kMessageSize> message;
  message.Store(TextOf(text));
  SetControlText(window, IDC_MESSAGE, message.CString());
}

// After an Install press: if the installer could not be started, the person is told so
// in a box owned by the window, which keeps the window from taking clicks meanwhile.
// The step still counts, as the component may be installed already.
void ReportFailedStart(HWND window, int step) {
  DWORD number = ErrorNumber();
  if (number == 0) {
    return;
  }
  const char* reason = kOtherFailure;
  for (const FailureReason& known : kFailureReasons) {
    if (known.number == number) {
      reason = known.text;
    }
  }
  // The path goes in as it is, in UTF-16: in ANSI every letter outside the code page
  // would show as "?".
  WideFixedText<kInstallerPathSize> program;
  InstallerPath(step, &program);
  WideFixedText<kFailedStartMessageSize> message;
  message.Store(TextOf(kFailedStartHead));
  message.Append(program.Read());
  message.Append(kFailedStartReasonBefore);
  message.Append(reason);
  message.Append(kFailedStartNumberBefore);
  message.AppendNumber(number);
  message.Append(kFailedStartEnd);
  ShowOwnedMessageBox(window, message.CString(), kFailedStartStyle, kWarningCaption);
}

// Set while a step's installer runs. Its wait answers the messages other programs send to
// the window while the guard lock is held, so a command arriving then must not act at
// once: a step's installer would start inside the wait.
bool installerRunning = false;

void RunStepInstaller(HWND window, int step) {
  installerRunning = true;
  RunInstaller(step);
  // Keys and clicks given while the window looked busy are stale: against the window as
  // the step leaves it, they would start the next step's installer. They go before
  // anything else, the warning's own loop included.
  DiscardQueuedInput(window);
  installerRunning = false;
  ReportFailedStart(window, step);
}

// The keyboard focus goes to the step in progress: its "Install", or "Done" once the three
// steps are taken. Disabling the focused button leaves the focus on no window, and from
// there Tab moves nowhere. WM_NEXTDLGCTL rather than SetFocus: the dialog manager then
// also makes the focused button the default one, drawn so and pressed by Enter.
constexpr LONG kInstallButtons[] = {IDC_STEP3_INSTALL, IDC_STEP2_INSTALL, IDC_STEP1_INSTALL};

void FocusStepInProgress(HWND window) {
  LONG id = IDC_DONE;
  for (LONG install : kInstallButtons) {
    if (IsWindowEnabled(ControlHandle(window, install))) {
      id = install;
    }
  }
  SendWindowMessage(window, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(ControlHandle(window, id)),
                    TRUE);
}

void Initialise(HWND window) {
  Enable(window, {{IDC_STEP1_INSTALL, 1},
                  {IDC_STEP1_SKIP, 1},
                  {IDC_STEP1_LABEL, 1},
                  {IDC_STEP2_INSTALL, 0},
                  {IDC_STEP2_SKIP, 0},
                  {IDC_STEP2_LABEL, 0},
                  {IDC_STEP4_LABEL, 0},
                  {IDC_STEP3_INSTALL, 0},
                  {IDC_STEP3_SKIP, 0},
                  {IDC_STEP3_LABEL, 0}});
  BoldStepFont = MakeStepFont(FW_BOLD);
  NormalStepFont = MakeStepFont(FW_NORMAL);
  SetStepFont(window, IDC_STEP1_LABEL, BoldStepFont);
  StepCount = 0;
}

void CountStep() {
  StepCount = static_cast<SHORT>(StepCount + 1);
}

void StepOne(HWND window, bool install) {
  CountStep();
  if (install) {
    RunStepInstaller(window, 1);
  }
  ChangeDirectory(TextOf("..\\"));
  SetStepFont(window, IDC_STEP1_LABEL, NormalStepFont);
  SetStepFont(window, IDC_STEP2_LABEL, BoldStepFont);
  SetStepFont(window, IDC_STEP3_LABEL, NormalStepFont);
  Enable(window, {{IDC_STEP1_INSTALL, 0},
                  {IDC_STEP1_SKIP, 0},
                  {IDC_STEP1_LABEL, 0},
                  {IDC_STEP2_INSTALL, 1},
                  {IDC_STEP2_SKIP, 1},
                  {IDC_STEP2_LABEL, 1},
                  {IDC_STEP3_INSTALL, 0},
                  {IDC_STEP3_SKIP, 0},
                  {IDC_STEP3_LABEL, 0}});
  FocusStepInProgress(window);
}

void StepTwo(HWND window, bool install) {
  CountStep();
  if (install) {
    RunStepInstaller(window, 2);
  }
  ChangeDirectory(TextOf("..\\"));
  SetMessage(window, kPlugOutWarning);
  SetStepFont(window, IDC_STEP2_LABEL, NormalStepFont);
  SetStepFont(window, IDC_STEP4_LABEL, NormalStepFont);
  SetStepFont(window, IDC_STEP3_LABEL, BoldStepFont);
  Enable(window, {{IDC_STEP2_INSTALL, 0},
                  {IDC_STEP2_SKIP, 0},
                  {IDC_STEP2_LABEL, 0},
                  {IDC_STEP4_LABEL, 0},
                  {IDC_STEP3_INSTALL, 1},
                  {IDC_STEP3_SKIP, 1},
                  {IDC_STEP3_LABEL, 1}});
  FocusStepInProgress(window);
}

void StepThree(HWND window, bool install) {
  CountStep();
  if (install) {
    RunStepInstaller(window, 3);
  }
  // The last state: the labels of steps 1 and 2 turn bold, so that, greyed like the rest,
  // they stand out as done; step 4's label, now the only one enabled, says what is left.
  SetStepFont(window, IDC_STEP3_LABEL, NormalStepFont);
  SetStepFont(window, IDC_STEP1_LABEL, BoldStepFont);
  SetStepFont(window, IDC_STEP2_LABEL, BoldStepFont);
  Enable(window, {{IDC_STEP1_INSTALL, 0},
                  {IDC_STEP1_SKIP, 0},
                  {IDC_STEP1_LABEL, 0},
                  {IDC_STEP2_INSTALL, 0},
                  {IDC_STEP2_SKIP, 0},
                  {IDC_STEP2_LABEL, 0},
                  {IDC_STEP3_INSTALL, 0},
                  {IDC_STEP3_SKIP, 0},
                  {IDC_STEP3_LABEL, 0},
                  {IDC_STEP4_LABEL, 1}});
  ChangeDirectory(TextOf("..\\"));
  SetMessage(window, kClosingInstructions);
  FocusStepInProgress(window);
}

// Quitting before three steps were taken asks first; only Yes ends the run.
void Done(HWND window) {
  if (StepCount < kStepsToFinish) {
    FixedText<kMessageSize> question;
    question.Store(TextOf(kQuitQuestion));
    if (ShowMessageBox(question.CString(), kQuitQuestionStyle, kWarningCaption) == IDYES) {
      EndDialogWith(window, 0);
    } else {
      // Once the box has gone, the platform puts the focus on the window's first enabled
      // button ("Done" in step 3) while the step's Install keeps the default look, and
      // Enter presses neither.
      FocusStepInProgress(window);
    }
    return;
  }
  EndDialogWith(window, 0);
}

void Command(HWND window, WORD id) {
  switch (id) {
    case IDC_STEP1_INSTALL:
    case IDC_STEP1_SKIP:
      StepOne(window, id == IDC_STEP1_INSTALL);
      break;
    case IDC_STEP2_INSTALL:
    case IDC_STEP2_SKIP:
      StepTwo(window, id == IDC_STEP2_INSTALL);
      break;
    case IDC_STEP3_INSTALL:
    case IDC_STEP3_SKIP:
      StepThree(window, id == IDC_STEP3_INSTALL);
      break;
    case IDC_DONE:
      Done(window);
      break;
    default:
      break;  // the labels, Esc's IDCANCEL and anything else
  }
}

}  // namespace

INT_PTR StepSequencer(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  ErrorScope scope;  // each call starts with a clean error state
  switch (message) {
    case WM_INITDIALOG:
      Initialise(window);
      break;
    case WM_DESTROY:
      if (NormalStepFont != nullptr) {
        DeleteObject(NormalStepFont);
        NormalStepFont = nullptr;
      }
      if (BoldStepFont != nullptr) {
        DeleteObject(BoldStepFont);
        BoldStepFont = nullptr;
      }
      break;
    case WM_SYSCOMMAND:
      // Every close request (system menu, close box, Alt+F4) becomes a press of "Done";
      // the result 1 keeps the toolkit from ending the dialog itself.
      if ((wParam & kSystemCommandMask) == SC_CLOSE) {
        PostMessageA(window, WM_COMMAND, static_cast<WPARAM>(IDC_DONE), 0);
        return 1;
      }
      break;
    case WM_COMMAND:
      if (installerRunning) {
        // Sent while the installer runs: it acts after the step, in its order.
        PostMessageA(window, message, wParam, lParam);
      } else {
        Command(window, LOWORD(wParam));  // the notification code is not looked at
      }
      break;
    default:
      break;
  }
  return 0;
}
