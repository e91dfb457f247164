#pragma once

// The language of every text the program shows, whatever the user's locale (which still
// gives the formats of numbers and dates): Japanese, as a language code.
inline constexpr char InterfaceLanguage[] = "ja";
