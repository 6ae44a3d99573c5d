// Checks that hold on the stand-in and on Wine alike, written once against the product and
// Win32 and built into the host tests and the Wine tests, each with its ring's part of
// ring.h: the toolkit's modal run as the callback sees it, handled messages and closing, a
// quit message, control rectangles, styles and the template's font, icons, pictures,
// colours and bad input; the guard around a platform call: error
// mode, verdict and the floating-point unit.
#include <climits>

#include "dialogs/control_extras.h"
#include "dialogs/controls.h"
#include "dialogs/modal.h"
#include "ring.h"
#include "runtime/error_state.h"
#include "runtime/fpu.h"
#include "sequence_table.h"

namespace ring {
namespace {

ModalRun* running = nullptr;

INT_PTR Recorder(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  running->calls.push_back(messages::Seen(dialog, message, wParam, lParam));
  return running->onMessage ? running->onMessage(dialog, message, wParam, lParam) : 0;
}

}  // namespace

void RunModal(ModalRun* run) {
  running = run;
  ShowModal(run->dialog, Recorder, &run->result);
  running = nullptr;
}

}  // namespace ring

namespace {

using messages::Expect;
using messages::kHidden;
using messages::kL;
using messages::kW;
using messages::Row;
using ring::Add;
using ring::Hex;
using ring::IconSize;
using ring::kBitmap;
using ring::kIcon;
using ring::kMissingIcon;
using ring::ModalRun;
using ring::RunModal;
using ring::WindowText;
using ring::WizardLikeDialog;

using ToolkitInBothRings = ring::ToolkitCheck;

// What reached the dialog's window procedure, activation aside, as rows.
WNDPROC dialogProcedure = nullptr;
std::vector<Row> delivered;

LRESULT CALLBACK Journal(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != WM_ACTIVATE) {
    delivered.push_back(messages::Seen(window, message, wParam, lParam));
  }
  return CallWindowProcA(dialogProcedure, window, message, wParam, lParam);
}

std::vector<std::string> Described(const std::vector<Row>& rows, size_t from = 0) {
  std::vector<std::string> lines;
  for (size_t i = from; i < rows.size(); ++i) {
    lines.push_back(messages::Describe(rows[i]));
  }
  return lines;
}

TEST_F(ToolkitInBothRings, TheCallbackSeesAModalRunFromTheDirectCallsToTheDestruction) {
  ModalRun r;
  r.dialog = WizardLikeDialog("Toolkit sequence");
  ASSERT_NE(r.dialog, nullptr);
  HWND button = Add(kPushButton, r.dialog, 1001, "End", 10, 70, 50, 14);
  Add(kLabel, r.dialog, 1002, "Label", 10, 10, 100, 10);
  const auto endCommand = static_cast<WPARAM>(MAKEWPARAM(1001, BN_CLICKED));
  RECT client{};
  GetClientRect(r.dialog, &client);
  std::vector<std::string> ending;  // how WM_DESTROY and WM_NCDESTROY find the run
  bool insideEnd = false;
  // The first WM_SIZE posts the button's command, on which the callback ends the dialog.
  r.onMessage = [&](HWND dialog, UINT message, WPARAM wParam, LPARAM) -> INT_PTR {
    if (message == WM_SIZE && r.calls.size() == 2) {
      PostMessageA(dialog, WM_COMMAND, endCommand, reinterpret_cast<LPARAM>(button));
    } else if (message == WM_COMMAND && wParam == endCommand) {
      insideEnd = true;
      EndDialogWith(dialog, 1234);
      insideEnd = false;
    } else if (message == WM_DESTROY || message == WM_NCDESTROY) {
      ending.push_back(messages::MessageName(message) + (insideEnd ? " inside" : " outside") +
                       " EndDialogWith, result " + std::to_string(r.result));
    }
    return 0;
  };
  delivered.clear();
  dialogProcedure = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(r.dialog, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Journal)));
  RunModal(&r);

  // What the toolkit causes and acts on, with the platform's own traffic (painting,
  // activation, the focus) described once in the shared table.
  EXPECT_MESSAGES(messages::ModalRunEndedByItsButton(
                      r.dialog, button, MAKELPARAM(client.right, client.bottom), endCommand),
                  r.calls);
  EXPECT_SEQUENCE(Described(delivered), Described(r.calls, 2))
      << "after its two direct calls the callback sees every message but activation";
  EXPECT_SEQUENCE((std::vector<std::string>{"WM_DESTROY inside EndDialogWith, result 1234",
                                            "WM_NCDESTROY inside EndDialogWith, result 1234"}),
                  ending);
  EXPECT_EQ(r.result, 1234);
  EXPECT_EQ(FindRecord(r.dialog), nullptr);
  EXPECT_EQ(FindRecord(button), nullptr);
  EXPECT_FALSE(IsWindow(r.dialog));
}

