#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The texts about the journal of unsaved changes, as code page 932 with the names in place.

// The journal could not be written (a full disk, a folder that turned read-only).
std::string JournalCannotWriteMessage(std::string_view path);
// The journal could not be removed after a save or at the close.
std::string JournalCannotRemoveMessage(std::string_view path);
// A journal that could not be read (damaged, or of another folder) was renamed aside, never
// deleted.
std::string JournalSetAsideMessage(std::string_view newPath);
// A journal that could not be read could not be renamed aside either; it stays.
std::string JournalCannotSetAsideMessage(std::string_view path);
// Another Tessna, another user or another computer owns the folder's journal: this run
// keeps none.
std::string JournalOwnedElsewhereMessage();
// Neither the program folder nor the user's state folder can hold a journal.
std::string JournalNowhereMessage();
// The program folder cannot hold the journal; it lives in the user's state folder.
std::string JournalInStateFolderMessage(std::string_view folder);
// The offer at start: when the unsaved changes were taken (milliseconds since the Unix
// epoch, shown as the locale's short date and time) and the files another program changed
// on disk since.
std::string JournalRecoveryQuestion(std::int64_t takenAt, const std::vector<std::string>& changedOnDisk);
