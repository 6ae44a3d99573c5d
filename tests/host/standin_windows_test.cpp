// The stand-in platform's window side against what the real platform (Wine 8, checked
// with probe programs) does: dialog templates and dialog units, the order of
// destruction, the dialog manager's result rules, the dialog keyboard, scripted input,
// the queue, message boxes, painting, the ledger and resources.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform.h"
#include "sequence.h"
#include "standin.h"
#include "standin_windows.h"

namespace {

using Lines = std::vector<std::string>;

// ---- Templates, written word by word as a program writes them in memory ----

class TemplateWriter {
 public:
  TemplateWriter& Word(WORD value) {
    words_.push_back(value);
    return *this;
  }
  TemplateWriter& Dword(DWORD value) { return Word(LOWORD(value)).Word(HIWORD(value)); }
  TemplateWriter& Text(const char* text) {
    for (; *text != '\0'; ++text) {
      Word(static_cast<unsigned char>(*text));
    }
    return Word(0);
  }
  // A dialog item: fixed part, class by ordinal, text, no creation data.
  TemplateWriter& Item(DWORD style, WORD id, short x, short y, short cx, short cy, WORD ordinal,
                       const char* text) {
    if (words_.size() % 2 != 0) {
      Word(0);
    }
    Dword(style).Dword(0).Word(x).Word(y).Word(cx).Word(cy).Word(id);
    return Word(0xFFFF).Word(ordinal).Text(text).Word(0);
  }
  // A copy exactly as long as the template: the memory after it belongs to nobody.
  std::unique_ptr<WORD[]> Bytes() const {
    auto bytes = std::make_unique<WORD[]>(words_.size());
    std::copy(words_.begin(), words_.end(), bytes.get());
    return bytes;
  }
  size_t Size() const { return words_.size() * sizeof(WORD); }
  TemplateWriter Cut(size_t words) const {
    TemplateWriter cut;
    cut.words_.assign(words_.begin(), words_.begin() + static_cast<std::ptrdiff_t>(words));
    return cut;
  }

 private:
  std::vector<WORD> words_;
};

constexpr WORD kButtonClass = 0x80;
constexpr WORD kStaticClass = 0x82;
constexpr DWORD kWizardStyle = 0x84C80AD4;  // what the toolkit writes for the wizard
constexpr DWORD kPlainDialogStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT;
constexpr DWORD kButtonStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP;

TemplateWriter Header(DWORD style, WORD items, short x = 10, short y = 20, short cx = 200,
                      short cy = 100, DWORD exStyle = 0) {
  TemplateWriter writer;
  writer.Dword(style).Dword(exStyle).Word(items).Word(x).Word(y).Word(cx).Word(cy);
  writer.Word(0).Word(0).Text(" ");
  if ((style & DS_SETFONT) != 0) {
    writer.Word(8).Text("MS Sans Serif");
  }
  return writer;
}

TemplateWriter TwoButtons(DWORD style = kPlainDialogStyle) {
  return Header(style, 2)
      .Item(kButtonStyle, 11, 5, 5, 50, 14, kButtonClass, "a")
      .Item(kButtonStyle, 12, 5, 25, 50, 14, kButtonClass, "b");
}

// ---- A dialog procedure that writes down what it sees ----

struct Recorder {
  Lines lines;
  std::map<UINT, INT_PTR> answers;
  std::map<UINT, LONG_PTR> messageResults;  // stored in DWLP_MSGRESULT before answering
  std::function<void(HWND, UINT, WPARAM, LPARAM)> onMessage;
};

Recorder* recorder = nullptr;

INT_PTR CALLBACK RecordingProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  recorder->lines.push_back(standin::MessageLine(dialog, message, wParam, lParam));
  if (recorder->onMessage) {
    recorder->onMessage(dialog, message, wParam, lParam);
  }
  auto result = recorder->messageResults.find(message);
  if (result != recorder->messageResults.end()) {
    SetWindowLongPtrA(dialog, DWLP_MSGRESULT, result->second);
  }
  auto answer = recorder->answers.find(message);
  return answer == recorder->answers.end() ? FALSE : answer->second;
}

// A window class of the test's own, for owners.
LRESULT CALLBACK OwnerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcA(window, message, wParam, lParam);
}

class WindowSideTest : public ::testing::Test {
 protected:
  void SetUp() override {
    standin::Reset();
    recorder = &recorder_;
  }

  void TearDown() override {
    recorder = nullptr;
    EXPECT_SEQUENCE(Lines{}, standin::Faults());
  }

  HWND Make(const TemplateWriter& writer, HWND owner = nullptr, LPARAM param = 0) {
    auto bytes = writer.Bytes();
    return CreateDialogIndirectParamA(standin::ProgramModule(),
                                      reinterpret_cast<LPCDLGTEMPLATEA>(bytes.get()), owner,
                                      RecordingProc, param);
  }

  // A dialog shown as the toolkit shows it: its procedure keeps WM_ACTIVATE for itself.
  HWND MakeShown(const TemplateWriter& writer) {
    recorder_.answers[WM_ACTIVATE] = TRUE;
    HWND dialog = Make(writer);
    ShowWindow(dialog, SW_SHOW);
    return dialog;
  }

  static HWND MakeOwner() {
    standin::RegisterWindowClass("Owner", OwnerProc);
    return CreateWindowExA(0, "Owner", "owner", WS_POPUP | WS_CAPTION | WS_VISIBLE, 100, 80, 600,
                           400, nullptr, nullptr, standin::ProgramModule(), nullptr);
  }

  // The program's message loop, cut down: everything queued goes through the dialog's
  // keyboard handling, until the queue is empty.
  static void RunLoop(HWND dialog) {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE) != FALSE) {
      if (IsDialogMessageA(dialog, &msg) == FALSE) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
      }
    }
  }

  // What the dialog procedure saw of the given messages.
  Lines Seen(std::initializer_list<UINT> messages) const {
    Lines kept;
    for (const std::string& line : recorder_.lines) {
      for (UINT message : messages) {
        if (line.find(" " + standin::MessageName(message) + "(") != std::string::npos) {
          kept.push_back(line);
        }
      }
    }
    return kept;
  }

  Recorder recorder_;
};

std::string Text(const RECT& rect) {
  return "{" + std::to_string(rect.left) + "," + std::to_string(rect.top) + "," +
         std::to_string(rect.right) + "," + std::to_string(rect.bottom) + "}";
}

// ---- Templates and dialog creation ----

using DialogTemplateTest = WindowSideTest;

TEST_F(DialogTemplateTest, ReadsTheWizardTemplateAndCentresTheHiddenDialog) {
  HWND dialog = Make(Header(kWizardStyle, 0, 84, 53, 418, 240, 0x10100), nullptr, 0x1234);
  ASSERT_NE(dialog, nullptr);

  EXPECT_SEQUENCE((Lines{"dialog#1 WM_SETFONT(font#1, 0)", "dialog#1 WM_INITDIALOG(0, 4660)"}),
                  recorder_.lines);
  EXPECT_SEQUENCE(
      (Lines{"CreateDialogIndirectParamA(0x400000, dlg{style=0x84C80AD4,ex=0x10100,items=0,x=84,"
             "y=53,cx=418,cy=240,class=0,title=\" \",font=8 \"MS Sans Serif\"}, NULL, dlgproc, "
             "4660)"}),
      standin::CallsTo({"CreateDialogIndirectParamA"}));
  EXPECT_FALSE(standin::IsShown(dialog));
  EXPECT_EQ(standin::ClassOf(dialog), "#32770");
  EXPECT_EQ(standin::TextOf(dialog), " ");
  EXPECT_EQ(standin::StyleOf(dialog), kWizardStyle);
  EXPECT_EQ(standin::ExStyleOf(dialog), 0x10101u) << "DS_MODALFRAME adds WS_EX_DLGMODALFRAME";

  HFONT font = standin::FontOf(dialog);
  LOGFONTA logical = standin::FontInfo(font);
  EXPECT_EQ(logical.lfHeight, -11);
  EXPECT_EQ(logical.lfWeight, FW_DONTCARE);
  EXPECT_EQ(logical.lfCharSet, DEFAULT_CHARSET);
  EXPECT_EQ(logical.lfQuality, PROOF_QUALITY);
  EXPECT_STREQ(logical.lfFaceName, "MS Sans Serif");
  EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageA(dialog, WM_GETFONT, 0, 0)), font);

  // 418 x 240 units of 6 x 13 pixels, frame 3 and caption 19, centred in 1024 x 768.
  EXPECT_EQ(Text(standin::ClientRectOf(dialog)), Text(RECT{198, 198, 825, 588}));
  EXPECT_EQ(Text(standin::WindowRectOf(dialog)), Text(RECT{195, 176, 828, 591}));

  EXPECT_EQ(standin::LiveObjectsOf("window"), Lines{"window dialog#1 \" \""});
  EXPECT_TRUE(standin::LiveObjectsOf("font").empty()) << "the dialog's font is the platform's";
  DestroyWindow(dialog);
  EXPECT_FALSE(standin::IsObjectAlive(font)) << "the platform deletes the font with the dialog";
  EXPECT_SEQUENCE(Lines{}, standin::LiveObjects());
}

