#include "wizard_driver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <iterator>

#include "installer_record.h"

namespace e2e {

namespace {

using winetest::Stopwatch;

constexpr DWORD kPollMs = 20;
constexpr DWORD kWindowTimeoutMs = 15000;
// Long enough for a loaded machine: a window that has not answered by then is busy.
constexpr UINT kAnswerTimeoutMs = 1000;
constexpr UINT kProbeTimeoutMs = 2000;
constexpr DWORD kRecordReadMs = 2000;
// An installer told to end is gone within this time unless something holds it up.
constexpr DWORD kInstallerEndMs = 5000;
constexpr int kMessageBoxTextId = 0xFFFF;

using wizard_table::kControls;

// The label fonts by the order in which a run first meets them: reading state 0 meets the
// bold font (step 1) and then the window's layout font (steps 2 to 4); the normal step
// font turns up in state 1. Any other font is one the program should not have made.
constexpr const char* kFontNames[] = {"bold step font", "layout font", "normal step font"};

// The name of a step label's font in a state, by its letter in the state table.
const char* FontIn(const wizard_table::ControlRow& label, int state) {
  char letter = label.font[state];
  return kFontNames[letter == 'B' ? 0 : letter == 'L' ? 1 : 2];
}

// A text in quotes with its line ends spelled out, so that a table row shows them.
std::string Quoted(const std::string& text) {
  return "\"" + wizard_table::Escaped(text) + "\"";
}

std::string FontDescription(const std::string& name, LONG weight, LONG height,
                            const std::string& face) {
  return name + " (weight " + std::to_string(weight) + ", height " + std::to_string(height) + ", " +
         face + ")";
}

// 12 points at the screen's resolution, as a character height.
LONG StepFontHeight() {
  HDC screen = GetDC(nullptr);
  LONG dotsPerInch = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return -(dotsPerInch * 12) / 72;
}

std::string WindowText(HWND window) {
  wchar_t text[1024] = L"";
  GetWindowTextW(window, text, 1024);
  return Utf8(text);
}

std::string ClassOf(HWND window) {
  char name[64] = "";
  GetClassNameA(window, name, sizeof(name));
  return name;
}

// Whether the window lies in the middle of the work area of its monitor, give or take a
// pixel: the margins left and right (top and bottom) then differ by at most two.
std::string PositionRow(HWND window) {
  RECT frame{};
  GetWindowRect(window, &frame);
  MONITORINFO monitor{};
  monitor.cbSize = sizeof(monitor);
  GetMonitorInfoA(MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY), &monitor);
  const RECT& work = monitor.rcWork;
  LONG dx = (frame.left - work.left) - (work.right - frame.right);
  LONG dy = (frame.top - work.top) - (work.bottom - frame.bottom);
  if (std::labs(dx) <= 2 && std::labs(dy) <= 2) {
    return "position: centred on the work area";
  }
  auto box = [](const RECT& r) {
    return "(" + std::to_string(r.left) + "," + std::to_string(r.top) + ")-(" +
           std::to_string(r.right) + "," + std::to_string(r.bottom) + ")";
  };
  return "position: " + box(frame) + ", work area " + box(work);
}

void SendMouseClick(POINT at) {
  int width = GetSystemMetrics(SM_CXSCREEN);
  int height = GetSystemMetrics(SM_CYSCREEN);
  INPUT inputs[3] = {};
  for (INPUT& input : inputs) {
    input.type = INPUT_MOUSE;
    input.mi.dx = (at.x * 65536 + width / 2) / width;
    input.mi.dy = (at.y * 65536 + height / 2) / height;
    input.mi.dwFlags = MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE;
  }
  inputs[1].mi.dwFlags |= MOUSEEVENTF_LEFTDOWN;
  inputs[2].mi.dwFlags |= MOUSEEVENTF_LEFTUP;
  EXPECT_EQ(SendInput(3, inputs, sizeof(INPUT)), 3u) << "SendInput, error " << GetLastError();
}

void SendKeys(const std::vector<std::pair<WORD, bool>>& keys) {
  std::vector<INPUT> inputs;
  for (const auto& key : keys) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key.first;
    input.ki.dwFlags = key.second ? 0 : KEYEVENTF_KEYUP;
    inputs.push_back(input);
  }
  EXPECT_EQ(SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT)),
            inputs.size())
      << "SendInput, error " << GetLastError();
}

