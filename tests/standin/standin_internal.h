// Shared between the parts of the stand-in platform; tests use standin.h instead.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform.h"

namespace standin::detail {

// ---- The call log ----
void Log(std::string_view function, const std::vector<std::string>& arguments);
// "quoted text" or NULL; bytes from 0x7F up as \xNN, or as UTF-8 text: so a UTF-16 text.
std::string Str(const char* text);
std::string Str(const char* text, size_t length, bool utf8 = false);
std::string Str(const WCHAR* text);
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

// ---- Texts: kept in UTF-8; an A call's come in code page 1252 (Wine's ANSI code page
// here), a W call's in UTF-16; a null pointer gives none.
std::optional<std::string> Inner(const char* ansi);
std::optional<std::string> Inner(const WCHAR* text);
// A text as an A call reports it: a letter that the code page lacks shows as "?".
std::string Ansi(std::string_view text);

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
