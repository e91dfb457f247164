#pragma once

#include <string>
#include <string_view>

// The SHA-256 digest of bytes, 32 raw bytes: a digest that stays the same across builds and
// machines, so it can be kept in a file and compared by a later run.
std::string Sha256(std::string_view bytes);

// The digest written as 64 lower-case hexadecimal digits.
std::string Sha256Hex(std::string_view bytes);
