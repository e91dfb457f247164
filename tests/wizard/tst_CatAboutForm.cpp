#include "support/core/Beep.h"
#include "tests/common/QtTestMain.h"
#include "wizard/CatAboutForm.h"

#include <QLineEdit>
#include <QPushButton>

class TestCatAboutForm : public QObject {
    Q_OBJECT

private slots:
    void mailToKeepsTheSubjectAsItStands()
    {
        QCOMPARE(MailToTarget("a@example.com", "About Tessna."),
                 QString("mailto:a@example.com?subject=About Tessna."));
        QCOMPARE(MailToTarget("a@example.com", ""), QString("mailto:a@example.com"));
    }

    void clicksOpenTheTextsOfTheBoxesAndBeepOnFailure()
    {
        int beeps = 0;
        SetBeepHandler([&beeps] { ++beeps; });
        QStringList opened;
        bool succeed = true;
        TCatAboutForm form(nullptr, [&](const QString& target) {
            opened << target;
            return succeed;
        });
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QCOMPARE(form.windowTitle(), QString("About Tessna"));
        auto* mail = form.findChild<QLineEdit*>("EdtMail");
        auto* page = form.findChild<QLineEdit*>("EdtWebPage");
        QVERIFY(mail->text().endsWith("@example.com"));
        QVERIFY(page->text().contains("example.com"));

        mail->setText("maker@example.com");
        QTest::mouseClick(mail, Qt::LeftButton);
        QTest::mouseClick(page, Qt::LeftButton);
        QCOMPARE(opened, QStringList({"mailto:maker@example.com?subject=About Tessna.", page->text()}));
        QCOMPARE(beeps, 0);

        succeed = false;
        QTest::mouseClick(page, Qt::LeftButton);
        QCOMPARE(beeps, 1);
        QVERIFY(form.isVisible());
        SetBeepHandler({});
    }

    void okAndEnterClose()
    {
        TCatAboutForm form(nullptr, [](const QString&) { return true; });
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QTest::keyClick(&form, Qt::Key_Return);
        QVERIFY(!form.isVisible());
        form.show();
        QTest::mouseClick(form.findChild<QPushButton*>("btnOK"), Qt::LeftButton);
        QVERIFY(!form.isVisible());
    }
};

TESSNA_QTEST_MAIN(TestCatAboutForm)
#include "tst_CatAboutForm.moc"
