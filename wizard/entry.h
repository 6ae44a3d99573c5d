// The program entry and the program's state.
#pragma once

#include "platform.h"

#include "runtime/text.h"

constexpr DWORD kStartDirectorySize = 400;

// Program state: zero at start, alive for the whole run.
extern FixedText<kStartDirectorySize> StartDirectory;  // the folder of setup.exe; the medium
extern SHORT StepCount;                                // step buttons handled so far
extern HFONT BoldStepFont;                             // 12 pt bold, made on initialisation
extern HFONT NormalStepFont;                           // 12 pt normal, made on initialisation

// Called once by start-up, in WinMain's argument order; uses none of its arguments and
// returns 0, the exit code.
int RunSetupWizard(HINSTANCE instance, HINSTANCE previous, const char* commandTail,
                   int showCommand);

// Start-up puts every global of the program at zero before the entry runs.
void ZeroProgramGlobals();
