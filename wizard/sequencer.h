// The step sequencer: the wizard window's callback, which carries the installation
// through its four steps.
#pragma once

#include "platform.h"

INT_PTR StepSequencer(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
