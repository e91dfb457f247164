#include "catalog/ObjectList.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace {

using Paths = std::vector<std::string>;

// What a save writes for the list's objects: each path followed by CR LF.
std::string Written(const ObjectList& list)
{
    std::string text;
    for (const std::string_view run : list.LineRuns())
        text.append(run);
    return text;
}

std::string Lines(const Paths& paths)
{
    std::string text;
    for (const std::string& path : paths)
        text.append(path).append("\r\n");
    return text;
}

// A list that refers to the lines of a text where they stand, as a catalog read from a file.
ObjectList InPlace(const std::string& text)
{
    const auto bytes = std::make_shared<const std::string>(text);
    std::vector<std::string_view> lines;
    for (std::size_t at = 0; at < bytes->size();) {
        const std::size_t end = bytes->find("\r\n", at);
        lines.emplace_back(bytes->data() + at, end - at);
        at = end + 2;
    }
    return ObjectList::OfLines(bytes, std::move(lines), true);
}

}  // namespace

TEST(ObjectList, InsertsAndErasesAtPositions)
{
    struct Case {
        Paths start;
        std::function<void(ObjectList&)> change;
        Paths expected;
    };
    const Case cases[] = {
        {{}, [](ObjectList& l) { l.InsertAt({0, 1}, {"/a", "/b"}); }, {"/a", "/b"}},
        {{"/a", "/c"}, [](ObjectList& l) { l.InsertAt({1}, {"/b"}); }, {"/a", "/b", "/c"}},
        {{"/b"}, [](ObjectList& l) { l.InsertAt({0, 2}, {"/a", "/c"}); }, {"/a", "/b", "/c"}},
        {{"/a"}, [](ObjectList& l) { l.InsertAt({1, 2}, {"/b", "/c"}); }, {"/a", "/b", "/c"}},
        {{"/a", "/b", "/c", "/d"}, [](ObjectList& l) { l.EraseAt({0, 2}); }, {"/b", "/d"}},
        {{"/a", "/b"}, [](ObjectList& l) { l.EraseAt({0, 1}); }, {}},
        {{"/a", "/b"}, [](ObjectList& l) { l.EraseAt({}); }, {"/a", "/b"}},
        {{"/a", "/c"}, [](ObjectList& l) { l.insert(l.begin() + 1, "/b"); }, {"/a", "/b", "/c"}},
        {{"/a", "/b", "/c"}, [](ObjectList& l) { l.erase(l.begin() + 1); }, {"/a", "/c"}},
        {{"/a", "/b", "/c"}, [](ObjectList& l) { l.erase(l.begin(), l.begin() + 2); }, {"/c"}},
        {{"/a"}, [](ObjectList& l) { l.push_back(""); }, {"/a", ""}},
        {{"/a", "/b"}, [](ObjectList& l) { l.clear(); }, {}},
    };
    for (const Case& c : cases) {
        ObjectList list(c.start);
        c.change(list);
        EXPECT_EQ(list.ToStrings(), c.expected) << ::testing::PrintToString(c.start);
        EXPECT_EQ(Written(list), Lines(c.expected)) << ::testing::PrintToString(c.start);
    }
}

TEST(ObjectList, RefusesPositionsOutOfOrderOrRange)
{
    const std::function<void(ObjectList&)> changes[] = {
        [](ObjectList& l) { l.InsertAt({1, 0}, {"/x", "/y"}); },
        [](ObjectList& l) { l.InsertAt({1, 1}, {"/x", "/y"}); },
        [](ObjectList& l) { l.InsertAt({3}, {"/x"}); },
        [](ObjectList& l) { l.InsertAt({0}, {"/x", "/y"}); },
        [](ObjectList& l) { l.EraseAt({1, 0}); },
        [](ObjectList& l) { l.EraseAt({2}); },
    };
    for (const auto& change : changes) {
        ObjectList list{"/a", "/b"};
        EXPECT_THROW(change(list), std::logic_error);
        EXPECT_EQ(list, (Paths{"/a", "/b"}));
    }
}

// Lists are equal by their paths, byte for byte, however their bytes are held.
TEST(ObjectList, ComparesByPaths)
{
    struct Case {
        ObjectList a;
        ObjectList b;
        bool equal;
    };
    const Case cases[] = {
        {{}, {}, true},
        {{"/a", "/b"}, InPlace("/a\r\n/b\r\n"), true},
        {{"/a", "/b"}, {"/b", "/a"}, false},
        {{"/a"}, {"/A"}, false},
        {{"/a"}, {"/a", "/a"}, false},
        {{""}, {}, false},
        {{std::string_view("/a\0b", 4)}, {"/a"}, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.a == c.b, c.equal) << ::testing::PrintToString(c.a);
        EXPECT_EQ(c.b == c.a, c.equal) << ::testing::PrintToString(c.a);
    }
}

