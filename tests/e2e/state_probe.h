// The state probe: a hook DLL that the driver places on setup.exe's GUI thread to read
// what only that process can read. On Windows a font handle means nothing outside the
// process that made it, and Wine answers WM_GETFONT and WM_GETICON sent from another
// process with 0, so the fonts and icons of a window are read on the window's own thread.
//
// The driver sends the registered message kProbeMessage to a window of that thread with
// wParam = the driver's process id and lParam = a serial number; the hook sees it before
// the window procedure does (which ignores it) and writes a ProbeReport for that window
// into the driver's shared memory ProbeMemoryName(driver's process id).
//
// A copy of the DLL named kPlantedLibrary.dll is a library planted beside a program: wherever
// it is loaded under that name, it writes the path of the program that loaded it (UTF-8)
// into <record folder>\<process id>.library (see installer_record.h). The platform loads
// that library into every program that makes a window, from wherever the program lets it
// search.
#pragma once

#include <windows.h>

#include <string>

namespace e2e {

constexpr char kProbeMessage[] = "e2e-state-probe";
constexpr char kProbeHookProcedure[] = "ProbeHook";
constexpr int kProbeMaxChildren = 32;
constexpr char kPlantedLibrary[] = "uxtheme";

inline std::string ProbeMemoryName(DWORD driverProcessId) {
  return "e2e-state-probe-" + std::to_string(driverProcessId);
}

// One direct child window of the probed window. Handles are given as numbers: they are
// compared, never used, by the driver.
struct ProbeChild {
  LONG id;
  DWORD font;     // WM_GETFONT
  BOOL fontRead;  // GetObject filled the fields below
  LONG fontHeight;
  LONG fontWeight;
  char fontFace[LF_FACESIZE];
  DWORD icon;  // STM_GETICON of a static icon control, else 0
};

struct ProbeReport {
  LPARAM serial;
  DWORD bigIcon;      // WM_GETICON ICON_BIG
  DWORD smallIcon;    // WM_GETICON ICON_SMALL
  DWORD warningIcon;  // the system's warning icon in that process
  LONG childCount;
  ProbeChild children[kProbeMaxChildren];
};

}  // namespace e2e
