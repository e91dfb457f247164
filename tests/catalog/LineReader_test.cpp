#include "catalog/LineReader.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace {

using Lines = std::vector<std::string>;

Lines Split(std::string_view text)
{
    Lines lines;
    LineReader reader(text);
    std::string_view line;
    while (reader.Next(line))
        lines.emplace_back(line);
    return lines;
}

// The rule, byte by byte: a line ends at CR, at LF or at a CR LF pair.
Lines SplitByteByByte(std::string_view text)
{
    Lines lines;
    for (std::size_t at = 0; at < text.size();) {
        std::size_t end = at;
        while (end < text.size() && text[end] != '\r' && text[end] != '\n')
            ++end;
        lines.emplace_back(text.substr(at, end - at));
        at = end + (text.substr(end, 2) == "\r\n" ? 2 : 1);
    }
    return lines;
}

}  // namespace

TEST(LineReader, EndsLinesAtCrLfOrCrLfWhereverTheyFall)
{
    const std::string sixteen(16, 'x');
    const struct {
        std::string text;
        Lines expected;
    } cases[] = {
        {"", {}},
        {"a", {"a"}},
        {"a\r\nb\rc\nd", {"a", "b", "c", "d"}},
        {"\r\n\n\r", {"", "", ""}},
        {"\n\r", {"", ""}},
        {std::string(15, 'x') + "\r\n" + sixteen, {std::string(15, 'x'), sixteen}},
        {sixteen + "\r\n", {sixteen}},
        {sixteen + sixteen + "y\n", {sixteen + sixteen + "y"}},
        {std::string("a\0b\r\n", 5), {std::string("a\0b", 3)}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Split(c.text), c.expected) << c.text;
}

TEST(LineReader, SplitsRandomTextsAsTheRuleDoes)
{
    std::mt19937 random(11);
    const char bytes[] = {'a', '\r', '\n', 'b', '\0', '\x81'};
    for (int i = 0; i < 2000; ++i) {
        std::string text;
        for (std::size_t n = random() % 80; n > 0; --n)
            text.push_back(bytes[random() % (random() % 2 ? 1 : sizeof bytes)]);
        ASSERT_EQ(Split(text), SplitByteByByte(text)) << i;
    }
}
