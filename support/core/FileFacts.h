#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// What the disk says about a path: existence, kind, size, date. Paths are code page 932 in
// host syntax; a path without a host form names nothing. Nothing here reports a missing
// object as an error.

inline constexpr int faReadOnly = 0x01;
inline constexpr int faDirectory = 0x10;
inline constexpr int faArchive = 0x20;

// What is at a path, in the order lists group objects by: folders, then files, then
// missing objects.
enum class ObjectKind : std::uint8_t { Folder, File, Missing };

// The kind of an object of these attributes (as GetFileAttributesOf gives them: -1 when
// nothing exists there).
constexpr ObjectKind KindOfAttributes(int attributes)
{
    if (attributes == -1)
        return ObjectKind::Missing;
    return (attributes & faDirectory) != 0 ? ObjectKind::Folder : ObjectKind::File;
}

// What a search for a path finds.
struct FileFacts {
    std::string name;  // the entry's own name (code page 932)
    int attributes = 0;  // faDirectory or faArchive, | faReadOnly when not writable
    std::int64_t size = 0;  // 0 for a folder
    double date = 0;  // last write as a date-time (DateTime.h)
};

// The search behind FileExistsQuiet, GetFileSizeOf and GetFileDateOf. A last part with "*"
// or "?" is matched like a file search in its folder (FileMask.h) and the match with the
// lowest name answers; otherwise the path itself is looked up. Nothing when nothing matches.
std::optional<FileFacts> FindFirstFileFacts(std::string_view path);

// Every object a search for path finds, as full paths: for a last part with "*" or "?" each
// match in its folder, in byte order of the names; otherwise the path itself when something
// (a link that leads nowhere included) is there. Empty when nothing is found.
std::vector<std::string> FindAllMatches(std::string_view path);

// -1 when nothing exists at path, else faDirectory or faArchive, | faReadOnly when the
// object cannot be written. One lookup and no search: cheap enough for every row of a list.
int GetFileAttributesOf(std::string_view path);

bool DirExists(std::string_view path);

// True when an object that is not a folder exists at path, looked up as it is named: no
// pattern matching (FileExistsQuiet matches wildcards).
bool IsExistingFile(std::string_view path);

// True when a search for path finds something that is not a folder (wildcards allowed).
bool FileExistsQuiet(std::string_view path);

// Size of what a search finds (0 for a folder or when nothing matches), in 64 bits.
std::int64_t GetFileSizeOf(std::string_view path);

// Last write of what a search finds as a date-time (0 when nothing matches).
double GetFileDateOf(std::string_view path);

// How many bytes of a file the text test looks at.
inline constexpr std::size_t TextTestLength = 50;

// True when the first TextTestLength bytes are plain code page 932 text: printable ASCII,
// half-width katakana, CR, LF, TAB and double-byte characters. A lead byte cut off by the
// end of the head is given the benefit of the doubt; no bytes are not text.
bool StartsAsText(std::string_view bytes);

// The report of a file that exists but cannot be opened or read: "ファイル %s は開けません".
std::string CannotOpenFileMessage(std::string_view fileName);

// True when the first 50 bytes of the file are code page 932 text. A missing file or a
// folder is not text; a file that exists but cannot be read throws TessnaError with
// CannotOpenFileMessage.
bool IsTextFile(std::string_view fileName);
