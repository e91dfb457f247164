#include "support/core/RegistryFile.h"
#include "support/core/WinReg.h"

#include <gtest/gtest.h>

#include <random>

namespace {

constexpr char Root[] = "HKEY_CURRENT_USER";
const std::string So = "\x83\x5C";  // ソ: its trail byte is a backslash

RegistryFile ParseOrFail(const std::string& bytes)
{
    auto file = RegistryFile::Parse(bytes, Root);
    EXPECT_TRUE(file) << bytes;
    return file ? *file : RegistryFile(Root);
}

const std::string Sample = "REGEDIT4\r\n"
                           "\r\n"
                           "; kept as it is\r\n"
                           "[HKEY_CURRENT_USER\\Software\\Kavo\\DeVad\\Grep]\r\n"
                           "\"PlaceTreeWidth\"=dword:000000a0\r\n"
                           "\"Path\"=\"C:\\\\Data\\\\"
    + So
    + "\\\\ \\\"q\\\"\"\r\n"
      "\"Expand\"=hex(2):25,54,45,4d,50,25,00\r\n"
      "\"Blob\"=hex:01,02,\\\r\n"
      "  03,ff\r\n"
      "\"Multi\"=hex(7):61,00,62,00,00\r\n"
      "@=\"default\"\r\n"
      "\r\n"
      "[HKEY_LOCAL_MACHINE\\Software\\Other]\r\n"
      "\"X\"=dword:1\n"
      "\r\n"
      "[HKEY_CURRENT_USER\\Software\\Kavo\\DeVad\\Dialog\\Cabinet]\r\n"
      "\"Count\"=dword:00000002\r\n";

}  // namespace

TEST(RegistryFile, ParsesEveryValueType)
{
    const RegistryFile file = ParseOrFail(Sample);
    const std::string grep = "Software\\Kavo\\DeVad\\Grep";
    EXPECT_EQ(*file.FindValue(grep, "PlaceTreeWidth"), RegistryValue::Dword(160));
    EXPECT_EQ(*file.FindValue(grep, "Path"), RegistryValue::String("C:\\Data\\" + So + "\\ \"q\""));
    EXPECT_EQ(*file.FindValue(grep, "Expand"),
        (RegistryValue { REG_EXPAND_SZ, std::string("%TEMP%\0", 7) }));
    EXPECT_EQ(*file.FindValue(grep, "Blob"), (RegistryValue { REG_BINARY, "\x01\x02\x03\xFF" }));
    EXPECT_EQ(file.FindValue(grep, "Multi")->type, 7u);
    EXPECT_EQ(*file.FindValue(grep, ""), RegistryValue::String("default"));
    EXPECT_EQ(*file.FindValue("software\\KAVO\\devad\\grep", "placetreewidth"),
        RegistryValue::Dword(160));
    EXPECT_EQ(file.FindValue("Software\\Other", "X"), nullptr);  // another root
    EXPECT_EQ(file.FindValue(grep, "Missing"), nullptr);
}

TEST(RegistryFile, KeysExistThroughTheirSectionsOrTheirChildren)
{
    const RegistryFile file = ParseOrFail(Sample);
    EXPECT_TRUE(file.KeyExists(""));
    EXPECT_TRUE(file.KeyExists("Software\\Kavo"));
    EXPECT_TRUE(file.KeyExists("Software\\Kavo\\DeVad\\Dialog"));
    EXPECT_FALSE(file.KeyExists("Software\\Kav"));
    EXPECT_FALSE(file.KeyExists("Software\\Other"));
}

TEST(RegistryFile, UnchangedFileSerializesToItsOwnBytes)
{
    EXPECT_EQ(ParseOrFail(Sample).Serialize(), Sample);
    EXPECT_EQ(ParseOrFail("REGEDIT4").Serialize(), "REGEDIT4");
}

