// The stand-in platform, as tests see it: lay out a machine (drives, folders, programs,
// start-up facts), script what its processes do, run the product against it, and read
// back what the product asked of it (the call log, in order, with arguments) and what it
// left behind (the ledger of live objects).
//
// The stand-in runs on one thread and has a virtual clock: Sleep and waits on processes
// move the clock instead of blocking. Where the real platform would block for ever (a
// wait on a process that never ends), the stand-in stops the test program with a
// message, so that a death test can show it (a wait for input: SetIdleLimit).
#pragma once

#include <functional>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform.h"

namespace standin {

// A fresh machine: drive C: with C:\Windows\System32, current directory C:\, launcher
// C:\setup.exe, an empty call log and ledger, clock at 0, no failures switched on.
void Reset();

// ---- The call log ------------------------------------------------------------------
// Every platform call the product makes, in order, as "Name(arg, arg, ...)". Texts are
// quoted, with \r, \n, \t, \" and \xNN escapes; numbers as the call takes them.
const std::vector<std::string>& Calls();
// The log, keeping only calls to the named functions.
std::vector<std::string> CallsTo(std::initializer_list<std::string_view> names);
void ClearCalls();

// ---- The ledger --------------------------------------------------------------------
// One line for every object still alive that the product made: kernel handles, global
// memory, TLS slots, and (window side) windows, GDI objects and icons.
std::vector<std::string> LiveObjects();

// ---- File system -------------------------------------------------------------------
// Paths are Windows paths with a drive letter, in UTF-8; case does not matter (in ASCII).
struct FolderScript {
  DWORD refuseWith = 0;         // nonzero: SetCurrentDirectory into it fails with this code
  bool refuseSilently = false;  // SetCurrentDirectory fails without setting a code
  DWORD leaveLastError = 0;     // nonzero: entering succeeds but leaves this code behind
};
void AddDrive(char letter);
void AddFolder(const std::string& path, FolderScript script = {});  // makes parents too

// What one started program does.
struct Launch;
struct ProgramScript {
  DWORD failWith = 0;                // nonzero: CreateProcessW fails with this last-error code
  DWORD leaveLastError = 0;          // nonzero: the start succeeds but leaves this code behind
  bool failSilently = false;         // CreateProcessW fails without setting a code
  std::optional<DWORD> runsFor = 0;  // milliseconds until it ends; nullopt: never ends
  // Called when the launcher starts waiting for it, before the wait returns: the moment
  // in which a person might click on the launcher's window while the program runs.
  std::function<void(const Launch&)> whileWaited;
};
void AddProgram(const std::string& path, ProgramScript script = {});  // makes parents too

// The current directory, read and set directly (not logged).
std::string CurrentDirectory();
void SetCurrentDirectory(const std::string& path);

// The launcher's own path, as GetModuleFileNameW reports it; its folder is the first place
// the platform searches for a program named without a path. An empty path makes
// GetModuleFileNameW fail.
void SetLauncherPath(const std::string& path);
// Further folders searched after the system folders, as PATH lists them.
void SetSearchPath(const std::vector<std::string>& folders);
// KERNEL32 lacks this export, as Windows XP lacks SetDllDirectoryA and 7 without its
// update SetDefaultDllDirectories: GetProcAddress does not find it.
void HideExport(const std::string& name);

// ---- Processes ---------------------------------------------------------------------
struct Launch {
  DWORD processId;
  std::string image;        // the full path of the program that was started
  std::string commandLine;  // as the launcher passed it
  std::string directory;    // the new process's current directory
  WORD showWindow;
  DWORD startupFlags;
  DWORD creationFlags;
  UINT errorMode;  // the error mode the new process inherited
  DWORD startedAt;
  std::optional<DWORD> endsAt;
};
const std::vector<Launch>& Launches();
bool HasEnded(DWORD processId);
// A message that another thread sends to a window of the program: delivered when the
// program's thread next looks at its queue (a PeekMessageA; MsgWaitForMultipleObjects
// only wakes for it, as on Wine). The sender gets the answer.
void SendFromOtherThread(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                         std::function<void(LRESULT)> answered = nullptr);

// ---- Errors, TLS and memory --------------------------------------------------------
UINT ErrorMode();
DWORD LastError();
void SetLastErrorDirect(DWORD code);
void FailTlsAlloc(bool fail);
// GlobalAlloc fails from the nth call on (1 = the next call); 0 switches failure off.
void FailGlobalAllocFrom(int nth);

// ---- Start-up facts and the process --------------------------------------------------
void SetStartupInfo(DWORD flags, WORD showWindow);
void SetCommandLine(const std::string& commandLine);
// Runs an entry point as the simulated process and returns its exit code, that is the
// code given to ExitProcess. An entry that returns without ExitProcess stops the test.
UINT RunProcess(void (*entry)());
// How often CoUninitialize was called since Reset.
int ComUninitializeCount();

// ---- Clock ---------------------------------------------------------------------------
DWORD Now();  // milliseconds since Reset

}  // namespace standin
