// The record helper: a program that the run-time test starts. It waits a known time,
// then writes what it was started with into a file next to its own program file:
//
//   pid=<its process id>
//   directory=<its current directory>
//   command=<its command line>
//   errormode=0x<its error mode at start, 4 hex digits>
//   end
//
// The last line is written with the rest in one piece, so a file without it was read
// before the helper had finished.
#pragma once

constexpr unsigned kRecordHelperSleepMs = 700;
// The name of the copy that the test starts: one that no build puts next to a test
// program, where a bare name is looked for first.
constexpr char kRecordHelperFile[] = "recorder.exe";
constexpr char kRecordFile[] = "record.txt";
