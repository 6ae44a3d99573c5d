// Texts of two kinds of character: 8-bit ANSI characters (char), and UTF-16 code units
// (WCHAR) for texts that carry a path, which may hold any letter. A Text is a borrowed
// run of characters with its length, so a text may hold a NUL inside; a FixedText is a
// NUL-terminated buffer of N characters that holds at most N - 1. The program's own
// texts are ANSI; they widen unit by unit into a UTF-16 buffer, which is right for the
// ASCII they are written in.
#pragma once

#include "platform.h"

// A borrowed text: length characters starting at chars (not necessarily NUL-terminated).
template <typename C>
struct BasicText {
  const C* chars;
  DWORD length;
};
using Text = BasicText<char>;
using WideText = BasicText<WCHAR>;

// A character as its code: a char's byte without sign, a UTF-16 unit as it is.
inline unsigned char CodeOf(char c) {
  return static_cast<unsigned char>(c);
}
inline WCHAR CodeOf(WCHAR c) {
  return c;
}

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

// The characters of a buffer of size characters before its first NUL, at most size - 1.
template <typename C>
DWORD BufferedLength(const C* chars, DWORD size) {
  DWORD length = 0;
  while (length < size - 1 && chars[length] != 0) {
    ++length;
  }
  return length;
}

// Concatenation into a buffer of size characters: at most length characters of the text
// are added after the current content, up to an embedded NUL and cut to fit; a NUL ends
// the buffer. One function for buffers of every size.
template <typename C, typename S>
void AppendText(C* chars, DWORD size, const S* text, DWORD length) {
  static_assert(sizeof(S) <= sizeof(C), "a text is widened, never narrowed");
  DWORD used = BufferedLength(chars, size);
  for (DWORD i = 0; i < length && used < size - 1; ++i) {
    chars[used] = static_cast<C>(CodeOf(text[i]));
    if (chars[used] == 0) {
      return;
    }
    ++used;
  }
  chars[used] = 0;
}

// A fixed text buffer of N characters. Storing copies at most N - 1 characters, stops
// after an embedded NUL and always leaves a NUL at the end; reading takes the characters
// before the first NUL. A UTF-16 buffer takes ANSI texts as well, widened.
template <typename C, DWORD N>
struct BasicFixedText {
  static_assert(N > 0, "a fixed text needs room for its NUL");
  C chars[N];

  template <typename S>
  void Store(BasicText<S> text) {
    chars[0] = 0;
    Append(text);
  }

  template <typename S>
  void Append(BasicText<S> text) {
    AppendText(chars, N, text.chars, text.length);
  }

  // A NUL-terminated text (not a null pointer): no more than fits is ever read of it.
  template <typename S>
  void Append(const S* text) {
    AppendText(chars, N, text, N);
  }

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
    AppendText(chars, N, ordered, count);
  }

  BasicText<C> Read() const { return BasicText<C>{chars, BufferedLength(chars, N)}; }

  const C* CString() const { return chars; }
};
template <DWORD N>
using FixedText = BasicFixedText<char, N>;
template <DWORD N>
using WideFixedText = BasicFixedText<WCHAR, N>;
