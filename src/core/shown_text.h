#pragma once
// Texts that came from the user, or from a file, as a message may show them; and numbers as
// messages show them.

#include <cstddef>
#include <string>
#include <string_view>

namespace tarvenol {

// The text in double quotes, cut after maxCharacters characters with "..." after it; every
// control character, and every byte that is not part of a valid UTF-8 character, shows as '?'.
std::string Shown(std::string_view text, std::size_t maxCharacters = 40);

// A number in digits significant digits, as printf's %g writes it.
std::string ShownNumber(double v, int digits);

// A path the same way, but cut at its start, so that the file's own name stays in sight.
std::string ShownPath(std::string_view path);

// A message as one line of a terminal or a log, whatever it holds: line breaks and tabs become
// blanks, every other control character (an escape sequence's first), and every byte that is
// not part of a valid UTF-8 character, '?'. Nothing is cut.
std::string TerminalLine(std::string_view text);

// A title of a chart or a picture, which names a body as its file is named, as markup: Qt's
// charts read their titles as HTML, and an SVG file's title is XML. Every character a message
// would not show (controls, bytes of no UTF-8 character, characters XML cannot hold) as '?',
// and &, <, >, " and ' as references. The one way a title reaches a chart or a picture file.
std::string MarkupTitle(std::string_view title);

}  // namespace tarvenol
