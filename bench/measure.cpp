// The measuring program of the bench: starts setup.exe and the floor program in turn,
// times each from CreateProcessA to its window being visible, lets each sit idle and
// counts the processor time it used meanwhile, and reads its peak working set.
//
// usage: measure.exe --setup PATH --floor PATH [--runs N] [--warmups N]
//                    [--idle-seconds S] [--timeout-seconds S] [--clock-ticks HZ]
//
// Results go to standard output as key=value lines for the bench script; progress and
// errors go to standard error. Exit code 0 when every measurement was taken, 2 on a
// usage error, 1 when a measurement failed (the message says which and why).
//
// Besides the Win32 figures (GetProcessTimes, GetProcessMemoryInfo on the child's
// handle), it reads the Linux figures of the Unix process that hosts each child from
// /proc, through the Z: drive that Wine maps to the Unix root. Wine 8 answers
// GetProcessTimes on another process's handle with the caller's own times, so the
// processor time has to come from there; the program also reports its own times so that
// the script can tell. The Unix process is found by a tag in the child's command line;
// both programs ignore their command tail. The prefix's wineserver is found by its
// WINEPREFIX, since it does the work of every server call a polling loop makes.
#include <windows.h>
// windows.h first: psapi.h needs its types.
#include <psapi.h>

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "bench/floor_caption.h"

namespace {

constexpr char kWizardCaption[] = "Quillmark Installer -- USB 2.0 Adapter";
// Skip of steps 1, 2 and 3, then Done: the wizard's ordinary way out, without the
// question that quitting early asks.
constexpr int kSkipButtons[] = {1003, 1008, 1012};
constexpr int kDoneButton = 1007;
constexpr DWORD kPollMs = 1;
constexpr DWORD kSettleMs = 1000;  // painting after the window shows, before idling

struct Options {
  std::string setup;
  std::string floor;
  int runs = 20;
  int warmups = 1;
  int idleSeconds = 10;
  int timeoutSeconds = 30;
  int clockTicks = 100;
};

struct Target {
  const char* name;  // in the output: "setup" or "floor"
  std::string path;
  const char* caption;
  bool wizard;
};

struct Child {
  PROCESS_INFORMATION process{};
  HWND window = nullptr;
  std::string tag;
};

// The child that is running, so that a failure can end it before the program exits.
Child* runningChild = nullptr;

[[noreturn]] void Fail(const char* format, ...) {
  va_list arguments;
  va_start(arguments, format);
  std::fputs("measure: error: ", stderr);
  std::vfprintf(stderr, format, arguments);
  std::fputc('\n', stderr);
  va_end(arguments);
  if (runningChild != nullptr && runningChild->process.hProcess != nullptr) {
    TerminateProcess(runningChild->process.hProcess, 3);
    WaitForSingleObject(runningChild->process.hProcess, 5000);
  }
  std::exit(1);
}

void Progress(const char* format, ...) {
  va_list arguments;
  va_start(arguments, format);
  std::vfprintf(stderr, format, arguments);
  va_end(arguments);
  std::fflush(stderr);
}

// ---------------------------------------------------------------------------------------
// Time

double NowMs() {
  static LARGE_INTEGER frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f;
  }();
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return static_cast<double>(now.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

double FileTimeMs(const FILETIME& time) {
  ULARGE_INTEGER value;
  value.LowPart = time.dwLowDateTime;
  value.HighPart = time.dwHighDateTime;
  return static_cast<double>(value.QuadPart) / 10000.0;  // 100 ns units
}

// ---------------------------------------------------------------------------------------
// The Linux side, read through Wine's Z: drive

bool ReadWholeFile(const std::string& path, std::string* contents) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    return false;
  }
  contents->clear();
  char buffer[4096];
  DWORD got = 0;
  // /proc files report a size of 0: read until the end instead of asking for the size.
  while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) != FALSE && got > 0) {
    contents->append(buffer, got);
  }
  CloseHandle(file);
  return true;
}

std::string ProcPath(unsigned long pid, const char* entry) {
  return "Z:\\proc\\" + std::to_string(pid) + "\\" + entry;
}

