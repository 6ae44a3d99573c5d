// The message queue (what comes first, filters, messages for windows that are gone),
// painting and the colour messages controls send their parent, GDI objects and device
// contexts over their lifetime, and resources.
#include "conformance.h"
#include "sequence_table.h"
#include "utf16.h"

namespace conformance {
namespace {

using Queue = Check;

TEST_F(Queue, PostedMessagesComeBeforeInputAndInputBeforePaintingAndWmQuitIsOneOfThem) {
  HWND dialog = MakeShownDialog(TwoButtons());
  HWND first = GetDlgItem(dialog, 11);
  harness::WaitUntilIdle();
  RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
  harness::Click(first);
  PostMessageA(dialog, WM_APP + 100, 0, 0);
  PostMessageA(dialog, WM_QUIT, 4, 0);
  MSG msg;
  ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE));
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_APP + 100)) << "PM_NOREMOVE leaves it there";
  Lines taken;
  harness::WaitUntilIdle(nullptr, [&taken](const MSG& m) {
    if (m.message == WM_APP + 100 || m.message == WM_QUIT || m.message == WM_LBUTTONDOWN ||
        m.message == WM_LBUTTONUP || m.message == WM_PAINT) {
      taken.push_back(RowOf(m.hwnd, m.message, m.wParam, 0));
    }
  });
  EXPECT_SEQUENCE(
      (Lines{"dialog WM_APP+100(0, 0)", "dialog WM_QUIT(4, 0)", "BUTTON#11 WM_LBUTTONDOWN(1, 0)",
             "BUTTON#11 WM_LBUTTONUP(0, 0)", "dialog WM_PAINT(0, 0)", "BUTTON#11 WM_PAINT(0, 0)",
             "BUTTON#12 WM_PAINT(0, 0)"}),
      taken);
  DestroyWindow(dialog);
}

TEST_F(Queue, AWindowFilterTakesItsChildrenAndAGoneWindowsMessagesAreDropped) {
  HWND dialog = MakeDialog(TwoButtons());
  HWND button = GetDlgItem(dialog, 11);
  PostMessageA(nullptr, WM_APP + 7, 0, 0);
  PostMessageA(button, WM_APP + 8, 0, 0);
  PostMessageA(dialog, WM_APP + 9, 0, 0);
  MSG msg;
  ASSERT_TRUE(PeekMessageA(&msg, dialog, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_APP + 8)) << "a child's message passes the filter";
  ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_APP + 9, WM_APP + 9, PM_REMOVE));
  EXPECT_EQ(msg.hwnd, dialog);
  ASSERT_TRUE(PeekMessageA(&msg, reinterpret_cast<HWND>(-1), 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_APP + 7));
  EXPECT_EQ(msg.hwnd, nullptr);
  EXPECT_EQ(DispatchMessageA(&msg), 0);

  PostMessageA(button, WM_APP + 2, 0, 0);
  DestroyWindow(dialog);
  EXPECT_FALSE(PeekMessageA(&msg, nullptr, WM_APP, WM_APP + 100, PM_REMOVE))
      << "a destroyed window's messages go with it";
  MSG stale{button, WM_APP + 3, 0, 0, 0, {0, 0}};
  SetLastError(0);
  EXPECT_EQ(DispatchMessageA(&stale), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
}

