#pragma once
// Paths given on the command line, and the block a second start hands them over in.
// They travel as UTF-16, so names outside GBK arrive whole.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// Tags the block a second start sends, so no other data is taken for paths.
inline constexpr std::uintptr_t kHandOverTag = 0x525A5048;  // "RZPH"
// More than any real selection: a block beyond it is not read.
inline constexpr std::size_t kHandOverMaxChars = 1 << 20;

// The command line as the argument splitter must read it. Explorer quotes a drive root
// as "K:\", and the splitter takes \" for a quote inside the name, which joins it to
// the next path; no name holds a quote, so the backslashes before one are doubled.
std::u16string PathSafeCommandLine(std::u16string commandLine);
// The arguments after the program's own name as paths joined by "\r\n", blanks left out.
std::u16string PathsFromArguments(const std::vector<std::u16string>& args);
// The paths of a received block, or nothing when it is not a well-formed hand-over.
std::optional<std::u16string> ReadHandOver(std::uintptr_t tag, const void* data, std::size_t bytes);