// The dialog manager hands back a handled message's result through DWLP_MSGRESULT,
// unless the callback has put one there itself; SC_CLOSE answered by 1 is the callback's,
// answered by 0 it ends the dialog with 0, whatever the low four bits of the command.
TEST_F(ToolkitInBothRings, HandledMessagesAnswerThroughTheResultSlotAndCloseEndsWithZero) {
  ModalRun r;
  r.dialog = WizardLikeDialog("Toolkit close");
  INT_PTR closeAnswer = 1;
  std::vector<std::string> seen;
  r.onMessage = [&](HWND dialog, UINT message, WPARAM, LPARAM) -> INT_PTR {
    if (message == WM_SIZE) {
      PostMessageA(dialog, WM_APP, 0, 0);
    } else if (message == WM_APP) {
      auto ask = [&](const char* what, UINT asked, WPARAM wParam) {
        LRESULT answer = SendMessageA(dialog, asked, wParam, 0);
        seen.push_back(std::string(what) + " answered " + std::to_string(answer) + ", slot " +
                       std::to_string(GetWindowLongPtrA(dialog, DWLP_MSGRESULT)) +
                       (IsWindow(dialog) ? ", alive" : ", gone"));
      };
      ask("WM_APP+1", WM_APP + 1, 0);
      ask("WM_APP+2", WM_APP + 2, 0);
      SendMessageA(dialog, WM_ACTIVATE, WA_ACTIVE, 0);
      ask("SC_CLOSE", WM_SYSCOMMAND, SC_CLOSE);
      closeAnswer = 0;
      // As the system menu's Close would: posted, with low bits that do not count.
      PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE | 0x3, 0);
    } else if (message == WM_APP + 1) {
      return 42;
    } else if (message == WM_APP + 2) {
      SetWindowLongPtrA(dialog, DWLP_MSGRESULT, 9);  // its own result, then handled
      return 1;
    } else if (message == WM_SYSCOMMAND) {
      return closeAnswer;
    }
    return message == WM_ACTIVATE ? 99 : 0;  // WM_ACTIVATE must never come here
  };
  RunModal(&r);

  EXPECT_SEQUENCE((std::vector<std::string>{"WM_APP+1 answered 42, slot 42, alive",
                                            "WM_APP+2 answered 9, slot 9, alive",
                                            "SC_CLOSE answered 1, slot 1, alive"}),
                  seen);
  EXPECT_EQ(r.result, 0) << "SC_CLOSE answered by 0 ends the dialog with 0";
  std::vector<Row> ours;
  for (const Row& call : r.calls) {
    if (call.message >= WM_APP || call.message == WM_ACTIVATE || call.message == WM_SYSCOMMAND ||
        call.message == WM_CLOSE || call.message == WM_DESTROY || call.message == WM_NCDESTROY) {
      ours.push_back(call);
    }
  }
  EXPECT_MESSAGES((std::vector<Row>{Expect(WM_APP), Expect(WM_APP + 1), Expect(WM_APP + 2),
                                    Expect(WM_SYSCOMMAND, kW, SC_CLOSE),
                                    Expect(WM_SYSCOMMAND, kW, SC_CLOSE | 0x3), Expect(WM_CLOSE),
                                    Expect(WM_DESTROY), Expect(WM_NCDESTROY)}),
                  ours);
  EXPECT_FALSE(IsWindow(r.dialog));
}

TEST_F(ToolkitInBothRings, AQuitMessageTakenFromTheQueueDoesNotEndTheLoop) {
  ModalRun r;
  r.dialog = WizardLikeDialog("Toolkit quit");
  bool quitLeft = true;
  r.onMessage = [&](HWND dialog, UINT message, WPARAM, LPARAM) -> INT_PTR {
    if (message == WM_SIZE) {
      PostMessageA(nullptr, WM_QUIT, 3, 0);
      PostMessageA(dialog, WM_APP, 0, 0);
    } else if (message == WM_APP) {
      MSG quit;
      quitLeft = PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE) != FALSE;
      EndDialogWith(dialog, 3);
    }
    return 0;
  };
  RunModal(&r);
  EXPECT_FALSE(quitLeft) << "the loop had not taken the WM_QUIT before the next message";
  EXPECT_EQ(r.result, 3) << "the run ended before the callback ended it";
}

