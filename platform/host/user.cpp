// The stand-in's window side. Placeholder until the window side is built: it holds only
// what the kernel side and the registry need.
#include "platform.h"
#include "standin_internal.h"

namespace standin::detail {
void ResetWindowSide() {}
void AddWindowSideLiveObjects(std::vector<std::string>* /*lines*/) {}
void OnIdle(DWORD /*milliseconds*/) {}
}  // namespace standin::detail

DWORD GetSysColor(int nIndex) { return nIndex == COLOR_BTNFACE ? 0xC0C0C0 : 0; }
BOOL DeleteObject(HGDIOBJ /*ho*/) { return TRUE; }
BOOL DestroyIcon(HICON /*hIcon*/) { return TRUE; }
HGDIOBJ SelectObject(HDC /*hdc*/, HGDIOBJ /*h*/) { return nullptr; }
BOOL DeleteDC(HDC /*hdc*/) { return TRUE; }
