#pragma once

#include "catalog/CatalogEntry.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// The bytes a save writes for a catalog (CatalogText: its head lines, then each object path
// followed by CR LF) as parts in order. The object lines are views of the objects where they
// stand in memory, so that a catalog of a million objects is written without composing a
// second copy of its text. The parts refer to the entry's objects: the entry must stay
// unchanged while they are used.
class CatalogTextParts {
public:
    explicit CatalogTextParts(const TCatalogEntry& entry);

    // The head lines up to and with "[Objects]", each followed by CR LF.
    const std::string& Head() const { return head_; }
    // The head, then the object lines.
    std::vector<std::string_view> Parts() const;
    std::size_t Size() const { return size_; }
    bool Equals(std::string_view bytes) const;
    std::string Joined() const;

private:
    std::string head_;
    std::vector<std::string_view> objectLines_;
    std::size_t size_ = 0;
};
