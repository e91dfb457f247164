#include "support/core/MimeComment.h"
#include "tests/common/ScopedEnv.h"
#include "tests/common/TempFolder.h"

#include <gtest/gtest.h>

TEST(MimeComment, TakesTheCommentOfTheLanguageAskedFor)
{
    TempFolder data;
    data.Write("mime/application/x-tessna-test.xml",
               "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
               "<mime-type xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\" type=\"application/x-tessna-test\">\n"
               "  <comment>test document</comment>\n"
               "  <comment xml:lang=\"ja_JP\">地域の文書</comment>\n"
               "  <comment xml:lang=\"ja\">試験文書 </comment>\n"
               "  <comment xml:lang=\"fr\">document de test</comment>\n"
               "</mime-type>\n");
    const ScopedEnv dirs("XDG_DATA_DIRS", QByteArray::fromStdString(data.Path()));

    EXPECT_EQ(MimeComment("application/x-tessna-test", "ja"), QStringLiteral("試験文書"));
    EXPECT_EQ(MimeComment("application/x-tessna-test", "fr"), QStringLiteral("document de test"));
    EXPECT_EQ(MimeComment("application/x-tessna-test", "de"), QString());
    EXPECT_EQ(MimeComment("application/x-tessna-none", "ja"), QString());
}
