// Control operations and colours: the platform calls behind the plain operations, the
// colours SetControlColor keeps, brushes shared by colour, the answers to the colour
// messages, repainting through transparent windows, and the further operations.
#include <climits>
#include <optional>
#include <string>

#include "dialogs/control_extras.h"
#include "dialogs/controls.h"
#include "dialogs/modal.h"
#include "toolkit_fixture.h"

namespace toolkit_test {
namespace {

using ToolkitControlsTest = ToolkitTest;

constexpr WORD kCbnDropDown = 7;
constexpr WORD kCbnCloseUp = 8;

// The dialog procedure's own answer to a colour message; 0 leaves the colours to the
// platform's default dialog processing.
LRESULT AskColour(HWND dialog, UINT message, HDC dc, HWND window) {
  return ToolkitDialogProc(dialog, message, reinterpret_cast<WPARAM>(dc),
                           reinterpret_cast<LPARAM>(window));
}

std::string Name(LRESULT handle) {
  return handle == 0 ? "0" : standin::NameOf(reinterpret_cast<void*>(handle));
}

TEST_F(ToolkitControlsTest, ThePlainOperationsActOnTheControlOrTheDialogItself) {
  HWND dialog = Dialog();
  HWND button = Button(dialog, 1001);
  HWND label = Label(dialog, 1002);

  EXPECT_EQ(ControlHandle(dialog, 1002), label);
  EnableControl(dialog, 1001, 0);
  EXPECT_FALSE(standin::IsEnabled(button));
  EnableControl(dialog, kDialogItself, 0);
  EXPECT_FALSE(standin::IsEnabled(dialog));
  EnableControl(dialog, kDialogItself, 1);
  EXPECT_TRUE(standin::IsEnabled(dialog));
  EXPECT_FALSE(standin::IsEnabled(button)) << "the dialog's own switch leaves its controls";
  SetControlText(dialog, 1002, "new text");
  EXPECT_EQ(standin::TextOf(label), "new text");
  SetControlText(dialog, 1002, "");
  EXPECT_EQ(standin::TextOf(label), "");
  EXPECT_EQ(SendWindowMessage(button, WM_GETTEXTLENGTH, 0, 0), 6);

  // A shown label repaints itself with its new text.
  ShowWindow(dialog, SW_SHOW);
  standin::PumpMessages();
  standin::ClearPaints();
  SetControlText(dialog, 1002, "shown at once");
  standin::PumpMessages();
  ASSERT_TRUE(standin::LastPaintOf(label).has_value());
  EXPECT_EQ(standin::LastPaintOf(label)->text, "shown at once");
  EXPECT_TRUE(standin::CallsTo({"RedrawWindow"}).empty());
  DestroyWindow(dialog);
}

TEST_F(ToolkitControlsTest, SetControlColorKeepsTheLow24BitsOrTheDefault) {
  HWND dialog = Dialog();
  HWND label = Label(dialog, 1002);
  const WindowRecord* record = FindRecord(label);
  struct Case {
    Colour text;
    Colour background;
    Colour storedText;
    Colour storedBackground;
  };
  const Case cases[] = {
      {0, 0x1000000, 0, 0},                        // black, with a brush
      {0x1FF0000, -5, 0xFF0000, -1},               // no brush: the old one goes
      {-2, -2, -1, -2},                            // transparent
      {INT_MIN, 0x7FFFFFFF, -1, 0xFFFFFF},         // a new brush
      {0x123456, 0x7FFFFFFF, 0x123456, 0xFFFFFF},  // the same colour keeps its brush
      {0x00FF00, -3, 0x00FF00, -1},                // unset is no background of its own
  };
  for (const Case& c : cases) {
    SetControlColor(dialog, 1002, c.text, c.background);
    EXPECT_EQ(record->foreground, c.storedText) << c.text;
    EXPECT_EQ(record->background, c.storedBackground) << c.background;
    EXPECT_EQ(record->brush != nullptr, c.storedBackground >= 0) << c.background;
  }
  EXPECT_SEQUENCE((Lines{"CreateSolidBrush(0x0)", "DeleteObject(brush#1)",
                         "CreateSolidBrush(0xFFFFFF)", "DeleteObject(brush#2)"}),
                  standin::CallsTo({"CreateSolidBrush", "DeleteObject"}));
  EXPECT_EQ(FindRecord(dialog)->background, -3) << "the dialog's own colours stay";
  DestroyWindow(dialog);
}

TEST_F(ToolkitControlsTest, BrushesAreSharedByColourAcrossDialogs) {
  HWND one = Dialog("one");
  HWND two = Dialog("two");
  Label(one, 1);
  Label(two, 2);
  standin::ClearCalls();
  SetControlColor(one, 1, 0, 0x00FF00);
  SetControlColor(two, 2, 0, 0x00FF00);
  HBRUSH shared = FindRecord(ControlHandle(one, 1))->brush;
  EXPECT_EQ(FindRecord(ControlHandle(two, 2))->brush, shared);
  LOGBRUSH made{};
  GetObjectA(shared, sizeof made, &made);
  EXPECT_EQ(made.lbColor, 0x00FF00u);
  SetControlColor(one, 1, 0, -1);
  EXPECT_TRUE(standin::IsObjectAlive(shared));
  SetControlColor(two, 2, 0, -1);
  EXPECT_FALSE(standin::IsObjectAlive(shared));
  EXPECT_SEQUENCE((Lines{"CreateSolidBrush(0xFF00)", "DeleteObject(brush#1)"}),
                  standin::CallsTo({"CreateSolidBrush", "DeleteObject"}));

  // A scroll bar without a background of its own takes the dialog's, brush and all.
  HWND bar = AddControl(kScrollBar, two, 3, "", nullptr, 0, 5, 50, 80, 10, 0, 0, nullptr, "");
  SetControlColor(two, kDialogItself, 0, 0x0000FF);
  SetControlColor(two, 3, 0, -1);
  EXPECT_EQ(FindRecord(bar)->background, 0x0000FF);
  EXPECT_EQ(FindRecord(bar)->brush, FindRecord(two)->brush);

  // Without a brush the background falls back to the default.
  standin::FailCreateSolidBrush(true);
  SetControlColor(one, 1, 0xFF, 0x123456);
  standin::FailCreateSolidBrush(false);
  EXPECT_EQ(FindRecord(ControlHandle(one, 1))->background, -1);
  HDC dc = GetDC(ControlHandle(one, 1));
  EXPECT_EQ(Name(AskColour(one, WM_CTLCOLORSTATIC, dc, ControlHandle(one, 1))),
            "brush(COLOR_BTNFACE)");
  ReleaseDC(ControlHandle(one, 1), dc);
  DestroyWindow(one);
  DestroyWindow(two);
}

TEST_F(ToolkitControlsTest, EachColourMessageIsAnsweredWithItsSystemColours) {
  struct Case {
    UINT message;
    int text;
    int background;
  };
  const Case cases[] = {
      {WM_CTLCOLORMSGBOX, COLOR_MENUTEXT, COLOR_MENU},
      {WM_CTLCOLOREDIT, COLOR_WINDOWTEXT, COLOR_WINDOW},
      {WM_CTLCOLORLISTBOX, COLOR_WINDOWTEXT, COLOR_WINDOW},
      {WM_CTLCOLORBTN, COLOR_BTNTEXT, COLOR_BTNFACE},
      {WM_CTLCOLORDLG, COLOR_WINDOWTEXT, COLOR_BTNFACE},
      {WM_CTLCOLORSCROLLBAR, COLOR_WINDOWTEXT, COLOR_SCROLLBAR},
      {WM_CTLCOLORSTATIC, COLOR_WINDOWTEXT, COLOR_BTNFACE},
  };
  // Every system colour its own value, so that the calls show which one was taken.
  for (int index = 0; index <= COLOR_BTNTEXT; ++index) {
    standin::SetSysColor(index, static_cast<COLORREF>(0x10101 * (index + 1)));
  }
  HWND dialog = Dialog();
  HWND label = Label(dialog, 1002);
  SetControlColor(dialog, 1002, -1, -1);
  HDC dc = GetDC(label);
  for (const Case& c : cases) {
    SCOPED_TRACE(standin::MessageName(c.message));
    auto systemBrush = reinterpret_cast<LRESULT>(GetSysColorBrush(c.background));
    standin::ClearCalls();
    EXPECT_EQ(AskColour(dialog, c.message, dc, label), systemBrush);
    auto hex = [](int index) {
      char text[16];
      std::snprintf(text, sizeof text, "0x%X", 0x10101 * (index + 1));
      return std::string(text);
    };
    EXPECT_SEQUENCE((Lines{"GetSysColor(" + std::to_string(c.text) + ")",
                           "SetTextColor(dc#1, " + hex(c.text) + ")",
                           "GetSysColor(" + std::to_string(c.background) + ")",
                           "SetBkColor(dc#1, " + hex(c.background) + ")",
                           "GetSysColorBrush(" + std::to_string(c.background) + ")"}),
                    standin::CallsTo({"GetSysColor", "SetTextColor", "SetBkColor",
                                      "GetSysColorBrush", "SetBkMode", "GetStockObject"}));
  }

  // A colour of its own: that colour behind the text and the shared brush.
  SetControlColor(dialog, 1002, 0x0000FF, 0x00FF00);
  standin::ClearCalls();
  EXPECT_EQ(Name(AskColour(dialog, WM_CTLCOLORSTATIC, dc, label)), "brush#1");
  EXPECT_SEQUENCE((Lines{"SetTextColor(dc#1, 0xFF)", "SetBkColor(dc#1, 0xFF00)"}),
                  standin::CallsTo({"SetTextColor", "SetBkColor", "SetBkMode"}));
  EXPECT_EQ(GetBkMode(dc), OPAQUE);

  // Transparent: the text alone, and nothing painted behind it.
  SetControlColor(dialog, 1002, 0x0000FF, -2);
  standin::ClearCalls();
  EXPECT_EQ(Name(AskColour(dialog, WM_CTLCOLORSTATIC, dc, label)), "NULL_BRUSH");
  EXPECT_SEQUENCE((Lines{"SetTextColor(dc#1, 0xFF)", "SetBkMode(dc#1, 1)", "GetStockObject(5)"}),
                  standin::CallsTo({"SetTextColor", "SetBkColor", "SetBkMode", "GetStockObject"}));

  // A control never coloured, and a window that is no control of ours, are left alone.
  HWND plain = Label(dialog, 1003);
  standin::ClearCalls();
  EXPECT_EQ(AskColour(dialog, WM_CTLCOLORSTATIC, dc, plain), 0);
  EXPECT_EQ(AskColour(dialog, WM_CTLCOLORSTATIC, dc, nullptr), 0);
  EXPECT_SEQUENCE(Lines{}, standin::CallsTo({"SetTextColor", "SetBkColor", "SetBkMode"}));
  ReleaseDC(label, dc);
  DestroyWindow(dialog);
}

// The edit field and the dropped-down list of a combo box have no records; they take the
// combo box's colours.
TEST_F(ToolkitControlsTest, AComboBoxsPartsTakeItsColours) {
  HWND dialog = Dialog();
  HWND combo = AddControl(kComboBox, dialog, 1004, "", nullptr, 0, 5, 5, 80, 60, 0, 0, nullptr, "");
  HWND label = Label(dialog, 1005);
  SetControlColor(dialog, 1004, 0x0000FF, -1);
  SetControlColor(dialog, 1005, 0x0000FF, -1);
  HWND field = CreateWindowExA(0, "EDIT", "", WS_CHILD, 0, 0, 50, 12, combo,
                               reinterpret_cast<HMENU>(1001), nullptr, nullptr);
  HWND labelPart =
      CreateWindowExA(0, "EDIT", "", WS_CHILD, 0, 0, 5, 5, label, nullptr, nullptr, nullptr);
  HWND list =
      CreateWindowExA(0, "LISTBOX", "", WS_POPUP, 0, 0, 80, 60, nullptr, nullptr, nullptr, nullptr);
  HDC dc = GetDC(field);
  auto notify = [&](WORD code) {
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(1004, code), reinterpret_cast<LPARAM>(combo));
  };

