#pragma once
#include <string>

// The About page text: lines joined by "\r\n", no break after the last line.
const std::string& AboutText();