// A message wait wakes for what its mask asks for and takes nothing (nor delivers a sent
// message, on Wine); any peek delivers the sent messages first. A peek by message ranges
// takes input and leaves posted messages.
TEST_F(Queue, AMessageWaitWakesForPaintingSentMessagesAndAProcessEndAndTakesNothing) {
  HWND dialog = MakeShownDialog(TwoButtons());
  harness::WaitUntilIdle(dialog);
  TheJournal().rows.clear();
  MSG msg;
  // What the wait gives (258: timed out) and the sent messages delivered, then the same
  // after a peek for WM_PAINT, whose messages are dispatched.
  auto look = [&msg](DWORD mask, DWORD ms) {
    std::string line = std::to_string(MsgWaitForMultipleObjects(0, nullptr, FALSE, ms, mask)) +
                       ", " + std::to_string(Seen({WM_APP + 2}).size());
    while (PeekMessageA(&msg, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE) != FALSE) {
      DispatchMessageA(&msg);
    }
    return line + " then " + std::to_string(Seen({WM_APP + 2}).size());
  };
  RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE);
  Lines seen = {look(QS_PAINT, 1000), look(QS_PAINT, 50)};
  harness::Click(GetDlgItem(dialog, 11));
  PostMessageA(dialog, WM_APP + 1, 0, 0);
  harness::SendFromOtherThread(dialog, WM_APP + 2, 5, 6);
  seen.push_back(look(QS_SENDMESSAGE, 5000));
  seen.push_back(look(QS_SENDMESSAGE, 50));
  EXPECT_SEQUENCE((Lines{"0, 0 then 0", "258, 0 then 0", "0, 0 then 1", "258, 1 then 1"}), seen);
  EXPECT_SEQUENCE(Lines{"dialog WM_APP+2(5, 6)"}, Seen({WM_APP + 2}));
  // Peeks by the key and mouse message ranges take the click, not the posted message.
  Lines taken;
  auto take = [&taken](const MSG& m) {
    if (m.message == WM_APP + 1 || m.message == WM_LBUTTONDOWN || m.message == WM_LBUTTONUP) {
      taken.push_back(RowOf(m.hwnd, m.message, m.wParam, 0));
    }
  };
  const std::pair<UINT, UINT> kInputRanges[] = {{WM_KEYFIRST, WM_KEYLAST},
                                                {WM_MOUSEFIRST, WM_MOUSELAST},
                                                {WM_NCMOUSEMOVE, WM_NCXBUTTONDBLCLK}};
  for (auto [first, last] : kInputRanges) {
    while (PeekMessageA(&msg, dialog, first, last, PM_REMOVE) != FALSE) {
      take(msg);
    }
  }
  taken.emplace_back("then");
  harness::WaitUntilIdle(nullptr, take);
  EXPECT_SEQUENCE((Lines{"BUTTON#11 WM_LBUTTONDOWN(1, 0)", "BUTTON#11 WM_LBUTTONUP(0, 0)", "then",
                         "dialog WM_APP+1(0, 0)"}),
                  taken);

  harness::MakeProgram("ends.exe");
  std::u16string line = utf16::FromUtf8("\"" + harness::Folder() + "\\ends.exe\"");
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  ASSERT_TRUE(CreateProcessW(nullptr, reinterpret_cast<LPWSTR>(line.data()), nullptr, nullptr,
                             FALSE, 0, nullptr, nullptr, &startup, &process));
  EXPECT_EQ(MsgWaitForMultipleObjects(1, &process.hProcess, FALSE, 10000, QS_PAINT), WAIT_OBJECT_0);
  CloseHandle(process.hProcess);
  CloseHandle(process.hThread);
  DestroyWindow(dialog);
}

using Painting = Check;

