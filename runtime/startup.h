// Process start-up and shutdown.
#pragma once

#include "platform.h"

// The facts the platform hands a new process, read once at start-up.
struct StartupValues {
  int showCommand;          // wShowWindow when STARTF_USESHOWWINDOW was given, else SW_SHOWDEFAULT
  const char* commandTail;  // the command line after the program name
  HINSTANCE instance;       // the program's module
  OSVERSIONINFOA version;   // read at start-up; nothing uses it
};

// The values read at start-up.
const StartupValues& Startup();

// The program's module instance, for dialogs, controls and icons.
HINSTANCE ProgramInstance();

// Start-up records the module itself; code that uses the toolkit without going through
// ProcessMain (a test program) records its own module here first.
void RecordProgramInstance(HINSTANCE instance);

// The position of the command tail within a command line: after a quoted program name
// and the blanks that follow it, or after an unquoted name (its first byte, whatever it
// is, and every following byte above 0x20) and the blanks that follow it. Only the blank
// separates; the scan never passes the NUL.
const char* SkipProgramName(const char* commandLine);

// The process's entry point: prepares the process, runs the program entry once and ends
// the process with its result (255 when no thread-local slot can be had).
extern "C" [[noreturn]] void ProcessMain();

// The program that start-up runs, as a C run time runs main: both are defined by the
// program itself. First the program's start-up reset puts its globals, and those of the
// libraries it uses above the run time, at their initial values (the run time resets its
// own); then the program entry runs once, with WinMain's arguments, and its result is
// the exit code.
void ResetProgramState();
int RunSetupWizard(HINSTANCE instance, HINSTANCE previous, const char* commandTail,
                   int showCommand);
