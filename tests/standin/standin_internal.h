// Shared between the parts of the stand-in platform; tests use standin.h instead.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform.h"

namespace standin::detail {

// ---- The call log ----
void Log(std::string_view function, const std::vector<std::string>& arguments);
std::string Str(const char* text);  // "quoted text", or NULL
std::string Str(const char* text, size_t length);
std::string Hex(unsigned long long value);  // 0x1f
std::string Dec(long long value);
std::string Ptr(const void* pointer);  // NULL or 0x...

// Stops the test program: the real platform would hang or crash here.
[[noreturn]] void Fatal(const std::string& what);

// ---- Clock ----
DWORD Now();
void Advance(DWORD milliseconds);

// ---- Paths ----
// The full form of a path against the current directory ("D:\A\B", "E:\"), or an empty
// string when it cannot be formed. Case is kept as given.
std::string FullPath(std::string_view path);
std::string UpperCase(std::string_view text);

// ---- Kernel state that the window side reads ----
void SetLastErrorRaw(DWORD code);

// ---- Supplied by the window side ----
void ResetWindowSide();
void AddWindowSideLiveObjects(std::vector<std::string>* lines);
// Called by Sleep before the clock moves: the thread is idle, which is when scripted
// user input arrives.
void OnIdle(DWORD milliseconds);
// Whether the thread's queue holds what a MsgWaitForMultipleObjects wake mask asks for.
bool QueueWakes(DWORD wakeMask);

}  // namespace standin::detail
