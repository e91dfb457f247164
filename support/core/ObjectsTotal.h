#pragma once

#include "support/core/ObjectSize.h"

#include <cstdint>
#include <string>
#include <vector>

// Which object of a catalog already holds another, and the catalog's total with every file
// counted once.

// For each object, the index of the first listed object that holds it (a folder it lies in,
// a wildcard that matches it or the same object named another way), or -1. Of two objects
// that hold each other (one object listed twice) the later one is held.
std::vector<int> HoldingObjects(const std::vector<ObjectSize>& sizes);
std::vector<int> HoldingObjects(const std::vector<const ObjectSize*>& sizes);

struct SizeTotal {
    std::int64_t bytes = 0;
    std::int64_t files = 0;
    std::int64_t folders = 0;
    std::vector<std::string> unreadable;

    bool Partial() const { return !unreadable.empty(); }
};

// The total of the objects no other object holds; a file with several names reached by two
// of them counts once.
SizeTotal TotalOf(const std::vector<ObjectSize>& sizes);
SizeTotal TotalOf(const std::vector<const ObjectSize*>& sizes);
// The same, with the objects' holders as HoldingObjects gives them.
SizeTotal TotalOf(const std::vector<const ObjectSize*>& sizes, const std::vector<int>& holders);
