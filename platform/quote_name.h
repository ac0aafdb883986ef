// File names inside message lines (standard error, message boxes). A name may
// hold any byte but "/" and NUL; control bytes reaching a terminal would move
// its cursor, recolour it or run its escape sequences, and a line break would
// forge a second message. They are shown escaped instead, as coreutils shows
// such names: "\n", "\t" and the other C escapes, "\033" style octal for the
// rest. Every other byte (Shift-JIS and UTF-8 ones included) stays as it is;
// the report itself never goes through this.
#ifndef VORLAN_PLATFORM_QUOTE_NAME_H
#define VORLAN_PLATFORM_QUOTE_NAME_H

#include <string>
#include <string_view>

std::string QuoteControlBytes(std::string_view name);

#endif