TEST_F(ToolkitInBothRings, IconsComeFromTheProgramsOwnResourceAndGoWithTheirDialog) {
  HWND dialog = WizardLikeDialog("Toolkit icon");
  HWND button = Add(kPushButton, dialog, 1001, "Button", 10, 10, 50, 14);
  auto icon = [](HWND window, WPARAM which) {
    return reinterpret_cast<HICON>(SendMessageA(window, WM_GETICON, which, 0));
  };
  SetDialogIcon(dialog, kIcon);
  HICON first[2] = {icon(dialog, ICON_BIG), icon(dialog, ICON_SMALL)};
  SetDialogIcon(dialog, kIcon);         // a new pair; the first one is destroyed
  SetDialogIcon(button, kIcon);         // a control is no dialog
  SetDialogIcon(dialog, kMissingIcon);  // no such icon: the icons stay
  const WindowRecord* record = FindRecord(dialog);
  HICON big = icon(dialog, ICON_BIG);
  HICON small = icon(dialog, ICON_SMALL);
  EXPECT_SEQUENCE(
      (std::vector<std::string>{"big 32 x 32, the record's", "small 16 x 16, the record's",
                                "first pair (no icon), (no icon)", "button 0x0"}),
      (std::vector<std::string>{
          "big " + IconSize(big) + (big == record->bigIcon ? ", the record's" : ""),
          "small " + IconSize(small) + (small == record->smallIcon ? ", the record's" : ""),
          "first pair " + IconSize(first[0]) + ", " + IconSize(first[1]),
          "button " + Hex(reinterpret_cast<unsigned long>(icon(button, ICON_BIG)))}));
  DestroyWindow(dialog);
  EXPECT_EQ(IconSize(big) + ", " + IconSize(small), "(no icon), (no icon)")
      << "the icons outlived their dialog";

  HWND bare = WizardLikeDialog("Toolkit no icon");
  SetDialogIcon(bare, kMissingIcon);
  EXPECT_EQ(icon(bare, ICON_BIG), nullptr);
  EXPECT_EQ(icon(bare, ICON_SMALL), nullptr);
  EXPECT_EQ(FindRecord(bare)->bigIcon, nullptr);
  DestroyWindow(bare);
}

std::string Describe(const RECT& r) {
  return "(" + std::to_string(r.left) + ", " + std::to_string(r.top) + ")-(" +
         std::to_string(r.right) + ", " + std::to_string(r.bottom) + ")";
}