// Keyboard input goes to the foreground window, as it does for a person at the keyboard.
void MakeForeground(HWND window) {
  Stopwatch waiting;
  while (GetForegroundWindow() != window && waiting.Elapsed() < 2000) {
    SetForegroundWindow(window);
    Sleep(kPollMs);
  }
  EXPECT_EQ(GetForegroundWindow(), window) << "the window did not come to the foreground";
}

struct BoxSearch {
  DWORD processId;
  std::vector<HWND> boxes;
};

BOOL CALLBACK CollectBox(HWND window, LPARAM data) {
  auto* search = reinterpret_cast<BoxSearch*>(data);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner == search->processId && IsWindowVisible(window) && ClassOf(window) == "#32770" &&
      WindowText(window) == kWarningCaption) {
    search->boxes.push_back(window);
  }
  return TRUE;
}

// Reads rows until they are as expected or the time is up; the last read.
template <typename Read>
std::vector<std::string> ReadUntil(Read read, const std::vector<std::string>& expected,
                                   DWORD timeoutMs) {
  Stopwatch waiting;
  std::vector<std::string> rows = read();
  while (rows != expected && waiting.Elapsed() < timeoutMs) {
    Sleep(kPollMs);
    rows = read();
  }
  return rows;
}

// Sets environment variables for the life of the object.
class EnvironmentOverride {
 public:
  void Set(const std::string& name, const std::string& value) {
    char old[32768];
    DWORD length = GetEnvironmentVariableA(name.c_str(), old, sizeof(old));
    saved_.push_back({name, length > 0 && length < sizeof(old) ? old : "", length > 0});
    SetEnvironmentVariableA(name.c_str(), value.c_str());
  }
  ~EnvironmentOverride() {
    for (auto it = saved_.rbegin(); it != saved_.rend(); ++it) {
      SetEnvironmentVariableA(it->name.c_str(), it->had ? it->value.c_str() : nullptr);
    }
  }

 private:
  struct Saved {
    std::string name;
    std::string value;
    bool had;
  };
  std::vector<Saved> saved_;
};

// Has Wine prefer a library beside a program to its own copy, for the programs started while
// it is set: WINEDLLOVERRIDES="uxtheme=n,b" as the prefix's setting, since the variable does
// not reach programs started from a Windows program. Windows needs no such setting.
void PreferPlantedLibrary(bool prefer) {
  HKEY key = nullptr;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Wine\\DllOverrides", 0, nullptr, 0,
                      KEY_SET_VALUE, nullptr, &key, nullptr) != ERROR_SUCCESS) {
    return;
  }
  static const char kNativeFirst[] = "native,builtin";
  if (prefer) {
    RegSetValueExA(key, kPlantedLibrary, 0, REG_SZ, reinterpret_cast<const BYTE*>(kNativeFirst),
                   sizeof(kNativeFirst));
  } else {
    RegDeleteValueA(key, kPlantedLibrary);
  }
  RegCloseKey(key);
}

}  // namespace

std::string WindowsVersion() {
  OSVERSIONINFOA version{};
  version.dwOSVersionInfoSize = sizeof(version);
  GetVersionExA(&version);
  return std::to_string(version.dwMajorVersion) + "." + std::to_string(version.dwMinorVersion);
}

// --- the medium ---------------------------------------------------------------------

