#include "support/core/Cp932.h"
#include "support/core/HostPath.h"

#include <gtest/gtest.h>

namespace {

const std::string So = "\x83\x5C";

}  // namespace

TEST(HostPath, ConvertsBothWaysAndRefusesNamesWithoutAForm)
{
    EXPECT_EQ(ToHostPath("/tmp/" + So), std::optional<std::string>("/tmp/ソ"));
    EXPECT_EQ(FromHostPath("/tmp/ソ"), std::optional<std::string>("/tmp/" + So));
    EXPECT_FALSE(FromHostPath("/tmp/\xF0\x9F\x98\x80"));  // no code page 932 form
    EXPECT_FALSE(FromHostPath("/tmp/\xFF"));  // not UTF-8
    EXPECT_FALSE(ToHostPath("/tmp/\x83"));  // cut double-byte character
    EXPECT_EQ(ToQtPath(So), std::optional<QString>(QStringLiteral("ソ")));
    EXPECT_EQ(FromQtPath(QStringLiteral("ソ")), std::optional<std::string>(So));
}

TEST(HostPath, SplitsAtTheLastHostDelimiter)
{
    EXPECT_EQ(ExtractFileName("/home/u/" + So + ".txt"), So + ".txt");
    EXPECT_EQ(ExtractFilePath("/home/u/" + So + ".txt"), "/home/u/");
    EXPECT_EQ(ExtractFileName("C:\\" + So), "C:\\" + So);  // a Windows path has no "/"
    EXPECT_EQ(ExtractFilePath("name"), "");
    EXPECT_EQ(ExtractFilePath("/"), "/");
}

TEST(HostPath, ExtensionsBelongToTheLastPart)
{
    EXPECT_EQ(ExtractFileExt("/a/x.tar.gz"), ".gz");
    EXPECT_EQ(ExtractFileExt("/a.b/Makefile"), "");
    EXPECT_EQ(ExtractFileExt("/a/name."), ".");
    EXPECT_EQ(ChangeFileExt("/a/" + So + ".txt", ".VrCat"), "/a/" + So + ".VrCat");
    EXPECT_EQ(ChangeFileExt("/a.b/Makefile", ".bak"), "/a.b/Makefile.bak");
    EXPECT_EQ(ChangeFileExt("/a/x.txt", ""), "/a/x");
}
