// Dialogs from template bytes: what the dialog manager makes of a template, dialog units
// and MapDialogRect, placement (DS_CENTER, the owner, the work area), the results of the
// dialog procedure, closing, and the order in which windows are destroyed and moved.
#include "conformance.h"
#include "sequence_table.h"

namespace conformance {
namespace {

constexpr DWORD kWizardStyle = 0x84C80AD4;  // what the toolkit writes for the wizard

RECT WorkArea() {
  RECT work{};
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  return work;
}

// A rectangle in dialog units as MapDialogRect gives it.
RECT Mapped(HWND dialog, RECT units) {
  MapDialogRect(dialog, &units);
  return units;
}

using DialogTemplate = Check;

TEST_F(DialogTemplate, TheWizardsTemplateMakesAHiddenCentredDialogInItsOwnFont) {
  HWND dialog = MakeDialog(Header(kWizardStyle, 0, 84, 53, 418, 240, 0x10100), nullptr, 0x1234);
  ASSERT_NE(dialog, nullptr);

  EXPECT_SEQUENCE((Lines{"dialog WM_SETFONT(font, 0)", "dialog WM_INITDIALOG(0, 4660)"}),
                  TheJournal().rows);
  EXPECT_FALSE(IsWindowVisible(dialog));
  EXPECT_EQ(ClassOf(dialog), "#32770");
  EXPECT_EQ(TextOf(dialog), " ");
  EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(dialog, GWL_STYLE)), kWizardStyle);
  EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(dialog, GWL_EXSTYLE)), 0x10101u)
      << "DS_MODALFRAME adds WS_EX_DLGMODALFRAME";

  auto* font = reinterpret_cast<HFONT>(SendMessageA(dialog, WM_GETFONT, 0, 0));
  LOGFONTA info = FontInfo(font);
  EXPECT_EQ(info.lfHeight, -11) << "8 points at 96 dpi";
  EXPECT_EQ(info.lfWeight, FW_DONTCARE);
  EXPECT_EQ(info.lfCharSet, DEFAULT_CHARSET);
  EXPECT_STREQ(info.lfFaceName, "MS Sans Serif");

  // The client area is 418 x 240 units; the window is centred in the work area.
  RECT client = ClientRectOnScreen(dialog);
  RECT size = Mapped(dialog, RECT{0, 0, 418, 240});
  EXPECT_EQ(client.right - client.left, size.right);
  EXPECT_EQ(client.bottom - client.top, size.bottom);
  RECT frame = WindowRect(dialog);
  RECT work = WorkArea();
  EXPECT_LE(std::abs((frame.left + frame.right) - (work.left + work.right)), 1) << Text(frame);
  EXPECT_LE(std::abs((frame.top + frame.bottom) - (work.top + work.bottom)), 1) << Text(frame);

  DestroyWindow(dialog);
  EXPECT_EQ(GetObjectType(font), 0u) << "the dialog's font goes with the dialog";
}

TEST_F(DialogTemplate, ItemsAreMadeInOrderInTheDialogsFontOnTheirMappedEdges) {
  HWND dialog = MakeDialog(
      Header(kPlainStyle, 3)
          .Item(WS_CHILD | WS_VISIBLE, 100, 5, 5, 40, 10, kStaticClass, "label")
          .Item(kButtonStyle, 101, 15, 20, 50, 14, kButtonClass, "Go")
          .Item(kButtonStyle | BS_DEFPUSHBUTTON, 102, 70, 20, 50, 14, kButtonClass, "Stop"));
  ASSERT_NE(dialog, nullptr);

  EXPECT_SEQUENCE((Lines{"dialog WM_SETFONT(font, 0)", "dialog WM_INITDIALOG(BUTTON#101, 0)"}),
                  Seen({WM_SETFONT, WM_INITDIALOG, WM_PARENTNOTIFY}))
      << "template items are made without WM_PARENTNOTIFY";
  Lines made;
  for (HWND child : Children(dialog)) {
    made.push_back(std::to_string(GetDlgCtrlID(child)) + " \"" + TextOf(child) + "\" " +
                   Text(RectInParent(child)) +
                   (SendMessageA(child, WM_GETFONT, 0, 0) == SendMessageA(dialog, WM_GETFONT, 0, 0)
                        ? " dialog font"
                        : " other font"));
  }
  EXPECT_SEQUENCE(
      (Lines{"100 \"label\" " + Text(Mapped(dialog, RECT{5, 5, 45, 15})) + " dialog font",
             "101 \"Go\" " + Text(Mapped(dialog, RECT{15, 20, 65, 34})) + " dialog font",
             "102 \"Stop\" " + Text(Mapped(dialog, RECT{70, 20, 120, 34})) + " dialog font"}),
      made);
  EXPECT_EQ(SendMessageA(dialog, DM_GETDEFID, 0, 0), MAKELONG(102, DC_HASDEFID));
  DestroyWindow(dialog);
}

