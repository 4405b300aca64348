#pragma once
// What must hold for any input to the program's readers and number patterns. The fuzz
// targets call these with generated input, and the corpus test replays every saved case.
// A broken property aborts with a message, which the fuzzer reports as a finding.

#include <cstddef>
#include <cstdint>

namespace tarvenol::fuzz {

// Any bytes as a body file: either a profile of whole, finite points or a refusal.
void CheckBodyFile(const std::uint8_t* data, std::size_t size);
// Any bytes as a table of points: either finite points or a refusal naming the file.
void CheckPointsTable(const std::uint8_t* data, std::size_t size);
// Any text in a number box: the prefix read is a plain decimal number, read exactly.
void CheckTextNumber(const std::uint8_t* data, std::size_t size);
// Any double in a number pattern: a plain decimal text within half a unit of the last place.
void CheckNumberFormat(const std::uint8_t* data, std::size_t size);
// Any arguments (separated by NUL bytes) as the batch tool's command line: actions with their
// values, or one printable message and nothing to do.
void CheckCommandLine(const std::uint8_t* data, std::size_t size);

}  // namespace tarvenol::fuzz
