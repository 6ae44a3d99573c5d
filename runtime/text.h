// Texts: 8-bit ANSI characters. A Text is a borrowed run of bytes with its length, so a
// text may hold a NUL inside; a FixedText is a NUL-terminated buffer of N bytes that
// holds at most N - 1 characters.
#pragma once

#include "platform.h"

// A borrowed text: length bytes starting at chars (not necessarily NUL-terminated).
struct Text {
  const char* chars;
  DWORD length;
};

// The length of a NUL-terminated text.
inline DWORD TextLength(const char* chars) {
  DWORD length = 0;
  if (chars != nullptr) {
    while (chars[length] != '\0') {
      ++length;
    }
  }
  return length;
}

// A NUL-terminated text as a Text (a null pointer gives the empty text).
inline Text TextOf(const char* chars) {
  return Text{chars != nullptr ? chars : "", TextLength(chars)};
}

// A fixed text buffer of N bytes. Storing copies at most N - 1 bytes, stops after an
// embedded NUL and always leaves a NUL at the end; reading takes the bytes before the
// first NUL.
template <DWORD N>
struct FixedText {
  static_assert(N > 0, "a fixed text needs room for its NUL");
  char chars[N];

  void Store(Text text) {
    chars[0] = '\0';
    Append(text);
  }

  // Concatenation into the buffer: the text is added after the current content and cut
  // to fit.
  void Append(Text text) {
    DWORD used = Read().length;
    for (DWORD i = 0; i < text.length && used < N - 1; ++i) {
      chars[used] = text.chars[i];
      if (chars[used] == '\0') {
        return;
      }
      ++used;
    }
    chars[used] = '\0';
  }

  void Append(const char* text) { Append(TextOf(text)); }

  // The number in decimal, appended as text.
  void AppendNumber(DWORD number) {
    char digits[10];
    DWORD count = 0;
    do {
      digits[count++] = static_cast<char>('0' + number % 10);
      number /= 10;
    } while (number != 0);
    char ordered[11];
    for (DWORD i = 0; i < count; ++i) {
      ordered[i] = digits[count - 1 - i];
    }
    Append(Text{ordered, count});
  }

  Text Read() const {
    DWORD length = 0;
    while (length < N - 1 && chars[length] != '\0') {
      ++length;
    }
    return Text{chars, length};
  }

  const char* CString() const { return chars; }
};