TEST_F(DialogTemplate, WithoutDsCenterTheClientOriginIsPlacedInUnitsAndKeptOnTheWorkArea) {
  HWND owner = MakeOwner();
  HWND owned = MakeDialog(Header(kPlainStyle, 0, 10, 20), owner, 0, "owned");
  HWND free = MakeDialog(Header(kPlainStyle, 0, 10, 20), nullptr, 0, "free");
  HWND offScreen = MakeDialog(Header(kPlainStyle, 0, 1000, 20), nullptr, 0, "off screen");
  POINT ownerOrigin{0, 0};
  ClientToScreen(owner, &ownerOrigin);
  RECT offset = Mapped(owned, RECT{10, 20, 0, 0});

  RECT ownedClient = ClientRectOnScreen(owned);
  EXPECT_EQ(ownedClient.left, ownerOrigin.x + offset.left);
  EXPECT_EQ(ownedClient.top, ownerOrigin.y + offset.top);
  EXPECT_EQ(GetParent(owned), owner) << "GetParent gives a popup's owner";
  EXPECT_EQ(reinterpret_cast<HWND>(GetWindowLongPtrA(owned, GWLP_HWNDPARENT)), owner);
  RECT freeClient = ClientRectOnScreen(free);
  EXPECT_EQ(freeClient.left, offset.left) << "counted from the screen's origin";
  EXPECT_EQ(freeClient.top, offset.top);
  EXPECT_EQ(WindowRect(offScreen).right, WorkArea().right - GetSystemMetrics(SM_CXDLGFRAME))
      << "pushed back into the work area";

  DestroyWindow(owner);
  EXPECT_FALSE(IsWindow(owned)) << "an owned window goes with its owner";
  DestroyWindow(free);
  DestroyWindow(offScreen);
}

TEST_F(DialogTemplate, WsVisibleShowsTheDialogAtTheEndAndANonzeroInitDialogFocuses) {
  HWND shown = MakeDialog(TwoButtons(kPlainStyle | WS_VISIBLE));
  EXPECT_TRUE(IsWindowVisible(shown));
  EXPECT_EQ(GetActiveWindow(), shown);
  EXPECT_EQ(GetFocus(), GetDlgItem(shown, 11));
  EXPECT_SEQUENCE((Lines{"dialog WM_SETFONT(font, 0)", "dialog WM_INITDIALOG(BUTTON#11, 0)",
                         "dialog WM_SHOWWINDOW(1, 0)"}),
                  Seen({WM_SETFONT, WM_INITDIALOG, WM_SHOWWINDOW}));
  DestroyWindow(shown);

  TheJournal().answers[WM_INITDIALOG] = TRUE;
  HWND hidden = MakeDialog(TwoButtons());
  EXPECT_FALSE(IsWindowVisible(hidden));
  EXPECT_EQ(GetFocus(), GetDlgItem(hidden, 11));
  DestroyWindow(hidden);
}

using DialogUnits = Check;

