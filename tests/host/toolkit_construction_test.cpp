// Building dialogs and controls: the template written in memory, the dialog's style and
// placement, the controls' rectangles, classes and styles, their items and pictures, the
// dialog's icons, and what is left when creation or registration fails.
#include <string>

#include "dialogs/control_extras.h"
#include "dialogs/controls.h"
#include "dialogs/modal.h"
#include "toolkit_fixture.h"

namespace toolkit_test {
namespace {

using ToolkitConstructionTest = ToolkitTest;

// Control style and notification values the platform header does not name.
constexpr DWORD kSsCenter = 0x1;
constexpr DWORD kEsMultiline = 0x4;
constexpr UINT kOdaFocus = 0x4;

std::string DialogCall(const std::string& templ, const std::string& owner = "NULL") {
  return "CreateDialogIndirectParamA(0x400000, dlg{" + templ + ",title=\" \",font=8 \"MS Sans " +
         "Serif\"}, " + owner + ", dlgproc, 0)";
}

TEST_F(ToolkitConstructionTest, TheWizardsTemplateIs56BytesWithTheThreadsFont) {
  WCHAR face[kFontFaceUnits] = {};
  for (size_t i = 0; i < sizeof "MS Sans Serif" - 1; ++i) {
    face[i] = static_cast<WCHAR>("MS Sans Serif"[i]);
  }
  BYTE buffer[kTemplateCapacity];
  ASSERT_EQ(WriteDialogTemplate(buffer, 0x84C80AD4, 0x10100, 84, 53, 418, 240, face, 8), 56u);
  const BYTE expected[56] = {
      0xD4, 0x0A, 0xC8, 0x84, 0x00, 0x01, 0x01, 0x00,  // style, extended style
      0x00, 0x00, 0x54, 0x00, 0x35, 0x00, 0xA2, 0x01,  // no items, x 84, y 53, cx 418
      0xF0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x20, 0x00,  // cy 240, no menu, dialog class, " "
      0x00, 0x00, 0x08, 0x00, 'M',  0,    'S',  0,     // title's end, 8 points
      ' ',  0,    'S',  0,    'a',  0,    'n',  0,    's', 0, ' ', 0,
      'S',  0,    'e',  0,    'r',  0,    'i',  0,    'f', 0, 0,   0};
  for (size_t i = 0; i < sizeof expected; ++i) {
    EXPECT_EQ(buffer[i], expected[i]) << "byte " << i;
  }

  HWND dialog =
      NewDialog(kDialogUnitsMode, nullptr, "Wizard", 84, 53, 418, 240, 0x94C80AD4, 0x10100);
  ASSERT_NE(dialog, nullptr);
  EXPECT_SEQUENCE(Lines{DialogCall("style=0x84C80AD4,ex=0x10100,items=0,x=84,y=53,cx=418,cy=240,"
                                   "class=0")},
                  standin::CallsTo({"CreateDialogIndirectParamA"}));
  EXPECT_FALSE(standin::IsShown(dialog));
  EXPECT_EQ(standin::TextOf(dialog), "Wizard");
  const WindowRecord* record = FindRecord(dialog);
  ASSERT_NE(record, nullptr);
  EXPECT_EQ(record->kindFlags, 0x4001u);
  EXPECT_EQ(record->style, 0x84C80AD4u);
  EXPECT_EQ(record->showCommand, SW_SHOW);
  EXPECT_EQ(record->dialogFont, standin::FontOf(dialog));
  DestroyWindow(dialog);
}

TEST_F(ToolkitConstructionTest, TheLongestFaceFills92BytesAndALongerOneIsCut) {
  const char longest[] = "Abcdefghij Abcdefghij Abcdefghi";  // 31 characters
  SetThreadDialogFont("Abcdefghij Abcdefghij Abcdefghij and more", 10);
  const ThreadRecord* thread = CurrentThreadRecord();
  BYTE buffer[kTemplateCapacity];
  EXPECT_EQ(WriteDialogTemplate(buffer, 0, 0, 0, 0, 1, 1, thread->defaultFontFace,
                                thread->defaultFontSize),
            92u);
  EXPECT_EQ(buffer[88], 'i');
  EXPECT_EQ(buffer[90], 0);

  HWND dialog = Dialog();
  EXPECT_SEQUENCE(Lines{"CreateDialogIndirectParamA(0x400000, dlg{style=0x80C000D4,ex=0x0,items=0,"
                        "x=10,y=20,cx=200,cy=100,class=0,title=\" \",font=10 \"" +
                        std::string(longest) + "\"}, NULL, dlgproc, 0)"},
                  standin::CallsTo({"CreateDialogIndirectParamA"}));
  EXPECT_STREQ(standin::FontInfo(standin::FontOf(dialog)).lfFaceName, longest);
  DestroyWindow(dialog);
}

TEST_F(ToolkitConstructionTest, TheStyleIsAdjustedAndTheDialogStaysHidden) {
  HWND owner = Owner();
  struct Case {
    DWORD style;
    LONG x;
    LONG y;
    bool owned;
    const char* templ;  // as the platform reads it
    int showCommand;
  };
  const Case cases[] = {
      {0, 10, 20, false, "style=0x80C000D4,ex=0x0,items=0,x=10,y=20", SW_SHOW},
      {0x94C80AD4, 10, 20, false, "style=0x84C80AD4,ex=0x0,items=0,x=10,y=20", SW_SHOW},
      {WS_POPUP | WS_CAPTION | DS_SYSMODAL, 10, 20, false,
       "style=0x80C00054,ex=0x0,items=0,x=10,y=20", SW_SHOW},
      {0x80C000C0, kNoPosition, 20, false, "style=0x80C008D4,ex=0x0,items=0,x=0,y=20", SW_SHOW},
      {0x80C000C0, 10, kNoPosition, false, "style=0x80C008D4,ex=0x0,items=0,x=10,y=0", SW_SHOW},
      {WS_CHILD | WS_POPUP | DS_ABSALIGN, 10, 20, false,
       "style=0x80000054,ex=0x0,items=0,x=10,y=20", SW_SHOW},
      {WS_CHILD | WS_POPUP | DS_ABSALIGN, 10, 20, true, "style=0x40000054,ex=0x0,items=0,x=10,y=20",
       SW_SHOW},
      {0x80C000C0 | WS_MAXIMIZE | WS_MINIMIZE, 10, 20, false,
       "style=0xA1C000D4,ex=0x0,items=0,x=10,y=20", SW_SHOWMAXIMIZED},
      {0x80C000C0 | WS_MINIMIZE, 10, 20, false, "style=0xA0C000D4,ex=0x0,items=0,x=10,y=20",
       SW_MINIMIZE},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.templ);
    standin::ClearCalls();
    HWND dialog =
        NewDialog(kDialogUnitsMode, c.owned ? owner : nullptr, "", c.x, c.y, 200, 100, c.style, 0);
    ASSERT_NE(dialog, nullptr);
    EXPECT_SEQUENCE(Lines{DialogCall(std::string(c.templ) + ",cx=200,cy=100,class=0",
                                     c.owned ? "window#1" : "NULL")},
                    standin::CallsTo({"CreateDialogIndirectParamA"}));
    EXPECT_EQ(standin::StyleOf(dialog) & WS_VISIBLE, 0u);
    const WindowRecord* record = FindRecord(dialog);
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->showCommand, c.showCommand);
    EXPECT_EQ(record->parent, c.owned ? owner : nullptr);
    EXPECT_EQ(record->style & WS_VISIBLE, 0u);
    DestroyWindow(dialog);
  }
  DestroyWindow(owner);
}