TEST_F(DialogTemplateTest, MakesTheItemsInOrderAndNamesTheFirstTabStop) {
  TemplateWriter writer =
      Header(kPlainDialogStyle, 3)
          .Item(WS_CHILD | WS_VISIBLE, 100, 5, 5, 40, 10, kStaticClass, "label")
          .Item(kButtonStyle, 101, 15, 20, 50, 14, kButtonClass, "Go")
          .Item(kButtonStyle | BS_DEFPUSHBUTTON, 102, 70, 20, 50, 14, kButtonClass, "Stop");
  HWND dialog = Make(writer);
  ASSERT_NE(dialog, nullptr);

  EXPECT_SEQUENCE(
      (Lines{"dialog#1 WM_SETFONT(font#1, 0)", "dialog#1 WM_INITDIALOG(BUTTON#101, 0)"}),
      recorder_.lines);
  std::vector<HWND> children = standin::ChildrenOf(dialog);
  ASSERT_EQ(children.size(), 3u);
  EXPECT_EQ(standin::NameOf(children[0]), "STATIC#100");
  EXPECT_EQ(standin::NameOf(children[1]), "BUTTON#101");
  EXPECT_EQ(standin::NameOf(children[2]), "BUTTON#102");
  for (HWND child : children) {
    EXPECT_EQ(standin::FontOf(child), standin::FontOf(dialog)) << standin::NameOf(child);
  }
  EXPECT_EQ(standin::TextOf(children[1]), "Go");
  // Edges converted one by one: (15, 20)-(65, 34) units.
  EXPECT_EQ(Text(standin::RectInParent(children[1])), Text(RECT{23, 33, 98, 55}));
  EXPECT_EQ(SendMessageA(dialog, DM_GETDEFID, 0, 0), MAKELONG(102, DC_HASDEFID));
  for (const std::string& line : standin::DeliveryLines(false, dialog)) {
    EXPECT_EQ(line.find("WM_PARENTNOTIFY"), std::string::npos)
        << "template items are made without WM_PARENTNOTIFY";
  }
  DestroyWindow(dialog);
}

TEST_F(DialogTemplateTest, PlacesTheClientOriginInUnitsFromTheOwnersClientArea) {
  HWND owner = MakeOwner();
  ASSERT_NE(owner, nullptr);
  // The owner's client area starts at (103, 102): frame 3, caption 19.
  HWND owned = Make(Header(kPlainDialogStyle, 0, 10, 20), owner);
  HWND free = Make(Header(kPlainDialogStyle, 0, 10, 20));
  HWND offScreen = Make(Header(kPlainDialogStyle, 0, 1000, 20));

  EXPECT_EQ(Text(standin::ClientRectOf(owned)), Text(RECT{118, 135, 418, 298}));
  EXPECT_EQ(standin::OwnerOf(owned), owner);
  EXPECT_EQ(GetParent(owned), owner) << "GetParent gives a popup's owner";
  EXPECT_EQ(reinterpret_cast<HWND>(GetWindowLongPtrA(owned, GWLP_HWNDPARENT)), owner);
  EXPECT_EQ(Text(standin::ClientRectOf(free)), Text(RECT{15, 33, 315, 196}));
  EXPECT_EQ(standin::WindowRectOf(offScreen).right, 1024 - 3) << "pushed back into the work area";
  DestroyWindow(owner);
  DestroyWindow(free);
  DestroyWindow(offScreen);
  EXPECT_FALSE(standin::IsAlive(owned)) << "an owned window goes with its owner";
}

TEST_F(DialogTemplateTest, ShowsTheDialogAtTheEndWhenTheTemplateHasWsVisible) {
  HWND dialog = Make(TwoButtons(kPlainDialogStyle | WS_VISIBLE));
  EXPECT_TRUE(standin::IsShown(dialog));
  EXPECT_EQ(standin::ActiveWindow(), dialog);
  EXPECT_EQ(standin::NameOf(standin::Focus()), "BUTTON#11");
  EXPECT_SEQUENCE((Lines{"dialog#1 WM_SETFONT(font#1, 0)", "dialog#1 WM_INITDIALOG(BUTTON#11, 0)",
                         "dialog#1 WM_SHOWWINDOW(1, 0)"}),
                  Seen({WM_SETFONT, WM_INITDIALOG, WM_SHOWWINDOW}));
  DestroyWindow(dialog);
}

TEST_F(DialogTemplateTest, ANonzeroAnswerToInitDialogFocusesTheFirstTabStop) {
  recorder_.answers[WM_INITDIALOG] = TRUE;
  HWND dialog = Make(TwoButtons());
  EXPECT_FALSE(standin::IsShown(dialog));
  EXPECT_EQ(standin::NameOf(standin::Focus()), "BUTTON#11");
  DestroyWindow(dialog);
}

TEST_F(DialogTemplateTest, AMalformedTemplateFailsWithoutReadingPastItsEnd) {
  TemplateWriter good = Header(kPlainDialogStyle, 0);
  TemplateWriter extended;
  extended.Word(1).Word(0xFFFF).Dword(0).Dword(0).Dword(kPlainDialogStyle).Word(0);
  struct Case {
    const char* what;
    TemplateWriter writer;
  };
  std::vector<Case> cases = {
      {"an item promised and not there", Header(kPlainDialogStyle, 1)},
      {"a face name without its end", good.Cut(good.Size() / 2 - 1)},
      {"cut inside the fixed part", good.Cut(5)},
      {"a title without its end", Header(WS_POPUP, 0).Cut(10)},
      {"an extended template", extended},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(Make(c.writer), nullptr);
    ASSERT_EQ(standin::Faults().size(), 1u);
    EXPECT_EQ(
        standin::Faults()[0].rfind("CreateDialogIndirectParamA: malformed dialog template: ", 0),
        0u)
        << standin::Faults()[0];
    EXPECT_TRUE(recorder_.lines.empty());
    EXPECT_TRUE(standin::TopLevelWindows().empty());
    EXPECT_SEQUENCE(Lines{}, standin::LiveObjects());
    standin::ClearFaults();
  }
  EXPECT_NE(Make(good), nullptr) << "the same template, whole, is fine";
}

// ---- Dialog units ----

using DialogUnitsTest = WindowSideTest;

TEST_F(DialogUnitsTest, FollowTheScreenDpi) {
  struct Case {
    int dpi;
    LONG baseX;
    LONG baseY;
    LONG fontHeight;
  };
  for (Case c : {Case{96, 6, 13, -11}, Case{120, 8, 16, -13}, Case{144, 9, 20, -16}}) {
    SCOPED_TRACE(c.dpi);
    standin::SetScreenDpi(c.dpi);
    HDC screen = GetDC(nullptr);
    EXPECT_EQ(GetDeviceCaps(screen, LOGPIXELSY), c.dpi);
    ReleaseDC(nullptr, screen);
    HWND dialog = Make(Header(kPlainDialogStyle, 0));
    RECT units{0, 0, 4, 8};
    ASSERT_TRUE(MapDialogRect(dialog, &units));
    EXPECT_EQ(units.right, c.baseX);
    EXPECT_EQ(units.bottom, c.baseY);
    EXPECT_EQ(standin::FontInfo(standin::FontOf(dialog)).lfHeight, c.fontHeight);
    DestroyWindow(dialog);
  }
}

TEST_F(DialogUnitsTest, MapDialogRectRoundsEachEdgeHalvesAwayFromZero) {
  HWND dialog = Make(Header(kPlainDialogStyle, 0));
  struct Case {
    RECT units;
    RECT pixels;
  };
  std::vector<Case> cases = {
      {{1, 1, 3, 3}, {2, 2, 5, 5}},
      {{-1, -4, -3, -12}, {-2, -7, -5, -20}},
      {{2, 4, 6, 12}, {3, 7, 9, 20}},
      {{15, 20, 230, 35}, {23, 33, 345, 57}},
  };
  for (const Case& c : cases) {
    RECT rect = c.units;
    ASSERT_TRUE(MapDialogRect(dialog, &rect));
    EXPECT_EQ(Text(rect), Text(c.pixels)) << "from " << Text(c.units);
  }
  HWND button = CreateWindowExA(0, "BUTTON", "", WS_CHILD, 0, 0, 1, 1, dialog,
                                reinterpret_cast<HMENU>(5), nullptr, nullptr);
  RECT rect{0, 0, 4, 8};
  EXPECT_FALSE(MapDialogRect(button, &rect)) << "only a dialog has dialog units";
  EXPECT_EQ(standin::LastError(), ERROR_INVALID_WINDOW_HANDLE);
  DestroyWindow(dialog);
}

// ---- Destruction ----

using DestroyWindowTest = WindowSideTest;

TEST_F(DestroyWindowTest, OwnedWindowsGoFirstThenDestroyParentFirstAndNcDestroyChildrenFirst) {
  HWND dialog = Make(TwoButtons());
  HWND button = standin::FindControl(dialog, 11);
  CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 0, 0, 5, 5, button,
                  reinterpret_cast<HMENU>(31), nullptr, nullptr);
  Make(Header(kPlainDialogStyle, 1).Item(kButtonStyle, 21, 5, 5, 50, 14, kButtonClass, "c"),
       dialog);
  CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 5, 5, dialog, nullptr, nullptr, nullptr);
  HFONT font = standin::FontOf(dialog);
  standin::ClearDeliveries();

  EXPECT_TRUE(DestroyWindow(dialog));

  Lines order;
  for (const std::string& line : standin::DeliveryLines(false)) {
    if (line.find("DESTROY") != std::string::npos) {
      order.push_back(line);
    }
  }
  EXPECT_SEQUENCE((Lines{"window#1 WM_DESTROY", "window#1 WM_NCDESTROY", "dialog#2 WM_DESTROY",
                         "BUTTON#21 WM_DESTROY", "BUTTON#21 WM_NCDESTROY", "dialog#2 WM_NCDESTROY",
                         "dialog#1 WM_DESTROY", "BUTTON#11 WM_DESTROY", "STATIC#31 WM_DESTROY",
                         "BUTTON#12 WM_DESTROY", "STATIC#31 WM_NCDESTROY", "BUTTON#11 WM_NCDESTROY",
                         "BUTTON#12 WM_NCDESTROY", "dialog#1 WM_NCDESTROY"}),
                  order);
  EXPECT_FALSE(IsWindow(dialog));
  EXPECT_EQ(standin::LastError(), ERROR_INVALID_WINDOW_HANDLE);
  EXPECT_FALSE(IsWindow(button));
  EXPECT_FALSE(DestroyWindow(dialog)) << "a destroyed handle stays invalid";
  EXPECT_EQ(standin::LastError(), ERROR_INVALID_WINDOW_HANDLE);
  EXPECT_FALSE(standin::IsObjectAlive(font));
  EXPECT_SEQUENCE(Lines{}, standin::LiveObjects());
}