Medium::Medium(const MediumLayout& layout) : root_(scratch_ / layout.rootName), layout_(layout) {
  for (const std::string& folder : {root_, RecordFolder(), PathFolder()}) {
    ready_ = CreateDirectoryW(Wide(folder).c_str(), nullptr) && ready_;
  }
  ready_ = Copy(winetest::HelperPath("setup"), root_ + "\\setup.exe") && ready_;
  std::string installer = winetest::HelperPath("e2e_installer");
  for (int step = 1; step <= 3; ++step) {
    if (layout.folder[step - 1]) {
      std::string folder = root_ + "\\" + kInstallers[step - 1].folder;
      ready_ = CreateDirectoryW(Wide(folder).c_str(), nullptr) && ready_;
      if (layout.program[step - 1]) {
        ready_ = Copy(installer, InstallerPath(step)) && ready_;
      }
    }
  }
  if (layout.plantBesideSetup) {
    ready_ = Copy(installer, root_ + "\\" + kInstallers[0].program) && ready_;
  }
  if (layout.plantLibrary) {
    for (const std::string& folder : {root_, root_ + "\\" + kInstallers[0].folder}) {
      std::string library = folder + "\\" + kPlantedLibrary + ".dll";
      ready_ = Copy(winetest::HelperPath("e2e_state_probe"), library) && ready_;
    }
    PreferPlantedLibrary(true);
  }
  if (layout.plantOnPath) {
    ready_ = Copy(installer, PathFolder() + "\\" + kInstallers[0].program) && ready_;
  }
  if (layout.startIn == StartIn::kPlantedFolder) {
    std::string folder = StartFolder() + "\\" + kInstallers[0].folder;
    ready_ = CreateDirectoryA(StartFolder().c_str(), nullptr) &&
             CreateDirectoryA(folder.c_str(), nullptr) &&
             Copy(installer, folder + "\\" + kInstallers[0].program) && ready_;
  }
}

// The scratch folder is cleared with ANSI calls, which cannot name the medium's folder if
// its name lies outside the code page: it goes back to a plain name first.
Medium::~Medium() {
  MoveFileW(Wide(root_).c_str(), Wide(scratch_ / "medium").c_str());
  if (layout_.plantLibrary) {
    PreferPlantedLibrary(false);
  }
}

std::string Medium::StartFolder() const {
  if (layout_.startIn == StartIn::kSystemFolder) {
    char system[MAX_PATH] = "";
    GetSystemDirectoryA(system, MAX_PATH);
    return system;
  }
  return layout_.startIn == StartIn::kPlantedFolder ? scratch_ / "elsewhere" : root_;
}

std::string Medium::InstallerPath(int step) const {
  return root_ + "\\" + kInstallers[step - 1].folder + "\\" + kInstallers[step - 1].program;
}

bool Medium::Copy(const std::string& from, const std::string& to) {
  if (CopyFileW(Wide(from).c_str(), Wide(to).c_str(), TRUE)) {
    return true;
  }
  ADD_FAILURE() << "copying " << from << " to " << to << ", error " << GetLastError();
  return false;
}

// --- expected tables --------------------------------------------------------------------

std::vector<std::string> ExpectedState(int state, Look look) {
  bool readable = look != Look::kFromOutside;
  std::vector<std::string> rows = {
      std::string("caption: ") + kWizardCaption,
      look == Look::kBehindOwnedBox ? "window: disabled" : "window: enabled",
      "position: centred on the work area",
      readable ? "icons: big and small" : "icons: not read",
      "answers messages: yes",
  };
  const LONG height = StepFontHeight();
  for (const wizard_table::ControlRow& control : kControls) {
    std::string row =
        NameOf(control.id) + ": " + (control.enabled[state] == 'E' ? "enabled" : "disabled");
    if (control.font != nullptr) {
      const char* font = FontIn(control, state);
      row += readable ? ", " + FontDescription(font, font == kFontNames[0] ? FW_BOLD : FW_NORMAL,
                                               height, "MS Sans Serif")
                      : ", font not read";
    }
    if (control.id == IDC_MESSAGE) {
      row += ", " + Quoted(wizard_table::kMessages[state]);
    }
    rows.push_back(row);
  }
  return rows;
}

std::vector<std::string> ExpectedQuestion() {
  return {
      std::string("caption: ") + kWarningCaption,
      "text: " + Quoted(kQuitQuestion),
      "owner: none",
      "icon: none",
      "button 6 \"&Yes\"",
      "button 7 \"&No\", default, focused",
  };
}

