// Starting another program and waiting for it.
#pragma once

#include "platform.h"

#include "runtime/text.h"

// The longest command text that reaches the platform, in UTF-16 units; the rest is cut
// without notice.
constexpr DWORD kCommandLimit = 256;

// Starts the program named by the command text (the complete command line in UTF-16,
// program name and arguments as the caller wrote them; only its first 256 units are used)
// in the current directory, with the low 15 bits of the show command. With wait set it
// blocks until that process has ended; meanwhile it answers the messages that other
// threads and programs send to the thread and repaints the thread's windows, which may run
// window procedures (none of them may start a guarded call: the guard lock is held), and
// leaves posted messages and input queued. Returns the new process's identifier, or 0
// after recording an error number when the program cannot be started.
DWORD RunProgram(WideText command, int showCommand, bool wait);

// Takes the keyboard and mouse input queued for a window and its children out of the
// queue unseen: input given while the window looked busy must not act later. Posted
// messages, and messages sent by other threads, stay for the next look at the queue.
void DiscardQueuedInput(HWND window);