// A copy shares the bytes it was made from, yet a change of either list leaves the other
// as it was, also once both have added paths into what the first had room for.
TEST(ObjectList, CopiesStayIndependentAfterAChange)
{
    const std::function<void(ObjectList&)> changes[] = {
        [](ObjectList& l) { l.push_back("/new"); },
        [](ObjectList& l) { l.InsertAt({0}, {"/first"}); },
        [](ObjectList& l) { l.EraseAt({1}); },
        [](ObjectList& l) { l = ObjectList{"/other"}; },
        [](ObjectList& l) { l.clear(); },
    };
    for (const bool read : {false, true}) {
        for (const auto& change : changes) {
            ObjectList original = read ? InPlace("/a\r\n/b\r\n") : ObjectList{"/a", "/b"};
            original.push_back("/c");
            ObjectList copy = original;
            change(copy);
            original.push_back("/d");
            EXPECT_EQ(original, (Paths{"/a", "/b", "/c", "/d"}));
            EXPECT_EQ(Written(original), Lines({"/a", "/b", "/c", "/d"}));
            copy.push_back("/e");
            EXPECT_EQ(copy.back(), "/e");
            EXPECT_EQ(Written(copy), Lines(copy.ToStrings()));
        }
    }
}

// The object lines a save writes are every path followed by CR LF, in order, whatever mix
// of read, added, erased and copied paths the list holds, and however many chunks it took.
TEST(ObjectList, GivesItsLinesAsRunsOfItsBytes)
{
    struct Case {
        const char* name;
        std::function<ObjectList()> make;
        std::size_t maxRuns;
    };
    const Case cases[] = {
        {"read", [] { return InPlace("/a\r\n/b\r\n/c\r\n"); }, 1},
        {"read, lines not ended by CR LF", [] {
             const auto bytes = std::make_shared<const std::string>("/a\n/b\r/c");
             const std::string_view text = *bytes;
             return ObjectList::OfLines(bytes, {text.substr(0, 2), text.substr(3, 2), text.substr(6, 2)}, false);
         }, 1},
        {"read, one added", [] {
             ObjectList list = InPlace("/a\r\n/b\r\n");
             list.push_back("/new");
             return list;
         }, 2},
        {"read, middle erased", [] {
             ObjectList list = InPlace("/a\r\n/b\r\n/c\r\n");
             list.EraseAt({1});
             return list;
         }, 2},
        {"read, inserted in the middle", [] {
             ObjectList list = InPlace("/a\r\n/b\r\n");
             list.InsertAt({1}, {"/x"});
             return list;
         }, 3},
        {"pushed one by one", [] {
             ObjectList list;
             for (int i = 0; i < 5000; ++i)
                 list.push_back("/folder/file_" + std::to_string(i));
             return list;
         }, 20},
        {"copied before each push", [] {
             ObjectList list;
             std::vector<ObjectList> copies;
             for (int i = 0; i < 600; ++i) {
                 copies.push_back(list);
                 list.push_back("/p" + std::to_string(i));
             }
             return list;
         }, 600},
        {"most erased", [] {
             ObjectList list;
             for (int i = 0; i < 20000; ++i)
                 list.push_back(std::string(100, char('a' + i % 26)));
             std::vector<std::size_t> positions;
             for (std::size_t i = 0; i < 19990; ++i)
                 positions.push_back(i);
             list.EraseAt(positions);
             return list;
         }, 10},
    };
    for (const Case& c : cases) {
        const ObjectList list = c.make();
        EXPECT_EQ(Written(list), Lines(list.ToStrings())) << c.name;
        EXPECT_LE(list.LineRuns().size(), c.maxRuns) << c.name;
    }
}

TEST(ObjectList, FindsThePathsThatAreNoLinesOfTheirOwn)
{
    struct Case {
        std::function<ObjectList()> make;
        std::optional<std::string> expected;
    };
    const Case cases[] = {
        {[] { return ObjectList{"/a", "/b"}; }, std::nullopt},
        {[] { return ObjectList{"/a", ""}; }, ""},
        {[] { return ObjectList{"/a", "/b\rc", "/d\ne"}; }, "/b\rc"},
        {[] { return ObjectList{"/a\nb"}; }, "/a\nb"},
        {[] { return ObjectList{std::string_view("/a\0b", 4)}; }, std::string("/a\0b", 4)},
        {[] {
             ObjectList list = InPlace("/a\r\n/b\r\n");
             list.push_back("/c\r");
             return list;
         }, "/c\r"},
        {[] {
             ObjectList list = InPlace("/a\r\n");
             list.push_back("/bad\n");
             list.EraseAt({1});
             return list;
         }, std::nullopt},
    };
    for (const Case& c : cases) {
        const ObjectList list = c.make();
        const auto found = list.FirstNonLine();
        EXPECT_EQ(found ? std::optional<std::string>(*found) : std::nullopt, c.expected);
    }
}
