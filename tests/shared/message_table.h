// The messages a dialog's callback sees, compared with an expected table as the
// platform's own message tests compare them: a row may be marked optional ("may be
// sent"), and the platform's incidental traffic, which it sends for its own reasons
// (painting, activation, colour queries, hit tests, the system's broadcasts), is
// described once, here, and may come anywhere in any number. A product test so states
// what the product causes and acts on, and the same table holds on the stand-in and on a
// real platform.
//
//   EXPECT_MESSAGES(expected, actual);
//
// On a difference both tables are printed side by side, the actual rows that were taken
// as the platform's traffic marked so.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <string>
#include <vector>

#include "message_names.h"

namespace messages {

// Which parts of an expected row must match; the recorded rows carry all of them.
enum Match : unsigned {
  kMessageOnly = 0,
  kW = 1,
  kL = 2,
  kHidden = 4,     // the dialog was hidden (not visible) when the message came
  kOptional = 8,   // may be sent, or not
  kRecorded = 16,  // a row as it was seen
};

struct Row {
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
  bool visible;
  unsigned match;
};

inline Row Expect(UINT message, unsigned match = kMessageOnly, WPARAM w = 0, LPARAM l = 0) {
  return Row{message, w, l, false, match};
}
inline Row MaySee(UINT message, unsigned match = kMessageOnly, WPARAM w = 0, LPARAM l = 0) {
  return Row{message, w, l, false, match | kOptional};
}
inline Row Seen(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  return Row{message, wParam, lParam, IsWindowVisible(dialog) != FALSE, kRecorded};
}

inline bool Matches(const Row& expected, const Row& seen) {
  unsigned m = expected.match;
  return expected.message == seen.message && ((m & kW) == 0 || expected.wParam == seen.wParam) &&
         ((m & kL) == 0 || expected.lParam == seen.lParam) &&
         ((m & kHidden) == 0 || expected.visible == seen.visible);
}

// The platform's own traffic around what a program causes: painting and colours,
// activation and the palette, position changes, hit tests and the cursor, user-interface
// state, input-method and accessibility queries, the task list's queries for the caption
// and icons; and the system's broadcasts to every top-level window, which come whenever
// the system changes (a device plugged in or out, a setting, the display, colours, fonts,
// the clock, power), on a real machine at any moment.
inline bool PlatformTraffic(UINT message) {
  static const UINT kTraffic[] = {
      WM_PAINT, WM_NCPAINT, WM_ERASEBKGND, WM_NCACTIVATE, WM_ACTIVATEAPP, WM_QUERYNEWPALETTE,
      WM_PALETTEISCHANGING, WM_WINDOWPOSCHANGING, WM_WINDOWPOSCHANGED, WM_GETMINMAXINFO,
      WM_NCCALCSIZE, WM_NCHITTEST, WM_SETCURSOR, WM_MOUSEMOVE, WM_GETOBJECT, WM_CHANGEUISTATE,
      WM_UPDATEUISTATE, WM_QUERYUISTATE, WM_GETTEXT, WM_GETTEXTLENGTH, WM_GETICON,
      // the broadcasts
      WM_DEVICECHANGE, WM_SETTINGCHANGE, WM_DEVMODECHANGE, WM_DISPLAYCHANGE, WM_SYSCOLORCHANGE,
      WM_THEMECHANGED, WM_PALETTECHANGED, WM_FONTCHANGE, WM_TIMECHANGE, WM_POWERBROADCAST,
      WM_SPOOLERSTATUS, WM_COMPACTING, WM_USERCHANGED};
  return std::find(std::begin(kTraffic), std::end(kTraffic), message) != std::end(kTraffic) ||
         (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC) ||
         (message >= WM_IME_SETCONTEXT && message <= WM_IME_KEYUP);
}

inline std::string Describe(const Row& row) {
  auto hex = [](unsigned long long value) {
    char text[24];
    std::snprintf(text, sizeof text, "0x%llX", value);
    return std::string(text);
  };
  std::string text = MessageName(row.message);
  if ((row.match & (kW | kRecorded)) != 0) {
    text += " w=" + hex(row.wParam);
  }
  if ((row.match & (kL | kRecorded)) != 0) {
    text += " l=" + hex(static_cast<unsigned long long>(row.lParam));
  }
  if ((row.match & (kHidden | kRecorded)) != 0) {
    text += row.visible ? " visible" : " hidden";
  }
  return text + ((row.match & kOptional) != 0 ? " (may be sent)" : "");
}

// Walks both tables: an actual row that matches the next expected row is taken; one
// that does not is skipped when it is the platform's traffic; otherwise an optional
// expected row is passed over; anything else is a difference.
inline testing::AssertionResult MessagesMatch(const char* expectedText, const char* actualText,
                                              const std::vector<Row>& expected,
                                              const std::vector<Row>& actual) {
  std::vector<std::pair<std::string, std::string>> table;
  size_t e = 0;
  size_t a = 0;
  bool same = true;
  while (a < actual.size()) {
    if (e < expected.size() && Matches(expected[e], actual[a])) {
      table.push_back({Describe(expected[e++]), Describe(actual[a++])});
    } else if (PlatformTraffic(actual[a].message)) {
      table.push_back({"", Describe(actual[a++]) + " (platform)"});
    } else if (e < expected.size() && (expected[e].match & kOptional) != 0) {
      table.push_back({Describe(expected[e++]), ""});
    } else {
      same = false;
      break;
    }
  }
  while (same && e < expected.size()) {
    same = (expected[e].match & kOptional) != 0;
    table.push_back({Describe(expected[e++]), ""});
  }
  if (same) {
    return testing::AssertionSuccess();
  }
  size_t differs = table.size();
  for (; e < expected.size() || a < actual.size(); ++e, ++a) {
    table.push_back({e < expected.size() ? Describe(expected[e]) : "(none)",
                     a < actual.size() ? Describe(actual[a]) : "(none)"});
  }
  std::string text;
  for (size_t i = 0; i < table.size(); ++i) {
    std::string left = table[i].first;
    text += (i == differs ? "  > " : "    ") + left +
            std::string(left.size() < 48 ? 48 - left.size() : 1, ' ') + table[i].second + "\n";
  }
  return testing::AssertionFailure() << "The messages differ at the row marked >.\n"
                                     << "  expected: " << expectedText << "\n"
                                     << "  actual:   " << actualText << "\n"
                                     << text;
}

// The run that the toolkit's tests make on both platforms: a dialog with a push button,
// run modally; its first WM_SIZE posts the button's command, on which the callback ends
// the dialog. The callback sees its two direct calls while the dialog is hidden, then
// the showing; the platform hands the focus to the button; then the command and the
// ending, and the destruction once the dialog is hidden again.
inline std::vector<Row> ModalRunEndedByItsButton(HWND dialog, HWND button, LPARAM clientSize,
                                                 WPARAM command) {
  const auto buttonParam = reinterpret_cast<LPARAM>(button);
  return {
      Expect(WM_INITDIALOG, kW | kL | kHidden, reinterpret_cast<WPARAM>(dialog), 0),
      Expect(WM_SIZE, kW | kL | kHidden, SIZE_RESTORED, clientSize),
      Expect(WM_SHOWWINDOW, kW | kL | kHidden, TRUE, 0),
      MaySee(WM_SETFOCUS),
      MaySee(WM_KILLFOCUS, kW, static_cast<WPARAM>(buttonParam)),
      Expect(WM_COMMAND, kW | kL, command, buttonParam),
      Expect(WM_CLOSE, kW | kL, 0, 0),
      Expect(WM_DESTROY, kW | kL | kHidden, 0, 0),
      Expect(WM_NCDESTROY, kW | kL | kHidden, 0, 0),
  };
}

}  // namespace messages

#define EXPECT_MESSAGES(expected, actual) \
  EXPECT_PRED_FORMAT2(::messages::MessagesMatch, expected, actual)