TEST(RegistryFile, AChangeTouchesOnlyItsOwnLine)
{
    RegistryFile file = ParseOrFail(Sample);
    EXPECT_TRUE(
        file.SetValue("Software\\Kavo\\DeVad\\Grep", "placetreewidth", RegistryValue::Dword(-1)));
    EXPECT_FALSE(
        file.SetValue("Software\\Kavo\\DeVad\\Grep", "PlaceTreeWidth", RegistryValue::Dword(-1)));
    std::string expected = Sample;
    expected.replace(expected.find("\"PlaceTreeWidth\"=dword:000000a0"), 31,
        "\"PlaceTreeWidth\"=dword:ffffffff");
    EXPECT_EQ(file.Serialize(), expected);
}

TEST(RegistryFile, NewValuesAndKeysGoNextToTheirRelatives)
{
    RegistryFile file = ParseOrFail(Sample);
    file.SetValue("Software\\Kavo\\DeVad\\Grep", "New", RegistryValue::Dword(1));
    file.SetValue("Software\\Kavo\\DeVad\\Setting", "BeepSound", RegistryValue::Dword(1));
    const std::string text = file.Serialize();
    EXPECT_NE(
        text.find("@=\"default\"\r\n\"New\"=dword:00000001\r\n\r\n[HKEY_LOCAL"), std::string::npos)
        << text;
    EXPECT_TRUE(text.ends_with("\"Count\"=dword:00000002\r\n"
                               "[HKEY_CURRENT_USER\\Software\\Kavo\\DeVad\\Setting]\r\n"
                               "\"BeepSound\"=dword:00000001\r\n\r\n"))
        << text;
    const RegistryFile again = ParseOrFail(text);
    EXPECT_EQ(
        *again.FindValue("Software\\Kavo\\DeVad\\Setting", "BeepSound"), RegistryValue::Dword(1));
}

TEST(RegistryFile, EveryTypeRoundTrips)
{
    const std::string longData(200, '\x5C');
    const std::vector<RegistryValue> values = {
        RegistryValue::String(""),
        RegistryValue::String("C:\\" + So + "\\\"x\""),
        RegistryValue::String(So),
        RegistryValue::Dword(0),
        RegistryValue::Dword(-2147483647 - 1),
        { REG_EXPAND_SZ, std::string("%HOME%\0", 7) },
        { REG_BINARY, "" },
        { REG_BINARY, longData },
        { REG_SZ, std::string("a\0b\0", 4) },  // embedded NUL: kept as hex(1)
        { REG_SZ, "two\r\nlines" },
        { REG_DWORD, "\x01\x02" },
        { 11, "12345678" },
        { REG_NONE, "" },
    };
    RegistryFile file(Root);
    for (size_t i = 0; i < values.size(); ++i)
        file.SetValue("Software\\Kavo\\DeVad\\" + So, "v" + std::to_string(i), values[i]);
    const std::string text = file.Serialize();
    const RegistryFile again = ParseOrFail(text);
    for (size_t i = 0; i < values.size(); ++i) {
        const RegistryValue* value
            = again.FindValue("Software\\Kavo\\DeVad\\" + So, "v" + std::to_string(i));
        ASSERT_NE(value, nullptr) << i;
        EXPECT_EQ(*value, values[i]) << i << "\n" << text;
    }
    EXPECT_NE(text.find("\"v2\"=\"" + So + "\"\r\n"), std::string::npos);  // trail byte not escaped
    EXPECT_NE(text.find("\"v11\"=hex(b):"), std::string::npos);
    for (size_t start = 0, end; (end = text.find("\r\n", start)) != std::string::npos;
         start = end + 2)
        EXPECT_LE(end - start, 80u);
}

