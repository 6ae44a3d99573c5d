// Drives setup.exe as a person would: lays out an installation medium, starts the real
// program in it, presses its buttons with real mouse and keyboard input, answers its
// message boxes, and reads the window's state from outside as a table of rows that tests
// compare whole with the table they expect.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "state_probe.h"
#include "wine_test.h"
#include "wizard_table.h"

namespace e2e {

using wizard_table::kSteps;
using wizard_table::NameOf;

// The working directory setup.exe is started in: the medium's root, as from a disc or a
// double click; another folder holding a DirectX9\DXSETUP.exe of its own; or the system
// folder, as launchers that elevate a program without a working directory give it.
enum class StartIn { kMedium, kPlantedFolder, kSystemFolder };

// What is on the medium besides setup.exe at its root.
struct MediumLayout {
  bool folder[3] = {true, true, true};   // the installer folder of each step
  bool program[3] = {true, true, true};  // the installer in it
  bool plantBesideSetup = false;         // a DXSETUP.exe next to setup.exe
  bool plantOnPath = false;              // a DXSETUP.exe in a folder on PATH
  // kPlantedLibrary beside setup.exe and beside step 1's installer, which the platform is
  // told to prefer to its own copy (under Wine, by the prefix's DllOverrides)
  bool plantLibrary = false;
  StartIn startIn = StartIn::kMedium;  // the working directory setup.exe is started in
  const char* rootName = "medium";     // the medium's folder (UTF-8), in a scratch folder
};

// A medium laid out in a scratch folder, with a folder for the installers' records and
// one to put on PATH beside it.
class Medium {
 public:
  explicit Medium(const MediumLayout& layout = MediumLayout());
  ~Medium();

  const std::string& Root() const { return root_; }
  std::string RecordFolder() const { return scratch_ / "records"; }
  std::string PathFolder() const { return scratch_ / "onpath"; }
  std::string StartFolder() const;
  const MediumLayout& Layout() const { return layout_; }
  // <root>\<folder>\<program> of a step; paths in UTF-8.
  std::string InstallerPath(int step) const;
  // Whether every file could be put in place.
  bool Ready() const { return ready_; }

 private:
  bool Copy(const std::string& from, const std::string& to);

  winetest::ScratchFolder scratch_;
  std::string root_;
  MediumLayout layout_;
  bool ready_ = true;
};

// What an installer wrote about itself (see installer_record.h), with its process id.
struct InstallerRecord {
  DWORD processId = 0;
  std::vector<std::string> lines;  // program=..., command=..., directory=..., show=..., version=...
};

// How much of the window's state can be read at a given moment.
enum class Look {
  kWhole,           // the window answers and the probe reads its fonts and icons
  kBehindOwnedBox,  // an owned message box is open: the window is disabled
  kFromOutside,     // no probe: what other processes can read by themselves
};

// The state table a window in state 0 to 3 (step 1 to step 4 active) is expected to show.
std::vector<std::string> ExpectedState(int state, Look look = Look::kWhole);

// The rows of the quit question and of the warning about an installer that did not start.
std::vector<std::string> ExpectedQuestion();
std::vector<std::string> ExpectedStartWarning(const std::string& program, int errorNumber);

// The number setup.exe is expected to show for a program that cannot be started: what
// the platform reports for starting it the same way, by its quoted path (ERROR_FILE_NOT_FOUND
// is 53, ERROR_PATH_NOT_FOUND 76); -1 for anything else.
int StartErrorNumber(const std::string& program);

// The record an installer of a step is expected to leave.
std::vector<std::string> ExpectedRecord(const Medium& medium, int step);

// The major.minor version that GetVersionExA reports to this process.
std::string WindowsVersion();

// One run of setup.exe, started in the medium's root.
class WizardRun {
 public:
  // probe: read fonts and icons through the state probe (tests that count the program's
  // objects leave it out, as it adds its own).
  explicit WizardRun(const Medium& medium, bool probe = true);
  ~WizardRun();
  WizardRun(const WizardRun&) = delete;
  WizardRun& operator=(const WizardRun&) = delete;

  // Whether setup.exe started and showed its window; otherwise why not.
  const std::string& Trouble() const { return trouble_; }
  HWND Window() const { return window_; }
  HANDLE Process() const { return process_.hProcess; }
  DWORD ProcessId() const { return process_.dwProcessId; }

  // The window's state now, as rows.
  std::vector<std::string> State();
  // Reads the state until it equals the expected table or the time is up; the last read.
  std::vector<std::string> WaitForState(const std::vector<std::string>& expected,
                                        DWORD timeoutMs = 10000);

  // A left click with the mouse at the centre of a control of the wizard or of a box.
  // Unless told otherwise, it first checks that the control is what is under that point.
  void Click(int id, bool checkTarget = true);
  void ClickBoxButton(HWND box, int id);
  // A click on the close box of the wizard's caption.
  void ClickCloseBox();
  // Keys pressed while the window is in the foreground: Esc, Enter, Alt+F4.
  void PressKey(HWND window, WORD key);
  void PressAltF4(HWND window);
  // Keys pressed one after the other while the wizard is in the foreground.
  void PressKeys(const std::vector<WORD>& keys);
  // Where the wizard's keyboard focus is, and which of its buttons look like the default
  // one, as two rows: "focus: 1006 step-2 Install", "default look: 1006 step-2 Install".
  std::vector<std::string> Focus();
  // Reads them until they are as expected or the time is up; the last read.
  std::vector<std::string> WaitForFocus(const std::vector<std::string>& expected,
                                        DWORD timeoutMs = 10000);
  // What the system menu's Close does: WM_SYSCOMMAND SC_CLOSE posted to the window.
  void PostClose(HWND window);
  // Brings a window of the program to the foreground, as the task switcher does.
  void BringToFront(HWND window);

  // The open "Installation Warning" boxes of the process.
  std::vector<HWND> Boxes();
  // A box that was not among those known, once it appears; nullptr after the time is up,
  // with a note of what was in the foreground then.
  HWND WaitForNewBox(const std::vector<HWND>& known, DWORD timeoutMs = 10000);
  bool WaitUntilGone(HWND box, DWORD timeoutMs = 10000);
  // The box's caption, text, owner, icon and buttons, as rows.
  std::vector<std::string> BoxContents(HWND box);

  // The first record of an installer not seen before, once one appears.
  InstallerRecord WaitForInstaller(DWORD timeoutMs = 10000);
  // All records there are now.
  std::vector<InstallerRecord> Records() const;
  // Lets a recorded installer end and waits until it has; one that does not end in time
  // (hung in its broadcast, say) is reported and ended.
  void EndInstaller(const InstallerRecord& record);
  // "ran in <program>" for each process that a planted library has run in, sorted.
  std::vector<std::string> PlantedLibraryRuns() const;

  // "exit code N" once the process has ended, or what keeps it running.
  std::string WaitForExit(DWORD timeoutMs = 10000);

  // Whether the window answers WM_NULL within 1 s, as a program that is not hung does.
  bool Answers();

 private:
  struct Probe;

  bool Start(const Medium& medium, bool probe);
  bool ReadProbe(HWND window, ProbeReport* report);
  std::string FontName(DWORD font);
  void EndEverything();

  std::string recordFolder_;
  PROCESS_INFORMATION process_{};
  HWND window_ = nullptr;
  std::string trouble_;
  std::unique_ptr<Probe> probe_;
  std::vector<DWORD> fonts_;  // label fonts in the order first seen
  std::vector<DWORD> installersSeen_;
  std::vector<HANDLE> installers_;
};

}  // namespace e2e
