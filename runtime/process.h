// Starting another program and waiting for it.
#pragma once

#include "platform.h"

#include "runtime/text.h"

// The longest command text that reaches the platform; the rest is cut without notice.
constexpr DWORD kCommandLimit = 256;

// Starts the program named by the command text (the complete command line, program name
// and arguments as the caller wrote them; only its first 256 characters are used) in the
// current directory, with the low 15 bits of the show command. With wait set it blocks
// until that process has ended, dispatching no messages. Returns the new process's
// identifier, or 0 after recording an error number when the program cannot be started.
DWORD RunProgram(Text command, int showCommand, bool wait);
