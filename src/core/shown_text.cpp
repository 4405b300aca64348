#include "core/shown_text.h"

#include <cstdio>

namespace tarvenol {
namespace {

struct Character {
  std::size_t length;  // bytes
  bool printable;
};

// The character at the start of text: a valid UTF-8 sequence, printable or a control, or else a
// single byte that is none.
Character NextCharacter(std::string_view text) {
  const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
  const unsigned char lead = byte(0);
  if (lead < 0x80) return {1, lead >= 0x20 && lead < 0x7f};
  std::size_t length = 0;
  char32_t c = 0;
  if (lead >= 0xc2 && lead <= 0xdf) {
    length = 2;
    c = lead & 0x1fu;
  } else if (lead >= 0xe0 && lead <= 0xef) {
    length = 3;
    c = lead & 0x0fu;
  } else if (lead >= 0xf0 && lead <= 0xf4) {
    length = 4;
    c = lead & 0x07u;
  } else {
    return {1, false};
  }
  if (text.size() < length) return {1, false};
  for (std::size_t k = 1; k < length; ++k) {
    if ((byte(k) & 0xc0u) != 0x80u) return {1, false};
    c = (c << 6) | (byte(k) & 0x3fu);
  }
  const char32_t smallest[] = {0, 0, 0x80, 0x800, 0x10000};
  if (c < smallest[length] || c > 0x10ffff || (c >= 0xd800 && c <= 0xdfff)) return {1, false};
  // The C1 controls (U+0080 to U+009F) and the line and paragraph separators act as controls;
  // U+FFFE and U+FFFF are no characters at all (XML cannot hold them either).
  return {length, c >= 0xa0 && c != 0x2028 && c != 0x2029 && c != 0xfffe && c != 0xffff};
}

}  // namespace

std::string Shown(std::string_view text, std::size_t maxCharacters) {
  std::string shown = "\"";
  std::size_t characters = 0;
  std::size_t at = 0;
  for (; at < text.size() && characters < maxCharacters; ++characters) {
    const Character next = NextCharacter(text.substr(at));
    if (next.printable) {
      shown.append(text.substr(at, next.length));
    } else {
      shown += '?';
    }
    at += next.length;
  }
  if (at < text.size()) shown += "...";
  return shown + "\"";
}

std::string TerminalLine(std::string_view text) {
  std::string line;
  for (std::size_t at = 0; at < text.size();) {
    const Character next = NextCharacter(text.substr(at));
    if (next.printable) {
      line.append(text.substr(at, next.length));
    } else {
      line += text[at] == '\n' || text[at] == '\t' || text[at] == '\r' ? ' ' : '?';
    }
    at += next.length;
  }
  return line;
}

std::string MarkupTitle(std::string_view title) {
  std::string markup;
  for (std::size_t at = 0; at < title.size();) {
    const Character next = NextCharacter(title.substr(at));
    const char c = title[at];
    if (!next.printable) {
      markup += '?';
    } else if (c == '&') {
      markup += "&amp;";
    } else if (c == '<') {
      markup += "&lt;";
    } else if (c == '>') {
      markup += "&gt;";
    } else if (c == '"') {
      markup += "&quot;";
    } else if (c == '\'') {
      markup += "&#39;";
    } else {
      markup.append(title.substr(at, next.length));
    }
    at += next.length;
  }
  return markup;
}

std::string ShownPath(std::string_view path) {
  constexpr std::size_t kShownBytes = 120;
  if (path.size() <= kShownBytes) return Shown(path, kShownBytes);
  std::size_t from = path.size() - kShownBytes;
  // Start on a character, not inside one.
  while (from < path.size() && (static_cast<unsigned char>(path[from]) & 0xc0u) == 0x80u) ++from;
  return "\"..." + Shown(path.substr(from), kShownBytes).substr(1);
}

std::string ShownNumber(double v, int digits) {
  char text[32];
  std::snprintf(text, sizeof text, "%.*g", digits, v);
  return text;
}

}  // namespace tarvenol
