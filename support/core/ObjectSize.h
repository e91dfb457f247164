#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

// The identity of an object on disk: its device and inode. Two paths with one identity name
// one object (a hard link, a folder reached through a link above it, a bind mount).
struct FileId {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    friend bool operator==(const FileId&, const FileId&) = default;
};

struct FileIdHash {
    std::size_t operator()(const FileId& id) const
    {
        return std::hash<std::uint64_t>()(id.inode * 1000003u ^ id.device);
    }
};

// A regular file that has more than one name, with its size: the one kind of file that two
// objects which do not lie in each other can both reach.
struct LinkedFile {
    FileId id;
    std::int64_t bytes = 0;
};

// What a walk of one catalog object counted. Bytes are the sizes of the regular files it
// holds, each inode once; folders count the object itself when it is a folder. Links are not
// followed: a link counts as neither file nor folder.
struct ObjectSize {
    std::int64_t bytes = 0;
    std::int64_t files = 0;
    std::int64_t folders = 0;
    bool exists = false;
    // Paths (code page 932; a name with no such form shows "?") that could not be read: what
    // lies below them is not counted.
    std::vector<std::string> unreadable;
    // The identities of what the object names: the file or folder itself, or each match of a
    // wildcard.
    std::vector<FileId> covers;
    // The identities of the object (of the folder that holds a wildcard's matches) and of
    // every folder above it.
    std::vector<FileId> chain;
    std::vector<LinkedFile> linkedFiles;

    bool Partial() const { return !unreadable.empty(); }
};

// The counts of one folder's own entries, kept so that a change in the folder is counted by
// reading that folder alone.
struct FolderRecord {
    FileId id;
    std::int64_t bytes = 0;  // regular files with one name
    std::int64_t files = 0;
    std::vector<LinkedFile> linkedFiles;
    std::vector<std::string> subfolders;  // host names
    bool unreadable = false;
};

// A walk of one object, folder by folder. Records are shared between a walk and the update
// made from it, so an update copies only what changed.
struct ObjectWalk {
    // The regular files named by the object itself (a file, a wildcard's file matches) with
    // what it is and where it lies; the counts here are of those files alone.
    ObjectSize top;
    // Host paths of the folders the object names (the folder, a wildcard's folder matches).
    std::vector<std::string> roots;
    // Every folder below and including the roots, by host path.
    std::unordered_map<std::string, std::shared_ptr<const FolderRecord>> folders;

    // The object's counts: each file once, the folders that could not be read named.
    ObjectSize Sum() const;
};