TEST_F(ToolkitInBothRings, ControlsSitOnTheirMappedEdgesInTheTemplatesFont) {
  HWND dialog = WizardLikeDialog("Toolkit layout", 418, 240);
  struct Placement {
    int kind;
    LONG id, x, y, width, height;
  };
  // Abutting pairs across and down, and odd sizes that round differently alone.
  const Placement placements[] = {
      {kLabel, 1001, 15, 10, 215, 9},  {kPushButton, 1002, 230, 10, 45, 14},
      {kLabel, 1003, 15, 19, 215, 9},  {kPushButton, 1004, 7, 33, 61, 13},
      {kLabel, 1005, 68, 33, 117, 13}, {kPushButton, 1006, 353, 217, 58, 16},
      {kLabel, 1007, 185, 46, 33, 7},
  };
  std::vector<std::string> expected;
  std::vector<std::string> actual;
  bool someWidthRoundsDifferently = false;
  for (const Placement& placement : placements) {
    HWND control = Add(placement.kind, dialog, placement.id, "x", placement.x, placement.y,
                       placement.width, placement.height);
    RECT edges{placement.x, placement.y, placement.x + placement.width,
               placement.y + placement.height};
    MapDialogRect(dialog, &edges);
    expected.push_back(std::to_string(placement.id) + " " + Describe(edges));
    RECT size{0, 0, placement.width, placement.height};
    MapDialogRect(dialog, &size);
    someWidthRoundsDifferently |= size.right != edges.right - edges.left;
    RECT placed{};
    GetWindowRect(control, &placed);
    ScreenToClient(dialog, reinterpret_cast<POINT*>(&placed.left));
    ScreenToClient(dialog, reinterpret_cast<POINT*>(&placed.right));
    actual.push_back(std::to_string(placement.id) + " " + Describe(placed));
  }
  EXPECT_SEQUENCE(expected, actual);
  EXPECT_TRUE(someWidthRoundsDifferently) << "no control tells edges from sizes at this font";

  RECT client{};
  GetClientRect(dialog, &client);
  RECT mapped{0, 0, 418, 240};
  MapDialogRect(dialog, &mapped);
  EXPECT_EQ(Describe(client), Describe(mapped));

  // The template's font: MS Sans Serif at 8 points, for the dialog and every control.
  auto* font = reinterpret_cast<HFONT>(SendMessageA(dialog, WM_GETFONT, 0, 0));
  LOGFONTA logFont{};
  ASSERT_EQ(GetObjectA(font, sizeof(logFont), &logFont), static_cast<int>(sizeof(logFont)));
  HDC dc = GetDC(dialog);
  const LONG eightPoints = -(16 * GetDeviceCaps(dc, LOGPIXELSY) + 72) / 144;  // rounded
  ReleaseDC(dialog, dc);
  EXPECT_STREQ(logFont.lfFaceName, "MS Sans Serif");
  EXPECT_EQ(logFont.lfHeight, eightPoints);
  for (const Placement& placement : placements) {
    EXPECT_EQ(SendMessageA(GetDlgItem(dialog, static_cast<int>(placement.id)), WM_GETFONT, 0, 0),
              reinterpret_cast<LRESULT>(font))
        << "control " << placement.id;
  }

  // Default styles, exactly; a BS_DEFPUSHBUTTON button has no tab stop and is the default,
  // which a label's type bit 1 (SS_CENTER) is not.
  EXPECT_EQ(Hex(GetWindowLongA(GetDlgItem(dialog, 1002), GWL_STYLE)), "0x50010000");
  EXPECT_EQ(Hex(GetWindowLongA(GetDlgItem(dialog, 1001), GWL_STYLE)), "0x50000000");
  HWND preferred = Add(kPushButton, dialog, 1008, "OK", 300, 200, 40, 14, BS_DEFPUSHBUTTON);
  Add(kLabel, dialog, 1009, "", 300, 180, 40, 14, SS_CENTER);
  EXPECT_EQ(Hex(GetWindowLongA(preferred, GWL_STYLE)), "0x50000001");
  EXPECT_EQ(Hex(SendMessageA(dialog, DM_GETDEFID, 0, 0)), Hex(MAKELONG(1008, DC_HASDEFID)));
  DestroyWindow(dialog);
}

// Whether a picture that was handed out still exists.
bool PictureAlive(HANDLE picture, bool bitmap) {
  BITMAP info{};
  return bitmap ? GetObjectA(picture, sizeof(info), &info) != 0
                : IconSize(static_cast<HICON>(picture)) != "(no icon)";
}

// A control that takes no picture at all, whatever its type bits name.
WNDPROC pictureControlProcedure = nullptr;

LRESULT CALLBACK RefusesPictures(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == STM_SETIMAGE || message == BM_SETIMAGE) {
    return 0;
  }
  return CallWindowProcA(pictureControlProcedure, window, message, wParam, lParam);
}

