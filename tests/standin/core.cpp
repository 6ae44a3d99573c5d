// The stand-in's common parts: the call log, the clock, paths, the reset of the whole
// machine and the ledger.
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "standin.h"
#include "standin_internal.h"

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

std::string Str(const char* text, size_t length) {
  std::string out = "\"";
  for (size_t i = 0; i < length; ++i) {
    auto c = static_cast<unsigned char>(text[i]);
    switch (c) {
      case '\r':
        out += "\\r";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\t':
        out += "\\t";
        break;
      case '"':
        out += "\\\"";
        break;
      default:
        if (c < 0x20 || c >= 0x7F) {
          char escaped[8];
          std::snprintf(escaped, sizeof escaped, "\\x%02X", c);
          out += escaped;
        } else {
          out += static_cast<char>(c);
        }
    }
  }
  out += '"';
  return out;
}

std::string Str(const char* text) {
  return text == nullptr ? "NULL" : Str(text, std::strlen(text));
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
  for (char& c : out) {
    c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  }
  return out;
}

std::string FullPath(std::string_view path) {
  std::string p(path);
  for (char& c : p) {
    if (c == '/') {
      c = '\\';
    }
  }
  if (p.empty() || (p.size() >= 2 && p[0] == '\\' && p[1] == '\\')) {
    return "";  // no path, or a network path: nothing here serves one
  }
  std::string current = CurrentDirectory();
  char drive = current[0];
  std::string rest;
  if (p.size() >= 2 && std::isalpha(static_cast<unsigned char>(p[0])) && p[1] == ':') {
    drive = static_cast<char>(std::toupper(static_cast<unsigned char>(p[0])));
    std::string tail = p.substr(2);
    if (!tail.empty() && tail[0] == '\\') {
      rest = tail;
    } else if (std::toupper(static_cast<unsigned char>(current[0])) == drive) {
      rest = current.substr(2) + "\\" + tail;
    } else {
      rest = "\\" + tail;
    }
  } else if (p[0] == '\\') {
    rest = p;
  } else {
    rest = current.substr(2) + "\\" + p;
  }
  std::vector<std::string> parts;
  size_t start = 0;
  while (start <= rest.size()) {
    size_t end = rest.find('\\', start);
    if (end == std::string::npos) {
      end = rest.size();
    }
    std::string part = rest.substr(start, end - start);
    if (part == "..") {
      if (!parts.empty()) {
        parts.pop_back();
      }
    } else if (!part.empty() && part != ".") {
      parts.push_back(part);
    }
    start = end + 1;
  }
  std::string full(1, drive);
  full += ":\\";
  for (size_t i = 0; i < parts.size(); ++i) {
    if (i != 0) {
      full += '\\';
    }
    full += parts[i];
  }
  return full;
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
    for (std::string_view name : names) {
      if (function == name) {
        kept.push_back(call);
        break;
      }
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