TEST_F(DestroyWindowTest, ASwitchedOnFailureDestroysNothing) {
  HWND dialog = Make(TwoButtons());
  standin::FailDestroyWindow(dialog, true);
  standin::ClearDeliveries();
  EXPECT_FALSE(DestroyWindow(dialog));
  EXPECT_EQ(standin::LastError(), ERROR_ACCESS_DENIED);
  EXPECT_TRUE(standin::DeliveryLines().empty());
  EXPECT_TRUE(IsWindow(dialog));
  standin::FailDestroyWindow(dialog, false);
  EXPECT_TRUE(DestroyWindow(dialog));
}

// ---- The dialog manager ----

using DialogManagerTest = WindowSideTest;

TEST_F(DialogManagerTest, ResultComesFromDwlpMsgResultExceptForTheDirectMessages) {
  HWND dialog = Make(Header(kPlainDialogStyle, 0));
  struct Case {
    UINT message;
    INT_PTR answer;
    std::optional<LONG_PTR> storedResult;
    LRESULT expected;
  };
  std::vector<Case> cases = {
      {WM_USER + 5, TRUE, 0x55, 0x55},
      {WM_USER + 6, TRUE, std::nullopt, 0},  // DWLP_MSGRESULT is cleared before each call
      {WM_CTLCOLORSTATIC, 0x777, 0x55, 0x777},
      {WM_INITDIALOG, 3, 0x55, 3},
      {WM_COMPAREITEM, 0x42, 0x55, 0x42},
      {WM_GETTEXTLENGTH, FALSE, std::nullopt, 1},  // default processing: the text " "
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(standin::MessageName(c.message));
    recorder_.answers = {{c.message, c.answer}};
    recorder_.messageResults.clear();
    if (c.storedResult) {
      recorder_.messageResults[c.message] = *c.storedResult;
    }
    SetWindowLongPtrA(dialog, DWLP_MSGRESULT, 9);
    EXPECT_EQ(SendMessageA(dialog, c.message, 0, 0), c.expected);
  }
  DestroyWindow(dialog);
}

TEST_F(DialogManagerTest, CloseBecomesAPostedCancelCommand) {
  HWND dialog = Make(Header(kPlainDialogStyle, 1)
                         .Item(kButtonStyle, IDCANCEL, 5, 5, 50, 14, kButtonClass, "Cancel"));
  HWND bare = Make(Header(kPlainDialogStyle, 0));
  recorder_.lines.clear();

  SendMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_SEQUENCE((Lines{"dialog#1 WM_SYSCOMMAND(0xF060, 0)", "dialog#1 WM_CLOSE(0, 0)"}),
                  recorder_.lines);
  EnableWindow(standin::FindControl(dialog, IDCANCEL), FALSE);
  SendMessageA(dialog, WM_CLOSE, 0, 0);
  SendMessageA(bare, WM_CLOSE, 0, 0);
  recorder_.lines.clear();
  standin::PumpMessages();
  EXPECT_SEQUENCE((Lines{"dialog#1 WM_COMMAND(2, BUTTON#2)", "dialog#1 WM_COMMAND(2, BUTTON#2)",
                         "dialog#2 WM_COMMAND(2, 0)"}),
                  Seen({WM_COMMAND}))
      << "Wine posts the command even for a disabled Cancel button";
  EXPECT_TRUE(IsWindow(dialog)) << "the default processing never destroys a dialog";
  DestroyWindow(dialog);
  DestroyWindow(bare);
}

TEST_F(DialogManagerTest, ShowingGivesTheFocusToTheFirstTabStopEvenWhenActivationIsKept) {
  HWND dialog = MakeShown(TwoButtons());
  EXPECT_TRUE(standin::IsShown(dialog));
  EXPECT_EQ(standin::ActiveWindow(), dialog);
  EXPECT_EQ(standin::NameOf(standin::Focus()), "BUTTON#11");
  EXPECT_SEQUENCE((Lines{"dialog#1 WM_SHOWWINDOW(1, 0)", "dialog#1 WM_NCACTIVATE(1, 0)",
                         "dialog#1 WM_ACTIVATE(1, 0)", "dialog#1 WM_SETFOCUS(0, 0)",
                         "dialog#1 WM_KILLFOCUS(BUTTON#11, 0)"}),
                  Seen({WM_SHOWWINDOW, WM_NCACTIVATE, WM_ACTIVATE, WM_SETFOCUS, WM_KILLFOCUS}));
  recorder_.lines.clear();
  EXPECT_TRUE(ShowWindow(dialog, SW_SHOW)) << "it was visible before";
  EXPECT_SEQUENCE(Lines{}, recorder_.lines);
  DestroyWindow(dialog);
}

// ---- The dialog keyboard ----

using DialogKeyboardTest = WindowSideTest;

TEST_F(DialogKeyboardTest, EscEnterTabAndShiftTabAsTheDialogManagerHandlesThem) {
  HWND dialog = MakeShown(TwoButtons());
  HWND first = standin::FindControl(dialog, 11);
  HWND second = standin::FindControl(dialog, 12);
  struct Step {
    BYTE key;
    bool shift;
    Lines commands;
    HWND focus;
    DWORD defaultButton;  // the id whose style has BS_DEFPUSHBUTTON, 0 for none
  };
  std::vector<Step> steps = {
      {VK_ESCAPE, false, {"dialog#1 WM_COMMAND(2, 0)"}, first, 0},
      {VK_RETURN, false, {"dialog#1 WM_COMMAND(1, 0)"}, first, 0},  // DM_GETDEFID: IDOK
      {VK_TAB, false, {}, second, 12},
      {VK_RETURN, false, {"dialog#1 WM_COMMAND(12, BUTTON#12)"}, second, 12},
      {VK_TAB, true, {}, first, 11},
      {VK_TAB, true, {}, second, 12},  // round again
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(std::to_string(step.key) + (step.shift ? " with shift" : ""));
    recorder_.lines.clear();
    standin::PressKey(step.key, step.shift);
    RunLoop(dialog);
    EXPECT_SEQUENCE(step.commands, Seen({WM_COMMAND}));
    EXPECT_EQ(standin::Focus(), step.focus);
    EXPECT_EQ((standin::StyleOf(first) & BS_TYPEMASK) == BS_DEFPUSHBUTTON,
              step.defaultButton == 11);
    EXPECT_EQ((standin::StyleOf(second) & BS_TYPEMASK) == BS_DEFPUSHBUTTON,
              step.defaultButton == 12);
  }
  MSG foreign{nullptr, WM_USER, 0, 0, 0, {0, 0}};
  EXPECT_FALSE(IsDialogMessageA(dialog, &foreign)) << "not a message for the dialog";
  DestroyWindow(dialog);
}

TEST_F(DialogKeyboardTest, EnterLeavesADisabledDefaultButtonAlone) {
  HWND dialog = MakeShown(TwoButtons());
  SendMessageA(dialog, DM_SETDEFID, 12, 0);
  EXPECT_EQ(standin::StyleOf(standin::FindControl(dialog, 12)) & BS_TYPEMASK, BS_DEFPUSHBUTTON);
  SetFocus(dialog);
  standin::PressKey(VK_RETURN);
  RunLoop(dialog);
  EnableWindow(standin::FindControl(dialog, 12), FALSE);
  standin::PressKey(VK_RETURN);
  RunLoop(dialog);
  EXPECT_SEQUENCE((Lines{"dialog#1 WM_COMMAND(12, BUTTON#12)"}), Seen({WM_COMMAND}));
  DestroyWindow(dialog);
}

TEST_F(DialogKeyboardTest, AltF4GoesToTheFocusWindowWhichPostsSysCommandClose) {
  HWND dialog = MakeShown(TwoButtons());
  recorder_.lines.clear();
  standin::ClearDeliveries();
  standin::PressAltF4();
  RunLoop(dialog);
  Lines keys;
  for (const std::string& line : standin::DeliveryLines(true, standin::FindControl(dialog, 11))) {
    if (line.find("KEY") != std::string::npos) {
      keys.push_back(line);
    }
  }
  EXPECT_SEQUENCE(
      (Lines{"BUTTON#11 WM_SYSKEYDOWN(18, 0x20380001)", "BUTTON#11 WM_SYSKEYDOWN(115, 0x203E0001)",
             "BUTTON#11 WM_SYSKEYUP(115, 0xE03E0001)", "BUTTON#11 WM_SYSKEYUP(18, 0xE0380001)"}),
      keys);
  EXPECT_SEQUENCE((Lines{"dialog#1 WM_SYSCOMMAND(0xF060, 0)", "dialog#1 WM_CLOSE(0, 0)",
                         "dialog#1 WM_COMMAND(2, 0)"}),
                  Seen({WM_SYSCOMMAND, WM_CLOSE, WM_COMMAND}));
  DestroyWindow(dialog);
}

