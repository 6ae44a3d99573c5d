// RunProgram with any command of UTF-16 units (lone surrogates too): the platform gets at
// most the first 256 units as a C string, with the records the launch is made with; the
// outcome is the platform's own for that command line (asked directly on the same
// machine); a failed start records the translated number and returns 0; nothing is left
// open.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "error_numbers.h"
#include "fuzz_support.h"
#include "runtime/error_state.h"
#include "runtime/process.h"
#include "runtime/thread_record.h"
#include "standin.h"
#include "utf16.h"

namespace {

constexpr size_t kCommandUnits = 256;

standin::ProgramScript Failing(DWORD code) {
  standin::ProgramScript script;
  script.failWith = code;
  return script;
}

// Programs that start (in the current directory, a sub-folder and the system folder,
// all ending at once, so that every wait ends) and programs that cannot be started in
// each of the ways the platform has: with a code, silently, or started with a code left
// behind; and a folder where a program is looked for.
void LayOutMachine() {
  standin::Reset();
  standin::AddProgram("C:\\a.exe");
  standin::AddProgram("C:\\Tools\\b.exe");
  standin::AddProgram("C:\\Загрузки 日本\\c.exe");
  standin::AddProgram(R"(C:\Windows\System32\cmd.exe)");
  standin::AddProgram("C:\\deny.exe", Failing(ERROR_ACCESS_DENIED));
  standin::AddProgram("C:\\bad.exe", Failing(193));
  standin::AddProgram("C:\\Tools\\big.exe", Failing(ERROR_NOT_ENOUGH_MEMORY));
  standin::ProgramScript noisy;
  noisy.leaveLastError = 183;
  standin::AddProgram("C:\\noisy.exe", noisy);
  standin::ProgramScript mute;
  mute.failSilently = true;
  standin::AddProgram("C:\\mute.exe", mute);
  standin::AddFolder("C:\\folder.exe");
}

struct PlatformOutcome {
  bool started;
  DWORD code;
};

// What the platform itself does with the command line; a process it starts is closed
// again at once.
PlatformOutcome AskPlatform(std::u16string line) {
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process{};
  standin::SetLastErrorDirect(0);
  BOOL started = CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE,
                                NORMAL_PRIORITY_CLASS, nullptr, nullptr, &startup, &process);
  DWORD code = standin::LastError();
  if (started != FALSE) {
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
  }
  standin::ClearCalls();
  return PlatformOutcome{started != FALSE, code};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // One byte of options (bit 0: wait), four of show command, the rest is the command in
  // UTF-16 units of two bytes, the low one first.
  fuzz::Reader input(data, size);
  bool wait = (input.Byte() & 1) != 0;
  auto showCommand = static_cast<int>(input.Dword());
  std::u16string command;
  while (input.RestSize() >= 2) {
    command += static_cast<char16_t>(input.Word());
  }
  std::u16string expectedUnits = command.substr(0, std::min(command.find(u'\0'), kCommandUnits));
  std::string expectedLine = utf16::ToUtf8(expectedUnits);
  // A fresh machine for each input: in one kept for longer the launches would pile up,
  // and libFuzzer would take the growing heap for a leak and search it after every input.
  LayOutMachine();
  PlatformOutcome reference = AskPlatform(expectedUnits);
  size_t earlier = standin::Launches().size();

  FUZZ_CHECK(OpenThreadSlot(), "no thread slot");
  DWORD processId = 0;
  DWORD number = 0;
  {
    ErrorScope scope;
    // The command in a block of exactly its length, so that reading past it is caught.
    std::vector<WCHAR> text(command.begin(), command.end());
    processId =
        RunProgram(WideText{text.data(), static_cast<DWORD>(text.size())}, showCommand, wait);
    number = ErrorNumber();
  }
  std::vector<std::string> starts = standin::CallsTo({"CreateProcessW"});
  std::vector<std::string> waits = standin::CallsTo({"MsgWaitForMultipleObjects"});
  std::vector<std::string> closes = standin::CallsTo({"CloseHandle"});
  std::vector<standin::Launch> launches(
      standin::Launches().begin() + static_cast<std::ptrdiff_t>(earlier),
      standin::Launches().end());
  CloseThreadSlot();
  std::vector<std::string> left = standin::LiveObjects();
  FUZZ_CHECK(left.empty(), "%zu objects left, the first %s", left.size(),
             left.empty() ? "-" : left[0].c_str());