// The platform's controls take only a picture of the type that their type bits name (the
// conformance checks show it), so a new picture of the other type comes with the
// control's type bits changed, and the old picture is destroyed once the control shows
// the new one; a picture the control does not take is destroyed and the old one stays.
TEST_F(ToolkitInBothRings, APictureOfTheOtherTypeComesWithItsTypeBits) {
  HWND dialog = WizardLikeDialog("Toolkit pictures");
  std::vector<std::string> seen;
  // The picture and the picture button, from the icon to the bitmap and back, and then to
  // the bitmap again, refused.
  for (int kind : {kImage, kImageButton}) {
    HWND control = Add(kind, dialog, 1, kIcon, 10, 10, 40, 40);
    const DWORD typeBits = kind == kImage ? SS_TYPEMASK : BS_ICON | BS_BITMAP;
    for (int step = 0; step < 3; ++step) {
      const char* name = step == 1 ? kIcon : kBitmap;
      HANDLE old = FindRecord(control)->image;
      bool refused = step == 2;
      if (refused) {
        pictureControlProcedure = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(RefusesPictures)));
      }
      SetControlImage(dialog, 1, name);
      const WindowRecord* record = FindRecord(control);
      UINT type = (record->kindFlags & kImageBitmapFlag) != 0 ? IMAGE_BITMAP : IMAGE_ICON;
      UINT get = kind == kImage ? STM_GETIMAGE : BM_GETIMAGE;
      seen.push_back(
          std::string(kind == kImage ? "picture" : "picture button") + " to " + name +
          (refused ? ", refused" : "") + ": type bits " +
          Hex(static_cast<DWORD>(GetWindowLongA(control, GWL_STYLE)) & typeBits) +
          ", shows its record's picture " +
          (SendMessageA(control, get, type, 0) == reinterpret_cast<LRESULT>(record->image) ? "yes"
                                                                                           : "no") +
          ", flags " + Hex(record->kindFlags & (kImageIconFlag | kImageBitmapFlag)) +
          ", old picture " + (PictureAlive(old, step == 1) ? "alive" : "destroyed"));
    }
    RemoveControl(dialog, 1);
  }
  const char* kRows[] = {
      "to #202: type bits 0xE, shows its record's picture yes, flags 0x200, old picture destroyed",
      "to #201: type bits 0x3, shows its record's picture yes, flags 0x100, old picture destroyed",
      "to #202, refused: type bits 0x3, shows its record's picture yes, flags 0x100, old picture "
      "alive",
      "to #202: type bits 0x80, shows its record's picture yes, flags 0x200, old picture destroyed",
      "to #201: type bits 0x40, shows its record's picture yes, flags 0x100, old picture destroyed",
      "to #202, refused: type bits 0x40, shows its record's picture yes, flags 0x100, old picture "
      "alive"};
  std::vector<std::string> expected;
  for (size_t i = 0; i < std::size(kRows); ++i) {
    expected.push_back(std::string(i < 3 ? "picture " : "picture button ") + kRows[i]);
  }
  EXPECT_SEQUENCE(expected, seen);
  DestroyWindow(dialog);
}

// What one WM_CTLCOLORSTATIC left in a device context, and the brush that came back.
std::string Painted(const std::string& control, COLORREF text, COLORREF back, int mode,
                    HBRUSH brush) {
  return control + ": text " + Hex(text) + " back " + Hex(back) +
         (mode == TRANSPARENT ? " transparent" : " opaque") + " brush " +
         Hex(reinterpret_cast<unsigned long>(brush));
}

constexpr COLORREF kUntouchedText = 0x010203;
constexpr COLORREF kUntouchedBack = 0x040506;

std::string PaintedBy(HWND dialog, const std::string& name, HWND control, bool toolkitOnly) {
  HDC dc = GetDC(control);
  SetTextColor(dc, kUntouchedText);
  SetBkColor(dc, kUntouchedBack);
  SetBkMode(dc, OPAQUE);
  auto dcParam = reinterpret_cast<WPARAM>(dc);
  auto controlParam = reinterpret_cast<LPARAM>(control);
  INT_PTR brush = toolkitOnly ? ToolkitDialogProc(dialog, WM_CTLCOLORSTATIC, dcParam, controlParam)
                              : SendMessageA(dialog, WM_CTLCOLORSTATIC, dcParam, controlParam);
  // Setting a colour gives back the one the context had.
  COLORREF text = SetTextColor(dc, kUntouchedText);
  COLORREF back = SetBkColor(dc, kUntouchedBack);
  std::string painted = Painted(name, text, back, GetBkMode(dc), reinterpret_cast<HBRUSH>(brush));
  ReleaseDC(control, dc);
  return painted;
}