  standin::ClearCalls();
  EXPECT_EQ(Name(AskColour(dialog, WM_CTLCOLOREDIT, dc, field)), "brush(COLOR_WINDOW)");
  EXPECT_SEQUENCE(
      (Lines{"GetWindowLongPtrA(EDIT#1001, GWLP_HWNDPARENT)", "SetTextColor(dc#1, 0xFF)",
             "GetSysColor(5)", "SetBkColor(dc#1, 0xFFFFFF)", "GetSysColorBrush(5)"}),
      standin::CallsTo(
          {"GetWindowLongPtrA", "SetTextColor", "GetSysColor", "SetBkColor", "GetSysColorBrush"}));
  EXPECT_EQ(AskColour(dialog, WM_CTLCOLORSTATIC, dc, field), 0) << "only edit and list messages";
  EXPECT_EQ(AskColour(dialog, WM_CTLCOLOREDIT, dc, labelPart), 0) << "a label is no combo box";
  EXPECT_EQ(AskColour(dialog, WM_CTLCOLORLISTBOX, dc, list), 0) << "no list dropped down";
  notify(kCbnDropDown);
  EXPECT_EQ(Name(AskColour(dialog, WM_CTLCOLORLISTBOX, dc, list)), "brush(COLOR_WINDOW)");
  notify(kCbnCloseUp);
  EXPECT_EQ(AskColour(dialog, WM_CTLCOLORLISTBOX, dc, list), 0);
  ReleaseDC(field, dc);
  DestroyWindow(list);
  DestroyWindow(dialog);
}

TEST_F(ToolkitControlsTest, RedrawControlRepaintsAtOnceAndClimbsThroughTransparentWindows) {
  HWND owner = Owner();
  HWND dialog = Dialog("", 0, owner);
  HWND label = Label(dialog, 1002, 20, 10, 50, 10);
  HWND button = Button(dialog, 1001);
  SetControlColor(dialog, 1002, 0, -2);

  RedrawControl(button);
  RedrawControl(label);
  SetControlColor(dialog, kDialogItself, 0, -2);
  RedrawControl(label);

  RECT labelArea = standin::RectInParent(label);
  RECT dialogArea = standin::WindowRectOf(dialog);
  RECT ownerClient = standin::ClientRectOf(owner);
  dialogArea = RECT{dialogArea.left - ownerClient.left, dialogArea.top - ownerClient.top,
                    dialogArea.right - ownerClient.left, dialogArea.bottom - ownerClient.top};
  EXPECT_SEQUENCE((Lines{"RedrawWindow(BUTTON#1001, NULL, NULL, 0x185)",
                         "RedrawWindow(STATIC#1002, NULL, NULL, 0x185)",
                         "RedrawWindow(dialog#1, " + Text(labelArea) + ", NULL, 0x185)",
                         "RedrawWindow(STATIC#1002, NULL, NULL, 0x185)",
                         "RedrawWindow(dialog#1, " + Text(labelArea) + ", NULL, 0x185)",
                         "RedrawWindow(window#1, " + Text(dialogArea) + ", NULL, 0x185)"}),
                  standin::CallsTo({"RedrawWindow"}));
  DestroyWindow(owner);
}

TEST_F(ToolkitControlsTest, TextFocusCallbacksAndMessagesOfControls) {
  HWND dialog = Dialog("Caption");
  HWND button = Button(dialog, 1001);
  Label(dialog, 1002);
  char buffer[16];
  EXPECT_EQ(ReadWindowText(dialog, 1002, buffer, 4), 3u);
  EXPECT_STREQ(buffer, "lab");
  EXPECT_EQ(ReadWindowText(dialog, 1002, buffer, sizeof buffer), 5u);
  EXPECT_STREQ(buffer, "label");
  EXPECT_EQ(ReadWindowText(dialog, kDialogItself, buffer, sizeof buffer), 7u);
  EXPECT_STREQ(buffer, "Caption");

  SetControlCallback(dialog, 1001, Record);
  EXPECT_EQ(FindRecord(button)->callback, Record);
  SetControlCallback(dialog, 1001, nullptr);
  EXPECT_EQ(FindRecord(button)->callback, nullptr);

  FocusControl(dialog, 1001);
  EXPECT_EQ(GetFocus(), button);

  standin::ClearCalls();
  EXPECT_TRUE(PostWindowMessage(button, WM_USER + 3, 4, 5));
  EXPECT_SEQUENCE(Lines{"PostMessageA(BUTTON#1001, WM_USER+3, 4, 5)"}, standin::Calls());
  standin::ClearDeliveries();
  standin::PumpMessages();
  EXPECT_SEQUENCE(Lines{"BUTTON#1001 WM_USER+3(4, 5)"},
                  Only(standin::DeliveryLines(button), {"WM_USER"}));
  DestroyWindow(dialog);
}

TEST_F(ToolkitControlsTest, ListsChecksAndOptions) {
  HWND dialog = Dialog();
  HWND combo = AddControl(kComboBox, dialog, 1, "", nullptr, 0, 5, 5, 80, 60, 0, 0, nullptr, "");
  HWND list = AddControl(kListBox, dialog, 2, "", nullptr, 0, 90, 5, 80, 60, 0, 0, nullptr, "");
  for (LONG id : {1, 2}) {
    HWND control = id == 1 ? combo : list;
    SCOPED_TRACE(standin::NameOf(control));
    AddListItem(dialog, id, "first");
    AddListItem(dialog, id, "second");
    AddListItem(dialog, id, "third");
    DeleteListItem(dialog, id, 1);  // positions count from 1
    EXPECT_SEQUENCE((Lines{"second", "third"}), standin::ItemsOf(control));
    char buffer[8];
    EXPECT_EQ(ReadListSelection(dialog, id, buffer, sizeof buffer), 0u) << "nothing selected";
    SelectListItem(dialog, id, 2);
    EXPECT_EQ(SendMessageA(control, id == 1 ? CB_GETCURSEL : LB_GETCURSEL, 0, 0), 1);
    EXPECT_EQ(ReadListSelection(dialog, id, buffer, sizeof buffer), 5u);
    EXPECT_STREQ(buffer, "third");
    EXPECT_EQ(ReadListSelection(dialog, id, buffer, 5), 0u) << "an entry that does not fit";
    EmptyList(dialog, id);
    EXPECT_TRUE(standin::ItemsOf(control).empty());
  }
  EXPECT_EQ(Only(standin::CallsTo({"SendMessageA"}), {"CB_"}).size(),
            Only(standin::CallsTo({"SendMessageA"}), {"LB_"}).size());

  AddControl(kCheckBox, dialog, 3, "check", nullptr, 0, 5, 70, 50, 10, 0, 0, nullptr, "");
  SetCheck(dialog, 3, BST_CHECKED);
  EXPECT_EQ(ReadCheck(dialog, 3), BST_CHECKED);
  for (LONG id : {11, 12, 13}) {
    AddControl(kOptionButton, dialog, id, "option", nullptr, 0, 5, 70 + 12 * (id - 10), 50, 10, 0,
               0, nullptr, "");
  }
  CheckOption(dialog, 11, 13, 12);
  EXPECT_SEQUENCE(Lines{"CheckRadioButton(dialog#1, 11, 13, 12)"},
                  standin::CallsTo({"CheckRadioButton"}));
  EXPECT_EQ(SendMessageA(ControlHandle(dialog, 12), BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(SendMessageA(ControlHandle(dialog, 11), BM_GETCHECK, 0, 0), BST_UNCHECKED);
  DestroyWindow(dialog);
}

TEST_F(ToolkitControlsTest, PicturesAreReplacedAndRemovedControlsReleased) {
  standin::AddIconResource(standin::ProgramModule(), "mark");
  standin::AddIconResource(standin::ProgramModule(), "#7");
  standin::AddBitmapResource(standin::ProgramModule(), "logo", 30, 20);
  HWND dialog = Dialog();
  HWND image = AddControl(kImage, dialog, 1, "mark", nullptr, 0, 5, 5, 40, 20, 0, 0, nullptr, "");
  Label(dialog, 2);
  standin::ClearCalls();

  SetControlImage(dialog, 1, "Logo");  // names compare without regard to case
  EXPECT_EQ(standin::NameOf(standin::ImageOf(image)), "bitmap#1");
  SetControlImage(dialog, 1, "#7");
  EXPECT_EQ(standin::NameOf(standin::ImageOf(image)), "icon#2");
  SetControlImage(dialog, 1, "none");
  SetControlImage(dialog, 2, "mark");  // a label has no picture
  EXPECT_SEQUENCE((Lines{"LoadImageA(0x400000, \"Logo\", 0, 0, 0, 0x0)",
                         "SendMessageA(STATIC#1, STM_SETIMAGE, 0, bitmap#1)",
                         "SendMessageA(STATIC#1, STM_GETIMAGE, 0, 0)", "DestroyIcon(icon#1)",
                         "LoadImageA(0x400000, \"#7\", 1, 0, 0, 0x0)",
                         "SendMessageA(STATIC#1, STM_SETIMAGE, 1, icon#2)",
                         "SendMessageA(STATIC#1, STM_GETIMAGE, 1, 0)", "DeleteObject(bitmap#1)"}),
                  standin::CallsTo({"LoadImageA", "SendMessageA", "DestroyIcon", "DeleteObject"}));

  SetControlColor(dialog, 1, 0, 0x00FF00);
  standin::ClearCalls();
  RemoveControl(dialog, 1);
  EXPECT_FALSE(standin::IsAlive(image));
  EXPECT_EQ(FindRecord(image), nullptr);
  EXPECT_SEQUENCE(
      (Lines{"DestroyWindow(STATIC#1)", "DeleteObject(brush#1)", "DestroyIcon(icon#2)"}),
      standin::CallsTo({"DestroyWindow", "DeleteObject", "DestroyIcon"}));
  DestroyWindow(dialog);
}

TEST_F(ToolkitControlsTest, SizesAndPositionsInTheDialogsOwnUnits) {
  HWND dialog = Dialog();
  HWND label = Label(dialog, 1002, 5, 5, 50, 10);
  LONG a = 0;
  LONG b = 0;
  ClientSizeOf(dialog, 1002, &a, &b);
  EXPECT_EQ(a, 50);
  EXPECT_EQ(b, 10);
  PositionOf(dialog, 1002, &a, &b);
  EXPECT_EQ(a, 5);
  EXPECT_EQ(b, 5);
  MoveControl(dialog, 1002, 10, 20, 40, 8);
  EXPECT_EQ(Text(standin::RectInParent(label)), Text(RECT{15, 30, 75, 42}));
  WindowSizeOf(dialog, 1002, &a, &b);
  EXPECT_EQ(a, 40);
  EXPECT_EQ(b, 8);
  ClientSizeOf(dialog, kDialogItself, &a, &b);
  EXPECT_EQ(a, 200);
  EXPECT_EQ(b, 100);
  RECT units{0, 0, 4, 8};
  DialogUnitsToPixels(dialog, &units);
  EXPECT_EQ(Text(units), Text(RECT{0, 0, 6, 12}));

  HWND pixels = NewDialog(kPixelsMode, nullptr, "", 10, 20, 300, 200, 0, 0);
  HWND inPixels = Label(pixels, 1, 5, 5, 50, 10);
  EXPECT_EQ(Text(standin::RectInParent(inPixels)), Text(RECT{5, 5, 55, 15}));
  ClientSizeOf(pixels, kDialogItself, &a, &b);
  EXPECT_EQ(a, 300);
  EXPECT_EQ(b, 200);

  SetCallerValue(dialog, 1002, 1, 11);
  SetCallerValue(dialog, kDialogItself, 8, 88);
  SetCallerValue(dialog, 1002, 9, 99);
  EXPECT_EQ(CallerValue(dialog, 1002, 1), 11);
  EXPECT_EQ(CallerValue(dialog, kDialogItself, 8), 88);
  EXPECT_EQ(CallerValue(dialog, 1002, 9), 0);
  EXPECT_EQ(CallerValue(dialog, 1002, 0), 0);
  EXPECT_EQ(CallerValue(dialog, 1002, 2), 0);
  DestroyWindow(dialog);
  DestroyWindow(pixels);
}

}  // namespace
}  // namespace toolkit_test
