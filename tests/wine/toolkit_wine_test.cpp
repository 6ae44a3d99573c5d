// The dialog toolkit on a real Win32 implementation, beyond the checks that both rings run
// (tests/shared/both_rings_test.cpp): placement, the pause before a message box and its
// long text, and what a hundred runs leave behind. (The keys that go
// through the dialog manager are those the end-to-end suite presses in setup.exe.)
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "dialogs/construction.h"
#include "dialogs/controls.h"
#include "dialogs/message_box.h"
#include "dialogs/modal.h"
#include "dialogs/registry.h"
#include "ring.h"
#include "wine_test.h"

namespace {

using ring::Add;
using ring::Hex;
using ring::IconSize;
using ring::kIcon;
using ring::ModalRun;
using ring::RunModal;
using ring::WindowText;
using ring::WizardLikeDialog;

// Every test runs as setup.exe does after start-up (tests/shared/ring.h).
using ToolkitOnWine = ring::ToolkitCheck;

// Where a dialog landed and how big its client area is, in pixels.
std::string Placement(const std::string& name, LONG left, LONG top, LONG width, LONG height) {
  return name + " at (" + std::to_string(left) + ", " + std::to_string(top) + ") client " +
         std::to_string(width) + " x " + std::to_string(height);
}
std::string PlacementOf(const std::string& name, HWND dialog) {
  RECT window{};
  RECT client{};
  GetWindowRect(dialog, &window);
  GetClientRect(dialog, &client);
  return Placement(name, window.left, window.top, client.right, client.bottom);
}

TEST_F(ToolkitOnWine, CentredDialogsSitInTheMiddleOfTheWorkArea) {
  RECT work{};
  ASSERT_TRUE(SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0));
  const LONG workWidth = work.right - work.left;
  const LONG workHeight = work.bottom - work.top;
  HWND units = NewDialog(kDialogUnitsMode, nullptr, "units", kNoPosition, 20, 200, 100, 0, 0);
  HWND pixels = NewDialog(kPixelsMode, nullptr, "pixels", 30, kNoPosition, 301, 201, 0, 0);
  HWND huge = NewDialog(kPixelsMode, nullptr, "huge", kNoPosition, kNoPosition, workWidth + 400,
                        workHeight + 300, 0, 0);
  RECT unitClient{0, 0, 200, 100};
  MapDialogRect(units, &unitClient);
  auto centred = [&](const std::string& name, HWND dialog, LONG width, LONG height) {
    RECT window{};
    GetWindowRect(dialog, &window);
    LONG x = (work.left + work.right - (window.right - window.left)) >> 1;
    LONG y = (work.top + work.bottom - (window.bottom - window.top)) >> 1;
    return Placement(name, x < work.left ? work.left : x, y < work.top ? work.top : y, width,
                     height);
  };
  EXPECT_SEQUENCE(
      (std::vector<std::string>{
          centred("units", units, unitClient.right, unitClient.bottom),
          centred("pixels", pixels, 301, 201),
          Placement("huge", work.left, work.top, workWidth + 400, workHeight + 300),
      }),
      (std::vector<std::string>{PlacementOf("units", units), PlacementOf("pixels", pixels),
                                PlacementOf("huge", huge)}));
  std::printf("work area (%ld, %ld)-(%ld, %ld)\n", work.left, work.top, work.right, work.bottom);
  DestroyWindow(units);
  DestroyWindow(pixels);
  DestroyWindow(huge);
}

// A message box seen from a second thread: found by caption, its text read, answered.
struct BoxVisit {
  std::string caption;
  int press;
  bool found = false;
  std::string text;
};

BOOL CALLBACK ReadBoxText(HWND child, LPARAM data) {
  char name[32] = "";
  GetClassNameA(child, name, sizeof(name));
  if (IsWindowVisible(child) && lstrcmpiA(name, "Static") == 0) {
    reinterpret_cast<BoxVisit*>(data)->text += WindowText(child);
  }
  return TRUE;
}

DWORD WINAPI VisitBox(void* data) {
  auto* visit = static_cast<BoxVisit*>(data);
  HWND box = nullptr;
  for (int tries = 0; tries < 500 && box == nullptr; ++tries) {
    box = FindWindowA("#32770", visit->caption.c_str());
    if (box == nullptr || !IsWindowVisible(box)) {
      box = nullptr;
      Sleep(10);
    }
  }
  if (box != nullptr) {
    visit->found = true;
    EnumChildWindows(box, ReadBoxText, reinterpret_cast<LPARAM>(visit));
    PostMessageA(GetDlgItem(box, visit->press), BM_CLICK, 0, 0);
  }
  return 0;
}

// When the first message box window of the test was created, by the performance counter.
LARGE_INTEGER boxCreated;
HHOOK creationHook;

LRESULT CALLBACK NoteBoxCreation(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_CREATEWND && boxCreated.QuadPart == 0) {
    char name[16] = "";
    GetClassNameA(reinterpret_cast<HWND>(wParam), name, sizeof(name));
    if (std::strcmp(name, "#32770") == 0) {
      QueryPerformanceCounter(&boxCreated);
    }
  }
  return CallNextHookEx(creationHook, code, wParam, lParam);
}

