// What the conformance checks share: dialog templates written word by word, a journal of
// the messages that windows receive, and the count of the stand-in's stated
// simplifications. Every check is built twice, against the stand-in (host) and against
// a real Win32 implementation (Wine), and every expectation holds on both.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <initializer_list>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "harness.h"
#include "message_table.h"
#include "platform.h"

namespace conformance {

using Lines = std::vector<std::string>;

// Where the stand-in answers differently on purpose. True on the stand-in, where the
// check uses the stand-in's answer; the reason says why in one line. Every use is
// counted and listed in the ring's summary.
bool Simplifies(const char* reason, const char* file, int line);
#define STANDIN_SIMPLIFIES(reason) ::conformance::Simplifies(reason, __FILE__, __LINE__)

// ---- Templates, written word by word as a program writes them in memory ----

class TemplateWriter {
 public:
  TemplateWriter& Word(WORD value);
  TemplateWriter& Dword(DWORD value);
  TemplateWriter& Text(const char* text);
  // A dialog item: fixed part, class by ordinal, text, no creation data.
  TemplateWriter& Item(DWORD style, WORD id, short x, short y, short cx, short cy, WORD ordinal,
                       const char* text);
  // A copy exactly as long as the template: the memory after it belongs to nobody.
  std::unique_ptr<WORD[]> Bytes() const;
  size_t Words() const { return words_.size(); }
  TemplateWriter Cut(size_t words) const;

 private:
  std::vector<WORD> words_;
};

constexpr WORD kButtonClass = 0x80;
constexpr WORD kStaticClass = 0x82;
constexpr DWORD kPlainStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT;
constexpr DWORD kButtonStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP;

// The fixed part, no menu, the dialog class, the title " " and, with DS_SETFONT,
// MS Sans Serif at 8 points: the template the toolkit writes.
TemplateWriter Header(DWORD style, WORD items, short x = 10, short y = 20, short cx = 200,
                      short cy = 100, DWORD exStyle = 0);
TemplateWriter TwoButtons(DWORD style = kPlainStyle);  // buttons 11 and 12, tab stops

// ---- The journal: what windows receive, as rows "name MESSAGE(w, l)" ----

struct Journal {
  Lines rows;
  std::map<UINT, INT_PTR> answers;  // the dialog procedure's answers
  std::function<void(HWND, UINT, WPARAM, LPARAM)> onMessage;
};
Journal& TheJournal();

// Names a window in the rows (other handles show as "window", a DC as "dc").
void Name(HWND window, const std::string& name);
std::string RowOf(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
using messages::MessageName;

// The dialog procedure of the checks: writes a row, runs onMessage, and answers from
// answers (0 for the rest).
INT_PTR CALLBACK JournalDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Puts a journal window procedure in front of a window's own (subclassing).
void Watch(HWND window, const std::string& name);

// The rows of the given messages, in order; only those of one window when it is named.
Lines Seen(std::initializer_list<UINT> messages, const std::string& window = "");

// A dialog from the template's bytes, with the journal's procedure, named "dialog" (or
// as given). Its controls are watched, named by class and id ("BUTTON#11").
HWND MakeDialog(const TemplateWriter& writer, HWND owner = nullptr, LPARAM param = 0,
                const std::string& name = "dialog");
// The same, shown as the toolkit shows it: its procedure keeps WM_ACTIVATE for itself.
HWND MakeShownDialog(const TemplateWriter& writer);

// A top-level window of the checks' own class, shown, at (100, 80), 600 x 400.
HWND MakeOwner();

// ---- Reading windows through the platform ----

std::string Text(const RECT& rect);
RECT WindowRect(HWND window);          // screen coordinates
RECT ClientRectOnScreen(HWND window);  // the client area in screen coordinates
RECT RectInParent(HWND window);        // a child's rectangle, its parent's client coordinates
std::string ClassOf(HWND window);
std::string TextOf(HWND window);
std::vector<HWND> Children(HWND window);  // in z (and tab) order
LOGFONTA FontInfo(HFONT font);
// The base units of a dialog: MapDialogRect of 4 x 8 units.
POINT BaseUnits(HWND dialog);

// Each check starts on a fresh platform and ends with nothing left behind.
class Check : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
};

}  // namespace conformance