TEST(RegistryFile, RefusesWhatItCouldNotRewriteFaithfully)
{
    const std::vector<std::string> bad = {
        "Windows Registry Editor Version 5.00\r\n",
        "\xEF\xBB\xBFREGEDIT4\r\n",
        "REGEDIT4\r\n\"Orphan\"=dword:1\r\n",
        "REGEDIT4\r\n[HKEY_CURRENT_USER\\A\r\n",
        "REGEDIT4\r\n[-HKEY_CURRENT_USER\\A]\r\n",
        "REGEDIT4\r\n[HKEY_CURRENT_USER\\A]\r\n\"V\"=-\r\n",
        "REGEDIT4\r\n[HKEY_CURRENT_USER\\A]\r\n\"V\"=dword:123456789\r\n",
        "REGEDIT4\r\n[HKEY_CURRENT_USER\\A]\r\n\"V\"=dword:xyz\r\n",
        "REGEDIT4\r\n[HKEY_CURRENT_USER\\A]\r\n\"V\"=hex:1,2g\r\n",
        "REGEDIT4\r\n[HKEY_CURRENT_USER\\A]\r\n\"V\"=hex:01,,02\r\n",
        "REGEDIT4\r\n[HKEY_CURRENT_USER\\A]\r\n\"V\"=hex(:01\r\n",
        "REGEDIT4\r\n[HKEY_CURRENT_USER\\A]\r\n\"V\"=\"unterminated\r\n",
        "REGEDIT4\r\n[HKEY_CURRENT_USER\\A]\r\n\"V\"=\"a\"b\r\n",
        "REGEDIT4\r\n[HKEY_CURRENT_USER\\A]\r\n\"V\"=text\r\n",
        "REGEDIT4\r\n[HKEY_CURRENT_USER\\A]\r\nV=dword:1\r\n",
        "REGEDIT4\r\n[HKEY_CURRENT_USER\\A]\r\n\"V\"dword:1\r\n",
    };
    for (const auto& bytes : bad)
        EXPECT_FALSE(RegistryFile::Parse(bytes, Root)) << bytes;
    EXPECT_TRUE(RegistryFile::Parse("", Root));
    EXPECT_TRUE(
        RegistryFile::Parse("REGEDIT4\n[HKEY_CURRENT_USER\\A]\n\"V\"=hex:01,\\\n 02\n", Root));
}

TEST(RegistryFile, DamagedFilesAreRefusedOrKeptByteForByte)
{
    std::mt19937 random(7);
    const std::string alphabet = "[]\"\\=@;:,()-\r\n hexdword0123456789abcdefHKEY_CURRENT_USER\x83\x5C";
    int parsed = 0;
    for (int round = 0; round < 3000; ++round) {
        std::string bytes = Sample;
        for (int edits = 1 + static_cast<int>(random() % 4); edits > 0; --edits) {
            const size_t at = random() % bytes.size();
            switch (random() % 3) {
            case 0:
                bytes.erase(at, 1 + random() % 3);
                break;
            case 1:
                bytes.insert(at, 1, alphabet[random() % alphabet.size()]);
                break;
            default:
                bytes[at] = alphabet[random() % alphabet.size()];
            }
        }
        auto file = RegistryFile::Parse(bytes, Root);
        if (!file)
            continue;
        ++parsed;
        ASSERT_EQ(file->Serialize(), bytes);
        file->SetValue("Software\\Kavo\\DeVad\\Grep", "Added", RegistryValue::Dword(round));
        const auto again = RegistryFile::Parse(file->Serialize(), Root);
        ASSERT_TRUE(again) << file->Serialize();
        EXPECT_EQ(*again->FindValue("Software\\Kavo\\DeVad\\Grep", "Added"),
                  RegistryValue::Dword(round));
    }
    EXPECT_GT(parsed, 300);  // both outcomes are exercised
    EXPECT_LT(parsed, 2700);
}

TEST(RegistryFile, OddLineEndsStayWritable)
{
    for (const std::string bytes : { "REGEDIT4\r", "REGEDIT4\r\n[HKEY_CURRENT_USER\\A]\r\n\"V\"=dword:1\r" }) {
        RegistryFile file = ParseOrFail(bytes);
        file.SetValue("A", "W", RegistryValue::Dword(2));
        const auto again = RegistryFile::Parse(file.Serialize(), Root);
        ASSERT_TRUE(again) << file.Serialize();
        EXPECT_EQ(*again->FindValue("A", "W"), RegistryValue::Dword(2));
    }
    // A continuation with nothing after it is a damaged value, not a crash.
    EXPECT_FALSE(RegistryFile::Parse("REGEDIT4\n[HKEY_CURRENT_USER\\A]\n\\\n\n", Root));
}
