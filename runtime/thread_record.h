// The run time's record for each thread, reached through one thread-local slot. It holds
// the dialog font setting that every new dialog gets, and the thread's innermost
// ErrorState.
#pragma once

#include "platform.h"

struct ErrorState;

constexpr DWORD kFontFaceUnits = 32;  // 31 UTF-16 code units and a terminating zero

struct ThreadRecord {
  WCHAR defaultFontFace[kFontFaceUnits];  // "MS Sans Serif" on the main thread
  LONG defaultFontSize;                   // in points; 8 on the main thread
  ErrorState* activeErrorState;           // the innermost program procedure's state
};

// The calling thread's record, made on first use (with a copy of the main thread's font
// setting); nullptr when the slot is not open or no memory can be had.
ThreadRecord* CurrentThreadRecord();

// Start-up opens the slot and makes the main thread's record; false when no slot or no
// memory can be had.
bool OpenThreadSlot();

// Shutdown releases the calling thread's record and the slot.
void CloseThreadSlot();
