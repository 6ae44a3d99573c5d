// The step sequencer: the wizard window's callback, which carries the installation
// through its four steps, and what it says to the person.
#pragma once

#include "platform.h"

#include "runtime/error_state.h"

INT_PTR StepSequencer(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The caption of the quit question and of the warning about an installer that did not
// start.
constexpr const char* kWarningCaption = "Installation Warning";
constexpr const char* kQuitQuestion =
    "You have not completed the installation process\r\nAre you sure you want to quit?";

// The message area after step 2: an empty first line, the warning, two line ends.
constexpr const char* kPlugOutWarning =
    "\r\nMake sure the USB 2.0 Video Adapter is not connected to the PC\r\n\r\n";
// The message area after step 3.
constexpr const char* kClosingInstructions =
    "Windows should find the new hardware and locate the drivers.\r\n\r\nWhen the installation "
    "is completed press the \"Done\" button\r\n\r\nand run the Quillmark program.  ";

// The warning about an installer that did not start reads kFailedStartHead, the program's
// full path, kFailedStartReasonBefore, the reason, kFailedStartNumberBefore, the error
// number and kFailedStartEnd.
constexpr const char* kFailedStartHead = "The installer could not be started:\r\n";
constexpr const char* kFailedStartReasonBefore = "\r\n\r\n";
constexpr const char* kFailedStartNumberBefore = "\r\n\r\nThis step has not been completed (error ";
constexpr const char* kFailedStartEnd = ").";

// The reason, by the error number that the start recorded; kOtherFailure for any other.
struct FailureReason {
  BYTE number;
  const char* text;
};
inline constexpr FailureReason kFailureReasons[] = {
    {kErrorFileNotFound, "The program was not found on the installation medium."},
    {kErrorPathNotFound, "Its folder was not found on the installation medium."},
    {kErrorAccessDenied, "Windows denied access to the program."},
};
constexpr const char* kOtherFailure = "Windows could not start the program.";
