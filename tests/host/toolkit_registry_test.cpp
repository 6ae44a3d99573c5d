// The window registry: what a new record holds, duplicates and lack of memory, and what
// discarding a window's records releases, in which order.
#include <cstring>

#include "dialogs/controls.h"
#include "toolkit_fixture.h"

namespace toolkit_test {
namespace {

using ToolkitRegistryTest = ToolkitTest;

HWND Fake(uintptr_t value) {
  return reinterpret_cast<HWND>(value);
}

TEST_F(ToolkitRegistryTest, ANewRecordIsZeroButForItsKeyKindAndColours) {
  standin::SetSysColor(COLOR_WINDOWTEXT, 0x123456);
  standin::SetSysColor(COLOR_BTNFACE, 0x654321);
  WindowRecord* older = RegisterRecord(Fake(0x100), nullptr, 0x4001, 0);
  ASSERT_NE(older, nullptr);

  WindowRecord* record = RegisterRecord(Fake(0x200), Fake(0x100), 0x2001, 9);
  ASSERT_NE(record, nullptr);

  // Everything not filled by registration must be zero, padding included.
  WindowRecord expected;
  std::memset(&expected, 0, sizeof expected);
  expected.next = older;  // newest first
  expected.window = Fake(0x200);
  expected.parent = Fake(0x100);
  expected.kindFlags = 0x2001;
  expected.controlKind = 9;
  expected.background = -3;
  expected.foreground = -3;
  expected.defaultTextColour = 0x123456;
  expected.defaultBackgroundColour = 0x654321;
  EXPECT_EQ(std::memcmp(&expected, record, sizeof expected), 0);
  EXPECT_SEQUENCE((Lines{"GlobalAlloc(0x40, size)", "GetSysColor(8)", "GetSysColor(15)",
                         "GlobalAlloc(0x40, size)", "GetSysColor(8)", "GetSysColor(15)"}),
                  standin::Calls());
  EXPECT_EQ(FindRecord(Fake(0x200)), record);
  EXPECT_EQ(FindRecord(Fake(0x100)), older);

  DiscardRecord(Fake(0x100));  // the control's record goes with it
  EXPECT_EQ(FindRecord(Fake(0x200)), nullptr);
  EXPECT_EQ(FindRecord(Fake(0x100)), nullptr);
}

TEST_F(ToolkitRegistryTest, ADuplicateOrNoMemoryFailsAndChangesNothing) {
  WindowRecord* first = RegisterRecord(Fake(0x100), Fake(0x50), 0x4002, 0);
  ASSERT_NE(first, nullptr);
  first->background = 0x00FF00;
  standin::ClearCalls();

  EXPECT_EQ(RegisterRecord(Fake(0x100), Fake(0x60), 0x2001, 5), nullptr);
  EXPECT_SEQUENCE(Lines{}, standin::Calls()) << "a duplicate is refused before any allocation";
  EXPECT_EQ(FindRecord(Fake(0x100)), first);
  EXPECT_EQ(first->parent, Fake(0x50));
  EXPECT_EQ(first->kindFlags, 0x4002u);
  EXPECT_EQ(first->controlKind, 0);
  EXPECT_EQ(first->background, 0x00FF00);

  standin::FailGlobalAllocFrom(1);
  EXPECT_EQ(RegisterRecord(Fake(0x200), nullptr, 0x4001, 0), nullptr);
  standin::FailGlobalAllocFrom(0);
  EXPECT_EQ(FindRecord(Fake(0x200)), nullptr);
  EXPECT_EQ(first->next, nullptr) << "nothing was linked in";

  first->background = -3;
  DiscardRecord(Fake(0x100));
}

TEST_F(ToolkitRegistryTest, AnUnknownWindowHasNoRecordAndDiscardingItDoesNothing) {
  ASSERT_NE(RegisterRecord(Fake(0x100), nullptr, 0x4001, 0), nullptr);
  standin::ClearCalls();
  EXPECT_EQ(FindRecord(Fake(0x300)), nullptr);
  EXPECT_EQ(FindRecord(nullptr), nullptr);
  DiscardRecord(Fake(0x300));
  DiscardRecord(nullptr);
  EXPECT_SEQUENCE(Lines{}, standin::Calls());
  EXPECT_NE(FindRecord(Fake(0x100)), nullptr);
  DiscardRecord(Fake(0x100));
}

// A dialog with two controls, the first of which holds a control of its own; each record
// has a brush of its own colour, so the order of release shows in the calls.
TEST_F(ToolkitRegistryTest, DiscardingADialogReleasesItsControlsFirstEachWithItsOwnFirst) {
  standin::AddIconResource(standin::ProgramModule(), "#104");
  standin::AddBitmapResource(standin::ProgramModule(), "logo", 20, 10);
  HWND dialog = Fake(0x100);
  HWND first = Fake(0x101);
  HWND inner = Fake(0x102);
  HWND second = Fake(0x103);
  struct Made {
    HWND window;
    HWND parent;
    DWORD kind;
    Colour background;
  };
  for (Made m : {Made{dialog, nullptr, 0x4001, 0x10}, Made{first, dialog, 0x2101, 0x20},
                 Made{inner, first, 0x2001, 0x30}, Made{second, dialog, 0x2201, 0x40}}) {
    WindowRecord* record = RegisterRecord(m.window, m.parent, m.kind, 0);
    ASSERT_NE(record, nullptr);
    record->background = m.background;
    record->brush = CreateSolidBrush(static_cast<COLORREF>(m.background));
  }
  WindowRecord* dialogRecord = FindRecord(dialog);
  dialogRecord->bigIcon = static_cast<HICON>(LoadImageA(ProgramInstance(), "#104", 1, 32, 32, 0));
  dialogRecord->smallIcon = static_cast<HICON>(LoadImageA(ProgramInstance(), "#104", 1, 16, 16, 0));
  LOGFONTA face{};
  HFONT font = CreateFontIndirectA(&face);
  dialogRecord->dialogFont = font;
  FindRecord(first)->image = LoadImageA(ProgramInstance(), "#104", IMAGE_ICON, 0, 0, 0);
  FindRecord(second)->image = LoadImageA(ProgramInstance(), "logo", IMAGE_BITMAP, 0, 0, 0);
  standin::ClearCalls();

  DiscardRecord(dialog);

  EXPECT_SEQUENCE((Lines{"DeleteObject(brush#4)", "DeleteObject(bitmap#1)", "GlobalFree(block)",
                         "DeleteObject(brush#3)", "GlobalFree(block)", "DeleteObject(brush#2)",
                         "DestroyIcon(icon#3)", "GlobalFree(block)", "DeleteObject(brush#1)",
                         "DestroyIcon(icon#1)", "DestroyIcon(icon#2)", "GlobalFree(block)"}),
                  standin::CallsTo({"DeleteObject", "DestroyIcon", "GlobalFree"}));
  for (HWND window : {dialog, first, inner, second}) {
    EXPECT_EQ(FindRecord(window), nullptr);
  }
  EXPECT_TRUE(standin::IsObjectAlive(font)) << "the dialog font is never the toolkit's";
  DeleteObject(font);
}

TEST_F(ToolkitRegistryTest, ASharedBrushGoesWithTheLastRecordOfItsColour) {
  HWND one = Dialog("one");
  HWND two = Dialog("two");
  Label(one, 1001);
  Label(two, 1001);
  SetControlColor(one, 1001, 0, 0x00FF00);
  SetControlColor(two, 1001, 0, 0x00FF00);
  HBRUSH brush = FindRecord(ControlHandle(one, 1001))->brush;
  ASSERT_EQ(standin::NameOf(brush), "brush#1");
  standin::ClearCalls();

  DestroyWindow(one);
  EXPECT_TRUE(standin::IsObjectAlive(brush)) << "the other dialog's label still paints with it";
  DestroyWindow(two);
  EXPECT_FALSE(standin::IsObjectAlive(brush));
  EXPECT_SEQUENCE(Lines{"DeleteObject(brush#1)"}, standin::CallsTo({"DeleteObject"}));
}

}  // namespace
}  // namespace toolkit_test
