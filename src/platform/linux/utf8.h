#pragma once

#include "platform/utf8.h"

// UTF-8 and UTF-16 units, as the Linux backend's text is UTF-8 and Wine's
// names and registry are UTF-16.
namespace CharCase {

// Upper case of one UTF-16 unit, as Wine's towupper gives it.
char16_t upperUnit(char16_t unit);
char16_t lowerUnit(char16_t unit);

} // namespace CharCase
