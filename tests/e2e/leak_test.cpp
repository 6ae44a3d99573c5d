// setup.exe run through its whole wizard fifty times in one prefix, counting its objects
// from outside at every step: the counts must not grow from step to step nor from run to
// run, and every run must end with exit code 0.
//
// What can be counted depends on the platform. Kernel handles: GetProcessHandleCount, or,
// where that reports nothing (Wine reports 0 for every process), the system's handle
// table. GDI and USER objects: GetGuiResources, where it is implemented (Wine has it as a
// stub that fails with ERROR_CALL_NOT_IMPLEMENTED); the windows of the process are counted
// in any case, as the part of its USER objects that can always be seen.
#include <windows.h>
#include <winternl.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "wizard_driver.h"

namespace e2e {
namespace {

constexpr int kRuns = 50;
constexpr ULONG kSystemHandleInformation = 16;
constexpr NTSTATUS kInfoLengthMismatch = static_cast<NTSTATUS>(0xC0000004);

struct SystemHandle {
  ULONG processId;
  BYTE objectType;
  BYTE flags;
  USHORT value;
  PVOID object;
  ACCESS_MASK access;
};

struct SystemHandles {
  ULONG count;
  SystemHandle handles[1];
};

using QuerySystemInformation = NTSTATUS(WINAPI*)(ULONG, PVOID, ULONG, PULONG);

// The handles the system's handle table lists for a process, or -1.
long HandlesInSystemTable(DWORD processId) {
  auto query = reinterpret_cast<QuerySystemInformation>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQuerySystemInformation")));
  if (query == nullptr) {
    return -1;
  }
  std::vector<char> buffer(1 << 16);
  for (;;) {
    ULONG needed = 0;
    NTSTATUS status =
        query(kSystemHandleInformation, buffer.data(), static_cast<ULONG>(buffer.size()), &needed);
    if (status == kInfoLengthMismatch) {
      buffer.resize(buffer.size() * 2);
      continue;
    }
    if (status < 0) {
      return -1;
    }
    break;
  }
  const auto* table = reinterpret_cast<const SystemHandles*>(buffer.data());
  long count = 0;
  for (ULONG i = 0; i < table->count; ++i) {
    count += table->handles[i].processId == processId ? 1 : 0;
  }
  return count;
}

struct WindowCount {
  DWORD processId;
  long count;
};

BOOL CALLBACK CountChild(HWND window, LPARAM data) {
  auto* counting = reinterpret_cast<WindowCount*>(data);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  counting->count += owner == counting->processId ? 1 : 0;
  return TRUE;
}

BOOL CALLBACK CountTopLevel(HWND window, LPARAM data) {
  CountChild(window, data);
  EnumChildWindows(window, CountChild, data);
  return TRUE;
}

// Windows of the process, hidden ones included.
long WindowsOf(DWORD processId) {
  WindowCount counting{processId, 0};
  EnumWindows(CountTopLevel, reinterpret_cast<LPARAM>(&counting));
  return counting.count;
}

// What this platform lets another process count, found out on a running setup.exe.
struct Measures {
  bool handleCount = false;   // GetProcessHandleCount gives a count
  bool handleTable = false;   // else the system handle table does
  bool guiResources = false;  // GetGuiResources gives counts

