// The stand-in's common parts: the call log, the clock, paths, the reset of the whole
// machine and the ledger.
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>

#include "standin.h"
#include "standin_internal.h"
#include "utf16.h"

namespace standin {
namespace detail {
namespace {

struct CoreState {
  std::vector<std::string> calls;
  DWORD clock = 0;
};

CoreState& Core() {
  static CoreState state;
  return state;
}

}  // namespace

void ResetKernelSide();
void AddKernelSideLiveObjects(std::vector<std::string>* lines);

void Log(std::string_view function, const std::vector<std::string>& arguments) {
  std::string line = std::string(function) + "(";
  for (const std::string& argument : arguments) {
    line += (&argument == arguments.data() ? "" : ", ") + argument;
  }
  Core().calls.push_back(line + ")");
}

std::string Str(const char* text, size_t length, bool utf8) {
  std::string out = "\"";
  for (size_t i = 0; i < length; ++i) {
    auto c = static_cast<unsigned char>(text[i]);
    const char* escape = c == '\r'   ? "\\r"
                         : c == '\n' ? "\\n"
                         : c == '\t' ? "\\t"
                         : c == '"'  ? "\\\""
                                     : nullptr;
    char hex[8];
    if (escape == nullptr && (c < 0x20 || c == 0x7F || (c > 0x7F && !utf8))) {
      std::snprintf(hex, sizeof hex, "\\x%02X", c);
      escape = hex;
    }
    out += escape != nullptr ? std::string(escape) : std::string(1, static_cast<char>(c));
  }
  return out + '"';
}

std::string Str(const char* text) {
  return text == nullptr ? "NULL" : Str(text, std::strlen(text));
}

std::string Str(const WCHAR* text) {
  std::string inner = Inner(text).value_or("");
  return text == nullptr ? "NULL" : "L" + Str(inner.data(), inner.size(), true);
}

std::optional<std::string> Inner(const WCHAR* text) {
  return text == nullptr ? std::nullopt : std::optional(utf16::ToUtf8(text));  // WCHAR: char16_t
}

namespace {
// Code page 1252, as Wine has it: these at 0x80 to 0x9F, Latin-1 from 0xA0 up. (Wine
// also maps some other letters to a like one, Ā to A; here they are "?" as well.)
constexpr char16_t kCp1252[32] = {0x20AC, 0x81,   0x201A, 0x192,  0x201E, 0x2026, 0x2020, 0x2021,
                                  0x2C6,  0x2030, 0x160,  0x2039, 0x152,  0x8D,   0x17D,  0x8F,
                                  0x90,   0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                  0x2DC,  0x2122, 0x161,  0x203A, 0x153,  0x9D,   0x17E,  0x178};
}  // namespace

std::optional<std::string> Inner(const char* ansi) {
  if (ansi == nullptr) {
    return std::nullopt;
  }
  std::u16string wide;
  for (; *ansi != '\0'; ++ansi) {
    auto c = static_cast<unsigned char>(*ansi);
    wide += c >= 0x80 && c < 0xA0 ? kCp1252[c - 0x80] : c;
  }
  return utf16::ToUtf8(wide);
}

std::string Ansi(std::string_view text) {
  std::string out;
  for (char16_t c : utf16::FromUtf8(text)) {
    const char16_t* high = std::find(kCp1252, kCp1252 + 32, c);
    out += static_cast<char>(c < 0x80 || (c >= 0xA0 && c < 0x100) ? c
                             : high != kCp1252 + 32               ? 0x80 + (high - kCp1252)
                                                                  : '?');
  }
  return out;
}

std::string Hex(unsigned long long value) {
  char text[24];
  std::snprintf(text, sizeof text, "0x%llX", value);
  return text;
}

std::string Dec(long long value) {
  return std::to_string(value);
}

std::string Ptr(const void* pointer) {
  return pointer == nullptr ? "NULL" : Hex(reinterpret_cast<uintptr_t>(pointer));
}

void Fatal(const std::string& what) {
  std::fprintf(stderr, "stand-in platform: %s\n", what.c_str());
  std::fflush(stderr);
  std::abort();
}

DWORD Now() {
  return Core().clock;
}

void Advance(DWORD milliseconds) {
  Core().clock += milliseconds;
}

std::string UpperCase(std::string_view text) {
  std::string out(text);
  std::transform(out.begin(), out.end(), out.begin(),
                 [](unsigned char c) { return std::toupper(c); });
  return out;
}

std::string FullPath(std::string_view path) {
  std::string p(path);
  std::replace(p.begin(), p.end(), '/', '\\');
  if (p.empty() || (p.size() >= 2 && p[0] == '\\' && p[1] == '\\')) {
    return "";  // no path, or a network path: nothing here serves one
  }
  // Against the current directory unless the path has its own drive and root; on another
  // drive, against its root.
  std::string current = UpperCase(CurrentDirectory());
  bool hasDrive = p.size() >= 2 && std::isalpha(static_cast<unsigned char>(p[0])) && p[1] == ':';
  char drive = hasDrive ? UpperCase(p.substr(0, 1))[0] : current[0];
  std::string tail = hasDrive ? p.substr(2) : p;
  std::string base = drive == current[0] ? CurrentDirectory().substr(2) : "";
  std::string rest = !tail.empty() && tail[0] == '\\' ? tail : base + "\\" + tail;
  std::vector<std::string> parts;
  std::istringstream names(rest);
  for (std::string part; std::getline(names, part, '\\');) {
    if (part == ".." && !parts.empty()) {
      parts.pop_back();
    } else if (!part.empty() && part != "." && part != "..") {
      parts.push_back(part);
    }
  }
  std::string full = std::string(1, drive) + ":";
  for (const std::string& part : parts) {
    full += "\\" + part;
  }
  return parts.empty() ? full + "\\" : full;
}

}  // namespace detail

void Reset() {
  detail::Core() = detail::CoreState{};
  detail::ResetKernelSide();
  detail::ResetWindowSide();
}

const std::vector<std::string>& Calls() {
  return detail::Core().calls;
}

std::vector<std::string> CallsTo(std::initializer_list<std::string_view> names) {
  std::vector<std::string> kept;
  for (const std::string& call : detail::Core().calls) {
    std::string_view function = std::string_view(call).substr(0, call.find('('));
    if (std::find(names.begin(), names.end(), function) != names.end()) {
      kept.push_back(call);
    }
  }
  return kept;
}

void ClearCalls() {
  detail::Core().calls.clear();
}

std::vector<std::string> LiveObjects() {
  std::vector<std::string> lines;
  detail::AddKernelSideLiveObjects(&lines);
  detail::AddWindowSideLiveObjects(&lines);
  return lines;
}

DWORD Now() {
  return detail::Now();
}

}  // namespace standin