std::vector<std::string> ExpectedStartWarning(const std::string& program, int errorNumber) {
  return {
      std::string("caption: ") + kWarningCaption,
      "text: " + Quoted(wizard_table::FailedStartWarning(program, errorNumber)),
      "owner: the wizard window",
      "icon: warning",
      "button 1 \"OK\", default, focused",
  };
}

int StartErrorNumber(const std::string& program) {
  std::string command = "\"" + program + "\"";
  std::wstring commandLine = Wide(command);
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process{};
  if (CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                     &startup, &process)) {
    TerminateProcess(process.hProcess, 1);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    return -1;
  }
  DWORD code = GetLastError();
  std::printf("note: starting %s fails here with error %lu\n", command.c_str(), code);
  return code == ERROR_FILE_NOT_FOUND   ? kErrorFileNotFound
         : code == ERROR_PATH_NOT_FOUND ? kErrorPathNotFound
                                        : -1;
}

std::vector<std::string> ExpectedRecord(const Medium& medium, int step) {
  std::string program = medium.InstallerPath(step);
  return {
      "program=" + program,
      "command=\"" + program + "\"",
      "directory=" + medium.Root() + "\\" + kInstallers[step - 1].folder,
      "show=" + std::to_string(SW_SHOWNORMAL),
      "version=" + WindowsVersion(),
  };
}

// --- one run of setup.exe ---------------------------------------------------------------

struct WizardRun::Probe {
  HMODULE module = nullptr;
  HHOOK hook = nullptr;
  HANDLE memory = nullptr;
  ProbeReport* report = nullptr;
  UINT message = 0;
  LPARAM serial = 0;

  ~Probe() {
    if (hook != nullptr) {
      UnhookWindowsHookEx(hook);
    }
    if (report != nullptr) {
      UnmapViewOfFile(report);
    }
    if (memory != nullptr) {
      CloseHandle(memory);
    }
    if (module != nullptr) {
      FreeLibrary(module);
    }
  }
};

WizardRun::WizardRun(const Medium& medium, bool probe) : recordFolder_(medium.RecordFolder()) {
  // Records of earlier runs on the same medium are not this run's.
  for (const InstallerRecord& record : Records()) {
    installersSeen_.push_back(record.processId);
  }
  if (!medium.Ready()) {
    trouble_ = "the medium could not be laid out";
  } else if (!Start(medium, probe) && trouble_.empty()) {
    trouble_ = "setup.exe did not start";
  }
}

WizardRun::~WizardRun() {
  EndEverything();
}

bool WizardRun::Start(const Medium& medium, bool probe) {
  std::wstring setup = Wide(medium.Root() + "\\setup.exe");
  std::wstring commandLine = L"\"" + setup + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  {
    // setup.exe hands its environment on to the installers it starts.
    EnvironmentOverride environment;
    environment.Set(kRecordFolderVariable, recordFolder_);
    if (medium.Layout().plantOnPath) {
      char path[32768] = "";
      GetEnvironmentVariableA("PATH", path, sizeof(path));
      environment.Set("PATH", medium.PathFolder() + ";" + path);
    }
    if (!CreateProcessW(setup.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                        Wide(medium.StartFolder()).c_str(), &startup, &process_)) {
      trouble_ = "CreateProcess " + Utf8(setup) + ", error " + std::to_string(GetLastError());
      return false;
    }
  }
  CloseHandle(process_.hThread);
  process_.hThread = nullptr;

  Stopwatch waiting;
  while (window_ == nullptr && waiting.Elapsed() < kWindowTimeoutMs &&
         WaitForSingleObject(process_.hProcess, kPollMs) == WAIT_TIMEOUT) {
    window_ = winetest::FindProcessWindow(process_.dwProcessId, kWizardCaption);
  }
  if (window_ == nullptr) {
    trouble_ = "setup.exe showed no window within " + std::to_string(kWindowTimeoutMs) + " ms";
    return false;
  }
  if (!probe) {
    return true;
  }

  probe_.reset(new Probe);
  probe_->message = RegisterWindowMessageA(kProbeMessage);
  probe_->memory =
      CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(ProbeReport),
                         ProbeMemoryName(GetCurrentProcessId()).c_str());
  if (probe_->memory != nullptr) {
    probe_->report = static_cast<ProbeReport*>(
        MapViewOfFile(probe_->memory, FILE_MAP_WRITE, 0, 0, sizeof(ProbeReport)));
  }
  std::string module = winetest::HelperPath("e2e_state_probe");
  probe_->module = LoadLibraryA(module.c_str());
  auto procedure = probe_->module == nullptr
                       ? nullptr
                       : reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(
                             GetProcAddress(probe_->module, kProbeHookProcedure)));
  if (procedure != nullptr) {
    probe_->hook = SetWindowsHookExA(WH_CALLWNDPROC, procedure, probe_->module,
                                     GetWindowThreadProcessId(window_, nullptr));
  }
  if (probe_->report == nullptr || probe_->hook == nullptr) {
    trouble_ = "the state probe " + module + " could not be placed, error " +
               std::to_string(GetLastError());
    return false;
  }
  return true;
}