// The Unix processes whose command line contains `needle` and, when `environment` is not
// empty, whose environment holds that exact entry.
std::vector<unsigned long> FindUnixProcesses(const std::string& needle,
                                             const std::string& environment) {
  std::vector<unsigned long> found;
  WIN32_FIND_DATAA entry;
  HANDLE search = FindFirstFileA("Z:\\proc\\*", &entry);
  if (search == INVALID_HANDLE_VALUE) {
    return found;
  }
  do {
    const char* name = entry.cFileName;
    if (name[0] == '\0' || std::strspn(name, "0123456789") != std::strlen(name)) {
      continue;
    }
    unsigned long pid = std::strtoul(name, nullptr, 10);
    std::string text;
    if (!ReadWholeFile(ProcPath(pid, "cmdline"), &text)) {
      continue;
    }
    std::replace(text.begin(), text.end(), '\0', ' ');
    if (text.find(needle) == std::string::npos) {
      continue;
    }
    if (!environment.empty()) {
      std::string variables;
      if (!ReadWholeFile(ProcPath(pid, "environ"), &variables) ||
          std::string::npos == ('\0' + variables).find('\0' + environment + '\0')) {
        continue;
      }
    }
    found.push_back(pid);
  } while (FindNextFileA(search, &entry) != FALSE);
  FindClose(search);
  return found;
}

// User plus system time of a Unix process in clock ticks, or -1 when it cannot be read.
long long UnixCpuTicks(unsigned long pid) {
  std::string stat;
  if (!ReadWholeFile(ProcPath(pid, "stat"), &stat)) {
    return -1;
  }
  // The command name in parentheses may hold blanks; the fields after it do not.
  size_t close = stat.rfind(')');
  if (close == std::string::npos) {
    return -1;
  }
  std::vector<std::string> fields;
  size_t at = close + 1;
  while (at < stat.size()) {
    size_t start = stat.find_first_not_of(" \n", at);
    if (start == std::string::npos) {
      break;
    }
    size_t end = stat.find_first_of(" \n", start);
    fields.push_back(stat.substr(start, end - start));
    at = end == std::string::npos ? stat.size() : end;
  }
  // fields[0] is the state (field 3 of the line); utime and stime are fields 14 and 15.
  if (fields.size() < 13) {
    return -1;
  }
  return std::atoll(fields[11].c_str()) + std::atoll(fields[12].c_str());
}

// VmHWM of a Unix process (its peak resident set) in KiB, or -1.
long long UnixPeakResidentKib(unsigned long pid) {
  std::string status;
  if (!ReadWholeFile(ProcPath(pid, "status"), &status)) {
    return -1;
  }
  size_t at = status.find("VmHWM:");
  if (at == std::string::npos) {
    return -1;
  }
  return std::atoll(status.c_str() + at + std::strlen("VmHWM:"));
}

// The Unix process hosting a child: the one whose command line carries the child's tag.
unsigned long UnixPidOf(const Child& child, int timeoutSeconds) {
  double deadline = NowMs() + timeoutSeconds * 1000.0;
  for (;;) {
    std::vector<unsigned long> pids = FindUnixProcesses(child.tag, "");
    if (pids.size() == 1) {
      return pids[0];
    }
    if (pids.size() > 1) {
      Fail("%zu Unix processes carry the tag %s; cannot tell which hosts the child", pids.size(),
           child.tag.c_str());
    }
    if (NowMs() > deadline) {
      Fail(
          "found no Unix process whose command line carries %s in Z:\\proc "
          "(is Z: mapped to the Unix root?)",
          child.tag.c_str());
    }
    Sleep(50);
  }
}

// This prefix's wineserver, which does the work of every server call a program makes.
long WineserverPid() {
  char prefix[MAX_PATH];
  DWORD length = GetEnvironmentVariableA("WINEPREFIX", prefix, sizeof prefix);
  if (length == 0 || length >= sizeof prefix) {
    return -1;
  }
  std::vector<unsigned long> pids =
      FindUnixProcesses("wineserver", std::string("WINEPREFIX=") + prefix);
  return pids.size() == 1 ? static_cast<long>(pids[0]) : -1;
}

// ---------------------------------------------------------------------------------------
// Children

Child Launch(const Target& target, int sequence) {
  Child child;
  // Fixed width, so that no tag is the beginning of another.
  char tag[64];
  std::snprintf(tag, sizeof tag, "bench-tag-%08lx-%04d-%s", GetCurrentProcessId(), sequence,
                target.name);
  child.tag = tag;
  std::string commandLine = "\"" + target.path + "\" " + child.tag;
  std::vector<char> writable(commandLine.begin(), commandLine.end());
  writable.push_back('\0');
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  if (CreateProcessA(nullptr, writable.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                     &startup, &child.process) == FALSE) {
    Fail("could not start %s (CreateProcessA error %lu)", target.path.c_str(), GetLastError());
  }
  return child;
}

