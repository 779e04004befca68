#pragma once
// The open-file dialog with multiple selection.
#include <cstddef>
#include <string>
#include <vector>

// The chosen files' full paths in the dialog's order, none after Cancel. The name buffer
// starts at firstBufferChars and grows, with the dialog asked again, when the choice does
// not fit. filter uses "|" between its parts.
std::vector<std::string> ChooseFilesWithBuffer(const std::string& title, const std::string& filter,
                                               std::size_t firstBufferChars);
