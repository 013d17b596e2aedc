#pragma once
// File names as pelto-cli prints them: quoted for a POSIX shell where they
// need it, so that a name can neither forge a line of the report nor send
// the terminal an escape sequence, and can be pasted back as it is.
//
// A name of letters, digits, printable non-ASCII characters (valid UTF-8 from
// U+00A0 on) and % + , - . / : @ ] _ stays as it is; so do ~ and # other than
// first, and { and } other than alone. Any other name is quoted: in '...', or
// in "..." when its only troublesome character is ' (none of $ ` \ " !), a '
// among others written '\''. A control character (below U+0020, U+007F,
// U+0080 to U+009F) or a byte that is no UTF-8 is written as $'\n' ($'\a',
// \b, \t, \n, \v, \f, \r, and three octal digits for the rest, a byte at a
// time), between the quoted runs of the rest: 'a'$'\n''b'.

#include <string>
#include <string_view>

namespace pelto {

// The name as above.
std::string QuotedName(std::string_view name);
// The same, but a name that could stay as it is is put in '...' too, for
// messages that set names apart from their words.
std::string AlwaysQuotedName(std::string_view name);

} // namespace pelto