bool Ended(const Child& child) {
  return WaitForSingleObject(child.process.hProcess, 0) == WAIT_OBJECT_0;
}

HWND VisibleWindowOf(const Child& child, const char* caption) {
  HWND window = nullptr;
  while ((window = FindWindowExA(nullptr, window, nullptr, caption)) != nullptr) {
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == child.process.dwProcessId && IsWindowVisible(window) != FALSE) {
      return window;
    }
  }
  return nullptr;
}

// Polls until the child's window is visible; returns the moment it was seen.
double WaitVisible(Child* child, const Target& target, int timeoutSeconds) {
  double deadline = NowMs() + timeoutSeconds * 1000.0;
  for (;;) {
    child->window = VisibleWindowOf(*child, target.caption);
    if (child->window != nullptr) {
      return NowMs();
    }
    if (Ended(*child)) {
      DWORD code = 0;
      GetExitCodeProcess(child->process.hProcess, &code);
      Fail("%s ended (exit code %lu) before its window \"%s\" was visible", target.name, code,
           target.caption);
    }
    if (NowMs() > deadline) {
      Fail("the window \"%s\" of %s was not visible within %d s", target.caption, target.name,
           timeoutSeconds);
    }
    Sleep(kPollMs);
  }
}

void WaitEnded(Child* child, const Target& target, int timeoutSeconds) {
  if (WaitForSingleObject(child->process.hProcess, timeoutSeconds * 1000) != WAIT_OBJECT_0) {
    Fail("%s did not end within %d s after it was asked to close", target.name, timeoutSeconds);
  }
  DWORD code = 0;
  GetExitCodeProcess(child->process.hProcess, &code);
  if (code != 0) {
    Fail("%s ended with exit code %lu, not 0", target.name, code);
  }
  CloseHandle(child->process.hThread);
  CloseHandle(child->process.hProcess);
  child->process = PROCESS_INFORMATION{};
}

// Closes the child the way a person would and waits for it to end with exit code 0. The
// wizard: Skip on steps 1 to 3, each awaited until its button is disabled, then Done.
void Close(Child* child, const Target& target, int timeoutSeconds) {
  if (target.wizard) {
    for (int button : kSkipButtons) {
      PostMessageA(child->window, WM_COMMAND, static_cast<WPARAM>(button), 0);
      double deadline = NowMs() + timeoutSeconds * 1000.0;
      for (;;) {
        HWND control = GetDlgItem(child->window, button);
        if (control == nullptr) {
          Fail("the wizard window lost its button %d", button);
        }
        if (IsWindowEnabled(control) == FALSE) {
          break;
        }
        if (Ended(*child) || NowMs() > deadline) {
          Fail("pressing Skip (%d) did not disable it within %d s", button, timeoutSeconds);
        }
        Sleep(kPollMs);
      }
    }
    PostMessageA(child->window, WM_COMMAND, static_cast<WPARAM>(kDoneButton), 0);
  } else {
    PostMessageA(child->window, WM_CLOSE, 0, 0);
  }
  WaitEnded(child, target, timeoutSeconds);
}

// ---------------------------------------------------------------------------------------
// The three measurements

double StartOnce(const Target& target, int sequence, const Options& options) {
  double started = NowMs();
  Child child = Launch(target, sequence);
  runningChild = &child;
  double visible = WaitVisible(&child, target, options.timeoutSeconds);
  Close(&child, target, options.timeoutSeconds);
  runningChild = nullptr;
  return visible - started;
}

struct Spread {
  double median;
  double min;
  double max;
};

Spread SpreadOf(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  size_t n = values.size();
  double median = n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2.0;
  return {median, values.front(), values.back()};
}

struct IdleFigures {
  double wallMs;
  double apiCpuMs;         // GetProcessTimes, kernel + user
  double apiTotalMs;       // the same, since the child started
  double selfTotalMs;      // GetProcessTimes of this program at the same moment
  double unixCpuMs;        // /proc/<pid>/stat, utime + stime; -1 if unreadable
  double wineserverCpuMs;  // the prefix's wineserver over the same period; -1 if unknown
  double apiPeakKib;       // GetProcessMemoryInfo PeakWorkingSetSize; -1 if it failed
  double unixPeakKib;      // /proc/<pid>/status VmHWM; -1 if unreadable
};

