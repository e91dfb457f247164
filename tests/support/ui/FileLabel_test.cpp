#include "support/ui/FileLabel.h"

#include "support/core/Cp932.h"
#include "tests/common/QtTestMain.h"
#include "tests/common/ShowWindow.h"

#include <QFontDatabase>
#include <QHBoxLayout>

namespace {

const std::string kReport = "C:\\Users\\Documents\\Reports\\summary.txt";

// A font in which every character the tests use is exactly as wide as the others, so that
// label widths are counted in characters as in the path caption's own examples.
QFont FixedFont(int pixelSize)
{
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPixelSize(pixelSize);
    font.setStyleStrategy(QFont::PreferNoShaping);
    return font;
}

int CharWidth(const QFont& font)
{
    const QFontMetrics metrics(font);
    const int width = metrics.horizontalAdvance(QLatin1Char('M'));
    const QString probe = QString::fromStdString(kReport) + QStringLiteral("/.homeusrdcpt");
    return metrics.horizontalAdvance(probe) == width * probe.size() ? width : 0;
}

// A label whose font measures one unit per character, laid out at chars characters.
struct Fixture {
    explicit Fixture(int pixelSize = 10)
    {
        label.setFont(FixedFont(pixelSize));
        unit = CharWidth(label.font());
        label.show();  // a hidden widget hears of its new bounds only when it shows
    }

    void SetWidthInChars(int chars) { label.resize(chars * unit, 20); }
    QString Caption() const { return label.text(); }

    TFileLabel label;
    int unit = 0;
};

#define REQUIRE_FIXED_PITCH(fixture)                                         \
    if ((fixture).unit == 0)                                                 \
        QSKIP("the system's fixed-pitch font is not fixed-pitch at this size")

}  // namespace

class TestFileLabel : public QObject {
    Q_OBJECT

private slots:
    void laysThePathOutAtTheLabelsWidth();
    void followsDirectionAndSeparator();
    void equalValuesAndFontChangesDoNotLayOutAgain();
    void showsPathsAsPlainText();
    void asksForNoWidthInALayout();
};

void TestFileLabel::laysThePathOutAtTheLabelsWidth()
{
    Fixture f;
    REQUIRE_FIXED_PITCH(f);
    f.SetWidthInChars(38);
    f.label.SetFileName(kReport);
    QCOMPARE(f.Caption(), QString::fromStdString(kReport));

    f.SetWidthInChars(30);
    QCOMPARE(f.Caption(), QStringLiteral("C:\\...\\Reports\\summary.txt"));
    f.SetWidthInChars(16);
    QCOMPARE(f.Caption(), QStringLiteral("...\\summary.txt"));
    f.SetWidthInChars(15);
    QCOMPARE(f.Caption(), QStringLiteral("summary.txt"));

    f.label.SetFileName(std::string());
    QCOMPARE(f.label.text(), QString());
}

void TestFileLabel::followsDirectionAndSeparator()
{
    Fixture f;
    REQUIRE_FIXED_PITCH(f);
    f.SetWidthInChars(30);
    f.label.SetFileName(kReport);
    f.label.SetDirection(TDirection::drFromRight);
    QCOMPARE(f.Caption(), QStringLiteral("C:\\Users\\...\\summary.txt"));

    f.label.SetSeparator("/");
    QCOMPARE(f.Caption(), QString::fromStdString(kReport));
    f.label.SetFileName("/home/user/docs/report.txt");
    f.SetWidthInChars(20);
    QCOMPARE(f.Caption(), QStringLiteral("/home/.../report.txt"));
}

void TestFileLabel::equalValuesAndFontChangesDoNotLayOutAgain()
{
    Fixture f;
    REQUIRE_FIXED_PITCH(f);
    f.SetWidthInChars(30);
    f.label.SetFileName(kReport);
    const QString before = f.Caption();

    // A font twice as wide leaves room for the file name alone, but the caption stays as
    // it was until something lays it out again.
    f.label.setFont(FixedFont(24));
    QVERIFY(QFontMetrics(f.label.font()).horizontalAdvance(QLatin1Char('M')) >= 2 * f.unit);
    f.label.SetFileName(kReport);
    f.label.SetSeparator("\\");
    f.label.SetDirection(TDirection::drFromLeft);
    QCOMPARE(f.Caption(), before);

    f.label.move(5, 5);
    QCOMPARE(f.Caption(), QStringLiteral("summary.txt"));
}

void TestFileLabel::showsPathsAsPlainText()
{
    TFileLabel label;
    label.resize(2000, 20);
    const std::string path = Cp932Text("C:\\<b>表示</b>\\A&B.txt");
    label.SetFileName(path);
    QCOMPARE(label.text(), Cp932ToDisplay(path));
    QCOMPARE(label.textFormat(), Qt::PlainText);
}

void TestFileLabel::asksForNoWidthInALayout()
{
    QWidget window;
    auto* layout = new QHBoxLayout(&window);
    auto* label = new TFileLabel(&window);
    layout->addWidget(label);
    label->SetFileName(std::string(200, 'x') + "\\file.txt");
    window.resize(200, 40);
    QVERIFY(Shown(window));
    QVERIFY(window.width() <= 200);
    QCOMPARE(label->text(), QStringLiteral("...\\file.txt"));
}

TESSNA_QTEST_MAIN(TestFileLabel)
#include "FileLabel_test.moc"
