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
    void Erase(std::size_t index);
    // Key i becomes key order[i].
    void Permute(const std::vector<int>& order);

    // Negative, zero or positive as text a collates before, with or after text b.
    int Compare(std::size_t a, std::size_t b) const;

private:
    UCollator* collator_ = nullptr;
    std::string bytes_;
    std::vector<std::uint32_t> offsets_;
};