double ApiCpuMs(HANDLE process) {
  FILETIME created, exited, kernel, user;
  if (GetProcessTimes(process, &created, &exited, &kernel, &user) == FALSE) {
    Fail("GetProcessTimes failed (error %lu)", GetLastError());
  }
  return FileTimeMs(kernel) + FileTimeMs(user);
}

double TicksToMs(long long ticks, const Options& options) {
  return ticks < 0 ? -1.0 : static_cast<double>(ticks) * 1000.0 / options.clockTicks;
}

IdleFigures IdleOnce(const Target& target, int sequence, const Options& options) {
  Child child = Launch(target, sequence);
  runningChild = &child;
  WaitVisible(&child, target, options.timeoutSeconds);
  unsigned long unixPid = UnixPidOf(child, options.timeoutSeconds);
  long server = WineserverPid();
  Sleep(kSettleMs);

  double wallBefore = NowMs();
  double apiBefore = ApiCpuMs(child.process.hProcess);
  long long unixBefore = UnixCpuTicks(unixPid);
  long long serverBefore = server > 0 ? UnixCpuTicks(static_cast<unsigned long>(server)) : -1;
  Sleep(static_cast<DWORD>(options.idleSeconds) * 1000);
  long long serverAfter = server > 0 ? UnixCpuTicks(static_cast<unsigned long>(server)) : -1;
  long long unixAfter = UnixCpuTicks(unixPid);
  double apiAfter = ApiCpuMs(child.process.hProcess);
  double selfAfter = ApiCpuMs(GetCurrentProcess());
  double wallAfter = NowMs();
  if (Ended(child) || VisibleWindowOf(child, target.caption) == nullptr) {
    Fail("%s or its window went away while it sat idle", target.name);
  }

  IdleFigures figures{};
  figures.wallMs = wallAfter - wallBefore;
  figures.apiCpuMs = apiAfter - apiBefore;
  figures.apiTotalMs = apiAfter;
  figures.selfTotalMs = selfAfter;
  figures.unixCpuMs =
      unixBefore < 0 || unixAfter < 0 ? -1.0 : TicksToMs(unixAfter - unixBefore, options);
  figures.wineserverCpuMs =
      serverBefore < 0 || serverAfter < 0 ? -1.0 : TicksToMs(serverAfter - serverBefore, options);
  PROCESS_MEMORY_COUNTERS memory{};
  memory.cb = sizeof memory;
  figures.apiPeakKib = GetProcessMemoryInfo(child.process.hProcess, &memory, sizeof memory) != FALSE
                           ? static_cast<double>(memory.PeakWorkingSetSize) / 1024.0
                           : -1.0;
  long long hwm = UnixPeakResidentKib(unixPid);
  figures.unixPeakKib = hwm < 0 ? -1.0 : static_cast<double>(hwm);

  Close(&child, target, options.timeoutSeconds);
  runningChild = nullptr;
  return figures;
}

// ---------------------------------------------------------------------------------------
// Output

void Put(const char* key, double value) {
  std::printf("%s=%.3f\n", key, value);
}

void PutFor(const Target& target, const char* key, double value) {
  std::string full = std::string(target.name) + "." + key;
  Put(full.c_str(), value);
}

void PutStart(const Target& target, const std::vector<double>& times) {
  std::string all;
  for (double t : times) {
    char one[32];
    std::snprintf(one, sizeof one, "%s%.3f", all.empty() ? "" : ",", t);
    all += one;
  }
  std::printf("%s.start.runs_ms=%s\n", target.name, all.c_str());
  Spread spread = SpreadOf(times);
  PutFor(target, "start.median_ms", spread.median);
  PutFor(target, "start.min_ms", spread.min);
  PutFor(target, "start.max_ms", spread.max);
}