// ---- Scripted input ----

using InputTest = WindowSideTest;

TEST_F(InputTest, AClickPressesAnEnabledButtonWhenTheLoopTakesIt) {
  HWND dialog = MakeShown(TwoButtons());
  HWND second = standin::FindControl(dialog, 12);
  recorder_.lines.clear();
  standin::ClearDeliveries();
  standin::Click(second);
  EXPECT_TRUE(recorder_.lines.empty()) << "nothing happens before the program takes the input";
  RunLoop(dialog);
  Lines toButton;
  for (const std::string& line : standin::DeliveryLines(true, second)) {
    if (line.find("BUTTON") != std::string::npos && line.find("PAINT") == std::string::npos &&
        line.find("ERASE") == std::string::npos && line.find("DLGCODE") == std::string::npos) {
      toButton.push_back(line);
    }
  }
  EXPECT_SEQUENCE((Lines{"BUTTON#12 WM_LBUTTONDOWN(1, 0xB0025)",
                         "BUTTON#12 WM_SETFOCUS(BUTTON#11, 0)", "BUTTON#12 BM_SETSTATE(1, 0)",
                         "BUTTON#12 WM_LBUTTONUP(0, 0xB0025)", "BUTTON#12 BM_SETSTATE(0, 0)"}),
                  toButton);
  EXPECT_SEQUENCE((Lines{"dialog#1 WM_COMMAND(12, BUTTON#12)"}), Seen({WM_COMMAND}));
  EXPECT_EQ(standin::Focus(), second);
  DestroyWindow(dialog);
}

TEST_F(InputTest, AClickOnADisabledButtonGoesToTheDialogAndPressesNothing) {
  HWND dialog = MakeShown(TwoButtons());
  HWND second = standin::FindControl(dialog, 12);
  EnableWindow(second, FALSE);
  recorder_.lines.clear();
  standin::Click(second);
  RunLoop(dialog);
  EXPECT_SEQUENCE(
      (Lines{"dialog#1 WM_LBUTTONDOWN(1, 0x34002D)", "dialog#1 WM_LBUTTONUP(0, 0x34002D)"}),
      Seen({WM_LBUTTONDOWN, WM_LBUTTONUP, WM_COMMAND}));

  // Pressed while enabled, disabled before the program took the press: nothing either.
  EnableWindow(second, TRUE);
  standin::Click(second);
  EnableWindow(second, FALSE);
  recorder_.lines.clear();
  RunLoop(dialog);
  EXPECT_SEQUENCE(Lines{}, Seen({WM_COMMAND}));
  DestroyWindow(dialog);
}

TEST_F(InputTest, TheCloseBoxAndTheSystemMenuSendSysCommandClose) {
  HWND dialog = MakeShown(TwoButtons());
  RECT window = standin::WindowRectOf(dialog);
  std::string closePoint = "0x" + [&] {
    char text[16];
    std::snprintf(text, sizeof text, "%X",
                  static_cast<unsigned>(MAKELPARAM(window.right - 13, window.top + 12)));
    return std::string(text);
  }();
  recorder_.lines.clear();
  standin::ClickCloseBox(dialog);
  RunLoop(dialog);
  EXPECT_SEQUENCE((Lines{"dialog#1 WM_NCLBUTTONDOWN(20, " + closePoint + ")",
                         "dialog#1 WM_SYSCOMMAND(0xF060, " + closePoint + ")",
                         "dialog#1 WM_CLOSE(0, 0)", "dialog#1 WM_COMMAND(2, 0)"}),
                  Seen({WM_NCLBUTTONDOWN, WM_LBUTTONUP, WM_SYSCOMMAND, WM_CLOSE, WM_COMMAND}));

  recorder_.lines.clear();
  standin::ChooseSystemMenuClose(dialog);
  RunLoop(dialog);
  Lines commands = Seen({WM_SYSCOMMAND, WM_CLOSE});
  ASSERT_EQ(commands.size(), 3u);
  EXPECT_EQ(commands[0].rfind("dialog#1 WM_SYSCOMMAND(0xF093, ", 0), 0u) << commands[0];
  EXPECT_EQ(commands[1].rfind("dialog#1 WM_SYSCOMMAND(0xF060, ", 0), 0u) << commands[1];
  EXPECT_EQ(commands[2], "dialog#1 WM_CLOSE(0, 0)");
  DestroyWindow(dialog);
}

TEST_F(InputTest, IdleActionsRunWhenTheLoopFindsTheQueueEmptyAndSleeps) {
  HWND dialog = MakeShown(TwoButtons());
  RunLoop(dialog);
  std::vector<int> ran;
  standin::WhenIdle([&] { ran.push_back(1); });
  standin::WhenIdle([&] { ran.push_back(2); });
  EXPECT_EQ(standin::PendingIdleActions(), 2u);
  MSG msg;
  auto idle = [&] {
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    Sleep(1);
  };
  idle();
  EXPECT_EQ(ran, std::vector<int>{1});
  Sleep(5);
  EXPECT_EQ(ran, std::vector<int>{1}) << "a pause without an empty queue found is not idleness";
  idle();
  EXPECT_EQ(ran, (std::vector<int>{1, 2}));
  EXPECT_EQ(standin::PendingIdleActions(), 0u);
  DestroyWindow(dialog);
}

using InputDeathTest = WindowSideTest;

TEST_F(InputDeathTest, AProgramThatWaitsForInputThatNeverComesIsStopped) {
  HWND dialog = MakeShown(TwoButtons());
  RunLoop(dialog);
  standin::SetIdleLimit(5);
  EXPECT_DEATH(
      {
        MSG msg;
        for (int i = 0; i < 6; ++i) {
          PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE);
          Sleep(1);
        }
      },
      "waits for input that the test never gives");
  DestroyWindow(dialog);
}

// ---- The queue ----

using QueueTest = WindowSideTest;

TEST_F(QueueTest, PostedMessagesComeBeforeInputAndPaintingAndWmQuitIsOneOfThem) {
  HWND dialog = MakeShown(TwoButtons());
  HWND first = standin::FindControl(dialog, 11);
  standin::Click(first);
  PostMessageA(dialog, WM_USER + 100, 0, 0);
  PostMessageA(dialog, WM_QUIT, 4, 0);
  Lines taken;
  MSG msg;
  EXPECT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE));
  EXPECT_EQ(msg.message, WM_USER + 100) << "PM_NOREMOVE leaves it there";
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE) != FALSE) {
    taken.push_back(standin::MessageLine(msg.hwnd, msg.message, msg.wParam, msg.lParam));
    DispatchMessageA(&msg);
  }
  EXPECT_SEQUENCE(
      (Lines{"dialog#1 WM_USER+100(0, 0)", "dialog#1 WM_QUIT(4, 0)",
             "BUTTON#11 WM_LBUTTONDOWN(1, 0xB0025)", "BUTTON#11 WM_LBUTTONUP(0, 0xB0025)",
             "dialog#1 WM_PAINT(0, 0)", "BUTTON#11 WM_PAINT(0, 0)", "BUTTON#12 WM_PAINT(0, 0)"}),
      taken);
  EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));

  // A message for a window that is gone is dropped.
  PostMessageA(first, WM_USER + 2, 0, 0);
  MSG stale{first, WM_USER + 3, 0, 0, 0, {0, 0}};
  DestroyWindow(dialog);
  EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(DispatchMessageA(&stale), 0);
  EXPECT_EQ(standin::LastError(), ERROR_INVALID_WINDOW_HANDLE);
}

// ---- Window calls ----

using WindowCallsTest = WindowSideTest;

TEST_F(WindowCallsTest, EnableWindowAnswersWhetherTheWindowWasDisabled) {
  HWND dialog = MakeShown(TwoButtons());
  HWND button = standin::FindControl(dialog, 11);
  ASSERT_EQ(standin::Focus(), button);
  struct Step {
    BOOL enable;
    BOOL answer;
    Lines messages;
  };
  std::vector<Step> steps = {
      {FALSE,
       FALSE,
       {"BUTTON#11 WM_CANCELMODE(0, 0)", "BUTTON#11 WM_KILLFOCUS(0, 0)",
        "BUTTON#11 WM_ENABLE(0, 0)"}},
      {FALSE, TRUE, {"BUTTON#11 WM_CANCELMODE(0, 0)"}},
      {TRUE, TRUE, {"BUTTON#11 WM_ENABLE(1, 0)"}},
      {TRUE, FALSE, {}},
  };
  for (const Step& step : steps) {
    standin::ClearDeliveries();
    EXPECT_EQ(EnableWindow(button, step.enable), step.answer);
    Lines messages;
    for (const std::string& line : standin::DeliveryLines(true, button)) {
      if (line.find("CTLCOLOR") == std::string::npos) {
        messages.push_back(line);
      }
    }
    EXPECT_SEQUENCE(step.messages, messages);
  }
  EXPECT_EQ(standin::Focus(), nullptr) << "a disabled window cannot keep the focus";
  DestroyWindow(dialog);
}

