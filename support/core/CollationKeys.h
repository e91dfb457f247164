#pragma once

#include <QString>

#include <cstdint>
#include <string>
#include <vector>

struct UCollator;

// Collation keys of many texts under the default locale's case-sensitive collation (the
// comparison QCollator makes), kept in one block of memory: comparing two keys is one
// byte comparison, which is what makes sorting a hundred thousand rows cheap. Keys are
// numbered in the order they were added.
class CollationKeys {
public:
    CollationKeys();
    ~CollationKeys();
    CollationKeys(const CollationKeys&) = delete;
    CollationKeys& operator=(const CollationKeys&) = delete;

    bool Empty() const { return offsets_.empty(); }
    void Clear();
    void Reserve(std::size_t count);
    void Append(const QString& text);
    // Keys taken out, in the order they had.
    struct Taken {
        std::string bytes;
        std::vector<std::uint32_t> offsets;
    };

    // Takes out the keys at these indexes (ascending, each once) and gives them back; the
    // others keep their order. The memory of erased keys is given back once it outweighs the
    // keys kept.
    Taken Erase(const std::vector<int>& indexes);
    // Appends key i of keys taken out (of keys of the same collation).
    void Append(const Taken& taken, std::size_t i);
    // Key i becomes key order[i].
    void Permute(const std::vector<int>& order);

    // Negative, zero or positive as text a collates before, with or after text b.
    int Compare(std::size_t a, std::size_t b) const;

private:
    std::size_t KeySize(std::uint32_t offset) const;
    // Copies the keys kept into a block of their own.
    void Compact();

    UCollator* collator_ = nullptr;
    std::string bytes_;
    // The bytes of bytes_ that keys still use.
    std::size_t usedBytes_ = 0;
    std::vector<std::uint32_t> offsets_;
};