// The real boxes' caption, text, owner, icon and buttons are those of setup.exe's own
// question and warning, which the end-to-end suite reads on every Windows version. Here:
// the toolkit's pause before a box, and a text far longer than any of those, whole.
TEST_F(ToolkitOnWine, ABoxComesAfterThePauseAndTakesALongTextWhole) {
  std::string longText;
  while (longText.size() < 10000) {
    longText += "lengthy ";
  }
  longText.resize(10000);
  BoxVisit visit{"Setup", IDOK, false, ""};
  boxCreated.QuadPart = 0;
  creationHook = SetWindowsHookExA(WH_CBT, NoteBoxCreation, nullptr, GetCurrentThreadId());
  LARGE_INTEGER start;
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  HANDLE visitor = CreateThread(nullptr, 0, VisitBox, &visit, 0, nullptr);
  QueryPerformanceCounter(&start);
  int answer = ShowMessageBox(longText.c_str(), MB_OK, "");
  WaitForSingleObject(visitor, 10000);
  CloseHandle(visitor);
  UnhookWindowsHookEx(creationHook);
  LONGLONG delay = (boxCreated.QuadPart - start.QuadPart) * 1000000 / frequency.QuadPart;

  EXPECT_TRUE(visit.found);
  EXPECT_EQ(answer, IDOK);
  EXPECT_GE(delay, 5000) << "the box came up too soon after the call";
  EXPECT_EQ(visit.text.size(), longText.size());
  EXPECT_TRUE(visit.text == longText) << "the long text did not reach the box whole";
  std::printf("box shown %lld us after the call\n", static_cast<long long>(delay));
}

// Everything the toolkit made for one run: brushes, icons and windows.
struct Made {
  std::vector<HBRUSH> brushes;
  std::vector<HICON> icons;
  std::vector<HWND> windows;
};

void NoteRecord(HWND window, Made* made) {
  const WindowRecord* record = FindRecord(window);
  if (record == nullptr) {
    return;
  }
  if (record->brush != nullptr) {
    made->brushes.push_back(record->brush);
  }
  for (HICON icon : {record->bigIcon, record->smallIcon}) {
    if (icon != nullptr) {
      made->icons.push_back(icon);
    }
  }
  made->windows.push_back(window);
}

// One run of a wizard-sized dialog, shown: five labels and seven buttons, colours, an icon.
Made BuildRunAndEnd() {
  ModalRun r;
  r.dialog = WizardLikeDialog("Toolkit leaks", 418, 240);
  for (LONG i = 0; i < 12; ++i) {
    Add(i < 5 ? kLabel : kPushButton, r.dialog, 1001 + i, "control", 10, 10 + 16 * i, 100, 12);
  }
  SetControlColor(r.dialog, 1001, 0x0000FF, -1);
  SetControlColor(r.dialog, 1002, 0, 0x00FF00);
  SetControlColor(r.dialog, 1003, 0, 0x00FF00);
  SetControlColor(r.dialog, 1004, 0, 0x336699);
  SetControlColor(r.dialog, 1005, 0, -2);
  SetControlColor(r.dialog, kDialogItself, 0, 0xC0C0C0);
  SetDialogIcon(r.dialog, kIcon);
  Made made;
  int sizes = 0;
  r.onMessage = [&](HWND dialog, UINT message, WPARAM, LPARAM) -> INT_PTR {
    if (message == WM_SIZE && ++sizes == 1) {
      PostMessageA(dialog, WM_APP, 0, 0);
    } else if (message == WM_APP) {
      NoteRecord(dialog, &made);
      for (HWND c = GetWindow(dialog, GW_CHILD); c != nullptr; c = GetWindow(c, GW_HWNDNEXT)) {
        NoteRecord(c, &made);
      }
      EndDialogWith(dialog, 0);
    }
    return 0;
  };
  RunModal(&r);
  return made;
}

// What is still alive of what a run made.
std::vector<std::string> Survivors(const Made& made) {
  std::vector<std::string> alive;
  for (HBRUSH brush : made.brushes) {
    if (GetObjectType(brush) != 0) {
      alive.push_back("brush " + Hex(reinterpret_cast<unsigned long>(brush)));
    }
  }
  for (HICON icon : made.icons) {
    if (IconSize(icon) != "(no icon)") {
      alive.push_back("icon " + Hex(reinterpret_cast<unsigned long>(icon)));
    }
  }
  for (HWND window : made.windows) {
    if (IsWindow(window)) {
      alive.push_back("window " + Hex(reinterpret_cast<unsigned long>(window)));
    }
  }
  return alive;
}

TEST_F(ToolkitOnWine, AHundredRunsLeaveNoObjectsBehind) {
  // The first run lets the platform make what it keeps for the whole process.
  Made first = BuildRunAndEnd();
  EXPECT_EQ(first.brushes.size(), 4u);
  EXPECT_EQ(first.icons.size(), 2u);
  EXPECT_EQ(first.windows.size(), 13u);
  const DWORD gdiBefore = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
  const DWORD userBefore = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
  std::vector<std::string> survivors = Survivors(first);
  for (int i = 0; i < 100; ++i) {
    for (const std::string& survivor : Survivors(BuildRunAndEnd())) {
      survivors.push_back("run " + std::to_string(i) + ": " + survivor);
    }
  }
  EXPECT_SEQUENCE(std::vector<std::string>{}, survivors);
  const DWORD gdiAfter = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
  const DWORD userAfter = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
  std::printf("GetGuiResources: GDI %lu -> %lu, USER %lu -> %lu\n", gdiBefore, gdiAfter, userBefore,
              userAfter);
  if (gdiBefore != 0 || gdiAfter != 0) {
    EXPECT_EQ(gdiAfter, gdiBefore);
  }
  if (userBefore != 0 || userAfter != 0) {
    EXPECT_EQ(userAfter, userBefore);
  }
}

}  // namespace
