// setup.exe links no C runtime. The compiler still emits calls to these for
// structure copies and zeroing, so the program brings its own. They are compiled without
// loop-to-library-call replacement, or they would call themselves.
#include <stddef.h>

extern "C" {

__attribute__((optimize("no-tree-loop-distribute-patterns"))) void* memset(void* dest, int value,
                                                                           size_t count) {
  auto* d = static_cast<unsigned char*>(dest);
  while (count-- != 0) {
    *d++ = static_cast<unsigned char>(value);
  }
  return dest;
}

__attribute__((optimize("no-tree-loop-distribute-patterns"))) void* memcpy(void* dest,
                                                                           const void* source,
                                                                           size_t count) {
  auto* d = static_cast<unsigned char*>(dest);
  const auto* s = static_cast<const unsigned char*>(source);
  while (count-- != 0) {
    *d++ = *s++;
  }
  return dest;
}

__attribute__((optimize("no-tree-loop-distribute-patterns"))) void* memmove(void* dest,
                                                                            const void* source,
                                                                            size_t count) {
  auto* d = static_cast<unsigned char*>(dest);
  const auto* s = static_cast<const unsigned char*>(source);
  if (d < s) {
    while (count-- != 0) {
      *d++ = *s++;
    }
  } else {
    while (count-- != 0) {
      d[count] = s[count];
    }
  }
  return dest;
}

__attribute__((optimize("no-tree-loop-distribute-patterns"))) size_t strlen(const char* text) {
  size_t length = 0;
  while (text[length] != '\0') {
    ++length;
  }
  return length;
}

int memcmp(const void* left, const void* right, size_t count) {
  const auto* l = static_cast<const unsigned char*>(left);
  const auto* r = static_cast<const unsigned char*>(right);
  for (size_t i = 0; i < count; ++i) {
    if (l[i] != r[i]) {
      return l[i] < r[i] ? -1 : 1;
    }
  }
  return 0;
}

}  // extern "C"