void PutIdle(const Target& target, const IdleFigures& idle) {
  PutFor(target, "idle.wall_ms", idle.wallMs);
  PutFor(target, "idle.api_cpu_ms", idle.apiCpuMs);
  PutFor(target, "idle.api_total_ms", idle.apiTotalMs);
  PutFor(target, "idle.self_total_ms", idle.selfTotalMs);
  PutFor(target, "idle.unix_cpu_ms", idle.unixCpuMs);
  PutFor(target, "idle.wineserver_cpu_ms", idle.wineserverCpuMs);
  PutFor(target, "memory.api_peak_kib", idle.apiPeakKib);
  PutFor(target, "memory.unix_peak_kib", idle.unixPeakKib);
}

// ---------------------------------------------------------------------------------------

[[noreturn]] void Usage(const char* problem) {
  std::fprintf(stderr,
               "measure: %s\n"
               "usage: measure.exe --setup PATH --floor PATH [--runs N] [--warmups N]\n"
               "                   [--idle-seconds S] [--timeout-seconds S] [--clock-ticks HZ]\n",
               problem);
  std::exit(2);
}

int PositiveNumber(const char* option, const char* text, int least) {
  char* end = nullptr;
  long value = std::strtol(text, &end, 10);
  if (end == text || *end != '\0' || value < least || value > 100000) {
    std::string problem = std::string(option) + " wants a whole number of at least " +
                          std::to_string(least) + ", not \"" + text + "\"";
    Usage(problem.c_str());
  }
  return static_cast<int>(value);
}

Options ParseOptions(int argc, char** argv) {
  Options options;
  for (int i = 1; i < argc; ++i) {
    std::string option = argv[i];
    if (i + 1 >= argc) {
      Usage((option + " needs a value").c_str());
    }
    const char* value = argv[++i];
    if (option == "--setup") {
      options.setup = value;
    } else if (option == "--floor") {
      options.floor = value;
    } else if (option == "--runs") {
      options.runs = PositiveNumber("--runs", value, 1);
    } else if (option == "--warmups") {
      options.warmups = PositiveNumber("--warmups", value, 0);
    } else if (option == "--idle-seconds") {
      options.idleSeconds = PositiveNumber("--idle-seconds", value, 1);
    } else if (option == "--timeout-seconds") {
      options.timeoutSeconds = PositiveNumber("--timeout-seconds", value, 1);
    } else if (option == "--clock-ticks") {
      options.clockTicks = PositiveNumber("--clock-ticks", value, 1);
    } else {
      Usage(("unknown option " + option).c_str());
    }
  }
  if (options.setup.empty() || options.floor.empty()) {
    Usage("--setup and --floor are both needed");
  }
  for (const std::string* path : {&options.setup, &options.floor}) {
    if (GetFileAttributesA(path->c_str()) == INVALID_FILE_ATTRIBUTES) {
      Usage(("no such program: " + *path).c_str());
    }
  }
  return options;
}

}  // namespace

int main(int argc, char** argv) {
  Options options = ParseOptions(argc, argv);
  const Target setup{"setup", options.setup, kWizardCaption, true};
  const Target floor{"floor", options.floor, FLOOR_CAPTION, false};
  int sequence = 0;

  for (int i = 1; i <= options.warmups; ++i) {
    Progress("warm-up %d/%d: setup %.1f ms, ", i, options.warmups,
             StartOnce(setup, ++sequence, options));
    Progress("floor %.1f ms (not counted)\n", StartOnce(floor, ++sequence, options));
  }
  // Interleaved, so that whatever else the machine does weighs on both alike.
  std::vector<double> setupTimes;
  std::vector<double> floorTimes;
  for (int i = 1; i <= options.runs; ++i) {
    setupTimes.push_back(StartOnce(setup, ++sequence, options));
    floorTimes.push_back(StartOnce(floor, ++sequence, options));
    Progress("run %2d/%d: setup %7.1f ms, floor %7.1f ms\n", i, options.runs, setupTimes.back(),
             floorTimes.back());
  }

  Progress("idle: setup for %d s ...\n", options.idleSeconds);
  IdleFigures setupIdle = IdleOnce(setup, ++sequence, options);
  Progress("idle: floor for %d s ...\n", options.idleSeconds);
  IdleFigures floorIdle = IdleOnce(floor, ++sequence, options);

  Put("runs", options.runs);
  PutStart(setup, setupTimes);
  PutStart(floor, floorTimes);
  Put("start.ratio", SpreadOf(setupTimes).median / SpreadOf(floorTimes).median);
  Put("idle.seconds", options.idleSeconds);
  PutIdle(setup, setupIdle);
  PutIdle(floor, floorIdle);
  return 0;
}
