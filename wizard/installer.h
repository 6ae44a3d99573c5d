// Running the installer of one step.
#pragma once

#include "platform.h"

#include "runtime/text.h"

// The installers of steps 1 to 3: a folder under the start directory, and the program in
// that folder.
struct Installer {
  const char* folder;
  const char* program;
};
inline constexpr Installer kInstallers[] = {
    {"DirectX9", "DXSETUP.exe"},
    {"Quillmark Install", "QuillmarkInstaller.exe"},
    {"Video Driver", "Drenvo.exe"},
};

constexpr DWORD kInstallerPathSize = 401;

// The full path of a step's installer program (step 1, 2 or 3), without quotes, in UTF-16
// units (at most 400).
void InstallerPath(int step, WideFixedText<kInstallerPathSize>* path);

// Makes the step's folder the working directory, starts the step's installer by its
// full path and waits until it has ended, then sets the working directory back to the
// start directory. A program that cannot be started records its error number in the
// caller's error state and nothing else is started; without a start directory nothing is
// started at all.
void RunInstaller(int step);