TEST_F(ToolkitInBothRings, ColourMessagesPaintWithTheControlsColours) {
  HWND dialog = WizardLikeDialog("Toolkit colours");
  HWND red = Add(kLabel, dialog, 1, "red", 10, 10, 100, 10);
  HWND plain = Add(kLabel, dialog, 2, "plain", 10, 20, 100, 10);
  HWND green = Add(kLabel, dialog, 3, "green", 10, 30, 100, 10);
  HWND alsoGreen = Add(kLabel, dialog, 4, "also green", 10, 40, 100, 10);
  HWND clear = Add(kLabel, dialog, 5, "clear", 10, 50, 100, 10);
  SetControlColor(dialog, 1, 0x0000FF, -1);
  SetControlColor(dialog, 3, 0x000000, 0x00FF00);
  SetControlColor(dialog, 4, 0xFFFFFF, 0x00FF00);
  SetControlColor(dialog, 5, 0xFF0000, -2);
  HBRUSH greenBrush = FindRecord(green)->brush;
  LOGBRUSH logBrush{};
  ASSERT_EQ(GetObjectA(greenBrush, sizeof(logBrush), &logBrush),
            static_cast<int>(sizeof(logBrush)));
  EXPECT_EQ(Hex(logBrush.lbColor), "0xFF00");

  const COLORREF face = GetSysColor(COLOR_BTNFACE);
  auto* const null = static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
  EXPECT_SEQUENCE((std::vector<std::string>{
                      Painted("red", 0x0000FF, face, OPAQUE, GetSysColorBrush(COLOR_BTNFACE)),
                      Painted("green", 0x000000, 0x00FF00, OPAQUE, greenBrush),
                      Painted("also green", 0xFFFFFF, 0x00FF00, OPAQUE, greenBrush),
                      Painted("clear", 0xFF0000, kUntouchedBack, TRANSPARENT, null),
                      Painted("plain, toolkit", kUntouchedText, kUntouchedBack, OPAQUE, nullptr),
                  }),
                  (std::vector<std::string>{
                      PaintedBy(dialog, "red", red, false),
                      PaintedBy(dialog, "green", green, false),
                      PaintedBy(dialog, "also green", alsoGreen, false),
                      PaintedBy(dialog, "clear", clear, false),
                      PaintedBy(dialog, "plain, toolkit", plain, true),
                  }));
  // Through the dialog manager an uncoloured label gets the platform's own colours.
  std::printf("uncoloured label through the dialog manager: %s\n",
              PaintedBy(dialog, "plain", plain, false).c_str());
  DestroyWindow(dialog);
  EXPECT_EQ(GetObjectType(greenBrush), 0u) << "the shared brush outlived its dialog";
}

// What a caller can see of a dialog: for the dialog and each child window its text (cut
// short), whether it is enabled, its record's colours and brush, icons and children.
std::vector<std::string> Snapshot(HWND dialog) {
  std::vector<std::string> rows;
  auto describe = [&](HWND window) {
    std::string row = WindowText(window).substr(0, 24) + (IsWindowEnabled(window) ? " on" : " off");
    if (const WindowRecord* record = FindRecord(window)) {
      row += " colours " + std::to_string(record->foreground) + "/" +
             std::to_string(record->background) + (record->brush != nullptr ? " brush" : "");
    }
    if (SendMessageA(window, WM_GETICON, ICON_BIG, 0) != 0) {
      row += " icon";
    }
    if (GetWindow(window, GW_CHILD) != nullptr) {
      row += " has children";
    }
    rows.push_back(row);
  };
  describe(dialog);
  for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT)) {
    describe(child);
  }
  return rows;
}

// The stored colours and the colour of the brush after SetControlColor.
std::string StoredColours(HWND dialog, LONG id, Colour text, Colour background) {
  SetControlColor(dialog, id, text, background);
  const WindowRecord* record = FindRecord(GetDlgItem(dialog, static_cast<int>(id)));
  std::string stored = std::to_string(text) + "/" + std::to_string(background) + " -> " +
                       std::to_string(record->foreground) + "/" +
                       std::to_string(record->background);
  LOGBRUSH brush{};
  if (record->brush != nullptr && GetObjectA(record->brush, sizeof(brush), &brush) != 0) {
    stored += " brush " + Hex(brush.lbColor);
  }
  return stored;
}

INT_PTR Ignores(HWND /*dialog*/, UINT /*message*/, WPARAM /*wParam*/, LPARAM /*lParam*/) {
  return 0;
}

