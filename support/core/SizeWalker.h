#pragma once

#include "support/core/ObjectSize.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

// How a caller steers a walk from another thread and hears of its progress.
struct WalkControl {
    // Checked before every entry: once set, the walk ends and its result means nothing.
    const std::atomic<bool>* cancelled = nullptr;
    // Raised by every regular file counted, for a progress text.
    std::atomic<std::int64_t>* filesSeen = nullptr;
    // Called with the host path of each folder before its entries are read for the first
    // time, so that a watch set there misses no change made after the count.
    std::function<void(const std::string& hostFolder)> onFolder;
    // The identities of the folders above a host folder's entries, by that folder, kept by
    // the caller for walks made one after another: many files of one folder look up the
    // folders above them once. Nothing is kept when null.
    std::unordered_map<std::string, std::vector<FileId>>* ancestors = nullptr;
};

// Walks a catalog object (a file, a folder with everything below it, or a name with "*" or
// "?" in its last part, whose every match counts). Symbolic links are not followed; folders
// of other file systems are walked. A folder that cannot be read is counted itself and
// marked unreadable. A path that names nothing, or is not absolute, gives an empty walk.
ObjectWalk WalkTree(std::string_view path, const WalkControl& control = {});

// The walk after changes in some host folders: a folder object that is still the same
// folder has only the changed folders read again (and what appeared below them walked);
// anything else is walked anew.
ObjectWalk UpdateWalk(std::string_view path, const ObjectWalk& previous, const std::vector<std::string>& changed,
                      const WalkControl& control = {});

// WalkTree(path).Sum(): the counts of an object.
ObjectSize WalkObject(std::string_view path, const WalkControl& control = {});

// The identity of what a path names, links in its last part not followed.
bool IdentityOf(const std::string& hostPath, FileId& id);

// The folder that holds a host path: "/" for a name in the root, "." for a bare name.
std::string ParentHostFolder(const std::string& hostPath);
