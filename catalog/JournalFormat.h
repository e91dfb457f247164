#pragma once

#include "catalog/JournalState.h"

#include <optional>
#include <string>
#include <string_view>

// The bytes of a journal file:
//
//     "TessnaJournal" NUL, the format version (4 bytes)   <- the NUL keeps every text test,
//                                                            the catalog reader's included,
//                                                            from taking it for text
//     the state: numbers little-endian, texts as a 4-byte length and their bytes
//     the SHA-256 digest of every byte before it (32 bytes)
//
// The digest covers the whole file, so a file cut short anywhere, or with any byte changed,
// is refused rather than read as a different state.

// The bytes that start every journal.
std::string_view JournalHeader();

std::string EncodeJournal(const JournalState& state);

// The state the bytes hold; nothing when they are not a whole journal of this format.
std::optional<JournalState> DecodeJournal(std::string_view bytes);
