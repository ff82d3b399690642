#include "io/file_text.h"

#include <array>
#include <cstdint>

namespace brillora {

namespace {

// The characters of the bytes 0x80 .. 0x9F in Windows-1252; from 0xA0 on the
// code page is Latin-1, byte and character alike.
constexpr std::array<char32_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char32_t Windows1252Character(unsigned char byte) {
  return byte >= 0x80 && byte < 0xA0 ? kHighControls[byte - 0x80] : byte;
}

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

// The length of the well-formed UTF-8 sequence at `at`, 0 when there is none
// (stray continuation bytes, overlong forms, surrogates, beyond U+10FFFF).
std::size_t SequenceLength(std::string_view s, std::size_t at) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(s[i]); };
  const unsigned char lead = byte(at);
  if (lead < 0x80) return 1;
  std::size_t length = 0;
  unsigned char low = 0x80, high = 0xBF;  // the allowed range of the second byte
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
  } else {
    return 0;
  }
  if (at + length > s.size() || byte(at + 1) < low || byte(at + 1) > high) return 0;
  for (std::size_t i = 2; i < length; ++i) {
    if (byte(at + i) < 0x80 || byte(at + i) > 0xBF) return 0;
  }
  return length;
}

}  // namespace

bool IsUtf8(std::string_view bytes) {
  for (std::size_t i = 0; i < bytes.size();) {
    const std::size_t length = SequenceLength(bytes, i);
    if (length == 0) return false;
    i += length;
  }
  return true;
}

std::string Utf8FromWindows1252(std::string_view bytes) {
  std::string text;
  text.reserve(bytes.size() * 2);
  for (char c : bytes) AppendUtf8(text, Windows1252Character(static_cast<unsigned char>(c)));
  return text;
}

std::string Utf8FromFileText(std::string_view bytes) {
  return IsUtf8(bytes) ? std::string(bytes) : Utf8FromWindows1252(bytes);
}

std::optional<std::string> Windows1252FromUtf8(std::string_view text) {
  if (!IsUtf8(text)) return std::nullopt;
  std::string bytes;
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t length = SequenceLength(text, i);
    char32_t c = static_cast<unsigned char>(text[i]) & (length == 1 ? 0x7F : 0xFF >> (length + 1));
    for (std::size_t k = 1; k < length; ++k) c = (c << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
    i += length;
    int byte = -1;
    for (int b = 0; b < 256 && byte < 0; ++b) {
      if (Windows1252Character(static_cast<unsigned char>(b)) == c) byte = b;
    }
    if (byte < 0) return std::nullopt;
    bytes += static_cast<char>(byte);
  }
  return bytes;
}

std::string_view Utf8Prefix(std::string_view text, std::size_t characters) {
  std::size_t end = 0;
  for (std::size_t n = 0; n < characters && end < text.size(); ++n) {
    const std::size_t length = SequenceLength(text, end);
    end += length == 0 ? 1 : length;
  }
  return text.substr(0, end);
}

}  // namespace brillora