bool WizardRun::Answers() {
  DWORD_PTR result = 0;
  return SendMessageTimeoutA(window_, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, kAnswerTimeoutMs, &result) !=
         0;
}

bool WizardRun::ReadProbe(HWND window, ProbeReport* report) {
  if (!probe_) {
    return false;
  }
  LPARAM serial = ++probe_->serial;
  probe_->report->serial = 0;
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutA(window, probe_->message, GetCurrentProcessId(), serial, SMTO_NORMAL,
                           kProbeTimeoutMs, &result) ||
      probe_->report->serial != serial) {
    return false;
  }
  *report = *probe_->report;
  return true;
}

std::string WizardRun::FontName(DWORD font) {
  if (font == 0) {
    return "no font";
  }
  auto known = std::find(fonts_.begin(), fonts_.end(), font);
  auto index = static_cast<std::size_t>(known - fonts_.begin());
  if (known == fonts_.end()) {
    fonts_.push_back(font);
  }
  return index < std::size(kFontNames) ? kFontNames[index]
                                       : "unexpected font #" + std::to_string(index + 1);
}

std::vector<std::string> WizardRun::State() {
  if (!IsWindow(window_)) {
    return {"window: gone"};
  }
  bool answers = Answers();
  ProbeReport report{};
  bool probed = answers && ReadProbe(window_, &report);
  std::vector<std::string> rows = {
      "caption: " + WindowText(window_),
      IsWindowEnabled(window_) ? "window: enabled" : "window: disabled",
      PositionRow(window_),
      !probed ? "icons: not read"
              : std::string("icons: ") + (report.bigIcon != 0 ? "big" : "no big") + " and " +
                    (report.smallIcon != 0 ? "small" : "no small"),
      answers ? "answers messages: yes" : "answers messages: no",
  };
  for (const wizard_table::ControlRow& control : kControls) {
    HWND item = GetDlgItem(window_, control.id);
    if (item == nullptr) {
      rows.push_back(NameOf(control.id) + ": missing");
      continue;
    }
    std::string row = NameOf(control.id) + ": " + (IsWindowEnabled(item) ? "enabled" : "disabled");
    if (control.font != nullptr) {
      const ProbeChild* child = nullptr;
      for (LONG i = 0; probed && i < report.childCount; ++i) {
        if (report.children[i].id == control.id) {
          child = &report.children[i];
        }
      }
      if (child == nullptr) {
        row += ", font not read";
      } else if (!child->fontRead) {
        row += ", " + FontName(child->font) + " (no description)";
      } else {
        row += ", " + FontDescription(FontName(child->font), child->fontWeight, child->fontHeight,
                                      child->fontFace);
      }
    }
    if (control.id == IDC_MESSAGE) {
      row += ", " + Quoted(WindowText(item));  // a static keeps its text as the window's text
    }
    rows.push_back(row);
  }
  return rows;
}

std::vector<std::string> WizardRun::WaitForState(const std::vector<std::string>& expected,
                                                 DWORD timeoutMs) {
  return ReadUntil([this] { return State(); }, expected, timeoutMs);
}

