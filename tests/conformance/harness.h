// The thin adapter between the conformance checks and the platform they run on: what only
// a test harness does. Everything else in the checks is a Win32 call.
//
// Two implementations: harness_standin.cpp scripts the stand-in platform of the host
// build; harness_win32.cpp drives a real Win32 implementation (Wine on Xvfb, in a
// virtual desktop) with real input.
#pragma once

#include <functional>
#include <string>

#include "platform.h"

namespace harness {

// True in the host build, on the stand-in.
bool OnStandIn();

// A fresh start for one check, and its end: no window or object of the check is left
// behind (the stand-in checks its ledger; the real platform its top-level windows).
void Begin();
void End();

// The module whose resources the checks load: icon groups "#104" (one 32 x 32 image),
// "ALPHA", "ZETA" and "#7", and the 40 x 20 bitmap "LOGO".
HINSTANCE Module();

// Input as a person gives it. It is in the thread's input queue when the call returns, and
// reaches a window when a message loop takes it from there (WaitUntilIdle).
void Click(HWND window);                      // the left button, in the window's middle
void PressKey(BYTE key, bool shift = false);  // pressed and released, Shift held around it
void PressAltF4();
void ClickCloseBox(HWND window);          // the caption's close box
void ChooseSystemMenuClose(HWND window);  // a caption click, Alt+Space and "C" for Close

// Takes everything that is queued, input included, until the queue is empty; what handling
// a message posts (a command, say) is queued by the time the handling returns, and is taken
// too. Each message is shown to taken (when given), then goes to IsDialogMessageA for the
// dialog when one is given and it is alive, otherwise through TranslateMessage and
// DispatchMessageA.
inline void WaitUntilIdle(HWND dialog = nullptr,
                          const std::function<void(const MSG&)>& taken = nullptr) {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE) != FALSE) {
    if (taken) {
      taken(msg);
    }
    if (dialog == nullptr || !IsWindow(dialog) || IsDialogMessageA(dialog, &msg) == FALSE) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
  }
}

// A message sent to the window from another thread, which waits for the answer: on the
// real platform a thread of its own, on the stand-in a sender whose message is delivered
// when this thread next looks at its queue.
void SendFromOtherThread(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The clock, in milliseconds.
DWORD Now();

// Answers the next message box with this caption: while it is open, whileOpen runs
// (on the real platform on another thread, so that it may only post and read), then
// the button is pressed; button 0 closes the box with its close box instead.
class BoxAnswer {
 public:
  BoxAnswer(const std::string& caption, int button,
            const std::function<void(HWND box)>& whileOpen = nullptr);
  ~BoxAnswer();
  BoxAnswer(const BoxAnswer&) = delete;
  BoxAnswer& operator=(const BoxAnswer&) = delete;

 private:
  void* visitor_ = nullptr;
};

// Files for the process checks, under a folder of the check's own (Folder()), given as
// Windows paths relative to it, in UTF-8.
std::string Folder();
void MakeFolder(const std::string& path);
void MakeProgram(const std::string& path);  // a program that ends at once
void MakeFile(const std::string& path);     // a file that is no program

}  // namespace harness
