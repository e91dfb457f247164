#include "catalog/JournalFormat.h"
#include "support/core/FileFacts.h"
#include "support/core/Sha256.h"
#include "tests/catalog/SampleJournal.h"

#include <gtest/gtest.h>

namespace {

using namespace std::string_literals;

TEST(JournalFormat, AStateComesBackAsItWasWritten)
{
    const JournalState states[] = {SampleJournal(), JournalState{}, SampleJournal(Cp932Text("/媒体/ソフト/"))};
    for (const JournalState& state : states) {
        const auto read = DecodeJournal(EncodeJournal(state));
        ASSERT_TRUE(read);
        EXPECT_EQ(*read, state);
    }
}

TEST(JournalFormat, ItsHeaderHoldsANulSoNoTextTestTakesItForText)
{
    const std::string bytes = EncodeJournal(SampleJournal());
    EXPECT_TRUE(bytes.starts_with(JournalHeader()));
    EXPECT_NE(JournalHeader().find('\0'), std::string_view::npos);
    EXPECT_FALSE(StartsAsText(bytes));
}

TEST(JournalFormat, EveryShortenedJournalIsRefused)
{
    const std::string bytes = EncodeJournal(SampleJournal());
    for (std::size_t size = 0; size < bytes.size(); ++size)
        EXPECT_FALSE(DecodeJournal(std::string_view(bytes).substr(0, size))) << "cut to " << size;
    EXPECT_FALSE(DecodeJournal(bytes + '\0'));
}

TEST(JournalFormat, EveryChangedByteIsRefused)
{
    const std::string bytes = EncodeJournal(SampleJournal());
    for (std::size_t at = 0; at < bytes.size(); ++at) {
        for (const unsigned char flip : {0x01, 0x80}) {
            std::string changed = bytes;
            changed[at] = static_cast<char>(changed[at] ^ flip);
            EXPECT_FALSE(DecodeJournal(changed)) << "byte " << at << " flipped by " << int(flip);
        }
    }
}

// A body whose digest is right but whose counts or lengths run past its end: refused, without
// reading past the bytes or reserving room for the counts it claims.
TEST(JournalFormat, ABodyThatClaimsMoreThanItHoldsIsRefusedEvenWithItsDigestRight)
{
    const std::string bytes = EncodeJournal(JournalState{});
    const std::string body = bytes.substr(0, bytes.size() - 32);
    // entries, the list as read, the files listed then, fingerprints: 4-byte counts
    const std::size_t entryCount = body.size() - 16;
    const struct {
        std::size_t at;
        std::string value;
    } lies[] = {
        {JournalHeader().size(), "\xff\xff\xff\x7f"s},  // the folder's length
        {entryCount, "\xff\xff\xff\xff"s},               // the number of entries
        {entryCount + 4, "\x01\x00\x00\x00"s},           // one file of the list as read, none there
        {entryCount + 8, "\x01\x00\x00\x00"s},           // one file listed then, none there
        {entryCount + 12, "\x01\x00\x00\x00"s},          // one fingerprint, none there
        {JournalHeader().size() + 4 + 16, "\x02"s},      // listChanged neither 0 nor 1
    };
    for (const auto& lie : lies) {
        std::string changed = body;
        changed.replace(lie.at, lie.value.size(), lie.value);
        EXPECT_FALSE(DecodeJournal(changed + Sha256(changed))) << "at " << lie.at;
    }
    const std::string versionOne = std::string(JournalHeader().substr(0, 14)) + "\x01" + body.substr(15);
    EXPECT_FALSE(DecodeJournal(versionOne + Sha256(versionOne)));
    EXPECT_TRUE(DecodeJournal(body + Sha256(body)));
}

}  // namespace