TEST_F(WindowCallsTest, CallsOnAnInvalidWindowFailWithInvalidWindowHandle) {
  HWND dialog = Make(TwoButtons());
  HWND gone = standin::FindControl(dialog, 11);
  DestroyWindow(dialog);
  RECT rect;
  char buffer[8] = "x";
  struct Case {
    const char* call;
    std::function<LONG_PTR()> run;
  };
  std::vector<Case> cases = {
      {"DestroyWindow", [&] { return LONG_PTR{DestroyWindow(gone)}; }},
      {"DestroyWindow(NULL)", [&] { return LONG_PTR{DestroyWindow(nullptr)}; }},
      {"EnableWindow(NULL)", [&] { return LONG_PTR{EnableWindow(nullptr, TRUE)}; }},
      {"SetWindowTextA(NULL)", [&] { return LONG_PTR{SetWindowTextA(nullptr, "x")}; }},
      {"IsWindowEnabled", [&] { return LONG_PTR{IsWindowEnabled(gone)}; }},
      {"IsWindowVisible", [&] { return LONG_PTR{IsWindowVisible(gone)}; }},
      {"ShowWindow", [&] { return LONG_PTR{ShowWindow(gone, SW_SHOW)}; }},
      {"SendMessageA", [&] { return SendMessageA(gone, WM_USER, 0, 0); }},
      {"PostMessageA", [&] { return LONG_PTR{PostMessageA(gone, WM_USER, 0, 0)}; }},
      {"GetDlgItem", [&] { return reinterpret_cast<LONG_PTR>(GetDlgItem(gone, 1)); }},
      {"SetFocus", [&] { return reinterpret_cast<LONG_PTR>(SetFocus(gone)); }},
      {"GetParent", [&] { return reinterpret_cast<LONG_PTR>(GetParent(gone)); }},
      {"GetWindowLongPtrA", [&] { return GetWindowLongPtrA(gone, GWL_STYLE); }},
      {"GetClientRect", [&] { return LONG_PTR{GetClientRect(gone, &rect)}; }},
      {"GetWindowTextA", [&] { return LONG_PTR{GetWindowTextA(gone, buffer, 8)}; }},
  };
  for (const Case& c : cases) {
    standin::SetLastErrorDirect(0);
    EXPECT_EQ(c.run(), 0) << c.call;
    EXPECT_EQ(standin::LastError(), ERROR_INVALID_WINDOW_HANDLE) << c.call;
  }
  EXPECT_EQ(buffer[0], '\0') << "GetWindowTextA empties the buffer";

  HWND other = Make(TwoButtons());
  EXPECT_EQ(GetDlgItem(other, 99), nullptr);
  EXPECT_EQ(standin::LastError(), ERROR_CONTROL_ID_NOT_FOUND);
  EXPECT_EQ(
      CreateWindowExA(0, "NoSuchClass", "", WS_CHILD, 0, 0, 1, 1, other, nullptr, nullptr, nullptr),
      nullptr);
  EXPECT_EQ(standin::LastError(), ERROR_CANNOT_FIND_WND_CLASS);
  DestroyWindow(other);
}

TEST_F(WindowCallsTest, TextFontAndDataGoThroughTheWindowsMessages) {
  HWND dialog = Make(TwoButtons());
  HWND button = standin::FindControl(dialog, 11);
  EXPECT_TRUE(SetWindowTextA(button, "Install"));
  char text[5];
  EXPECT_EQ(GetWindowTextA(button, text, sizeof text), 4);
  EXPECT_STREQ(text, "Inst") << "cut to the buffer";
  EXPECT_EQ(GetWindowTextLengthA(button), 7);
  LOGFONTA logical = standin::FontInfo(standin::FontOf(dialog));
  HFONT font = CreateFontIndirectA(&logical);
  SendMessageA(button, WM_SETFONT, reinterpret_cast<WPARAM>(font), 0);
  EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageA(button, WM_GETFONT, 0, 0)), font);
  EXPECT_EQ(GetDlgCtrlID(button), 11);
  EXPECT_EQ(GetWindowLongPtrA(button, GWLP_ID), 11);
  EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(button, GWL_STYLE)), kButtonStyle);
  SetWindowLongPtrA(dialog, GWLP_USERDATA, 0x1234);
  EXPECT_EQ(GetWindowLongPtrA(dialog, GWLP_USERDATA), 0x1234);
  EXPECT_EQ(GetWindowLongA(button, DWLP_MSGRESULT), 0) << "no dialog data in a button";
  EXPECT_EQ(standin::LastError(), ERROR_INVALID_INDEX);
  DestroyWindow(dialog);
  DeleteObject(font);
}

// ---- Message boxes ----

using MessageBoxTest = WindowSideTest;

TEST_F(MessageBoxTest, TheScriptSeesTheBoxWhileItsOwnerIsDisabled) {
  HWND owner = MakeOwner();
  bool ownerEnabledMeanwhile = true;
  standin::AnswerMessageBoxes([&](const standin::MessageBox& box) {
    ownerEnabledMeanwhile = standin::IsEnabled(owner);
    EXPECT_EQ(standin::ActiveWindow(), box.window);
    return IDYES;
  });
  Sleep(5);
  EXPECT_EQ(MessageBoxA(owner, "Quit?", "Warning", MB_YESNO | MB_DEFBUTTON2), IDYES);
  EXPECT_FALSE(ownerEnabledMeanwhile);
  EXPECT_TRUE(standin::IsEnabled(owner));
  EXPECT_EQ(standin::ActiveWindow(), owner) << "the owner is active again";
  ASSERT_EQ(standin::MessageBoxes().size(), 1u);
  const standin::MessageBox& box = standin::MessageBoxes()[0];
  EXPECT_EQ(box.text, "Quit?");
  EXPECT_EQ(box.caption, "Warning");
  EXPECT_EQ(box.style, MB_YESNO | MB_DEFBUTTON2);
  EXPECT_EQ(box.owner, owner);
  EXPECT_EQ(box.shownAt, 5u);
  EXPECT_EQ(box.depth, 1);
  EXPECT_EQ(box.answer, IDYES);
  EXPECT_FALSE(IsWindow(box.window));
  DestroyWindow(owner);
}

TEST_F(MessageBoxTest, WithoutOwnerTheProgramStaysUsableAndCanOpenASecondBox) {
  HWND dialog = MakeShown(TwoButtons());
  HWND first = standin::FindControl(dialog, 11);
  recorder_.onMessage = [](HWND, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_COMMAND && LOWORD(wParam) == 11) {
      MessageBoxA(nullptr, "Sure?", "Nested", MB_YESNO);
    }
  };
  standin::AnswerMessageBoxes([&](const standin::MessageBox& box) {
    EXPECT_TRUE(standin::IsEnabled(dialog));
    if (box.depth == 1) {
      standin::Click(first);
      standin::PumpMessages();
      return 0;  // closed without a button
    }
    return IDNO;
  });
  EXPECT_EQ(MessageBoxA(nullptr, "Quit?", "Outer", MB_YESNO), IDCANCEL);
  ASSERT_EQ(standin::MessageBoxes().size(), 2u);
  EXPECT_EQ(standin::MessageBoxes()[1].depth, 2);
  EXPECT_EQ(standin::MessageBoxes()[1].answer, IDNO);
  EXPECT_EQ(standin::MessageBoxes()[0].answer, IDCANCEL);
  standin::FailMessageBoxes(true);
  EXPECT_EQ(MessageBoxA(nullptr, "x", "y", MB_OK), 0);
  EXPECT_EQ(standin::MessageBoxes().size(), 2u);
  DestroyWindow(dialog);
}

using MessageBoxDeathTest = WindowSideTest;

TEST_F(MessageBoxDeathTest, ABoxNobodyAnswersOrAnAnswerItCannotGiveStopsTheTest) {
  EXPECT_DEATH(MessageBoxA(nullptr, "Quit?", "Warning", MB_YESNO), "answers no message boxes");
  standin::AnswerMessageBoxes([](const standin::MessageBox&) { return IDOK; });
  EXPECT_DEATH(MessageBoxA(nullptr, "Quit?", "Warning", MB_YESNO), "whose buttons are 6, 7");
}

// ---- Painting ----

using PaintTest = WindowSideTest;

TEST_F(PaintTest, AControlIsPaintedWithTheColoursItsParentAnswers) {
  recorder_.onMessage = [](HWND, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_CTLCOLORSTATIC) {
      SetTextColor(reinterpret_cast<HDC>(wParam), 0x0000FF);
      SetBkColor(reinterpret_cast<HDC>(wParam), GetSysColor(COLOR_BTNFACE));
    }
  };
  recorder_.answers[WM_CTLCOLORSTATIC] = reinterpret_cast<INT_PTR>(GetSysColorBrush(COLOR_BTNFACE));
  HWND dialog = MakeShown(Header(kPlainDialogStyle, 2)
                              .Item(WS_CHILD | WS_VISIBLE, 100, 5, 5, 40, 10, kStaticClass, "red")
                              .Item(kButtonStyle, 101, 5, 25, 50, 14, kButtonClass, "Go"));
  HWND label = standin::FindControl(dialog, 100);
  HWND button = standin::FindControl(dialog, 101);
  standin::ClearPaints();
  RunLoop(dialog);

  std::optional<standin::Paint> paint = standin::LastPaintOf(label);
  ASSERT_TRUE(paint.has_value());
  EXPECT_EQ(paint->colourMessage, WM_CTLCOLORSTATIC);
  EXPECT_EQ(paint->textColour, 0x0000FFu);
  EXPECT_EQ(paint->backgroundColour, 0xC0C0C0u);
  EXPECT_EQ(paint->backgroundMode, OPAQUE);
  EXPECT_EQ(standin::NameOf(paint->brush), "brush(COLOR_BTNFACE)");
  EXPECT_EQ(paint->text, "red");
  EXPECT_EQ(paint->font, standin::FontOf(dialog));
  std::optional<standin::Paint> buttonPaint = standin::LastPaintOf(button);
  ASSERT_TRUE(buttonPaint.has_value());
  EXPECT_EQ(buttonPaint->colourMessage, WM_CTLCOLORBTN);
  EXPECT_EQ(buttonPaint->textColour, 0u) << "the default processing's colours";

  // A static repaints at once when its text changes, and RedrawWindow with
  // RDW_UPDATENOW paints before it returns.
  standin::ClearPaints();
  SetWindowTextA(label, "new");
  ASSERT_EQ(standin::Paints().size(), 1u);
  EXPECT_EQ(standin::Paints()[0].text, "new");
  standin::ClearDeliveries();
  RedrawWindow(label, nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  EXPECT_SEQUENCE(
      (Lines{"STATIC#100 WM_PAINT", "STATIC#100 WM_ERASEBKGND", "dialog#1 WM_CTLCOLORSTATIC"}),
      standin::DeliveryLines(false));
  ASSERT_EQ(standin::Redraws().size(), 1u);
  EXPECT_EQ(standin::Redraws()[0].flags, 0x185u);
  MSG msg;
  EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) << "nothing left to paint";
  DestroyWindow(dialog);
}