void WizardRun::Click(int id, bool checkTarget) {
  HWND control = GetDlgItem(window_, id);
  ASSERT_NE(control, nullptr) << "no control " << id << " in the window";
  RECT rect{};
  GetWindowRect(control, &rect);
  POINT centre = {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
  if (checkTarget) {
    HWND under = WindowFromPoint(centre);
    ASSERT_EQ(under, control) << "control " << id << " is not what lies under its centre; it is "
                              << ClassOf(under) << " " << Quoted(WindowText(under));
  }
  SendMouseClick(centre);
}

void WizardRun::ClickBoxButton(HWND box, int id) {
  HWND button = GetDlgItem(box, id);
  ASSERT_NE(button, nullptr) << "no button " << id << " in the box";
  RECT rect{};
  GetWindowRect(button, &rect);
  POINT centre = {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
  // A box that has just come up or to the front may still be restacked for a moment.
  HWND under = WindowFromPoint(centre);
  for (Stopwatch waiting; under != button && waiting.Elapsed() < 1000;
       under = WindowFromPoint(centre)) {
    Sleep(kPollMs);
  }
  ASSERT_EQ(under, button) << "button " << id << " of the box is covered by " << ClassOf(under)
                           << " " << Quoted(WindowText(under)) << " of "
                           << Quoted(WindowText(GetAncestor(under, GA_ROOT)));
  SendMouseClick(centre);
}

void WizardRun::ClickCloseBox() {
  // The caption's buttons are drawn by the system; the close box is found where the window
  // itself says it is, on a line through the middle of the caption.
  RECT frame{};
  GetWindowRect(window_, &frame);
  LONG y = frame.top + GetSystemMetrics(SM_CYFIXEDFRAME) + GetSystemMetrics(SM_CYCAPTION) / 2;
  LONG right = -1;
  LONG left = -1;
  for (LONG x = frame.right - 1; x > frame.right - 100 && (right < 0 || left < 0); --x) {
    DWORD_PTR hit = 0;
    SendMessageTimeoutA(window_, WM_NCHITTEST, 0, MAKELPARAM(x, y), SMTO_NORMAL, 1000, &hit);
    if (hit == HTCLOSE && right < 0) {
      right = x;
    } else if (hit != HTCLOSE && right >= 0) {
      left = x + 1;
    }
  }
  ASSERT_GE(left, 0) << "no close box found in the caption";
  SendMouseClick(POINT{(left + right) / 2, y});
}

void WizardRun::PressKey(HWND window, WORD key) {
  MakeForeground(window);
  SendKeys({{key, true}, {key, false}});
}

void WizardRun::PressKeys(const std::vector<WORD>& keys) {
  for (WORD key : keys) {
    PressKey(window_, key);
  }
}

std::vector<std::string> WizardRun::Focus() {
  GUITHREADINFO thread{};
  thread.cbSize = sizeof(thread);
  GetGUIThreadInfo(GetWindowThreadProcessId(window_, nullptr), &thread);
  std::string focus = thread.hwndFocus == nullptr   ? "none"
                      : thread.hwndFocus == window_ ? "the window"
                                                    : "another window";
  std::string defaults;
  for (const wizard_table::ControlRow& control : kControls) {
    HWND item = GetDlgItem(window_, control.id);
    if (item != nullptr && item == thread.hwndFocus) {
      focus = NameOf(control.id);
    }
    if (item != nullptr && ClassOf(item) == "Button" &&
        (GetWindowLongA(item, GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON) {
      defaults += (defaults.empty() ? "" : ", ") + NameOf(control.id);
    }
  }
  return {"focus: " + focus, "default look: " + (defaults.empty() ? "none" : defaults)};
}

std::vector<std::string> WizardRun::WaitForFocus(const std::vector<std::string>& expected,
                                                 DWORD timeoutMs) {
  return ReadUntil([this] { return Focus(); }, expected, timeoutMs);
}

void WizardRun::PressAltF4(HWND window) {
  MakeForeground(window);
  SendKeys({{VK_MENU, true}, {VK_F4, true}, {VK_F4, false}, {VK_MENU, false}});
}

void WizardRun::BringToFront(HWND window) {
  MakeForeground(window);
  // Being the foreground window is not yet being on top: Wine restacks a moment later.
  // Wait until the window is what lies under its own centre, as a person would.
  RECT rect{};
  GetWindowRect(window, &rect);
  POINT centre = {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
  Stopwatch waiting;
  while (GetAncestor(WindowFromPoint(centre), GA_ROOT) != window && waiting.Elapsed() < 2000) {
    BringWindowToTop(window);
    Sleep(kPollMs);
  }
  EXPECT_EQ(GetAncestor(WindowFromPoint(centre), GA_ROOT), window)
      << "the window did not come on top of the others";
}

void WizardRun::PostClose(HWND window) {
  PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
}

std::vector<HWND> WizardRun::Boxes() {
  BoxSearch search{process_.dwProcessId, {}};
  EnumWindows(CollectBox, reinterpret_cast<LPARAM>(&search));
  return search.boxes;
}

HWND WizardRun::WaitForNewBox(const std::vector<HWND>& known, DWORD timeoutMs) {
  Stopwatch waiting;
  do {
    for (HWND box : Boxes()) {
      if (std::find(known.begin(), known.end(), box) == known.end()) {
        return box;
      }
    }
    Sleep(kPollMs);
  } while (waiting.Elapsed() < timeoutMs);
  HWND foreground = GetForegroundWindow();
  std::printf("note: no new box within %lu ms; in the foreground: %s %s; setup.exe %s\n", timeoutMs,
              ClassOf(foreground).c_str(), Quoted(WindowText(foreground)).c_str(),
              WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT ? "running" : "ended");
  return nullptr;
}

bool WizardRun::WaitUntilGone(HWND box, DWORD timeoutMs) {
  Stopwatch waiting;
  while (IsWindow(box) && waiting.Elapsed() < timeoutMs) {
    Sleep(kPollMs);
  }
  return !IsWindow(box);
}

std::vector<std::string> WizardRun::BoxContents(HWND box) {
  HWND owner = GetWindow(box, GW_OWNER);
  std::vector<std::string> rows = {
      "caption: " + WindowText(box),
      "text: " + Quoted(WindowText(GetDlgItem(box, kMessageBoxTextId))),
      owner == nullptr   ? "owner: none"
      : owner == window_ ? "owner: the wizard window"
                         : "owner: another window",
  };
  ProbeReport report{};
  bool probed = ReadProbe(box, &report);
  GUITHREADINFO thread{};
  thread.cbSize = sizeof(thread);
  GetGUIThreadInfo(GetWindowThreadProcessId(box, nullptr), &thread);
  std::string icon = probed ? "icon: none" : "icon: not read";
  std::vector<std::string> buttons;
  for (HWND child = GetWindow(box, GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT)) {
    if (!IsWindowVisible(child)) {
      continue;
    }
    LONG style = GetWindowLongA(child, GWL_STYLE);
    int id = GetDlgCtrlID(child);
    if (ClassOf(child) == "Static" && (style & SS_TYPEMASK) == SS_ICON && probed) {
      for (LONG i = 0; i < report.childCount; ++i) {
        if (report.children[i].id == id && report.children[i].icon != 0) {
          icon = report.children[i].icon == report.warningIcon ? "icon: warning"
                                                               : "icon: another icon";
        }
      }
    } else if (ClassOf(child) == "Button") {
      std::string row = "button " + std::to_string(id) + " " + Quoted(WindowText(child));
      if ((style & BS_TYPEMASK) == BS_DEFPUSHBUTTON) {
        row += ", default";
      }
      if (thread.hwndFocus == child) {
        row += ", focused";
      }
      buttons.push_back(row);
    }
  }
  rows.push_back(icon);
  rows.insert(rows.end(), buttons.begin(), buttons.end());
  return rows;
}

std::vector<InstallerRecord> WizardRun::Records() const {
  std::vector<InstallerRecord> records;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((recordFolder_ + "\\*.txt").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) {
    return records;
  }
  do {
    InstallerRecord record;
    record.processId = static_cast<DWORD>(std::strtoul(found.cFileName, nullptr, 10));
    // A record just renamed into place may still be held open by the rename for a moment,
    // with delete access, and a reader that does not share deletion is refused meanwhile.
    std::string content;
    for (Stopwatch waiting;
         !winetest::ReadTextFile(recordFolder_ + "\\" + found.cFileName, &content) &&
         waiting.Elapsed() < kRecordReadMs;) {
      Sleep(kPollMs);
    }
    record.lines = winetest::Lines(content);
    records.push_back(record);
  } while (FindNextFileA(search, &found));
  FindClose(search);
  return records;
}

InstallerRecord WizardRun::WaitForInstaller(DWORD timeoutMs) {
  Stopwatch waiting;
  do {
    for (const InstallerRecord& record : Records()) {
      if (std::find(installersSeen_.begin(), installersSeen_.end(), record.processId) ==
          installersSeen_.end()) {
        installersSeen_.push_back(record.processId);
        HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, record.processId);
        if (process != nullptr) {
          installers_.push_back(process);
        }
        return record;
      }
    }
    Sleep(kPollMs);
  } while (waiting.Elapsed() < timeoutMs);
  InstallerRecord none;
  none.lines = {"(no installer started within " + std::to_string(timeoutMs) + " ms)"};
  return none;
}

void WizardRun::EndInstaller(const InstallerRecord& record) {
  HANDLE end = OpenEventA(EVENT_MODIFY_STATE, FALSE, EndEventName(record.processId).c_str());
  ASSERT_NE(end, nullptr) << "installer " << record.processId << " has no end event";
  SetEvent(end);
  CloseHandle(end);
  HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, record.processId);
  if (process != nullptr && WaitForSingleObject(process, kInstallerEndMs) == WAIT_TIMEOUT) {
    ADD_FAILURE() << "installer " << record.processId << " did not end within " << kInstallerEndMs
                  << " ms of being told to; ended"
                  << (Answers() ? "" : " (setup.exe did not answer WM_NULL within 1 s)");
    TerminateProcess(process, 1);
  }
  CloseHandle(process);
}

std::vector<std::string> WizardRun::PlantedLibraryRuns() const {
  std::vector<std::string> runs;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((recordFolder_ + "\\*.library").c_str(), &found);
  for (BOOL more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileA(search, &found)) {
    std::string program;
    winetest::ReadTextFile(recordFolder_ + "\\" + found.cFileName, &program);
    runs.push_back("ran in " + program);
  }
  if (search != INVALID_HANDLE_VALUE) {
    FindClose(search);
  }
  std::sort(runs.begin(), runs.end());
  return runs;
}

std::string WizardRun::WaitForExit(DWORD timeoutMs) {
  if (WaitForSingleObject(process_.hProcess, timeoutMs) == WAIT_OBJECT_0) {
    DWORD code = 0;
    GetExitCodeProcess(process_.hProcess, &code);
    return "exit code " + std::to_string(code);
  }
  size_t boxes = Boxes().size();
  return "still running after " + std::to_string(timeoutMs) + " ms" +
         (boxes > 0 ? " with " + std::to_string(boxes) + " box(es) open" : "");
}

void WizardRun::EndEverything() {
  probe_.reset();
  // Installers first, so that setup.exe is not left waiting for one.
  for (const InstallerRecord& record : Records()) {
    HANDLE end = OpenEventA(EVENT_MODIFY_STATE, FALSE, EndEventName(record.processId).c_str());
    if (end != nullptr) {
      SetEvent(end);
      CloseHandle(end);
    }
  }
  for (HANDLE installer : installers_) {
    if (WaitForSingleObject(installer, 2000) != WAIT_OBJECT_0) {
      TerminateProcess(installer, 1);
    }
    CloseHandle(installer);
  }
  installers_.clear();
  if (process_.hProcess != nullptr) {
    if (WaitForSingleObject(process_.hProcess, 0) != WAIT_OBJECT_0) {
      TerminateProcess(process_.hProcess, 1);
      WaitForSingleObject(process_.hProcess, 5000);
    }
    CloseHandle(process_.hProcess);
    process_.hProcess = nullptr;
  }
}

}  // namespace e2e
