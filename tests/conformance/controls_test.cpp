// The built-in controls as the toolkit uses them: text, font and window data through
// their messages, list and combo boxes, check boxes and option buttons, and pictures.
#include "conformance.h"
#include "sequence_table.h"

namespace conformance {
namespace {

using Controls = Check;

HWND MakeChild(HWND parent, const char* windowClass, DWORD style, int id) {
  return CreateWindowExA(0, windowClass, "", WS_CHILD | style, 0, 0, 50, 50, parent,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), harness::Module(),
                         nullptr);
}

TEST_F(Controls, TextFontAndDataGoThroughTheWindowsMessages) {
  HWND dialog = MakeDialog(TwoButtons());
  HWND button = GetDlgItem(dialog, 11);
  EXPECT_TRUE(SetWindowTextA(button, "Install"));
  char text[5];
  EXPECT_EQ(GetWindowTextA(button, text, sizeof text), 4);
  EXPECT_STREQ(text, "Inst") << "cut to the buffer";
  EXPECT_EQ(GetWindowTextLengthA(button), 7);
  LOGFONTA logical = FontInfo(reinterpret_cast<HFONT>(SendMessageA(dialog, WM_GETFONT, 0, 0)));
  HFONT font = CreateFontIndirectA(&logical);
  SendMessageA(button, WM_SETFONT, reinterpret_cast<WPARAM>(font), 0);
  EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageA(button, WM_GETFONT, 0, 0)), font);
  EXPECT_EQ(GetDlgCtrlID(button), 11);
  EXPECT_EQ(GetWindowLongPtrA(button, GWLP_ID), 11);
  EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(button, GWL_STYLE)), kButtonStyle);
  SetWindowLongPtrA(dialog, GWLP_USERDATA, 0x1234);
  EXPECT_EQ(GetWindowLongPtrA(dialog, GWLP_USERDATA), 0x1234);
  DestroyWindow(dialog);
  DeleteObject(font);
}

TEST_F(Controls, ListAndComboBoxesKeepTheirStringsAndSelection) {
  HWND dialog = MakeDialog(Header(kPlainStyle, 0));
  struct Kind {
    const char* windowClass;
    UINT add, remove, count, reset, setSelection, getSelection, text, textLength;
  };
  for (const Kind& kind :
       {Kind{"LISTBOX", LB_ADDSTRING, LB_DELETESTRING, LB_GETCOUNT, LB_RESETCONTENT, LB_SETCURSEL,
             LB_GETCURSEL, LB_GETTEXT, LB_GETTEXTLEN},
        Kind{"COMBOBOX", CB_ADDSTRING, CB_DELETESTRING, CB_GETCOUNT, CB_RESETCONTENT, CB_SETCURSEL,
             CB_GETCURSEL, CB_GETLBTEXT, CB_GETLBTEXTLEN}}) {
    SCOPED_TRACE(kind.windowClass);
    HWND list = MakeChild(dialog, kind.windowClass, WS_VISIBLE, 40);
    auto send = [list](UINT message, WPARAM wParam, const char* text = nullptr) {
      return SendMessageA(list, message, wParam, reinterpret_cast<LPARAM>(text));
    };
    EXPECT_EQ(send(kind.add, 0, "b"), 0);
    EXPECT_EQ(send(kind.add, 0, "a"), 1);
    EXPECT_EQ(send(kind.add, 0, "c"), 2);
    EXPECT_EQ(send(kind.getSelection, 0), -1);
    EXPECT_EQ(send(kind.setSelection, 1), 1);
    EXPECT_EQ(send(kind.remove, 0), 2) << "the count that is left";
    EXPECT_EQ(send(kind.getSelection, 0), 0) << "the selection moves along";
    EXPECT_EQ(send(kind.textLength, 0), 1);
    char text[8] = {};
    EXPECT_EQ(send(kind.text, 0, text), 1);
    EXPECT_STREQ(text, "a");
    EXPECT_EQ(send(kind.remove, 7), -1);
    EXPECT_EQ(send(kind.setSelection, 7), -1);
    EXPECT_EQ(send(kind.getSelection, 0), 0) << "a selection out of range changes nothing";
    EXPECT_EQ(send(kind.setSelection, static_cast<WPARAM>(-1)), -1);
    EXPECT_EQ(send(kind.getSelection, 0), -1) << "-1 takes the selection away";
    send(kind.reset, 0);
    EXPECT_EQ(send(kind.count, 0), 0);
    DestroyWindow(list);
  }
  HWND sorted = MakeChild(dialog, "LISTBOX", LBS_SORT, 41);
  SendMessageA(sorted, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("beta"));
  EXPECT_EQ(SendMessageA(sorted, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("Alpha")), 0);
  DestroyWindow(dialog);
}