// What callers can get wrong: identifiers that name no control, a control taken for a
// dialog, windows the toolkit never built or that are gone, colours out of range, empty
// and very long texts. No crash, nothing left behind, nothing changes where nothing should.
TEST_F(ToolkitInBothRings, BadInputChangesNothingAndCrashesNothing) {
  HWND dialog = WizardLikeDialog("Toolkit bad input");
  HWND label = Add(kLabel, dialog, 10, "Label", 10, 10, 100, 10);
  Add(kPushButton, dialog, 11, "Button", 10, 30, 50, 14);
  const std::vector<std::string> before = Snapshot(dialog);

  // Identifiers that name no control, and a control's handle taken for a dialog.
  EXPECT_EQ(ControlHandle(dialog, 999), nullptr);
  EnableControl(dialog, 999, 0);
  SetControlText(dialog, 999, "changed");
  SetControlColor(dialog, 999, 0x0000FF, 0x00FF00);
  char buffer[8] = "old";
  EXPECT_EQ(ReadWindowText(dialog, 999, buffer, sizeof buffer), 0u);
  EXPECT_STREQ(buffer, "");
  EXPECT_EQ(ReadListSelection(dialog, 999, buffer, sizeof buffer), 0u);
  EXPECT_EQ(CallerValue(dialog, 999, 1), 0);
  SetCallerValue(dialog, 999, 1, 5);
  SetControlImage(dialog, 999, kIcon);
  SetControlCallback(dialog, 999, Ignores);
  RemoveControl(dialog, 999);
  EXPECT_EQ(Add(kLabel, label, 12, "inside a label", 0, 0, 20, 10), nullptr);
  SetDialogIcon(label, kIcon);
  EXPECT_SEQUENCE(before, Snapshot(dialog));

  // A window the toolkit never built: no control, icon or record; a modal run gets only
  // its two direct calls and leaves the result alone; ending it still destroys it.
  HWND foreign = CreateWindowExA(0, "STATIC", "foreign", WS_POPUP, 0, 0, 120, 80, nullptr, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
  EXPECT_EQ(Add(kPushButton, foreign, 1, "no", 0, 0, 20, 10), nullptr);
  SetDialogIcon(foreign, kIcon);
  SetControlColor(foreign, kDialogItself, 0x0000FF, 0x00FF00);
  EXPECT_SEQUENCE((std::vector<std::string>{"foreign on"}), Snapshot(foreign));
  EXPECT_EQ(FindRecord(foreign), nullptr);
  ModalRun foreignRun;
  foreignRun.dialog = foreign;
  RunModal(&foreignRun);
  EXPECT_MESSAGES(
      (std::vector<Row>{
          Expect(WM_INITDIALOG, kW | kL | kHidden, reinterpret_cast<WPARAM>(foreign), 0),
          Expect(WM_SIZE, kW | kL | kHidden, SIZE_RESTORED, MAKELPARAM(120, 80))}),
      foreignRun.calls);
  EndDialogWith(foreign, 5);
  EXPECT_EQ(foreignRun.result, 77);
  EXPECT_FALSE(IsWindow(foreign));

  // A dialog already destroyed, and so already without its record, and a value that never
  // was a window.
  HWND gone = WizardLikeDialog("Toolkit gone");
  DestroyWindow(gone);
  for (HWND late : {gone, reinterpret_cast<HWND>(0x1234)}) {
    EXPECT_EQ(FindRecord(late), nullptr);
    EXPECT_EQ(Add(kLabel, late, 1, "late", 0, 0, 20, 10), nullptr);
    SetControlColor(late, kDialogItself, 0, 0x00FF00);
    SetControlText(late, 1, "late");
    EnableControl(late, kDialogItself, 0);
    SetDialogIcon(late, kIcon);
    RedrawControl(late);
    DiscardRecord(late);
    ModalRun lateRun;
    lateRun.dialog = late;
    RunModal(&lateRun);
    EndDialogWith(late, 5);
    EXPECT_EQ(lateRun.calls.size(), 2u);
    EXPECT_EQ(lateRun.result, 77);
    EXPECT_EQ(FindRecord(late), nullptr);
  }

  // Colours out of range keep their low 24 bits or become the default; a brush given up
  // by its last holder is deleted.
  EXPECT_SEQUENCE(
      (std::vector<std::string>{"2147483647/16777216 -> 16777215/0 brush 0x0",
                                "-2147483648/-5 -> -1/-1", "-2/-2 -> -1/-2",
                                "305419896/-1 -> 3430008/-1"}),
      (std::vector<std::string>{
          StoredColours(dialog, 10, 0x7FFFFFFF, 0x1000000), StoredColours(dialog, 10, INT_MIN, -5),
          StoredColours(dialog, 10, -2, -2), StoredColours(dialog, 10, 0x12345678, -1)}));

  // Empty, missing and very long texts arrive whole; a buffer gets what fits.
  const std::string longText(10000, 'w');
  HWND longDialog = NewDialog(kDialogUnitsMode, nullptr, longText.c_str(), kNoPosition, kNoPosition,
                              100, 50, 0, 0);
  HWND emptyDialog =
      NewDialog(kDialogUnitsMode, nullptr, "", kNoPosition, kNoPosition, 100, 50, 0, 0);
  HWND untitled =
      NewDialog(kDialogUnitsMode, nullptr, nullptr, kNoPosition, kNoPosition, 100, 50, 0, 0);
  HWND longButton = Add(kPushButton, dialog, 13, longText.c_str(), 10, 50, 50, 14);
  HWND blank = AddControl(kLabel, dialog, 14, nullptr, nullptr, 0, 0, 0, 5, 5, 0, 0, nullptr, "");
  std::vector<size_t> lengths = {WindowText(longDialog).size(), WindowText(emptyDialog).size(),
                                 WindowText(untitled).size(), WindowText(longButton).size(),
                                 WindowText(blank).size()};
  SetControlText(dialog, 10, longText.c_str());
  lengths.push_back(WindowText(label).size());
  EXPECT_TRUE(WindowText(label) == longText);
  char part[16];
  EXPECT_EQ(ReadWindowText(dialog, 10, part, sizeof part), 15u);
  EXPECT_EQ(std::string(part), longText.substr(0, 15));
  SetControlText(dialog, 10, "");
  lengths.push_back(WindowText(label).size());
  SetControlText(dialog, 10, nullptr);
  lengths.push_back(WindowText(label).size());
  EXPECT_SEQUENCE((std::vector<size_t>{10000, 0, 0, 10000, 0, 10000, 0, 0}), lengths);
  for (HWND window : {longDialog, emptyDialog, untitled, dialog}) {
    DestroyWindow(window);
  }
}

// The guard's error mode and a clean last-error code for the call, the caller's mode back
// afterwards, and a verdict on the code alone: a call that succeeds but leaves a code behind
// (as opening a mutex that exists does) failed; one that fails without a code succeeded.
TEST(GuardInBothRings, TheVerdictRestsOnTheCodeTheCallLeavesInTheGuardsErrorMode) {
  UINT callers = SetErrorMode(SEM_NOGPFAULTERRORBOX);
  SetLastError(1234);
  UINT modeInside = 0;
  DWORD codeInside = 99;
  SystemCallVerdict verdict;
  BOOL result = GuardedSystemCall(
      [&] {
        modeInside = SetErrorMode(0);
        SetErrorMode(modeInside);
        codeInside = GetLastError();
        SetLastError(ERROR_ALREADY_EXISTS);
        return TRUE;
      },
      &verdict);
  EXPECT_EQ(SetErrorMode(callers), static_cast<UINT>(SEM_NOGPFAULTERRORBOX));
  EXPECT_EQ(modeInside, static_cast<UINT>(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX));
  EXPECT_EQ(codeInside, 0u);
  EXPECT_EQ(result, TRUE);
  EXPECT_TRUE(verdict.failed);
  EXPECT_EQ(verdict.code, static_cast<DWORD>(ERROR_ALREADY_EXISTS));
  EXPECT_EQ(verdict.number, kErrorPathFileAccess);

  result = GuardedSystemCall([] { return FALSE; }, &verdict);
  EXPECT_EQ(result, FALSE);
  EXPECT_FALSE(verdict.failed);
  EXPECT_EQ(verdict.number, 0);
}

TEST(GuardInBothRings, TheCallRunsInTheUnitsDefaultStateAndTheProgramsStateComesBack) {
  WORD original = FpuControlWord();
  SetFpuControlWord(kProgramFpuControlWord);
  WORD programs = FpuControlWord();  // the unit reads its reserved bit 6 back as 1
  SystemCallVerdict verdict;
  WORD inside = GuardedSystemCall(
      [] {
        WORD word = FpuControlWord();
        SetFpuControlWord(0x0C7F);  // a platform call that changes the unit's setting
        return word;
      },
      &verdict);
  WORD after = FpuControlWord();
  SetFpuControlWord(original);
  EXPECT_EQ(inside, 0x037F) << "the unit's initial control word";
  EXPECT_EQ(after, programs);
  EXPECT_EQ(programs & ~0x0040, kProgramFpuControlWord);
}

}  // namespace
