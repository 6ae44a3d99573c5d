// The stand-in's resources: per-module tables of icon groups and bitmaps that tests fill,
// and the calls that find, enumerate and load them.
//
// Names follow the platform's rule: an integer resource (MAKEINTRESOURCE) and a name
// made of "#" and decimal digits ("#104") name the same resource 104; other names are
// compared without regard to case. A missing resource gives ERROR_RESOURCE_TYPE_NOT_FOUND.
// Every LoadImageA gives a new handle, sized as asked, or, for 0, as the resource's first
// image; the load flags are not read (the program passes none).
#include <algorithm>
#include <cstdlib>

#include "user_internal.h"

namespace standin::win {
namespace {

using detail::Dec;

constexpr uintptr_t kProgramModule = 0x00400000;  // what GetModuleHandleA(NULL) gives

// The key a resource goes by: "#104" for a number, else the upper-case name.
std::string Key(const char* name) {
  if (IS_INTRESOURCE(name)) {
    return "#" + Dec(static_cast<long long>(reinterpret_cast<uintptr_t>(name)));
  }
  std::string text = name;
  if (text.size() > 1 && text[0] == '#' &&
      std::all_of(text.begin() + 1, text.end(), [](char c) { return c >= '0' && c <= '9'; })) {
    return "#" + Dec(std::strtol(text.c_str() + 1, nullptr, 10));
  }
  return detail::UpperCase(text);
}

std::string NameText(const char* name) {
  if (name == nullptr) {
    return "NULL";
  }
  if (IS_INTRESOURCE(name)) {
    return "MAKEINTRESOURCE(" + Dec(static_cast<long long>(reinterpret_cast<uintptr_t>(name))) +
           ")";
  }
  return detail::Str(name);
}

std::string TypeText(const char* type) {
  if (type == RT_BITMAP) {
    return "RT_BITMAP";
  }
  if (type == RT_ICON) {
    return "RT_ICON";
  }
  if (type == RT_GROUP_ICON) {
    return "RT_GROUP_ICON";
  }
  return NameText(type);
}

// Icon types (RT_ICON, RT_GROUP_ICON) find icon groups, RT_BITMAP bitmaps; anything else
// finds nothing.
bool TypeWanted(const char* type, bool* icon) {
  if (type == RT_BITMAP) {
    *icon = false;
    return true;
  }
  if (type == RT_ICON || type == RT_GROUP_ICON) {
    *icon = true;
    return true;
  }
  return false;
}

// The resource, or nullptr with the last error set: Wine answers a missing name, as a
// missing type, with ERROR_RESOURCE_TYPE_NOT_FOUND.
const Resource* Lookup(HMODULE module, const char* name, bool icon) {
  auto found = S().resources.find(reinterpret_cast<uintptr_t>(module));
  if (found != S().resources.end() && name != nullptr) {
    std::string key = Key(name);
    for (const Resource& resource : found->second) {
      if (resource.icon == icon && resource.name == key) {
        return &resource;
      }
    }
  }
  detail::SetLastErrorRaw(ERROR_RESOURCE_TYPE_NOT_FOUND);
  return nullptr;
}

void Add(HMODULE module, Resource resource) {
  std::vector<Resource>& list = S().resources[reinterpret_cast<uintptr_t>(module)];
  list.erase(std::remove_if(list.begin(), list.end(),
                            [&resource](const Resource& old) {
                              return old.icon == resource.icon && old.name == resource.name;
                            }),
             list.end());
  list.push_back(std::move(resource));
}

}  // namespace

}  // namespace standin::win

namespace standin {

HMODULE ProgramModule() {
  return reinterpret_cast<HMODULE>(win::kProgramModule);
}

void AddIconResource(HMODULE module, const std::string& name, std::vector<int> sizes) {
  if (sizes.empty()) {
    detail::Fatal("AddIconResource: an icon group needs at least one image");
  }
  win::Resource resource;
  resource.icon = true;
  resource.name = win::Key(name.c_str());
  resource.sizes = std::move(sizes);
  win::Add(module, resource);
}

void AddBitmapResource(HMODULE module, const std::string& name, int width, int height) {
  win::Resource resource;
  resource.icon = false;
  resource.name = win::Key(name.c_str());
  resource.width = width;
  resource.height = height;
  win::Add(module, resource);
}

IconInfo IconInfoOf(HICON icon) {
  const win::Object* object = win::FindObject(icon);
  if (object == nullptr || object->kind != win::ObjectKind::kIcon) {
    detail::Fatal("IconInfoOf: " + win::Name(icon) + " is no icon");
  }
  return IconInfo{object->resource, object->width, object->height, object->alive};
}

}  // namespace standin

// ---- The platform calls -------------------------------------------------------------

using standin::detail::Dec;
using standin::detail::Hex;
using standin::detail::Log;
using standin::detail::Ptr;
using standin::win::Name;
using standin::win::Object;
using standin::win::ObjectKind;

