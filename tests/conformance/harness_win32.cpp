// The harness on a real Win32 implementation: real mouse and keyboard input (SendInput)
// to the foreground window, the tick count, message boxes found and answered from a
// second thread, and files in a scratch folder.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "harness.h"
#include "utf16.h"
#include "wine_test.h"

namespace harness {
namespace {

std::unique_ptr<winetest::ScratchFolder> scratch;
std::string startDirectory;
DWORD checkThread = 0;
std::vector<HANDLE> senders;  // threads of SendFromOtherThread

// How long the harness waits for what it needs (a window in front, input in the queue, a
// message box open): far longer than any of them takes on a loaded machine.
constexpr DWORD kPatienceMs = 10000;

// Whether the condition comes true within kPatienceMs.
bool WaitFor(const std::function<bool()>& condition) {
  winetest::Stopwatch waiting;
  while (!condition() && waiting.Elapsed() < kPatienceMs) {
    Sleep(10);
  }
  return condition();
}

std::string ClassName(HWND window) {
  char name[64] = "";
  GetClassNameA(window, name, sizeof name);
  return name;
}

BOOL CALLBACK CollectWindow(HWND window, LPARAM list) {
  reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
  return TRUE;
}

std::vector<HWND> ThreadWindows(DWORD thread) {
  std::vector<HWND> windows;
  EnumThreadWindows(thread, CollectWindow, reinterpret_cast<LPARAM>(&windows));
  return windows;
}

// The windows of a check, not those the platform keeps for the thread (input method).
bool CheckWindow(HWND window) {
  std::string name = ClassName(window);
  return name == "#32770" || name == "ConformanceOwner" || IsWindowVisible(window);
}

void MakeForeground(HWND window) {
  bool front = WaitFor([window] {
    return GetForegroundWindow() == window ||
           (SetForegroundWindow(window) != FALSE && GetForegroundWindow() == window);
  });
  EXPECT_TRUE(front) << "the foreground window is a " << ClassName(GetForegroundWindow());
}

// Input into the system's stream, and the wait until it is in the check's queue (Wine puts
// it there before SendInput returns, Windows a moment later).
void Send(std::vector<INPUT> inputs) {
  EXPECT_EQ(SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT)),
            inputs.size())
      << "SendInput, error " << GetLastError();
  EXPECT_TRUE(WaitFor([] { return HIWORD(GetQueueStatus(QS_INPUT)) != 0; }))
      << "the input did not reach the check's queue";
}

// Keys go to the focus of the foreground window.
void SendKeys(std::initializer_list<std::pair<BYTE, bool>> keys) {
  MakeForeground(GetActiveWindow());
  std::vector<INPUT> inputs;
  for (const auto& [key, down] : keys) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyA(key, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
    inputs.push_back(input);
  }
  Send(inputs);
}

// A point of the window where it says that the mouse would be on the part asked for: the
// close box from the right, the caption from the middle.
POINT FindPart(HWND window, LRESULT part) {
  RECT rect{};
  GetWindowRect(window, &rect);
  for (LONG y = rect.top; y < rect.top + 40; ++y) {
    for (LONG step = 0; step < 80; ++step) {
      LONG x = part == HTCLOSE ? rect.right - 1 - step : (rect.left + rect.right) / 2 + step;
      if (SendMessageA(window, WM_NCHITTEST, 0, MAKELPARAM(x, y)) == part) {
        return POINT{x, y + 4};
      }
    }
  }
  ADD_FAILURE() << "the window has no part " << part;
  return POINT{rect.left, rect.top};
}

// The mouse goes there, and the button goes down and up there. Each event carries the
// point, as the mouse driver reports it (Wine may otherwise press where the pointer was).
// Being the foreground window is not yet being on top: Wine restacks a moment later, so
// the click waits until the window is what lies under the point.
void ClickAt(HWND window, POINT at) {
  HWND top = GetAncestor(window, GA_ROOT);
  MakeForeground(top);
  EXPECT_TRUE(WaitFor([&] { return GetAncestor(WindowFromPoint(at), GA_ROOT) == top; }))
      << "under the point lies a " << ClassName(WindowFromPoint(at));
  int width = GetSystemMetrics(SM_CXSCREEN);
  int height = GetSystemMetrics(SM_CYSCREEN);
  std::vector<INPUT> inputs;
  for (DWORD button : {0, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP}) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = (at.x * 65536 + width / 2) / width;
    input.mi.dy = (at.y * 65536 + height / 2) / height;
    input.mi.dwFlags = MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE | button;
    inputs.push_back(input);
  }
  Send(inputs);
}

struct Visit {
  std::string caption;
  int button;
  std::function<void(HWND)> whileOpen;
  bool found = false;
};

DWORD WINAPI VisitBox(void* data) {
  auto* visit = static_cast<Visit*>(data);
  HWND box = nullptr;
  visit->found = WaitFor([&] {
    box = FindWindowA("#32770", visit->caption.c_str());
    return box != nullptr && IsWindowVisible(box);
  });
  if (!visit->found) {
    return 0;
  }
  if (visit->whileOpen) {
    visit->whileOpen(box);
  }
  if (visit->button == 0) {
    PostMessageA(box, WM_SYSCOMMAND, SC_CLOSE, 0);
  } else {
    PostMessageA(GetDlgItem(box, visit->button), BM_CLICK, 0, 0);
  }
  return 0;
}

