// The program entry and the program's state.
#pragma once

#include "platform.h"

#include "runtime/startup.h"  // the program entry and its start-up reset
#include "runtime/text.h"

constexpr DWORD kStartDirectorySize = 400;

// Program state: zero at start, alive for the whole run.
extern WideFixedText<kStartDirectorySize> StartDirectory;  // the folder of setup.exe; the medium
extern SHORT StepCount;                                    // step buttons handled so far
extern HFONT BoldStepFont;                                 // 12 pt bold, made on initialisation
extern HFONT NormalStepFont;                               // 12 pt normal, made on initialisation

// Start-up declares and calls the two functions defined with these globals: the reset
// that puts them at zero, and the program entry, RunSetupWizard, which uses none of its
// arguments and returns 0, the exit code.
