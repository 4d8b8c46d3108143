#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace venuecheck {

// The game's texts are 8-bit Windows text (code page 1252). Every byte has a
// character of its own, so the two conversions are exact inverses: the five
// bytes the code page leaves unassigned stand for the control characters of
// the same value, as Windows shows them.
QString DecodeAnsi(std::string_view bytes);

// Characters without a byte in the code page become '?'.
std::string EncodeAnsi(const QString& text);

}  // namespace venuecheck
