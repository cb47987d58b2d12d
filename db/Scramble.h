#pragma once

#include <string>
#include <string_view>

namespace velnor::db {

// Scrambling of the stored login password: every byte of the text becomes two
// upper-case hexadecimal digits. Not encryption: it only keeps the password from
// being read at a glance. Texts longer than 255 bytes are cut to 255.
std::string Encrypt(std::string_view plain);
// The inverse of Encrypt. Throws VelnorError for a text that is not pairs of
// hexadecimal digits.
std::string Decrypt(std::string_view scrambled);

} // namespace velnor::db