TEST_F(Controls, CheckBoxesAndOptionButtonsKeepTheirCheck) {
  HWND dialog = MakeShownDialog(
      Header(kPlainStyle, 4)
          .Item(kButtonStyle | BS_AUTOCHECKBOX, 20, 5, 5, 50, 10, kButtonClass, "check")
          .Item(kButtonStyle | BS_AUTORADIOBUTTON | WS_GROUP, 21, 5, 20, 50, 10, kButtonClass, "x")
          .Item(kButtonStyle | BS_AUTORADIOBUTTON, 22, 5, 35, 50, 10, kButtonClass, "y")
          .Item(kButtonStyle | BS_AUTORADIOBUTTON, 23, 5, 50, 50, 10, kButtonClass, "z"));
  HWND check = GetDlgItem(dialog, 20);
  EXPECT_EQ(SendMessageA(check, BM_GETCHECK, 0, 0), BST_UNCHECKED);
  harness::WaitUntilIdle(dialog);
  TheJournal().rows.clear();
  harness::Click(check);
  harness::WaitUntilIdle(dialog);
  EXPECT_EQ(SendMessageA(check, BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_SEQUENCE((Lines{"dialog WM_COMMAND(20, BUTTON#20)"}), Seen({WM_COMMAND}));
  SendMessageA(check, BM_SETCHECK, BST_UNCHECKED, 0);
  EXPECT_EQ(SendMessageA(check, BM_GETCHECK, 0, 0), BST_UNCHECKED);

  auto checks = [dialog] {
    std::string marks;
    for (int id : {21, 22, 23}) {
      marks += std::to_string(SendMessageA(GetDlgItem(dialog, id), BM_GETCHECK, 0, 0));
    }
    return marks;
  };
  CheckRadioButton(dialog, 21, 23, 22);
  EXPECT_EQ(checks(), "010");
  harness::Click(GetDlgItem(dialog, 23));
  harness::WaitUntilIdle(dialog);
  EXPECT_EQ(checks(), "001");

  HWND push = MakeChild(dialog, "BUTTON", 0, 24);
  SendMessageA(push, BM_SETCHECK, BST_CHECKED, 0);
  EXPECT_EQ(SendMessageA(push, BM_GETCHECK, 0, 0), BST_UNCHECKED) << "a push button has none";
  DestroyWindow(dialog);
}

TEST_F(Controls, PicturesAreKeptAndTheOldOneIsHandedBack) {
  HWND dialog = MakeDialog(Header(kPlainStyle, 0));
  HWND picture = MakeChild(dialog, "STATIC", WS_VISIBLE | SS_ICON, 50);
  HWND button = MakeChild(dialog, "BUTTON", WS_VISIBLE | BS_ICON, 51);
  HANDLE first = LoadImageA(harness::Module(), "#104", IMAGE_ICON, 32, 32, 0);
  HANDLE second = LoadImageA(harness::Module(), "#104", IMAGE_ICON, 32, 32, 0);
  EXPECT_EQ(SendMessageA(picture, STM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(first)), 0);
  EXPECT_EQ(SendMessageA(picture, STM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(second)),
            reinterpret_cast<LRESULT>(first));
  EXPECT_EQ(SendMessageA(picture, STM_GETIMAGE, IMAGE_ICON, 0), reinterpret_cast<LRESULT>(second));
  SendMessageA(button, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(first));
  EXPECT_EQ(SendMessageA(button, BM_GETIMAGE, IMAGE_ICON, 0), reinterpret_cast<LRESULT>(first));
  DestroyWindow(dialog);
  EXPECT_TRUE(DestroyIcon(static_cast<HICON>(first))) << "a control does not destroy its picture";
  EXPECT_TRUE(DestroyIcon(static_cast<HICON>(second)));
}

TEST_F(Controls, APictureIsTakenOnlyOfTheTypeThatTheStyleNames) {
  HWND dialog = MakeDialog(Header(kPlainStyle, 0));
  HANDLE icon = LoadImageA(harness::Module(), "#104", IMAGE_ICON, 32, 32, 0);
  HANDLE bitmap = LoadImageA(harness::Module(), "LOGO", IMAGE_BITMAP, 0, 0, 0);
  auto name = [icon](LRESULT picture) -> std::string {
    return picture == 0 ? "none" : picture == reinterpret_cast<LRESULT>(icon) ? "icon" : "bitmap";
  };
  struct Offer {
    const char* typeName;
    DWORD typeBits;
    HANDLE picture;
  };
  struct Kind {
    const char* windowClass;
    UINT set, get;
    DWORD typeMask;
    std::vector<Offer> offers;
  };
  Lines seen;
  for (const Kind& kind : {Kind{"STATIC",
                                STM_SETIMAGE,
                                STM_GETIMAGE,
                                SS_TYPEMASK,
                                {{"SS_ICON", SS_ICON, icon},
                                 {"SS_ICON", SS_ICON, bitmap},
                                 {"SS_BITMAP", SS_BITMAP, bitmap},
                                 {"SS_BITMAP", SS_BITMAP, icon}}},
                           Kind{"BUTTON",
                                BM_SETIMAGE,
                                BM_GETIMAGE,
                                BS_ICON | BS_BITMAP,
                                {{"BS_ICON", BS_ICON, icon},
                                 {"BS_ICON", BS_ICON, bitmap},
                                 {"BS_BITMAP", BS_BITMAP, bitmap},
                                 {"BS_BITMAP", BS_BITMAP, icon},
                                 {"both", BS_ICON | BS_BITMAP, icon}}}}) {
    HWND control = MakeChild(dialog, kind.windowClass, WS_VISIBLE, 60);
    for (const Offer& offer : kind.offers) {
      auto style = static_cast<DWORD>(GetWindowLongA(control, GWL_STYLE));
      SetWindowLongA(control, GWL_STYLE,
                     static_cast<LONG>((style & ~kind.typeMask) | offer.typeBits));
      UINT type = offer.picture == icon ? IMAGE_ICON : IMAGE_BITMAP;
      std::string row = std::string(kind.windowClass) + " " + offer.typeName + " given " +
                        name(reinterpret_cast<LRESULT>(offer.picture)) + ": hands back ";
      row += name(SendMessageA(control, kind.set, type, reinterpret_cast<LPARAM>(offer.picture)));
      row += ", holds " + name(SendMessageA(control, kind.get, IMAGE_ICON, 0));
      row += " as icon, " + name(SendMessageA(control, kind.get, IMAGE_BITMAP, 0)) + " as bitmap";
      seen.push_back(row);
    }
    DestroyWindow(control);
  }
  // A static control reads out its picture only as the type its style names; a button
  // as either.
  EXPECT_SEQUENCE(
      (Lines{
          "STATIC SS_ICON given icon: hands back none, holds icon as icon, none as bitmap",
          "STATIC SS_ICON given bitmap: hands back none, holds icon as icon, none as bitmap",
          "STATIC SS_BITMAP given bitmap: hands back icon, holds none as icon, bitmap as bitmap",
          "STATIC SS_BITMAP given icon: hands back none, holds none as icon, bitmap as bitmap",
          "BUTTON BS_ICON given icon: hands back none, holds icon as icon, icon as bitmap",
          "BUTTON BS_ICON given bitmap: hands back none, holds icon as icon, icon as bitmap",
          "BUTTON BS_BITMAP given bitmap: hands back icon, holds bitmap as icon, bitmap as bitmap",
          "BUTTON BS_BITMAP given icon: hands back none, holds bitmap as icon, bitmap as bitmap",
          "BUTTON both given icon: hands back none, holds bitmap as icon, bitmap as bitmap"}),
      seen);
  DestroyWindow(dialog);
  EXPECT_TRUE(DestroyIcon(static_cast<HICON>(icon)));
  EXPECT_TRUE(DeleteObject(bitmap));
}
}  // namespace
}  // namespace conformance