TEST_F(PaintTest, AHiddenWindowDoesNotPaint) {
  HWND dialog = Make(TwoButtons());
  RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
  MSG msg;
  EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
  EXPECT_TRUE(standin::Paints().empty());
  DestroyWindow(dialog);
}

// ---- The ledger and GDI faults ----

using LedgerTest = WindowSideTest;

TEST_F(LedgerTest, ListsWhatIsAliveAndRecordsMisuseAsFaults) {
  standin::AddIconResource(standin::ProgramModule(), "#104");
  LOGFONTA logical{};
  logical.lfHeight = -16;
  logical.lfWeight = FW_BOLD;
  std::strcpy(logical.lfFaceName, "MS Sans Serif");
  HFONT font = CreateFontIndirectA(&logical);
  HBRUSH brush = CreateSolidBrush(0x0000FF);
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  auto icon =
      static_cast<HICON>(LoadImageA(standin::ProgramModule(), "#104", IMAGE_ICON, 32, 32, 0));
  EXPECT_SEQUENCE(
      (Lines{"font font#1 \"MS Sans Serif\" height -16 weight 700", "brush brush#1 0x0000FF",
             "DC dc#1 (GetDC of the screen)", "DC dc#2 (memory)", "icon icon#1 32x32 from #104"}),
      standin::LiveObjects());
  EXPECT_EQ(standin::LiveObjectsOf("brush"), Lines{"brush brush#1 0x0000FF"});

  // Stock objects are nobody's to delete.
  EXPECT_TRUE(DeleteObject(GetStockObject(NULL_BRUSH)));
  EXPECT_TRUE(DeleteObject(GetSysColorBrush(COLOR_BTNFACE)));
  EXPECT_EQ(standin::BrushColour(GetSysColorBrush(COLOR_BTNFACE)), 0xC0C0C0u);

  HGDIOBJ old = SelectObject(memory, font);
  EXPECT_EQ(standin::NameOf(old), "SYSTEM_FONT");
  EXPECT_FALSE(DeleteObject(font)) << "still selected";
  SelectObject(memory, old);
  EXPECT_TRUE(DeleteObject(font));
  EXPECT_FALSE(DeleteObject(font));
  EXPECT_TRUE(DeleteObject(brush));
  EXPECT_EQ(ReleaseDC(nullptr, memory), 0);
  EXPECT_EQ(ReleaseDC(nullptr, screen), 1);
  EXPECT_TRUE(DeleteDC(memory));
  EXPECT_TRUE(DestroyIcon(icon));
  EXPECT_FALSE(DestroyIcon(icon));
  EXPECT_SEQUENCE((Lines{"DeleteObject(font#1): still selected into dc#2",
                         "DeleteObject(font#1): deleted twice",
                         "ReleaseDC(NULL, dc#2): not a DC that GetDC gave for that window",
                         "DestroyIcon(icon#1): destroyed twice"}),
                  standin::Faults());
  standin::ClearFaults();
  EXPECT_SEQUENCE(Lines{}, standin::LiveObjects());

  standin::FailCreateSolidBrush(true);
  EXPECT_EQ(CreateSolidBrush(0x00FF00), nullptr);
}

// ---- Resources ----

BOOL CALLBACK NoteName(HMODULE, LPCSTR, LPSTR name, LONG_PTR list) {
  reinterpret_cast<Lines*>(list)->push_back(
      IS_INTRESOURCE(name) ? "#" + std::to_string(reinterpret_cast<uintptr_t>(name))
                           : std::string(name));
  return TRUE;
}

using ResourceTest = WindowSideTest;

TEST_F(ResourceTest, IconsGoByNumberOrNameAndMissingOnesSayWhatIsMissing) {
  HMODULE module = standin::ProgramModule();
  standin::AddIconResource(module, "#104", {32});
  standin::AddIconResource(module, "zeta");
  standin::AddIconResource(module, "Alpha");
  standin::AddIconResource(module, "#7");

  auto big = static_cast<HICON>(LoadImageA(module, "#104", IMAGE_ICON, 32, 32, 0));
  auto small = static_cast<HICON>(LoadImageA(module, MAKEINTRESOURCEA(104), IMAGE_ICON, 16, 16, 0));
  auto own = static_cast<HICON>(LoadImageA(module, "ALPHA", IMAGE_ICON, 0, 0, 0));
  ASSERT_NE(big, nullptr);
  ASSERT_NE(small, nullptr);
  EXPECT_NE(big, small) << "every load is a new icon";
  EXPECT_EQ(standin::IconInfoOf(small).resource, "#104");
  EXPECT_EQ(standin::IconInfoOf(small).width, 16);
  EXPECT_EQ(standin::IconInfoOf(own).width, 32) << "size 0: the image's own";

  EXPECT_EQ(LoadImageA(module, "#105", IMAGE_ICON, 32, 32, 0), nullptr);
  EXPECT_EQ(standin::LastError(), ERROR_RESOURCE_NAME_NOT_FOUND);
  EXPECT_EQ(FindResourceA(module, "#104", RT_BITMAP), nullptr);
  EXPECT_EQ(standin::LastError(), ERROR_RESOURCE_TYPE_NOT_FOUND);
  HRSRC found = FindResourceA(module, "#104", RT_GROUP_ICON);
  EXPECT_NE(found, nullptr);
  EXPECT_EQ(FindResourceA(module, "#104", RT_GROUP_ICON), found);

  Lines names;
  EnumResourceNamesA(module, RT_GROUP_ICON, NoteName, reinterpret_cast<LONG_PTR>(&names));
  EXPECT_SEQUENCE((Lines{"ALPHA", "ZETA", "#7", "#104"}), names);

  DestroyIcon(big);
  DestroyIcon(small);
  DestroyIcon(own);
  EXPECT_SEQUENCE(Lines{}, standin::LiveObjects());
}

// ---- Controls ----

using ControlTest = WindowSideTest;

TEST_F(ControlTest, ListAndComboBoxesKeepTheirStringsAndSelection) {
  HWND dialog = Make(Header(kPlainDialogStyle, 0));
  struct Kind {
    const char* className;
    UINT add, remove, count, reset, setSelection, getSelection, text, textLength;
    bool combo;
  };
  for (const Kind& kind :
       {Kind{"LISTBOX", LB_ADDSTRING, LB_DELETESTRING, LB_GETCOUNT, LB_RESETCONTENT, LB_SETCURSEL,
             LB_GETCURSEL, LB_GETTEXT, LB_GETTEXTLEN, false},
        Kind{"COMBOBOX", CB_ADDSTRING, CB_DELETESTRING, CB_GETCOUNT, CB_RESETCONTENT, CB_SETCURSEL,
             CB_GETCURSEL, CB_GETLBTEXT, CB_GETLBTEXTLEN, true}}) {
    SCOPED_TRACE(kind.className);
    HWND list = CreateWindowExA(0, kind.className, "", WS_CHILD | WS_VISIBLE, 0, 0, 50, 50, dialog,
                                reinterpret_cast<HMENU>(40), nullptr, nullptr);
    auto add = [&](const char* text) {
      return SendMessageA(list, kind.add, 0, reinterpret_cast<LPARAM>(text));
    };
    EXPECT_EQ(add("b"), 0);
    EXPECT_EQ(add("a"), 1);
    EXPECT_EQ(add("c"), 2);
    EXPECT_EQ(SendMessageA(list, kind.getSelection, 0, 0), -1);
    EXPECT_EQ(SendMessageA(list, kind.setSelection, 1, 0), 1);
    EXPECT_EQ(SendMessageA(list, kind.remove, 0, 0), 2) << "the count that is left";
    EXPECT_EQ(SendMessageA(list, kind.getSelection, 0, 0), 0) << "the selection moves along";
    EXPECT_EQ(SendMessageA(list, kind.textLength, 0, 0), 1);
    char text[8] = {};
    EXPECT_EQ(SendMessageA(list, kind.text, 0, reinterpret_cast<LPARAM>(text)), 1);
    EXPECT_STREQ(text, "a");
    EXPECT_EQ(SendMessageA(list, kind.remove, 7, 0), -1);
    EXPECT_EQ(SendMessageA(list, kind.setSelection, 7, 0), -1);
    EXPECT_EQ(standin::SelectionOf(list), kind.combo ? -1 : 0)
        << "a combo box drops its selection, a list box keeps it";
    EXPECT_EQ(standin::ItemsOf(list), (Lines{"a", "c"}));
    SendMessageA(list, kind.reset, 0, 0);
    EXPECT_EQ(SendMessageA(list, kind.count, 0, 0), 0);
    DestroyWindow(list);
  }
  HWND sorted = CreateWindowExA(0, "LISTBOX", "", WS_CHILD | LBS_SORT, 0, 0, 50, 50, dialog,
                                reinterpret_cast<HMENU>(41), nullptr, nullptr);
  SendMessageA(sorted, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("beta"));
  EXPECT_EQ(SendMessageA(sorted, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("Alpha")), 0);
  EXPECT_EQ(standin::ItemsOf(sorted), (Lines{"Alpha", "beta"}));
  DestroyWindow(dialog);
}