// In pixels: (x, y) and the client size asked for; what SetWindowPos is given.
TEST_F(ToolkitConstructionTest, InPixelsTheFrameIsAddedAndTheDialogPlaced) {
  // The default style's frame: 3 pixels each side, and a caption of 19 on top.
  constexpr LONG kFrameWidth = 6;
  constexpr LONG kFrameHeight = 25;
  HWND owner = Owner();  // client area from (103, 102)
  struct Case {
    const char* what;
    RECT workArea;
    DWORD style;
    bool owned;
    LONG x;
    LONG y;
    LONG width;
    LONG height;
    POINT expected;
  };
  const Case cases[] = {
      // (-500 + 500 - 101) and (-300 + 300 - 101), halved rounding down.
      {"centred", {-500, -300, 500, 300}, 0, false, kNoPosition, 7, 95, 76, {-51, -51}},
      {"larger than the work area",
       {50, 40, 1074, 808},
       0,
       false,
       kNoPosition,
       0,
       2000,
       1000,
       {50, 40}},
      {"from the owner's client area", {0, 0, 1024, 768}, 0, true, 10, 20, 200, 100, {113, 122}},
      {"negative, on the screen", {0, 0, 1024, 768}, 0, false, -30, -40, 200, 100, {-30, -40}},
      {"negative, aligned to the screen",
       {0, 0, 1024, 768},
       0x80C000C0 | DS_ABSALIGN,
       false,
       -30,
       -40,
       200,
       100,
       {0, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    standin::SetWorkArea(c.workArea);
    standin::ClearCalls();
    HWND dialog = NewDialog(kPixelsMode, c.owned ? owner : nullptr, "", c.x, c.y, c.width, c.height,
                            c.style, 0);
    ASSERT_NE(dialog, nullptr);
    EXPECT_SEQUENCE(Lines{"SetWindowPos(" + standin::NameOf(dialog) + ", NULL, " +
                          std::to_string(c.expected.x) + ", " + std::to_string(c.expected.y) +
                          ", " + std::to_string(c.width + kFrameWidth) + ", " +
                          std::to_string(c.height + kFrameHeight) + ", 0x31C)"},
                    standin::CallsTo({"SetWindowPos"}));
    RECT client = standin::ClientRectOf(dialog);
    EXPECT_EQ(client.right - client.left, c.width);
    EXPECT_EQ(client.bottom - client.top, c.height);
    EXPECT_EQ(FindRecord(dialog)->kindFlags, 0x4002u);
    DestroyWindow(dialog);
  }

  // A child dialog in pixels counts from its parent's client area already; only
  // DS_CONTROL keeps a negative position.
  for (DWORD control : {0u, static_cast<DWORD>(DS_CONTROL)}) {
    HWND child = NewDialog(kPixelsMode, owner, "", -30, -40, 200, 100,
                           WS_CHILD | WS_CAPTION | DS_MODALFRAME | control, 0);
    RECT inParent = standin::RectInParent(child);
    EXPECT_EQ(inParent.left, control != 0 ? -30 : 0);
    EXPECT_EQ(inParent.top, control != 0 ? -40 : 0);
  }
  DestroyWindow(owner);
}

struct KindCase {
  int kind;
  DWORD style;
  DWORD exStyle;
  LONG width;
  LONG height;
  const char* created;  // CreateWindowExA's extended style, class and style
};

TEST_F(ToolkitConstructionTest, EachKindGetsItsClassAndStyle) {
  const KindCase cases[] = {
      {kPushButton, 0, 0, 50, 14, "0x0, \"BUTTON\", \"t\", 0x50010000"},
      {kLabel, 0, 0, 50, 14, "0x0, \"STATIC\", \"t\", 0x50000000"},
      // A style of the caller's own keeps its bits and gets only child and visible.
      {kPushButton, WS_BORDER, 0, 50, 14, "0x0, \"BUTTON\", \"t\", 0x50800000"},
      {kLabel, kSsCenter | WS_DISABLED, 0, 50, 14, "0x0, \"STATIC\", \"t\", 0x58000001"},
      // A scroll bar narrower than tall is vertical, unless the style is the caller's.
      {kScrollBar, 0, 0, 10, 50, "0x0, \"SCROLLBAR\", \"t\", 0x50000001"},
      {kScrollBar, 0, 0, 60, 20, "0x0, \"SCROLLBAR\", \"t\", 0x50000000"},
      {kScrollBar, WS_TABSTOP, 0, 10, 50, "0x0, \"SCROLLBAR\", \"t\", 0x50010000"},
      // The default border of text and list boxes becomes a sunken edge; a combo box has none.
      {kTextBox, 0, 0x4, 50, 14, "0x204, \"EDIT\", \"t\", 0x50010080"},
      {kComboBox, 0, 0, 50, 14, "0x0, \"COMBOBOX\", \"t\", 0x50210003"},
      {kListBox, 0, 0, 50, 14, "0x200, \"LISTBOX\", \"t\", 0x50210001"},
      {kTextBox, WS_BORDER, 0, 50, 14, "0x0, \"EDIT\", \"t\", 0x50800000"},
      // Check boxes, frames and option buttons lose top-level and other button-type bits.
      {kThreeStateCheckBox, 0x80C4000F | WS_TABSTOP, 0, 50, 14,
       "0x0, \"BUTTON\", \"t\", 0x50010006"},
      {kCheckBox, 0x80C4000F, 0, 50, 14, "0x0, \"BUTTON\", \"t\", 0x50000003"},
      {kGroupFrame, 0x80C4000F, 0, 50, 14, "0x0, \"BUTTON\", \"t\", 0x50000007"},
      {kOptionButton, 0x80C4000F, 0, 50, 14, "0x0, \"BUTTON\", \"t\", 0x50000009"},
      // Kind 0: the caller's class and style exactly.
      {kCustomControl, WS_CHILD | kEsMultiline, 0x20, 50, 14, "0x20, \"EDIT\", \"t\", 0x40000004"},
  };
  HWND dialog = Dialog();
  LONG id = 100;
  for (const KindCase& c : cases) {
    SCOPED_TRACE(c.created);
    standin::ClearCalls();
    HWND control = AddControl(c.kind, dialog, ++id, "t", nullptr, 0, 5, 5, c.width, c.height,
                              c.style, c.exStyle, nullptr, "EDIT");
    ASSERT_NE(control, nullptr);
    std::string created = standin::CallsTo({"CreateWindowExA"}).at(0);
    EXPECT_EQ(created.substr(0, created.find(", ", created.find("\"t\"") + 5)),
              "CreateWindowExA(" + std::string(c.created));
    const WindowRecord* record = FindRecord(control);
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->kindFlags, 0x2001u);
    EXPECT_EQ(record->controlKind, c.kind);
    EXPECT_EQ(record->parent, dialog);
    EXPECT_EQ(standin::FontOf(control), standin::FontOf(dialog));
  }
  DestroyWindow(dialog);
}

TEST_F(ToolkitConstructionTest, ItemsAreAddedUpToTheFirstEmptyOrMissingText) {
  HWND dialog = Dialog();
  const char* const list[] = {"one", "two", "", "four"};
  const char* const combo[] = {"red", nullptr, "blue"};
  HWND listBox = AddControl(kListBox, dialog, 1, "", list, 4, 5, 5, 50, 40, 0, 0, nullptr, "");
  HWND comboBox = AddControl(kComboBox, dialog, 2, "", combo, 3, 5, 50, 50, 40, 0, 0, nullptr, "");
  HWND counted = AddControl(kListBox, dialog, 3, "", list, 1, 60, 5, 50, 40, 0, 0, nullptr, "");
  EXPECT_SEQUENCE((Lines{"SendMessageA(LISTBOX#1, LB_ADDSTRING, 0, \"one\")",
                         "SendMessageA(LISTBOX#1, LB_ADDSTRING, 0, \"two\")",
                         "SendMessageA(COMBOBOX#2, CB_ADDSTRING, 0, \"red\")",
                         "SendMessageA(LISTBOX#3, LB_ADDSTRING, 0, \"one\")"}),
                  Only(standin::CallsTo({"SendMessageA"}), {"ADDSTRING"}));
  EXPECT_SEQUENCE((Lines{"one", "two"}), standin::ItemsOf(listBox));
  EXPECT_SEQUENCE((Lines{"red"}), standin::ItemsOf(comboBox));
  EXPECT_SEQUENCE((Lines{"one"}), standin::ItemsOf(counted));
  DestroyWindow(dialog);
}

TEST_F(ToolkitConstructionTest, AnUnknownClassGivesNoControl) {
  HWND dialog = Dialog();
  standin::ClearCalls();
  EXPECT_EQ(AddControl(kCustomControl, dialog, 7, "x", nullptr, 0, 5, 5, 50, 14, WS_CHILD, 0,
                       nullptr, "NoSuchClass"),
            nullptr);
  EXPECT_TRUE(standin::ChildrenOf(dialog).empty());
  EXPECT_SEQUENCE(Lines{}, standin::CallsTo({"GlobalAlloc"})) << "nothing registered";
  DestroyWindow(dialog);
}

TEST_F(ToolkitConstructionTest, ImageKindsShowABitmapBeforeAnIconAndReleaseIt) {
  standin::AddBitmapResource(standin::ProgramModule(), "both", 40, 20);
  standin::AddIconResource(standin::ProgramModule(), "both", {48});
  standin::AddIconResource(standin::ProgramModule(), "mark", {48});
  HWND dialog = Dialog();
  standin::ClearCalls();
  HWND image = AddControl(kImage, dialog, 1, "both", nullptr, 0, 5, 5, 40, 16, 0, 0, nullptr, "");
  HWND stretched =
      AddControl(kStretchedImage, dialog, 2, "mark", nullptr, 0, 5, 30, 40, 16, 0, 0, nullptr, "");
  HWND button =
      AddControl(kImageButton, dialog, 3, "mark", nullptr, 0, 50, 5, 40, 16, 0, 0, nullptr, "");
  EXPECT_SEQUENCE(
      (Lines{"CreateWindowExA(0x0, \"STATIC\", \"\", 0x5000000E, 8, 8, 60, 24, dialog#1, 1, "
             "0x400000, NULL)",
             "LoadImageA(0x400000, \"both\", 0, 0, 0, 0x0)",
             "SendMessageA(STATIC#1, STM_SETIMAGE, 0, bitmap#1)",
             "CreateWindowExA(0x0, \"STATIC\", \"\", 0x50000003, 8, 45, 60, 24, dialog#1, 2, "
             "0x400000, NULL)",
             "LoadImageA(0x400000, \"mark\", 1, 60, 24, 0x0)",
             "SendMessageA(STATIC#2, STM_SETIMAGE, 1, icon#1)",
             "CreateWindowExA(0x0, \"BUTTON\", \"\", 0x50010040, 75, 8, 60, 24, dialog#1, 3, "
             "0x400000, NULL)",
             "LoadImageA(0x400000, \"mark\", 1, 0, 0, 0x0)",
             "SendMessageA(BUTTON#3, BM_SETIMAGE, 1, icon#2)"}),
      Only(standin::CallsTo({"CreateWindowExA", "LoadImageA", "SendMessageA"}),
           {"CreateWindowExA", "LoadImageA", "SETIMAGE"}));
  EXPECT_EQ(FindRecord(image)->kindFlags, 0x2201u);
  EXPECT_EQ(FindRecord(stretched)->kindFlags, 0x2101u);
  EXPECT_EQ(standin::NameOf(standin::ImageOf(button)), "icon#2");
  EXPECT_EQ(standin::TextOf(image), "");
  standin::ClearCalls();
  DestroyWindow(dialog);
  EXPECT_SEQUENCE((Lines{"DestroyIcon(icon#2)", "DestroyIcon(icon#1)", "DeleteObject(bitmap#1)"}),
                  standin::CallsTo({"DestroyIcon", "DeleteObject"}));
}

TEST_F(ToolkitConstructionTest, ADrawingSurfaceIsMadeAtTheControlsSizeAndReleased) {
  HWND dialog = Dialog();
  standin::ClearCalls();
  HWND surface =
      AddControl(kDrawingSurface, dialog, 1, "", nullptr, 0, 5, 5, 40, 16, 0, 0, nullptr, "");
  EXPECT_EQ(standin::StyleOf(surface), 0x5000000Du);
  EXPECT_SEQUENCE((Lines{"GetClientRect(STATIC#1, rect)", "GetDC(NULL)", "CreateCompatibleDC(dc#1)",
                         "CreateCompatibleBitmap(dc#1, 60, 24)", "ReleaseDC(NULL, dc#1)",
                         "SelectObject(dc#2, bitmap#1)", "SelectObject(dc#2, font#2)"}),
                  standin::CallsTo({"GetClientRect", "GetDC", "CreateCompatibleDC",
                                    "CreateCompatibleBitmap", "ReleaseDC", "SelectObject"}));
  // The dialog procedure paints the control by copying the surface, and says so.
  HDC target = GetDC(surface);
  DRAWITEMSTRUCT item{};
  item.CtlType = ODT_STATIC;
  item.CtlID = 1;
  item.itemAction = ODA_DRAWENTIRE;
  item.hwndItem = surface;
  item.hDC = target;
  EXPECT_EQ(ToolkitDialogProc(dialog, WM_DRAWITEM, 1, reinterpret_cast<LPARAM>(&item)), 1);
  EXPECT_SEQUENCE(Lines{"BitBlt(dc#3, 0, 0, 60, 24, dc#2, 0, 0, SRCCOPY)"},
                  standin::CallsTo({"BitBlt"}));
  item.itemAction = kOdaFocus;
  EXPECT_EQ(ToolkitDialogProc(dialog, WM_DRAWITEM, 1, reinterpret_cast<LPARAM>(&item)), 0);
  EXPECT_EQ(standin::CallsTo({"BitBlt"}).size(), 1u) << "only a whole drawing copies";
  ReleaseDC(surface, target);

  standin::ClearCalls();
  DestroyWindow(dialog);
  EXPECT_SEQUENCE(
      (Lines{"SelectObject(dc#2, DEFAULT_BITMAP)", "DeleteObject(bitmap#1)",
             "SelectObject(dc#2, SYSTEM_FONT)", "DeleteObject(font#2)", "DeleteDC(dc#2)"}),
      standin::CallsTo({"SelectObject", "DeleteObject", "DeleteDC"}));
}

TEST_F(ToolkitConstructionTest, ADrawingSurfaceWritesInTheThreadsDialogFont) {
  HWND dialog = Dialog();
  AddControl(kDrawingSurface, dialog, 1, "", nullptr, 0, 5, 5, 40, 16, 0, 0, nullptr, "");
  SetThreadDialogFont("Tahoma", 10);
  AddControl(kDrawingSurface, dialog, 2, "", nullptr, 0, 5, 30, 40, 16, 0, 0, nullptr, "");
  SetThreadDialogFont("MS Sans Serif", 8);
  // Sized as the platform sizes a dialog's own font: to the nearest pixel.
  EXPECT_SEQUENCE(
      (Lines{"CreateFontIndirectA(lf{height=-11,weight=0,charset=0,face=\"MS Sans Serif\"})",
             "CreateFontIndirectA(lf{height=-13,weight=0,charset=0,face=\"Tahoma\"})"}),
      standin::CallsTo({"CreateFontIndirectA"}));
  DestroyWindow(dialog);
}

TEST_F(ToolkitConstructionTest, NewDialogGivesZeroWhenCreationOrRegistrationFails) {
  // The platform refuses an owner that is no window any more.
  HWND owner = Owner();
  DestroyWindow(owner);
  standin::ClearCalls();
  EXPECT_EQ(NewDialog(kDialogUnitsMode, owner, "Gone", 10, 20, 200, 100, 0, 0), nullptr);
  EXPECT_SEQUENCE(
      (Lines{DialogCall("style=0x80C000D4,ex=0x0,items=0,x=10,y=20,cx=200,cy=100,"
                        "class=0",
                        "window#1"),
             "SetWindowTextA(NULL, \"Gone\")"}),
      standin::CallsTo({"CreateDialogIndirectParamA", "SetWindowTextA", "GlobalAlloc"}));
  EXPECT_TRUE(standin::TopLevelWindows().empty());

  // No memory for the record: the hidden dialog stays without one. The test finds it by
  // its caption and destroys it, which releases nothing of the toolkit's.
  standin::FailGlobalAllocFrom(1);
  EXPECT_EQ(NewDialog(kDialogUnitsMode, nullptr, "Orphan", 10, 20, 200, 100, 0, 0), nullptr);
  standin::FailGlobalAllocFrom(0);
  HWND orphan = standin::FindWindowByCaption("Orphan");
  ASSERT_NE(orphan, nullptr);
  EXPECT_FALSE(standin::IsShown(orphan));
  EXPECT_EQ(FindRecord(orphan), nullptr);
  EXPECT_EQ(AddControl(kLabel, orphan, 1, "", nullptr, 0, 0, 0, 5, 5, 0, 0, nullptr, ""), nullptr);
  standin::ClearCalls();
  DestroyWindow(orphan);
  EXPECT_SEQUENCE(Lines{}, standin::CallsTo({"GlobalFree", "DeleteObject", "DestroyIcon"}));
}

TEST_F(ToolkitConstructionTest, AControlWithoutARecordIsStillMade) {
  HWND dialog = Dialog();
  standin::FailGlobalAllocFrom(1);
  const char* const items[] = {"a"};
  HWND list = AddControl(kListBox, dialog, 1, "", items, 1, 5, 5, 50, 40, 0, 0, Record, "");
  standin::FailGlobalAllocFrom(0);
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(FindRecord(list), nullptr);
  EXPECT_SEQUENCE(Lines{"a"}, standin::ItemsOf(list)) << "the operation goes on";
  DestroyWindow(dialog);
}

}  // namespace
}  // namespace toolkit_test
