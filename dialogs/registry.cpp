#include "dialogs/registry.h"

namespace {

WindowRecord* head = nullptr;

// Held only while the list is walked or changed, never across a platform call.
LONG volatile registryLock = 0;

class RegistryLock {
 public:
  RegistryLock() {
    while (InterlockedExchange(&registryLock, -1) != 0) {
    }
  }
  ~RegistryLock() { InterlockedExchange(&registryLock, 0); }
  RegistryLock(const RegistryLock&) = delete;
  RegistryLock& operator=(const RegistryLock&) = delete;
};

WindowRecord* FindLocked(HWND window) {
  for (WindowRecord* record = head; record != nullptr; record = record->next) {
    if (record->window == window) {
      return record;
    }
  }
  return nullptr;
}

WindowRecord* UnlinkLocked(HWND window) {
  for (WindowRecord** link = &head; *link != nullptr; link = &(*link)->next) {
    if ((*link)->window == window) {
      WindowRecord* record = *link;
      *link = record->next;
      return record;
    }
  }
  return nullptr;
}

void ReleaseSurface(DrawingSurface* surface) {
  if (surface->dc == nullptr) {
    return;
  }
  if (surface->bitmap != nullptr) {
    SelectObject(surface->dc, surface->displacedBitmap);
    DeleteObject(surface->bitmap);
  }
  if (surface->font != nullptr) {
    SelectObject(surface->dc, surface->displacedFont);
    DeleteObject(surface->font);
  }
  DeleteDC(surface->dc);
}

}  // namespace

WindowRecord* RegisterRecord(HWND window, HWND parent, DWORD kindFlags, int controlKind) {
  {
    RegistryLock lock;
    if (FindLocked(window) != nullptr) {
      return nullptr;
    }
  }
  auto* record = static_cast<WindowRecord*>(GlobalAlloc(GMEM_ZEROINIT, sizeof(WindowRecord)));
  if (record == nullptr) {
    return nullptr;
  }
  record->window = window;
  record->parent = parent;
  record->kindFlags = kindFlags;
  record->controlKind = controlKind;
  record->background = kUnsetColour;
  record->foreground = kUnsetColour;
  {
    RegistryLock lock;
    record->next = head;
    head = record;
  }
  record->defaultTextColour = GetSysColor(COLOR_WINDOWTEXT);
  record->defaultBackgroundColour = GetSysColor(COLOR_BTNFACE);
  return record;
}

WindowRecord* FindRecord(HWND window) {
  RegistryLock lock;
  return FindLocked(window);
}

WindowRecord* FindRecordWithBackground(Colour background) {
  RegistryLock lock;
  for (WindowRecord* record = head; record != nullptr; record = record->next) {
    if (record->background == background) {
      return record;
    }
  }
  return nullptr;
}

WindowRecord* FindChildRecord(HWND parent) {
  RegistryLock lock;
  for (WindowRecord* record = head; record != nullptr; record = record->next) {
    if (IsControlRecord(record) && record->parent == parent) {
      return record;
    }
  }
  return nullptr;
}

void DiscardRecord(HWND window) {
  for (WindowRecord* child = FindChildRecord(window); child != nullptr;
       child = FindChildRecord(window)) {
    DiscardRecord(child->window);
  }
  WindowRecord* record;
  {
    RegistryLock lock;
    record = UnlinkLocked(window);
  }
  if (record == nullptr) {
    return;
  }
  // Brushes are shared by colour: the last record with this background deletes it.
  if (record->background >= 0 && record->brush != nullptr) {
    const WindowRecord* sharer = FindRecordWithBackground(record->background);
    if (sharer == nullptr || sharer->brush == nullptr) {
      DeleteObject(record->brush);
    }
  }
  if ((record->kindFlags & kImageIconFlag) != 0 && record->image != nullptr) {
    DestroyIcon(static_cast<HICON>(record->image));
  } else if ((record->kindFlags & kImageBitmapFlag) != 0 && record->image != nullptr) {
    DeleteObject(record->image);
  }
  if (record->bigIcon != nullptr) {
    DestroyIcon(record->bigIcon);
  }
  if (record->smallIcon != nullptr) {
    DestroyIcon(record->smallIcon);
  }
  ReleaseSurface(&record->surface);
  // The dialog font is the platform's and dies with the dialog.
  GlobalFree(record);
}

void ResetWindowRegistry() {
  InterlockedExchange(&registryLock, 0);
  head = nullptr;
}
