// The names of the messages that the program, its tests and the stand-in platform meet,
// as call logs and expected tables write them: "WM_SETFONT", "DM_SETDEFID", "WM_USER+9",
// "WM_APP+1", or "0x0118" for one that is not named here. One table, for the stand-in's
// call log and for the checks of both rings.
#pragma once

#include <windows.h>

#include <cstdio>
#include <string>

namespace messages {

inline std::string MessageName(UINT message) {
  struct Named {
    UINT message;
    const char* name;
  };
#define NAMED(m) \
  Named {        \
    m, #m        \
  }
  // clang-format off
  static const Named kNames[] = {
      NAMED(WM_NULL), NAMED(WM_CREATE), NAMED(WM_DESTROY), NAMED(WM_MOVE), NAMED(WM_SIZE),
      NAMED(WM_ACTIVATE), NAMED(WM_SETFOCUS), NAMED(WM_KILLFOCUS), NAMED(WM_ENABLE),
      NAMED(WM_SETTEXT), NAMED(WM_GETTEXT), NAMED(WM_GETTEXTLENGTH), NAMED(WM_PAINT), NAMED(WM_CLOSE),
      NAMED(WM_QUIT), NAMED(WM_ERASEBKGND), NAMED(WM_SHOWWINDOW), NAMED(WM_ACTIVATEAPP),
      NAMED(WM_CANCELMODE), NAMED(WM_NEXTDLGCTL), NAMED(WM_DRAWITEM), NAMED(WM_VKEYTOITEM),
      NAMED(WM_CHARTOITEM), NAMED(WM_SETFONT), NAMED(WM_GETFONT), NAMED(WM_QUERYDRAGICON),
      NAMED(WM_COMPAREITEM), NAMED(WM_WINDOWPOSCHANGING), NAMED(WM_WINDOWPOSCHANGED),
      NAMED(WM_GETICON), NAMED(WM_SETICON), NAMED(WM_NCCREATE), NAMED(WM_NCDESTROY),
      NAMED(WM_NCPAINT), NAMED(WM_NCACTIVATE), NAMED(WM_GETDLGCODE), NAMED(WM_NCLBUTTONDOWN),
      NAMED(WM_NCLBUTTONUP), NAMED(EM_SETSEL), NAMED(BM_GETCHECK), NAMED(BM_SETCHECK),
      NAMED(BM_GETSTATE), NAMED(BM_SETSTATE), NAMED(BM_SETSTYLE), NAMED(BM_CLICK),
      NAMED(BM_GETIMAGE), NAMED(BM_SETIMAGE), NAMED(WM_KEYDOWN), NAMED(WM_KEYUP), NAMED(WM_CHAR),
      NAMED(WM_SYSKEYDOWN), NAMED(WM_SYSKEYUP), NAMED(WM_SYSCHAR), NAMED(WM_INITDIALOG),
      NAMED(WM_COMMAND), NAMED(WM_SYSCOMMAND), NAMED(WM_TIMER), NAMED(WM_HSCROLL),
      NAMED(WM_VSCROLL), NAMED(WM_ENTERIDLE), NAMED(WM_CTLCOLORMSGBOX), NAMED(WM_CTLCOLOREDIT),
      NAMED(WM_CTLCOLORLISTBOX), NAMED(WM_CTLCOLORBTN), NAMED(WM_CTLCOLORDLG),
      NAMED(WM_CTLCOLORSCROLLBAR), NAMED(WM_CTLCOLORSTATIC), NAMED(CB_ADDSTRING),
      NAMED(CB_DELETESTRING), NAMED(CB_GETCOUNT), NAMED(CB_GETCURSEL), NAMED(CB_GETLBTEXT),
      NAMED(CB_GETLBTEXTLEN), NAMED(CB_RESETCONTENT), NAMED(CB_SETCURSEL), NAMED(STM_SETIMAGE),
      NAMED(STM_GETIMAGE), NAMED(LB_ADDSTRING), NAMED(LB_DELETESTRING), NAMED(LB_RESETCONTENT),
      NAMED(LB_SETCURSEL), NAMED(LB_GETCURSEL), NAMED(LB_GETTEXT), NAMED(LB_GETTEXTLEN),
      NAMED(LB_GETCOUNT), NAMED(WM_MOUSEMOVE), NAMED(WM_LBUTTONDOWN), NAMED(WM_LBUTTONUP),
      NAMED(WM_PARENTNOTIFY), NAMED(WM_QUERYNEWPALETTE), NAMED(DM_GETDEFID), NAMED(DM_SETDEFID),
  };
  // clang-format on
#undef NAMED
  for (const Named& named : kNames) {
    if (named.message == message) {
      return named.name;
    }
  }
  char text[24];
  if (message >= WM_APP) {
    std::snprintf(text, sizeof text, "WM_APP+%u", message - WM_APP);
  } else if (message >= WM_USER) {
    std::snprintf(text, sizeof text, "WM_USER+%u", message - WM_USER);
  } else {
    std::snprintf(text, sizeof text, "0x%04X", message);
  }
  return text;
}

}  // namespace messages
