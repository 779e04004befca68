#pragma once
// Decimal text for the numbers shown in cells and captions: plain notation, "." as the
// point, no grouping, whatever the process locale says.
#include <string>

// v rounded to three decimals, trailing zeros dropped: 1.5, 0.001, 3072, -1.
std::string FormatNumber(double v);
// The leading number of text, or 0 when it does not start with one.
double ParseNumber(const std::string& text);
// v rounded to three decimals, halves away from zero.
double RoundTo3(double v);
