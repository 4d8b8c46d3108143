#pragma once

#include <string_view>

namespace venuecheck::fuzz {

// Whether the text is exactly one JSON value (RFC 8259), with nothing but
// white space around it: strings with valid escapes and no raw control
// characters, numbers in JSON's form, nesting of any depth up to 256.
bool IsJson(std::string_view text);

}  // namespace venuecheck::fuzz