TEST_F(DialogUnits, MapDialogRectConvertsEachEdgeRoundingHalvesAwayFromZero) {
  HWND dialog = MakeDialog(Header(kPlainStyle, 0));
  POINT base = BaseUnits(dialog);
  // The dialog's font at the screen's resolution; at 96 dpi Wine measures its MS Sans
  // Serif as 6 x 12 (Windows' own font gives 6 x 13).
  HDC screen = GetDC(nullptr);
  int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  EXPECT_EQ(dpi, 96);
  EXPECT_EQ(base.y, 12);
  EXPECT_EQ(base.x, 6);
  Lines actual;
  for (RECT units :
       {RECT{1, 1, 3, 3}, RECT{-1, -4, -3, -12}, RECT{2, 4, 6, 12}, RECT{15, 20, 230, 35}}) {
    actual.push_back(Text(Mapped(dialog, units)));
  }
  EXPECT_SEQUENCE((Lines{"{2,2,5,5}", "{-2,-6,-5,-18}", "{3,6,9,18}", "{23,30,345,53}"}), actual);
  DestroyWindow(dialog);

  HWND systemFont = MakeDialog(Header(kPlainStyle & ~DS_SETFONT, 0));
  POINT systemBase = BaseUnits(systemFont);
  EXPECT_EQ(Text(RECT{0, 0, systemBase.x, systemBase.y}), Text(RECT{0, 0, 7, 16}))
      << "without DS_SETFONT, the system font's";
  DestroyWindow(systemFont);
}

using DialogManager = Check;

TEST_F(DialogManager, AHandledMessagesResultComesFromDwlpMsgResultButForTheDirectOnes) {
  HWND dialog = MakeDialog(Header(kPlainStyle, 0));
  struct Case {
    UINT message;
    INT_PTR answer;
    LONG_PTR stored;  // put in DWLP_MSGRESULT by the procedure; 0 for none
    LRESULT expected;
  };
  const Case cases[] = {
      {WM_APP + 5, TRUE, 0x55, 0x55},
      {WM_APP + 6, TRUE, 0, 0},  // DWLP_MSGRESULT is cleared before each call
      {WM_CTLCOLORSTATIC, 0x777, 0x55, 0x777},
      {WM_INITDIALOG, 3, 0x55, 3},
      {WM_COMPAREITEM, 0x42, 0x55, 0x42},
      {WM_GETTEXTLENGTH, FALSE, 0, 1},  // left to the default processing: the text " "
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(MessageName(c.message));
    TheJournal().answers = {{c.message, c.answer}};
    TheJournal().onMessage = [c](HWND window, UINT message, WPARAM, LPARAM) {
      if (message == c.message && c.stored != 0) {
        SetWindowLongPtrA(window, DWLP_MSGRESULT, c.stored);
      }
    };
    SetWindowLongPtrA(dialog, DWLP_MSGRESULT, 9);
    EXPECT_EQ(SendMessageA(dialog, c.message, 0, 0), c.expected);
  }
  TheJournal().onMessage = nullptr;
  DestroyWindow(dialog);
}

TEST_F(DialogManager, CloseBecomesAPostedCancelCommandAndNeverDestroysTheDialog) {
  HWND dialog = MakeDialog(
      Header(kPlainStyle, 1).Item(kButtonStyle, IDCANCEL, 5, 5, 50, 14, kButtonClass, "Cancel"));
  HWND bare = MakeDialog(Header(kPlainStyle, 0), nullptr, 0, "bare");
  TheJournal().rows.clear();

  SendMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
  EnableWindow(GetDlgItem(dialog, IDCANCEL), FALSE);
  SendMessageA(dialog, WM_CLOSE, 0, 0);
  SendMessageA(bare, WM_CLOSE, 0, 0);
  harness::WaitUntilIdle();
  EXPECT_SEQUENCE(
      (Lines{"dialog WM_SYSCOMMAND(0xF060, 0)", "dialog WM_CLOSE(0, 0)", "dialog WM_CLOSE(0, 0)",
             "bare WM_CLOSE(0, 0)", "dialog WM_COMMAND(2, BUTTON#2)",
             "dialog WM_COMMAND(2, BUTTON#2)", "bare WM_COMMAND(2, 0)"}),
      Seen({WM_SYSCOMMAND, WM_CLOSE, WM_COMMAND}))
      << "posted, even for a disabled Cancel button";
  EXPECT_TRUE(IsWindow(dialog));
  DestroyWindow(dialog);
  DestroyWindow(bare);
}

using Destruction = Check;

