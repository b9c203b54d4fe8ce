#pragma once

#include <functional>
#include <string>

// Values quoted as errors and listings show them.

// A field of the text listing as it is, or double-quoted with C escapes
// when it holds a control character or starts with a quote, so that one
// prefix is always one line of tab-separated fields.
std::string listingField(const std::string& text);
// A value as an error shows it: `quote`d, and shortened, so that the error
// stays one line of a sensible length.
std::string shortened(const std::string& value, const std::function<std::string(const std::string&)>& quote);
// A value as a usage error echoes it: in single quotes with C escapes.
std::string echoed(const std::string& value);