TEST_F(ControlTest, CheckBoxesAndOptionButtonsKeepTheirCheck) {
  HWND dialog = MakeShown(
      Header(kPlainDialogStyle, 4)
          .Item(kButtonStyle | BS_AUTOCHECKBOX, 20, 5, 5, 50, 10, kButtonClass, "check")
          .Item(kButtonStyle | BS_AUTORADIOBUTTON | WS_GROUP, 21, 5, 20, 50, 10, kButtonClass, "x")
          .Item(kButtonStyle | BS_AUTORADIOBUTTON, 22, 5, 35, 50, 10, kButtonClass, "y")
          .Item(kButtonStyle | BS_AUTORADIOBUTTON, 23, 5, 50, 50, 10, kButtonClass, "z"));
  HWND check = standin::FindControl(dialog, 20);
  EXPECT_EQ(SendMessageA(check, BM_GETCHECK, 0, 0), BST_UNCHECKED);
  standin::Click(check);
  RunLoop(dialog);
  EXPECT_EQ(SendMessageA(check, BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_SEQUENCE((Lines{"dialog#1 WM_COMMAND(20, BUTTON#20)"}), Seen({WM_COMMAND}));
  SendMessageA(check, BM_SETCHECK, BST_UNCHECKED, 0);
  EXPECT_EQ(standin::CheckOf(check), BST_UNCHECKED);

  CheckRadioButton(dialog, 21, 23, 22);
  auto checks = [&] {
    return std::vector<int>{standin::CheckOf(standin::FindControl(dialog, 21)),
                            standin::CheckOf(standin::FindControl(dialog, 22)),
                            standin::CheckOf(standin::FindControl(dialog, 23))};
  };
  EXPECT_EQ(checks(), (std::vector<int>{0, 1, 0}));
  standin::Click(standin::FindControl(dialog, 23));
  RunLoop(dialog);
  EXPECT_EQ(checks(), (std::vector<int>{0, 0, 1}));

  HWND push = CreateWindowExA(0, "BUTTON", "push", WS_CHILD, 0, 0, 5, 5, dialog,
                              reinterpret_cast<HMENU>(24), nullptr, nullptr);
  SendMessageA(push, BM_SETCHECK, BST_CHECKED, 0);
  EXPECT_EQ(SendMessageA(push, BM_GETCHECK, 0, 0), BST_UNCHECKED) << "a push button has none";
  DestroyWindow(dialog);
}

TEST_F(ControlTest, ImagesAreKeptAndAFontWithRedrawRepaintsAStaticAtOnce) {
  standin::AddIconResource(standin::ProgramModule(), "#104");
  HWND dialog = MakeShown(Header(kPlainDialogStyle, 2)
                              .Item(WS_CHILD | WS_VISIBLE, 100, 5, 5, 40, 10, kStaticClass, "x")
                              .Item(kButtonStyle, 101, 5, 25, 50, 14, kButtonClass, "Go"));
  RunLoop(dialog);
  HWND label = standin::FindControl(dialog, 100);
  HWND button = standin::FindControl(dialog, 101);
  HANDLE first = LoadImageA(standin::ProgramModule(), "#104", IMAGE_ICON, 32, 32, 0);
  HANDLE second = LoadImageA(standin::ProgramModule(), "#104", IMAGE_ICON, 32, 32, 0);
  EXPECT_EQ(SendMessageA(label, STM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(first)), 0);
  EXPECT_EQ(SendMessageA(label, STM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(second)),
            reinterpret_cast<LRESULT>(first));
  EXPECT_EQ(standin::ImageOf(label), second);
  SendMessageA(button, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(first));
  EXPECT_EQ(reinterpret_cast<HANDLE>(SendMessageA(button, BM_GETIMAGE, IMAGE_ICON, 0)), first);
  RunLoop(dialog);

  HFONT font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  standin::ClearDeliveries();
  SendMessageA(label, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  SendMessageA(button, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  EXPECT_SEQUENCE((Lines{"STATIC#100 WM_SETFONT", "STATIC#100 WM_PAINT", "STATIC#100 WM_ERASEBKGND",
                         "dialog#1 WM_CTLCOLORSTATIC", "BUTTON#101 WM_SETFONT"}),
                  standin::DeliveryLines(false));
  MSG msg;
  ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE));
  EXPECT_EQ(standin::MessageLine(msg.hwnd, msg.message, msg.wParam, msg.lParam),
            "BUTTON#101 WM_PAINT(0, 0)")
      << "a button repaints later";
  RunLoop(dialog);
  EXPECT_EQ(standin::LastPaintOf(button)->font, font);
  DestroyWindow(dialog);
  DestroyIcon(static_cast<HICON>(first));
  DestroyIcon(static_cast<HICON>(second));
}

TEST_F(ControlTest, AnOwnerDrawnStaticAsksItsParentToDrawIt) {
  DRAWITEMSTRUCT seen{};
  bool dcAlive = false;
  recorder_.onMessage = [&](HWND, UINT message, WPARAM, LPARAM lParam) {
    if (message == WM_DRAWITEM) {
      seen = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      dcAlive = standin::IsObjectAlive(seen.hDC);
    }
  };
  HWND dialog = MakeShown(
      Header(kPlainDialogStyle, 1)
          .Item(WS_CHILD | WS_VISIBLE | SS_OWNERDRAW, 14, 5, 5, 40, 20, kStaticClass, ""));
  RunLoop(dialog);
  HWND surface = standin::FindControl(dialog, 14);
  EXPECT_EQ(seen.CtlType, static_cast<UINT>(ODT_STATIC));
  EXPECT_EQ(seen.CtlID, 14u);
  EXPECT_EQ(seen.itemAction, ODA_DRAWENTIRE);
  EXPECT_EQ(seen.hwndItem, surface);
  EXPECT_TRUE(dcAlive);
  EXPECT_EQ(Text(seen.rcItem), Text(RECT{0, 0, 60, 33})) << "the control's client area";
  EXPECT_SEQUENCE(Lines{}, Seen({WM_CTLCOLORSTATIC})) << "owner-drawn: no colour message";
  DestroyWindow(dialog);
}

// ---- Geometry and the screen ----

using GeometryTest = WindowSideTest;

TEST_F(GeometryTest, SetWindowPosMovesAndSizesAndTellsTheWindow) {
  HWND dialog = Make(Header(kPlainDialogStyle, 0));
  standin::ClearDeliveries();
  EXPECT_TRUE(SetWindowPos(
      dialog, nullptr, 10, 20, 500, 300,
      SWP_NOZORDER | SWP_NOREDRAW | SWP_NOACTIVATE | SWP_NOCOPYBITS | SWP_NOOWNERZORDER));
  EXPECT_SEQUENCE((Lines{"dialog#1 WM_WINDOWPOSCHANGING", "dialog#1 WM_WINDOWPOSCHANGED",
                         "dialog#1 WM_MOVE", "dialog#1 WM_SIZE"}),
                  standin::DeliveryLines(false));
  EXPECT_SEQUENCE((Lines{"dialog#1 WM_MOVE(0, 0x2A000D)", "dialog#1 WM_SIZE(0, 0x11301EE)"}),
                  Seen({WM_MOVE, WM_SIZE}))
      << "the client origin (13, 42) and the client size 494 x 275, as Wine reports them";
  RECT rect;
  GetWindowRect(dialog, &rect);
  EXPECT_EQ(Text(rect), Text(RECT{10, 20, 510, 320}));
  GetClientRect(dialog, &rect);
  EXPECT_EQ(Text(rect), Text(RECT{0, 0, 494, 275}));
  POINT point{0, 0};
  ClientToScreen(dialog, &point);
  EXPECT_EQ(point.x, 13);
  EXPECT_EQ(point.y, 42);
  ScreenToClient(dialog, &point);
  EXPECT_EQ(point.x, 0);
  EXPECT_EQ(point.y, 0);
  DestroyWindow(dialog);
}

TEST_F(GeometryTest, TheScreenAndItsWorkAreaCanBeChosen) {
  standin::SetScreenSize(800, 600);
  standin::SetWorkArea(RECT{0, 0, 800, 560});
  EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 800);
  EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), 600);
  RECT work{};
  EXPECT_TRUE(SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0));
  EXPECT_EQ(Text(work), Text(RECT{0, 0, 800, 560}));
  HWND centred = Make(Header(kWizardStyle, 0, 84, 53, 418, 240));
  EXPECT_EQ(Text(standin::WindowRectOf(centred)), Text(RECT{83, 72, 716, 487}));
  HWND large = Make(Header(kWizardStyle, 0, 0, 0, 600, 400));
  EXPECT_EQ(standin::WindowRectOf(large).left, 0) << "no further left than the work area";
  EXPECT_EQ(standin::WindowRectOf(large).top, 0);
  DestroyWindow(centred);
  DestroyWindow(large);
}

