#include "support/ui/ObjectIcons.h"

#include "tests/common/IconTheme.h"
#include "tests/common/QtTestMain.h"

#include <QMimeDatabase>

class TestObjectIcons : public QObject {
    Q_OBJECT

    PlainTextIconTheme theme_;

private slots:
    // The database's Japanese comment, also under a locale of another language: the
    // interface is Japanese, so are its type names.
    void TypeTextIsTheJapaneseMimeCommentOfTheWholeName()
    {
        const QMimeDatabase mimes;
        const auto japanese = [&mimes](const char* name) {
            return mimes.mimeTypeForName(QString::fromLatin1(name)).comment();
        };
        const QString plainText = japanese("text/plain");
        const QString gzip = japanese("application/gzip");
        const QString tarGzip = japanese("application/x-compressed-tar");
        QLocale::setDefault(QLocale::c());
        QVERIFY(mimes.mimeTypeForName(QStringLiteral("text/plain")).comment() != plainText);
        QCOMPARE(FileTypeForName(QStringLiteral("report.txt")), plainText);
        // Asked after "x.gz", "a.tar.gz" still gets its own answer: names share a type only
        // when they share the whole ending from the first dot.
        QCOMPARE(FileTypeForName(QStringLiteral("x.gz")), gzip);
        QCOMPARE(FileTypeForName(QStringLiteral("a.tar.gz")), tarGzip);
        QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
    }

    void UnknownTypesFallBackToTheExtensionWord()
    {
        QCOMPARE(FileTypeForName(QStringLiteral("data.zzqx")), QStringLiteral("ZZQX ファイル"));
        QCOMPARE(FileTypeForName(QStringLiteral("Other.ZZQX")), QStringLiteral("ZZQX ファイル"));
        QCOMPARE(FileTypeForName(QStringLiteral(".zzqy")), QStringLiteral("ZZQY ファイル"));
        QCOMPARE(FileTypeForName(QStringLiteral("name.")), QStringLiteral(" ファイル"));
        QCOMPARE(FileTypeForName(QStringLiteral("zzqxnotes")), QStringLiteral("ファイル"));
    }

    void ANameStartingWithADotIsItsOwnType()
    {
        // Asked after ".a.zzq" (extension "a.zzq"), "x.a.zzq" still gets its own extension.
        QCOMPARE(FileTypeForName(QStringLiteral(".a.zzq")), QStringLiteral("A.ZZQ ファイル"));
        QCOMPARE(FileTypeForName(QStringLiteral("x.a.zzq")), QStringLiteral("ZZQ ファイル"));
        // ".txt" is a hidden file of its own type, not a text file: its icon agrees with its text.
        QCOMPARE(FileTypeForName(QStringLiteral(".txt")), QStringLiteral("TXT ファイル"));
        QCOMPARE(FileIconForName(QStringLiteral(".txt")).cacheKey(), GenericFileIcon().cacheKey());
    }

    void FilesWithoutAKnownExtensionShareTheGenericIcon()
    {
        const qint64 generic = GenericFileIcon().cacheKey();
        QCOMPARE(FileIconForName(QStringLiteral("zzqxnotes")).cacheKey(), generic);
        QCOMPARE(FileIconForName(QStringLiteral("name.")).cacheKey(), generic);
        QCOMPARE(FileIconForName(QStringLiteral("data.zzqx")).cacheKey(), generic);
        QCOMPARE(FileIconForName(QStringLiteral("B.TXT")).cacheKey(),
                 FileIconForName(QStringLiteral("a.txt")).cacheKey());
        QVERIFY(FileIconForName(QStringLiteral("a.txt")).cacheKey() != generic);
        QVERIFY(FolderIcon().cacheKey() != generic);
    }

    void AMissingObjectShowsTheGenericIconFaded()
    {
        const QImage faded = GenericFileIcon().pixmap(16, QIcon::Disabled).toImage();
        QVERIFY(!faded.isNull());
        QCOMPARE(MissingFileIcon().pixmap(16).toImage(), faded);
        QCOMPARE(MissingFileIcon().pixmap(16, QIcon::Selected).toImage(), faded);
        QVERIFY(faded != GenericFileIcon().pixmap(16).toImage());
    }
};

TESSNA_QTEST_MAIN(TestObjectIcons)

#include "ObjectIcons_test.moc"