  std::string line = "L" + fuzz::LoggedText(expectedLine, true);
  auto show = static_cast<DWORD>(showCommand) & 0x7FFF;
  std::vector<std::string> expectedStarts = {
      "CreateProcessW(NULL, " + line + ", sa{sizeof,NULL,0}, same, 0, 0x20, NULL, NULL, " +
      "si{cb=sizeof,flags=0x1,show=" + std::to_string(show) + ",others=0})"};
  FUZZ_CHECK(starts == expectedStarts, "%zu starts, the first %s; expected %s", starts.size(),
             starts.empty() ? "-" : starts[0].c_str(), expectedStarts[0].c_str());

  if (reference.started) {
    FUZZ_CHECK(launches.size() == 1, "%s: %zu launches", line.c_str(), launches.size());
    const standin::Launch& launch = launches[0];
    FUZZ_CHECK(launch.commandLine == expectedLine, "%s started as %s", line.c_str(),
               fuzz::LoggedText(launch.commandLine, true).c_str());
    FUZZ_CHECK(launch.showWindow == show && launch.startupFlags == STARTF_USESHOWWINDOW &&
                   launch.creationFlags == NORMAL_PRIORITY_CLASS && launch.errorMode == 0x8001 &&
                   launch.directory == "C:\\",
               "%s started with show %u, flags 0x%X, creation 0x%X, error mode 0x%X, in %s",
               line.c_str(), launch.showWindow, launch.startupFlags, launch.creationFlags,
               launch.errorMode, launch.directory.c_str());
    FUZZ_CHECK(processId != 0 && processId == launch.processId, "%s: returned %u, started %u",
               line.c_str(), processId, launch.processId);
    FUZZ_CHECK(number == 0, "%s started but recorded %u", line.c_str(), number);
    std::vector<std::string> expectedWaits;
    // The stand-in names a launch's handles by its place in the table.
    std::string place = std::to_string(earlier + 1);
    if (wait) {
      // The program ends at once: the first look finds it ended.
      expectedWaits.push_back("MsgWaitForMultipleObjects(1, process#" + place + ", 0, 1000, 0x60)");
    }
    FUZZ_CHECK(waits == expectedWaits, "%s (wait %d): %zu waits", line.c_str(), wait, waits.size());
    std::sort(closes.begin(), closes.end());
    FUZZ_CHECK((closes == std::vector<std::string>{"CloseHandle(process#" + place + ")",
                                                   "CloseHandle(thread#" + place + ")"}),
               "%s: %zu handles closed", line.c_str(), closes.size());
  } else if (reference.code != 0) {
    // A start refused with a code: nothing to wait for or to close.
    FUZZ_CHECK(launches.empty(), "%s: %zu launches", line.c_str(), launches.size());
    FUZZ_CHECK(processId == 0, "%s failed but returned %u", line.c_str(), processId);
    uint32_t expected = error_numbers::Expected(reference.code);
    FUZZ_CHECK(number != 0 && number == expected, "%s: code %u recorded %u, expected %u",
               line.c_str(), reference.code, number, expected);
    FUZZ_CHECK(waits.empty() && closes.empty(), "%s failed but %zu waits, %zu closes", line.c_str(),
               waits.size(), closes.size());
  } else {
    // A start refused without a code counts as done: no number, and no process.
    FUZZ_CHECK(launches.empty() && processId == 0 && number == 0,
               "%s: %zu launches, returned %u, recorded %u", line.c_str(), launches.size(),
               processId, number);
  }
  return 0;
}