// ---- The call log ----

using CallLogTest = WindowSideTest;

TEST_F(CallLogTest, HoldsOnlyTheProgramsOwnCallsWithReadableNames) {
  HWND dialog = Make(TwoButtons());
  HWND button = standin::FindControl(dialog, 11);
  SendMessageA(button, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("Go"));
  EnableWindow(button, FALSE);
  HDC dc = GetDC(dialog);
  SelectObject(dc, GetStockObject(NULL_BRUSH));
  SetTextColor(dc, RGB(255, 0, 0));
  ReleaseDC(dialog, dc);
  PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(11, BN_CLICKED), reinterpret_cast<LPARAM>(button));
  standin::PumpMessages();  // the test's own: not logged
  EXPECT_SEQUENCE(
      (Lines{"CreateDialogIndirectParamA(0x400000, dlg{style=0x80C800C0,ex=0x0,items=2,x=10,y=20,"
             "cx=200,cy=100,class=0,title=\" \",font=8 \"MS Sans Serif\"}, NULL, dlgproc, 0)",
             "SendMessageA(BUTTON#11, WM_SETTEXT, 0, \"Go\")", "EnableWindow(BUTTON#11, 0)",
             "GetDC(dialog#1)", "GetStockObject(5)", "SelectObject(dc#1, NULL_BRUSH)",
             "SetTextColor(dc#1, 0xFF)", "ReleaseDC(dialog#1, dc#1)",
             "PostMessageA(dialog#1, WM_COMMAND, 11, BUTTON#11)"}),
      standin::Calls());
  DestroyWindow(dialog);
}

// ---- Focus ----

using FocusTest = WindowSideTest;

TEST_F(FocusTest, HidingOrDisablingTheFocusedControlHandsTheFocusOn) {
  HWND dialog = MakeShown(TwoButtons());
  HWND first = standin::FindControl(dialog, 11);
  HWND second = standin::FindControl(dialog, 12);
  ASSERT_EQ(standin::Focus(), first);
  ShowWindow(first, SW_HIDE);
  EXPECT_EQ(standin::Focus(), second) << "to the dialog, which passes it to its next tab stop";
  EnableWindow(second, FALSE);
  EXPECT_EQ(standin::Focus(), nullptr) << "disabling drops the focus altogether";
  RunLoop(dialog);
  standin::ClearDeliveries();
  standin::PressKey(VK_TAB);
  RunLoop(dialog);
  EXPECT_SEQUENCE((Lines{"dialog#1 WM_SYSKEYDOWN", "dialog#1 WM_SYSCHAR", "dialog#1 WM_SYSKEYUP"}),
                  standin::DeliveryLines(false))
      << "without a focus the active window gets the keys as system keys";
  DestroyWindow(dialog);
}

// ---- The queue's filters ----

TEST_F(QueueTest, AWindowFilterTakesItsChildrenTooAndThreadMessagesHaveNoWindow) {
  HWND dialog = Make(TwoButtons());
  HWND button = standin::FindControl(dialog, 11);
  PostMessageA(nullptr, WM_USER + 7, 0, 0);
  PostMessageA(button, WM_USER + 8, 0, 0);
  PostMessageA(dialog, WM_USER + 9, 0, 0);
  MSG msg;
  ASSERT_TRUE(PeekMessageA(&msg, dialog, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.message, WM_USER + 8) << "a child's message passes the dialog's filter";
  ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_USER + 9, WM_USER + 9, PM_REMOVE));
  EXPECT_EQ(msg.hwnd, dialog);
  ASSERT_TRUE(PeekMessageA(&msg, reinterpret_cast<HWND>(-1), 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.message, WM_USER + 7);
  EXPECT_EQ(msg.hwnd, nullptr);
  EXPECT_EQ(DispatchMessageA(&msg), 0);
  EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
  DestroyWindow(dialog);
}

LRESULT CALLBACK NeverPaints(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return message == WM_PAINT ? 0 : DefWindowProcA(window, message, wParam, lParam);
}

using QueueDeathTest = WindowSideTest;

TEST_F(QueueDeathTest, AWindowThatNeverPaintsStopsTheTestInsteadOfLoopingForEver) {
  standin::RegisterWindowClass("NeverPaints", NeverPaints);
  CreateWindowExA(0, "NeverPaints", "", WS_POPUP | WS_VISIBLE, 0, 0, 10, 10, nullptr, nullptr,
                  nullptr, nullptr);
  EXPECT_DEATH(
      {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE) != FALSE) {
          DispatchMessageA(&msg);
        }
      },
      "WM_PAINT for window#1 was handed out 1000 times");
  for (HWND window : standin::TopLevelWindows()) {
    DestroyWindow(window);
  }
}

// ---- GDI ----

using GdiTest = WindowSideTest;

TEST_F(GdiTest, ADcKeepsItsColoursModeAndObjects) {
  HDC screen = GetDC(nullptr);
  EXPECT_EQ(SetTextColor(screen, 0x0000FF), 0u);
  EXPECT_EQ(SetBkColor(screen, 0xC0C0C0), 0xFFFFFFu);
  EXPECT_EQ(SetBkMode(screen, TRANSPARENT), OPAQUE);
  EXPECT_EQ(GetBkMode(screen), TRANSPARENT);
  standin::DcState state = standin::DcStateOf(screen);
  EXPECT_EQ(state.textColour, 0x0000FFu);
  EXPECT_EQ(state.backgroundColour, 0xC0C0C0u);
  EXPECT_EQ(state.backgroundMode, TRANSPARENT);
  EXPECT_EQ(standin::NameOf(state.font), "SYSTEM_FONT");

  HDC memory = CreateCompatibleDC(screen);
  HDC other = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, 40, 20);
  HGDIOBJ old = SelectObject(memory, bitmap);
  EXPECT_EQ(standin::NameOf(old), "DEFAULT_BITMAP");
  EXPECT_EQ(SelectObject(other, bitmap), nullptr) << "a bitmap goes into one DC at a time";
  EXPECT_EQ(SelectObject(screen, bitmap), nullptr) << "and only into a memory DC";
  EXPECT_TRUE(BitBlt(screen, 0, 0, 40, 20, memory, 0, 0, SRCCOPY));
  EXPECT_EQ(standin::Blits(), Lines{"BitBlt(dc#1, 0, 0, 40, 20, dc#2, 0, 0, SRCCOPY)"});

  LOGFONTA logical{};
  logical.lfHeight = -16;
  logical.lfWeight = FW_BOLD;
  HFONT font = CreateFontIndirectA(&logical);
  SelectObject(memory, font);
  TEXTMETRICA metrics{};
  EXPECT_TRUE(GetTextMetricsA(memory, &metrics));
  EXPECT_EQ(metrics.tmHeight, 19);
  EXPECT_EQ(metrics.tmWeight, FW_BOLD);
  EXPECT_EQ(GetDeviceCaps(memory, LOGPIXELSX), 96);

  SelectObject(memory, old);
  SelectObject(memory, GetStockObject(SYSTEM_FONT));
  DeleteObject(bitmap);
  DeleteObject(font);
  DeleteDC(memory);
  DeleteDC(other);
  ReleaseDC(nullptr, screen);
  EXPECT_FALSE(standin::DcStateOf(screen).alive);
  EXPECT_EQ(SetTextColor(screen, 0), CLR_INVALID) << "a released DC is gone";
  EXPECT_SEQUENCE(Lines{}, standin::LiveObjects());
}

TEST_F(ResourceTest, SharedIconsStayAndBitmapsComeFromTheirOwnTable) {
  HMODULE module = standin::ProgramModule();
  standin::AddIconResource(module, "APP", {48, 16});
  standin::AddBitmapResource(module, "LOGO", 40, 20);
  HANDLE shared = LoadImageA(module, "app", IMAGE_ICON, 0, 0, LR_SHARED | LR_DEFAULTSIZE);
  EXPECT_EQ(LoadImageA(module, "APP", IMAGE_ICON, 0, 0, LR_SHARED | LR_DEFAULTSIZE), shared);
  EXPECT_EQ(standin::IconInfoOf(static_cast<HICON>(shared)).width, 32);
  HANDLE own = LoadImageA(module, "APP", IMAGE_ICON, 0, 0, 0);
  EXPECT_EQ(standin::IconInfoOf(static_cast<HICON>(own)).width, 48) << "its first image";
  HANDLE logo = LoadImageA(module, "logo", IMAGE_BITMAP, 0, 0, 0);
  EXPECT_SEQUENCE((Lines{"icon icon#2 48x48 from APP", "bitmap bitmap#1 40x20 from LOGO"}),
                  standin::LiveObjects())
      << "a shared icon is the platform's";
  EXPECT_NE(FindResourceA(module, "LOGO", RT_BITMAP), nullptr);
  EXPECT_TRUE(DestroyIcon(static_cast<HICON>(shared)));
  EXPECT_SEQUENCE((Lines{"DestroyIcon(icon#1): a shared icon, which the platform keeps"}),
                  standin::Faults());
  standin::ClearFaults();
  DestroyIcon(static_cast<HICON>(own));
  DeleteObject(logo);
  EXPECT_SEQUENCE(Lines{}, standin::LiveObjects());
}

}  // namespace