TEST_F(Destruction, OwnedWindowsGoFirstThenDestroyParentFirstAndNcDestroyChildrenFirst) {
  HWND dialog = MakeDialog(TwoButtons());
  HWND button = GetDlgItem(dialog, 11);
  HWND inner = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 0, 0, 5, 5, button,
                               reinterpret_cast<HMENU>(31), harness::Module(), nullptr);
  Watch(inner, "STATIC#31");
  MakeDialog(Header(kPlainStyle, 1).Item(kButtonStyle, 21, 5, 5, 50, 14, kButtonClass, "c"), dialog,
             0, "owned dialog");
  HWND popup = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 5, 5, dialog, nullptr,
                               harness::Module(), nullptr);
  Watch(popup, "owned popup");
  TheJournal().rows.clear();

  EXPECT_TRUE(DestroyWindow(dialog));
  EXPECT_SEQUENCE((Lines{"owned popup WM_DESTROY(0, 0)", "owned popup WM_NCDESTROY(0, 0)",
                         "owned dialog WM_DESTROY(0, 0)", "BUTTON#21 WM_DESTROY(0, 0)",
                         "BUTTON#21 WM_NCDESTROY(0, 0)", "owned dialog WM_NCDESTROY(0, 0)",
                         "dialog WM_DESTROY(0, 0)", "BUTTON#11 WM_DESTROY(0, 0)",
                         "STATIC#31 WM_DESTROY(0, 0)", "BUTTON#12 WM_DESTROY(0, 0)",
                         "STATIC#31 WM_NCDESTROY(0, 0)", "BUTTON#11 WM_NCDESTROY(0, 0)",
                         "BUTTON#12 WM_NCDESTROY(0, 0)", "dialog WM_NCDESTROY(0, 0)"}),
                  Seen({WM_DESTROY, WM_NCDESTROY}));
  EXPECT_FALSE(IsWindow(dialog));
  EXPECT_FALSE(IsWindow(button));
}

TEST_F(Destruction, SetWindowPosMovesAndSizesAndTellsTheWindowAfterwards) {
  HWND dialog = MakeDialog(Header(kPlainStyle, 0));
  RECT before = WindowRect(dialog);
  RECT client{};
  GetClientRect(dialog, &client);
  LONG frameWidth = (before.right - before.left) - client.right;
  LONG frameHeight = (before.bottom - before.top) - client.bottom;
  POINT origin{0, 0};
  ClientToScreen(dialog, &origin);
  POINT inset{origin.x - before.left, origin.y - before.top};
  TheJournal().rows.clear();

  EXPECT_TRUE(SetWindowPos(
      dialog, nullptr, 10, 20, 500, 300,
      SWP_NOZORDER | SWP_NOREDRAW | SWP_NOACTIVATE | SWP_NOCOPYBITS | SWP_NOOWNERZORDER));
  EXPECT_SEQUENCE(
      (Lines{"dialog WM_WINDOWPOSCHANGING(0, struct)", "dialog WM_WINDOWPOSCHANGED(0, struct)",
             RowOf(dialog, WM_MOVE, 0, MAKELPARAM(10 + inset.x, 20 + inset.y)),
             RowOf(dialog, WM_SIZE, 0, MAKELPARAM(500 - frameWidth, 300 - frameHeight))}),
      Seen({WM_WINDOWPOSCHANGING, WM_WINDOWPOSCHANGED, WM_MOVE, WM_SIZE}));
  EXPECT_EQ(Text(WindowRect(dialog)), Text(RECT{10, 20, 510, 320}));
  EXPECT_EQ(Text(ClientRectOnScreen(dialog)),
            Text(RECT{10 + inset.x, 20 + inset.y, 10 + inset.x + 500 - frameWidth,
                      20 + inset.y + 300 - frameHeight}));
  POINT point{0, 0};
  ClientToScreen(dialog, &point);
  ScreenToClient(dialog, &point);
  EXPECT_EQ(point.x, 0);
  EXPECT_EQ(point.y, 0);
  EXPECT_EQ(Text(RECT{inset.x, inset.y, frameWidth, frameHeight}), Text(RECT{3, 22, 6, 25}))
      << "a modal frame of 3 and a caption of 19 pixels";
  DestroyWindow(dialog);
}

}  // namespace
}  // namespace conformance
