// The dialog toolkit on a fresh stand-in machine: the program's module recorded and the
// thread slot open (the toolkit loads from the module and takes the dialog font from
// the thread record), a callback that writes down what it sees, and at the end nothing
// left alive and nothing misused.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "dialogs/construction.h"
#include "dialogs/modal.h"
#include "dialogs/registry.h"
#include "message_table.h"
#include "platform.h"
#include "runtime/startup.h"
#include "runtime/thread_record.h"
#include "sequence.h"
#include "standin.h"
#include "standin_windows.h"

namespace toolkit_test {

using Lines = std::vector<std::string>;

// What a DialogCallback saw, and how it answers. The same messages are kept twice: as
// lines ("dialog#1 WM_SIZE(0, 0x96012C)") for tables of the product's own messages, and
// as rows for tables that both rings share, in which the platform's incidental traffic
// is described once (message_table.h: EXPECT_MESSAGES).
struct Callback {
  Lines seen;
  std::vector<messages::Row> rows;
  std::map<UINT, INT_PTR> answers;
  std::function<void(HWND, UINT, WPARAM, LPARAM)> onMessage;
};

inline Callback* callback = nullptr;

// Posted by EndWhenIdle: the callback ends the dialog with wParam as the result, from
// inside the loop's dispatch, as an application does.
constexpr UINT kEndNow = WM_USER + 0x100;

inline INT_PTR Record(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  callback->seen.push_back(standin::MessageLine(window, message, wParam, lParam));
  callback->rows.push_back(messages::Seen(window, message, wParam, lParam));
  if (callback->onMessage) {
    callback->onMessage(window, message, wParam, lParam);
  }
  if (message == kEndNow) {
    EndDialogWith(window, static_cast<LONG>(wParam));
  }
  auto answer = callback->answers.find(message);
  return answer == callback->answers.end() ? 0 : answer->second;
}

inline std::string Text(const RECT& rect) {
  return "{" + std::to_string(rect.left) + "," + std::to_string(rect.top) + "," +
         std::to_string(rect.right) + "," + std::to_string(rect.bottom) + "}";
}

// The lines of a sequence that contain any of the given pieces, in order.
inline Lines Only(const Lines& lines, std::initializer_list<const char*> pieces) {
  Lines kept;
  for (const std::string& line : lines) {
    for (const char* piece : pieces) {
      if (line.find(piece) != std::string::npos) {
        kept.push_back(line);
        break;
      }
    }
  }
  return kept;
}

class ToolkitTest : public ::testing::Test {
 protected:
  void SetUp() override {
    standin::Reset();
    ResetWindowRegistry();
    RecordProgramInstance(standin::ProgramModule());
    ASSERT_TRUE(OpenThreadSlot());
    callback = &callback_;
    standin::ClearCalls();
  }

  void TearDown() override {
    callback = nullptr;
    CloseThreadSlot();
    EXPECT_SEQUENCE(Lines{}, standin::LiveObjects());
    EXPECT_SEQUENCE(Lines{}, standin::Faults());
  }

  // A dialog in dialog units with the default style, at (10, 20), 200 x 100 units.
  static HWND Dialog(const char* caption = "Test", DWORD style = 0, HWND parent = nullptr) {
    return NewDialog(kDialogUnitsMode, parent, caption, 10, 20, 200, 100, style, 0);
  }

  static HWND Label(HWND dialog, LONG id, LONG x = 5, LONG y = 5, LONG width = 50,
                    LONG height = 10) {
    return AddControl(kLabel, dialog, id, "label", nullptr, 0, x, y, width, height, 0, 0, nullptr,
                      nullptr);
  }

  static HWND Button(HWND dialog, LONG id, DWORD style = 0, DialogCallback own = nullptr) {
    return AddControl(kPushButton, dialog, id, "button", nullptr, 0, 5, 30, 50, 14, style, 0, own,
                      nullptr);
  }

  static void EndWhenIdle(HWND dialog, LONG result) {
    standin::WhenIdle(
        [dialog, result] { PostMessageA(dialog, kEndNow, static_cast<WPARAM>(result), 0); });
  }

  // A top-level window of the test's own, to own dialogs.
  static HWND Owner() {
    standin::RegisterWindowClass("Owner", DefWindowProcA);
    return CreateWindowExA(0, "Owner", "owner", WS_POPUP | WS_CAPTION | WS_VISIBLE, 100, 80, 600,
                           400, nullptr, nullptr, standin::ProgramModule(), nullptr);
  }

  Callback callback_;
};

}  // namespace toolkit_test