DWORD WINAPI SendAndWait(void* data) {
  std::unique_ptr<MSG> sent(static_cast<MSG*>(data));
  DWORD_PTR answer = 0;
  SendMessageTimeoutA(sent->hwnd, sent->message, sent->wParam, sent->lParam, SMTO_NORMAL,
                      kPatienceMs, &answer);
  return 0;
}

}  // namespace

bool OnStandIn() {
  return false;
}

void Begin() {
  checkThread = GetCurrentThreadId();
  startDirectory = winetest::CurrentDirectory();
  scratch = std::make_unique<winetest::ScratchFolder>();
}

void End() {
  std::vector<std::string> left;
  for (HWND window : ThreadWindows(checkThread)) {
    if (CheckWindow(window)) {
      left.push_back(ClassName(window));
      DestroyWindow(window);
    }
  }
  EXPECT_EQ(left, std::vector<std::string>{}) << "windows left behind by the check";
  WaitUntilIdle();
  for (HANDLE sender : senders) {
    WaitForSingleObject(sender, kPatienceMs);
    CloseHandle(sender);
  }
  senders.clear();
  SetCurrentDirectoryA(startDirectory.c_str());
  scratch.reset();
}

HINSTANCE Module() {
  return GetModuleHandleA(nullptr);
}

void Click(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  ClickAt(window, POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2});
}

void PressKey(BYTE key, bool shift) {
  if (shift) {
    SendKeys({{VK_SHIFT, true}, {key, true}, {key, false}, {VK_SHIFT, false}});
  } else {
    SendKeys({{key, true}, {key, false}});
  }
}

void PressAltF4() {
  SendKeys({{VK_MENU, true}, {VK_F4, true}, {VK_F4, false}, {VK_MENU, false}});
}

void ClickCloseBox(HWND window) {
  ClickAt(window, FindPart(window, HTCLOSE));
}

// A click on the caption activates the window; Alt+Space opens its system menu inside the
// loop that takes the keys, and "C" chooses Close.
void ChooseSystemMenuClose(HWND window) {
  ClickAt(window, FindPart(window, HTCAPTION));
  SendKeys({{VK_MENU, true},
            {VK_SPACE, true},
            {VK_SPACE, false},
            {VK_MENU, false},
            {'C', true},
            {'C', false}});
}

void SendFromOtherThread(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* sent = new MSG{window, message, wParam, lParam, 0, {0, 0}};
  senders.push_back(CreateThread(nullptr, 0, SendAndWait, sent, 0, nullptr));
}

// The tick count moves in steps of a timer tick; the performance counter does not.
DWORD Now() {
  static const winetest::Stopwatch kSinceStart;
  return kSinceStart.Elapsed();
}

BoxAnswer::BoxAnswer(const std::string& caption, int button,
                     const std::function<void(HWND box)>& whileOpen) {
  auto* visit = new Visit{caption, button, whileOpen};
  HANDLE thread = CreateThread(nullptr, 0, VisitBox, visit, 0, nullptr);
  visitor_ = new std::pair<HANDLE, Visit*>(thread, visit);
}

BoxAnswer::~BoxAnswer() {
  auto* visitor = static_cast<std::pair<HANDLE, Visit*>*>(visitor_);
  WaitForSingleObject(visitor->first, INFINITE);  // it gives up on the box by itself
  CloseHandle(visitor->first);
  EXPECT_TRUE(visitor->second->found) << "no message box \"" << visitor->second->caption << "\"";
  delete visitor->second;
  delete visitor;
}

std::string Folder() {
  return scratch->Path();
}

// Names are UTF-8, made in UTF-16.
std::wstring Wide(const std::string& text) {
  std::u16string wide = utf16::FromUtf8(text);
  return {wide.begin(), wide.end()};
}

void MakeFolder(const std::string& path) {
  std::string full = Folder();
  size_t start = 0;
  while (start <= path.size()) {
    size_t end = path.find('\\', start);
    full += "\\" + path.substr(start, end == std::string::npos ? std::string::npos : end - start);
    CreateDirectoryW(Wide(full).c_str(), nullptr);
    if (end == std::string::npos) {
      break;
    }
    start = end + 1;
  }
}

void MakeProgram(const std::string& path) {
  std::string program = winetest::HelperPath("record_helper");
  EXPECT_TRUE(CopyFileW(Wide(program).c_str(), Wide(Folder() + "\\" + path).c_str(), FALSE))
      << "copying the helper to " << path << ", error " << GetLastError();
}

void MakeFile(const std::string& path) {
  HANDLE file = CreateFileA((Folder() + "\\" + path).c_str(), GENERIC_WRITE, 0, nullptr,
                            CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  DWORD written = 0;
  WriteFile(file, "no program", 10, &written, nullptr);
  CloseHandle(file);
}

}  // namespace harness