HANDLE WINAPI LoadImageA(HINSTANCE hInst, LPCSTR name, UINT type, int cx, int cy, UINT fuLoad) {
  Log("LoadImageA",
      {Ptr(hInst), standin::win::NameText(name), Dec(type), Dec(cx), Dec(cy), Hex(fuLoad)});
  if (type != IMAGE_ICON && type != IMAGE_BITMAP) {
    standin::detail::SetLastErrorRaw(ERROR_RESOURCE_TYPE_NOT_FOUND);
    return nullptr;
  }
  bool icon = type == IMAGE_ICON;
  const standin::win::Resource* resource = standin::win::Lookup(hInst, name, icon);
  if (resource == nullptr) {
    return nullptr;
  }
  standin::win::State& s = standin::win::S();
  Object object;
  object.kind = icon ? ObjectKind::kIcon : ObjectKind::kBitmap;
  object.name = icon ? "icon#" + Dec(s.nextIcon++) : "bitmap#" + Dec(s.nextBitmap++);
  object.resource = resource->name;
  object.width = cx != 0 ? cx : (icon ? resource->sizes.front() : resource->width);
  object.height = cy != 0 ? cy : (icon ? resource->sizes.front() : resource->height);
  return standin::win::NewObject(object);
}

BOOL WINAPI DestroyIcon(HICON hIcon) {
  Log("DestroyIcon", {Name(hIcon)});
  Object* object = standin::win::FindObject(hIcon);
  if (object == nullptr || object->kind != ObjectKind::kIcon) {
    if (hIcon != nullptr) {
      standin::win::Fault("DestroyIcon(" + Name(hIcon) + "): no icon");
    }
    standin::detail::SetLastErrorRaw(ERROR_INVALID_CURSOR_HANDLE);
    return FALSE;
  }
  if (!object->alive) {
    standin::win::Fault("DestroyIcon(" + Name(hIcon) + "): destroyed twice");
    standin::detail::SetLastErrorRaw(ERROR_INVALID_CURSOR_HANDLE);
    return FALSE;
  }
  object->alive = false;
  return TRUE;
}

// An icon's image and mask, as new bitmaps of its size that the caller deletes.
BOOL WINAPI GetIconInfo(HICON hIcon, PICONINFO piconinfo) {
  Log("GetIconInfo", {Name(hIcon), piconinfo == nullptr ? "NULL" : "info"});
  const Object* icon = standin::win::FindObject(hIcon);
  if (icon == nullptr || icon->kind != ObjectKind::kIcon || !icon->alive || piconinfo == nullptr) {
    standin::detail::SetLastErrorRaw(ERROR_INVALID_CURSOR_HANDLE);
    return FALSE;
  }
  auto bitmap = [icon] {
    Object image;
    image.kind = ObjectKind::kBitmap;
    image.name = "bitmap#" + Dec(standin::win::S().nextBitmap++);
    image.width = icon->width;
    image.height = icon->height;
    return static_cast<HBITMAP>(standin::win::NewObject(image));
  };
  *piconinfo = ICONINFO{TRUE, static_cast<DWORD>(icon->width / 2),
                        static_cast<DWORD>(icon->height / 2), bitmap(), bitmap()};
  return TRUE;
}

HRSRC WINAPI FindResourceA(HMODULE hModule, LPCSTR lpName, LPCSTR lpType) {
  Log("FindResourceA",
      {Ptr(hModule), standin::win::NameText(lpName), standin::win::TypeText(lpType)});
  bool icon = false;
  if (!standin::win::TypeWanted(lpType, &icon)) {
    standin::detail::SetLastErrorRaw(ERROR_RESOURCE_TYPE_NOT_FOUND);
    return nullptr;
  }
  const standin::win::Resource* resource = standin::win::Lookup(hModule, lpName, icon);
  if (resource == nullptr) {
    return nullptr;
  }
  // The same resource gives the same handle, as the module's resource directory does.
  return reinterpret_cast<HRSRC>(const_cast<standin::win::Resource*>(resource));
}

BOOL WINAPI EnumResourceNamesA(HMODULE hModule, LPCSTR lpType, ENUMRESNAMEPROCA lpEnumFunc,
                               LONG_PTR lParam) {
  Log("EnumResourceNamesA", {Ptr(hModule), standin::win::TypeText(lpType),
                             lpEnumFunc == nullptr ? "NULL" : "callback", Dec(lParam)});
  bool icon = false;
  std::vector<std::string> named;
  std::vector<long> numbered;
  auto found = standin::win::S().resources.find(reinterpret_cast<uintptr_t>(hModule));
  if (standin::win::TypeWanted(lpType, &icon) && found != standin::win::S().resources.end()) {
    for (const standin::win::Resource& resource : found->second) {
      if (resource.icon != icon) {
        continue;
      }
      if (resource.name[0] == '#') {
        numbered.push_back(std::strtol(resource.name.c_str() + 1, nullptr, 10));
      } else {
        named.push_back(resource.name);
      }
    }
  }
  if (named.empty() && numbered.empty()) {
    standin::detail::SetLastErrorRaw(ERROR_RESOURCE_TYPE_NOT_FOUND);
    return FALSE;
  }
  if (lpEnumFunc == nullptr) {
    standin::detail::SetLastErrorRaw(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  // Named resources come first, in order of their names, then the numbered ones.
  std::sort(named.begin(), named.end());
  std::sort(numbered.begin(), numbered.end());
  for (std::string& name : named) {
    if (lpEnumFunc(hModule, lpType, name.data(), lParam) == FALSE) {
      standin::detail::SetLastErrorRaw(ERROR_RESOURCE_ENUM_USER_STOP);
      return FALSE;
    }
  }
  for (long number : numbered) {
    if (lpEnumFunc(hModule, lpType, MAKEINTRESOURCEA(number), lParam) == FALSE) {
      standin::detail::SetLastErrorRaw(ERROR_RESOURCE_ENUM_USER_STOP);
      return FALSE;
    }
  }
  return TRUE;
}
