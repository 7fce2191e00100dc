// Float values in layout text: the shortest text that reads back to the
// same value, always with a '.' or an exponent so it reads as a float.
#pragma once
#include <cstdint>
#include <string>

std::string DoubleToLayoutText(double value);
std::string SingleToLayoutText(float value);
// A currency value (scaled by 10000), exactly.
std::string CurrencyToLayoutText(int64_t scaled);

// Parsing of the numeric part (no suffix); false for malformed text or a
// value out of range.
bool LayoutTextToDouble(const std::string& text, double& value);
bool LayoutTextToSingle(const std::string& text, float& value);
bool LayoutTextToCurrency(const std::string& text, int64_t& scaled);