  void Find(HANDLE process, DWORD processId) {
    DWORD handles = 0;
    handleCount = GetProcessHandleCount(process, &handles) && handles > 0;
    handleTable = !handleCount && HandlesInSystemTable(processId) > 0;
    SetLastError(0);
    DWORD gdi = GetGuiResources(process, GR_GDIOBJECTS);
    DWORD gdiError = GetLastError();
    guiResources = gdi > 0;
    std::printf("kernel handles counted by %s\n",
                handleCount   ? "GetProcessHandleCount"
                : handleTable ? "the system handle table (GetProcessHandleCount reports 0)"
                              : "nothing: not measurable here");
    if (!guiResources) {
      std::printf(
          "GDI and USER objects not measurable here: GetGuiResources gives %lu, error %lu; "
          "only the windows of the process are counted\n",
          gdi, gdiError);
    }
  }
};

// The counts at each state of one run.
struct RunCounts {
  std::vector<long> handles, gdi, user, windows;
};

std::string Series(const char* name, const std::vector<long>& values) {
  std::string text = std::string(name) + " ";
  for (std::size_t i = 0; i < values.size(); ++i) {
    text += (i > 0 ? "/" : "") + std::to_string(values[i]);
  }
  return text;
}

std::string Row(int run, const Measures& measures, const RunCounts& counts,
                const std::string& end) {
  std::string row = "run " + std::to_string(run) + ": ";
  if (measures.handleCount || measures.handleTable) {
    row += Series("handles", counts.handles) + ", ";
  }
  if (measures.guiResources) {
    row += Series("gdi", counts.gdi) + ", " + Series("user", counts.user) + ", ";
  }
  return row + Series("windows", counts.windows) + ", " + end;
}

// A count once two readings a moment apart agree: what the program holds at rest, not
// what the system holds for it for an instant (a leak stays).
template <typename Read>
long Settled(Read read) {
  long value = read();
  for (int attempt = 0; attempt < 20; ++attempt) {
    Sleep(10);
    long again = read();
    if (again == value) {
      break;
    }
    value = again;
  }
  return value;
}

void Measure(const WizardRun& run, const Measures& measures, RunCounts* counts) {
  counts->handles.push_back(Settled([&] {
    DWORD handles = 0;
    if (measures.handleCount) {
      GetProcessHandleCount(run.Process(), &handles);
      return static_cast<long>(handles);
    }
    return HandlesInSystemTable(run.ProcessId());
  }));
  if (measures.guiResources) {
    counts->gdi.push_back(
        Settled([&] { return static_cast<long>(GetGuiResources(run.Process(), GR_GDIOBJECTS)); }));
    counts->user.push_back(
        Settled([&] { return static_cast<long>(GetGuiResources(run.Process(), GR_USEROBJECTS)); }));
  }
  counts->windows.push_back(Settled([&] { return WindowsOf(run.ProcessId()); }));
}

// What every run must show: the first run's counts at the start, and after the first
// installer (which may make the system set up things it keeps, once) no growth at all.
RunCounts Steady(const RunCounts& first) {
  RunCounts steady;
  auto level = [](const std::vector<long>& values) {
    return std::vector<long>{values[0], values[1], values[1], values[1]};
  };
  steady.handles = level(first.handles);
  if (!first.gdi.empty()) {
    steady.gdi = level(first.gdi);
    steady.user = level(first.user);
  }
  steady.windows = std::vector<long>(4, first.windows[0]);
  return steady;
}

TEST(Leaks, FiftyWholeRunsKeepTheirObjectCountsAndEndWithExitCodeZero) {
  Medium medium;
  ASSERT_TRUE(medium.Ready());
  Measures measures;
  std::vector<std::string> expected;
  std::vector<std::string> actual;
  RunCounts first;
  winetest::Stopwatch stopwatch;
  for (int number = 1; number <= kRuns; ++number) {
    RunCounts counts;
    std::string end;
    {
      WizardRun run(medium, false);
      ASSERT_EQ(run.Trouble(), "") << "run " << number;
      if (number == 1) {
        measures.Find(run.Process(), run.ProcessId());
      }
      ASSERT_EQ(run.WaitForState(ExpectedState(0, Look::kFromOutside)),
                ExpectedState(0, Look::kFromOutside))
          << "run " << number;
      Measure(run, measures, &counts);
      for (int step = 1; step <= 3; ++step) {
        run.Click(kSteps[step - 1].install);
        InstallerRecord record = run.WaitForInstaller();
        ASSERT_NE(record.processId, 0u) << "run " << number << ", step " << step;
        run.EndInstaller(record);
        ASSERT_EQ(run.WaitForState(ExpectedState(step, Look::kFromOutside)),
                  ExpectedState(step, Look::kFromOutside))
            << "run " << number << ", step " << step;
        Measure(run, measures, &counts);
      }
      run.Click(IDC_DONE);
      end = run.WaitForExit();
    }
    if (number == 1) {
      first = counts;
    }
    expected.push_back(Row(number, measures, Steady(first), "exit code 0"));
    actual.push_back(Row(number, measures, counts, end));
  }
  std::printf("%d runs in %lu ms; %s\n", kRuns, stopwatch.Elapsed(), actual[0].c_str());
  EXPECT_SEQUENCE(expected, actual);
}

}  // namespace
}  // namespace e2e
