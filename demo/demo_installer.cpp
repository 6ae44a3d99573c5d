// A stand-in for one of the three installers on the medium, so that setup.exe can be
// shown and tried without the real ones. It opens a small window that says which step it
// stands for, the folder it was started in and its command line, writes the same into
// ran.txt next to itself, and ends by itself after about two seconds (or when closed)
// with exit code 0. Built once per step, with DEMO_STEP set to 1, 2 or 3.
#include <windows.h>

#include <cstdio>
#include <string>

#ifndef DEMO_STEP
#error "DEMO_STEP must be 1, 2 or 3"
#endif

namespace {

struct StepInfo {
  const char* component;
  const char* program;
};

constexpr StepInfo kSteps[] = {
    {"DirectX 9.0", "DXSETUP.exe"},
    {"Quillmark", "QuillmarkInstaller.exe"},
    {"Video Adapter Drivers", "Drenvo.exe"},
};
static_assert(DEMO_STEP >= 1 && DEMO_STEP <= 3, "DEMO_STEP must be 1, 2 or 3");
constexpr StepInfo kStep = kSteps[DEMO_STEP - 1];

constexpr char kClassName[] = "QuillmarkDemoInstaller";
constexpr char kRecordFile[] = "ran.txt";
constexpr UINT kLifetimeMs = 2000;
constexpr UINT_PTR kLifetimeTimer = 1;
constexpr int kMargin = 12;
constexpr int kTextWidth = 520;
constexpr UINT kTextFormat = DT_LEFT | DT_WORDBREAK | DT_EDITCONTROL | DT_NOPREFIX;

std::string g_text;  // what the window shows
HFONT g_font = nullptr;

std::string Heading() {
  return "Demo installer for step " + std::to_string(DEMO_STEP) + ": " + kStep.component + " (" +
         kStep.program + ")";
}

std::string CurrentDirectory() {
  char directory[MAX_PATH + 1] = "";
  DWORD length = GetCurrentDirectoryA(sizeof(directory), directory);
  return length > 0 && length < sizeof(directory) ? std::string(directory, length) : "(unknown)";
}

// ran.txt in the folder of this program file, whatever the working directory is.
std::string RecordPath() {
  char path[MAX_PATH + 1] = "";
  DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string file(path, length);
  return file.substr(0, file.find_last_of('\\') + 1) + kRecordFile;
}

// The record is written when the window is up and completed when the program ends, so
// that a reader can tell a running installer from one that has finished. A medium that cannot
// be written to (a CD) only loses the record; the window still shows everything.
void WriteRecord(const std::string& text, const char* mode) {
  std::FILE* file = std::fopen(RecordPath().c_str(), mode);
  if (file == nullptr) {
    return;
  }
  std::fputs(text.c_str(), file);
  std::fclose(file);
}

// The window's client size for the text: as wide as kTextWidth, as high as it needs.
SIZE ClientSizeForText() {
  RECT bounds = {0, 0, kTextWidth, 0};
  HDC screen = GetDC(nullptr);
  HGDIOBJ previous = SelectObject(screen, g_font);
  DrawTextA(screen, g_text.c_str(), -1, &bounds, kTextFormat | DT_CALCRECT);
  SelectObject(screen, previous);
  ReleaseDC(nullptr, screen);
  return SIZE{kTextWidth + 2 * kMargin, bounds.bottom + 2 * kMargin};
}

void Paint(HWND window) {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window, &paint);
  RECT client;
  GetClientRect(window, &client);
  InflateRect(&client, -kMargin, -kMargin);
  HGDIOBJ previous = SelectObject(dc, g_font);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
  DrawTextA(dc, g_text.c_str(), -1, &client, kTextFormat);
  SelectObject(dc, previous);
  EndPaint(window, &paint);
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT:
      Paint(window);
      return 0;
    case WM_TIMER:
      if (wParam == kLifetimeTimer) {
        KillTimer(window, kLifetimeTimer);
        DestroyWindow(window);
      }
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcA(window, message, wParam, lParam);
  }
}

HWND CreateDemoWindow(HINSTANCE instance, int showCommand) {
  WNDCLASSA windowClass = {};
  windowClass.lpfnWndProc = WindowProc;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
  windowClass.hIcon = LoadIcon(nullptr, IDI_APPLICATION);
  windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
  windowClass.lpszClassName = kClassName;
  if (RegisterClassA(&windowClass) == 0) {
    return nullptr;
  }

  constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
  SIZE client = ClientSizeForText();
  RECT frame = {0, 0, client.cx, client.cy};
  AdjustWindowRectEx(&frame, kStyle, FALSE, 0);
  int width = frame.right - frame.left;
  int height = frame.bottom - frame.top;
  // Centred on the screen, in front of the launcher's window, as an installer would be.
  int x = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
  int y = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
  std::string caption = "Demo installer -- step " + std::to_string(DEMO_STEP);
  HWND window = CreateWindowExA(0, kClassName, caption.c_str(), kStyle, x, y, width, height,
                                nullptr, nullptr, instance, nullptr);
  if (window == nullptr) {
    return nullptr;
  }
  ShowWindow(window, showCommand);
  UpdateWindow(window);
  return window;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE /*previous*/, LPSTR /*commandTail*/,
                   int showCommand) {
  std::string directory = CurrentDirectory();
  std::string commandLine = GetCommandLineA();
  g_text = Heading() + "\r\n\r\nWorking directory:\r\n" + directory + "\r\n\r\nCommand line:\r\n" +
           commandLine + "\r\n\r\nThis window closes by itself in two seconds.";
  // The font message boxes use, as an installer's own window would.
  NONCLIENTMETRICSA metrics = {};
  metrics.cbSize = sizeof(metrics);
  HFONT messageFont = nullptr;
  if (SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) {
    messageFont = CreateFontIndirectA(&metrics.lfMessageFont);
  }
  g_font =
      messageFont != nullptr ? messageFont : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));

  // The record is started once the window is up, so that its two seconds count from
  // there. Without a window the demonstration still goes on: the record says the step ran.
  HWND window = CreateDemoWindow(instance, showCommand);
  WriteRecord("step " + std::to_string(DEMO_STEP) + ": " + kStep.program + "\r\n" +
                  "working directory: " + directory + "\r\n" + "command line: " + commandLine +
                  "\r\n",
              "w");
  if (window != nullptr) {
    SetTimer(window, kLifetimeTimer, kLifetimeMs, nullptr);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
  }
  if (messageFont != nullptr) {
    DeleteObject(messageFont);
  }
  WriteRecord("ended: exit code 0\r\n", "a");
  return 0;
}