TEST_F(Painting, ControlsAskTheirParentForColoursAndAStaticRepaintsAtOnce) {
  HWND dialog =
      MakeShownDialog(Header(kPlainStyle, 2)
                          .Item(WS_CHILD | WS_VISIBLE, 100, 5, 5, 40, 10, kStaticClass, "red")
                          .Item(kButtonStyle, 101, 5, 25, 50, 14, kButtonClass, "Go"));
  HWND label = GetDlgItem(dialog, 100);
  harness::WaitUntilIdle(dialog);
  Lines colours = Seen({WM_CTLCOLORSTATIC, WM_CTLCOLORBTN, WM_CTLCOLORDLG});
  for (const char* row :
       {"dialog WM_CTLCOLORSTATIC(dc, STATIC#100)", "dialog WM_CTLCOLORBTN(dc, BUTTON#101)",
        "dialog WM_CTLCOLORDLG(dc, dialog)"}) {
    EXPECT_NE(std::find(colours.begin(), colours.end(), row), colours.end()) << row;
  }

  // A static paints at once when its text changes, and RedrawWindow with RDW_UPDATENOW
  // paints before it returns; nothing is left to paint afterwards.
  TheJournal().rows.clear();
  SetWindowTextA(label, "new");
  EXPECT_SEQUENCE((Lines{"dialog WM_CTLCOLORSTATIC(dc, STATIC#100)"}), Seen({WM_CTLCOLORSTATIC}));
  TheJournal().rows.clear();
  RedrawWindow(label, nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  EXPECT_SEQUENCE((Lines{"STATIC#100 WM_PAINT(0, 0)", "dialog WM_CTLCOLORSTATIC(dc, STATIC#100)"}),
                  Seen({WM_PAINT, WM_CTLCOLORSTATIC}));
  MSG msg;
  EXPECT_FALSE(PeekMessageA(&msg, label, WM_PAINT, WM_PAINT, PM_NOREMOVE));

  // A font given with redrawing: a static paints at once, a button later.
  HWND button = GetDlgItem(dialog, 101);
  auto* font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  TheJournal().rows.clear();
  SendMessageA(label, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  SendMessageA(button, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  EXPECT_SEQUENCE((Lines{"STATIC#100 WM_PAINT(0, 0)", "dialog WM_CTLCOLORSTATIC(dc, STATIC#100)"}),
                  Seen({WM_PAINT, WM_CTLCOLORSTATIC, WM_CTLCOLORBTN}));
  ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_PAINT, WM_PAINT, PM_NOREMOVE));
  EXPECT_EQ(msg.hwnd, button) << "a button repaints when the queue says so";
  EXPECT_EQ(SendMessageA(button, WM_GETFONT, 0, 0), reinterpret_cast<LRESULT>(font));
  harness::WaitUntilIdle(dialog);
  DestroyWindow(dialog);
}

TEST_F(Painting, AHiddenWindowDoesNotPaintAndAnOwnerDrawnStaticAsksItsParent) {
  HWND hidden = MakeDialog(TwoButtons(), nullptr, 0, "hidden");
  RedrawWindow(hidden, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
  MSG msg;
  EXPECT_FALSE(PeekMessageA(&msg, hidden, WM_PAINT, WM_PAINT, PM_NOREMOVE));
  DestroyWindow(hidden);

  DRAWITEMSTRUCT seen{};
  DWORD dcType = 0;
  TheJournal().onMessage = [&](HWND, UINT message, WPARAM, LPARAM lParam) {
    if (message == WM_DRAWITEM) {
      seen = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      dcType = GetObjectType(seen.hDC);
    }
  };
  HWND dialog = MakeShownDialog(
      Header(kPlainStyle, 1)
          .Item(WS_CHILD | WS_VISIBLE | SS_OWNERDRAW, 14, 5, 5, 40, 20, kStaticClass, ""));
  harness::WaitUntilIdle(dialog);
  HWND surface = GetDlgItem(dialog, 14);
  EXPECT_EQ(seen.CtlType, static_cast<UINT>(ODT_STATIC));
  EXPECT_EQ(seen.CtlID, 14u);
  EXPECT_EQ(seen.itemAction, static_cast<UINT>(ODA_DRAWENTIRE));
  EXPECT_EQ(seen.hwndItem, surface);
  EXPECT_EQ(dcType, static_cast<DWORD>(OBJ_DC));
  RECT client{};
  GetClientRect(surface, &client);
  EXPECT_EQ(Text(seen.rcItem), Text(client));
  EXPECT_SEQUENCE(
      (Lines{"dialog WM_CTLCOLORSTATIC(dc, STATIC#14)", "dialog WM_DRAWITEM(14, struct)"}),
      Seen({WM_CTLCOLORSTATIC, WM_DRAWITEM}))
      << "the colours first, then the drawing";
  TheJournal().onMessage = nullptr;
  DestroyWindow(dialog);
}

using Gdi = Check;

TEST_F(Gdi, ObjectsLiveUntilDeletedAndADcKeepsItsColoursModeAndObjects) {
  HDC screen = GetDC(nullptr);
  EXPECT_EQ(GetObjectType(screen), static_cast<DWORD>(OBJ_DC));
  SetTextColor(screen, 0x000000);
  EXPECT_EQ(SetTextColor(screen, 0x0000FF), 0u);
  SetBkColor(screen, 0xFFFFFF);
  EXPECT_EQ(SetBkColor(screen, 0xC0C0C0), 0xFFFFFFu);
  SetBkMode(screen, OPAQUE);
  EXPECT_EQ(SetBkMode(screen, TRANSPARENT), OPAQUE);
  EXPECT_EQ(GetBkMode(screen), TRANSPARENT);

  HDC memory = CreateCompatibleDC(screen);
  HDC other = CreateCompatibleDC(screen);
  EXPECT_EQ(GetObjectType(memory), static_cast<DWORD>(OBJ_MEMDC));
  HBITMAP bitmap = CreateCompatibleBitmap(screen, 40, 20);
  HGDIOBJ old = SelectObject(memory, bitmap);
  EXPECT_EQ(GetObjectType(old), static_cast<DWORD>(OBJ_BITMAP)) << "a memory DC's own bitmap";
  EXPECT_EQ(SelectObject(other, bitmap), nullptr) << "a bitmap goes into one DC at a time";
  EXPECT_TRUE(BitBlt(screen, 0, 0, 40, 20, memory, 0, 0, SRCCOPY));

  LOGFONTA logical{};
  logical.lfHeight = -16;
  logical.lfWeight = FW_BOLD;
  HFONT font = CreateFontIndirectA(&logical);
  HBRUSH brush = CreateSolidBrush(0x00FF00);
  LOGBRUSH brushInfo{};
  EXPECT_EQ(GetObjectA(brush, sizeof brushInfo, &brushInfo), static_cast<int>(sizeof brushInfo));
  EXPECT_EQ(brushInfo.lbColor, 0x00FF00u);
  SelectObject(memory, font);
  EXPECT_EQ(GetDeviceCaps(memory, LOGPIXELSY), GetDeviceCaps(screen, LOGPIXELSY));

  // Stock objects and system colour brushes are nobody's to delete.
  EXPECT_TRUE(DeleteObject(GetStockObject(NULL_BRUSH)));
  EXPECT_TRUE(DeleteObject(GetSysColorBrush(COLOR_BTNFACE)));
  EXPECT_NE(GetObjectType(GetSysColorBrush(COLOR_BTNFACE)), 0u);

  SelectObject(memory, old);
  SelectObject(memory, GetStockObject(SYSTEM_FONT));
  EXPECT_TRUE(DeleteObject(bitmap));
  EXPECT_TRUE(DeleteObject(font));
  EXPECT_TRUE(DeleteObject(brush));
  EXPECT_EQ(GetObjectType(font), 0u) << "a deleted object is gone";
  EXPECT_EQ(GetObjectType(brush), 0u);
  EXPECT_TRUE(DeleteDC(memory));
  EXPECT_TRUE(DeleteDC(other));
  EXPECT_EQ(ReleaseDC(nullptr, screen), 1);
}

using Resources = Check;

BOOL CALLBACK NoteName(HMODULE /*module*/, LPCSTR /*type*/, LPSTR name, LONG_PTR list) {
  reinterpret_cast<Lines*>(list)->push_back(
      IS_INTRESOURCE(name) ? "#" + std::to_string(reinterpret_cast<ULONG_PTR>(name))
                           : std::string(name));
  return TRUE;
}

std::string IconSize(HICON icon) {
  ICONINFO info{};
  if (!GetIconInfo(icon, &info)) {
    return "(no icon)";
  }
  BITMAP bitmap{};
  GetObjectA(info.hbmColor != nullptr ? info.hbmColor : info.hbmMask, sizeof bitmap, &bitmap);
  DeleteObject(info.hbmColor);
  DeleteObject(info.hbmMask);
  return std::to_string(bitmap.bmWidth) + " x " + std::to_string(bitmap.bmHeight);
}

TEST_F(Resources, IconsAndBitmapsGoByNumberOrNameAndMissingOnesSayWhatIsMissing) {
  HMODULE module = harness::Module();
  auto* big = static_cast<HICON>(LoadImageA(module, "#104", IMAGE_ICON, 32, 32, 0));
  auto* small =
      static_cast<HICON>(LoadImageA(module, MAKEINTRESOURCEA(104), IMAGE_ICON, 16, 16, 0));
  auto* named = static_cast<HICON>(LoadImageA(module, "alpha", IMAGE_ICON, 0, 0, 0));
  ASSERT_NE(big, nullptr);
  ASSERT_NE(small, nullptr);
  ASSERT_NE(named, nullptr);
  EXPECT_NE(big, small) << "every load is a new icon";
  EXPECT_EQ(IconSize(big), "32 x 32");
  EXPECT_EQ(IconSize(small), "16 x 16");
  EXPECT_EQ(IconSize(named), "32 x 32");
  HANDLE logo = LoadImageA(module, "logo", IMAGE_BITMAP, 0, 0, 0);
  BITMAP bitmap{};
  ASSERT_EQ(GetObjectA(logo, sizeof bitmap, &bitmap), static_cast<int>(sizeof bitmap));
  EXPECT_EQ(std::to_string(bitmap.bmWidth) + " x " + std::to_string(bitmap.bmHeight), "40 x 20");

  SetLastError(0);
  EXPECT_EQ(LoadImageA(module, "#105", IMAGE_ICON, 32, 32, 0), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_TYPE_NOT_FOUND))
      << "Wine says so for a missing name too";
  EXPECT_EQ(FindResourceA(module, "#104", RT_BITMAP), nullptr) << "no bitmap of that name";
  EXPECT_NE(FindResourceA(module, "#104", RT_GROUP_ICON), nullptr);
  EXPECT_NE(FindResourceA(module, "LOGO", RT_BITMAP), nullptr);

  Lines names;
  EXPECT_TRUE(
      EnumResourceNamesA(module, RT_GROUP_ICON, NoteName, reinterpret_cast<LONG_PTR>(&names)));
  EXPECT_SEQUENCE((Lines{"ALPHA", "ZETA", "#7", "#104"}), names);

  EXPECT_TRUE(DestroyIcon(big));
  EXPECT_FALSE(DestroyIcon(big)) << "destroyed already";
  DestroyIcon(small);
  DestroyIcon(named);
  DeleteObject(logo);
}

}  // namespace
}  // namespace conformance
