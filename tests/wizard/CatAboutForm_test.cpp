#include "support/core/Beep.h"
#include "tests/common/NamedChild.h"
#include "tests/common/QtTestMain.h"
#include "tests/common/ShowWindow.h"
#include "wizard/CatAboutForm.h"

#include <QLineEdit>
#include <QPushButton>
#include <QWindow>

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
        const ScopedBeepHandler beep([&beeps] { ++beeps; });
        QStringList opened;
        bool succeed = true;
        TCatAboutForm form(nullptr, {[&](const QString& target) {
            opened << target;
            return succeed;
        }});
        QVERIFY(Shown(form));
        QCOMPARE(form.windowTitle(), QString("About Tessna"));
        auto* mail = Named<QLineEdit>(form, "EdtMail");
        auto* page = Named<QLineEdit>(form, "EdtWebPage");
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
    }

    // One open per click: a double click opens once, a drag opens nothing, whether it
    // starts on the link or ends over it.
    void aLinkOpensOncePerClick()
    {
        QStringList opened;
        TCatAboutForm form(nullptr, {[&](const QString& target) {
            opened << target;
            return true;
        }});
        QVERIFY(Shown(form));
        auto* mail = Named<QLineEdit>(form, "EdtMail");
        auto* page = Named<QLineEdit>(form, "EdtWebPage");
        // Through the window, as the system delivers them: the button's widget keeps the
        // mouse until the release, and the second press of a double click is one.
        QWindow* window = form.windowHandle();
        const auto at = [&form](QWidget* link, int x) { return link->mapTo(&form, QPoint(x, link->height() / 2)); };

        QTest::mouseDClick(window, Qt::LeftButton, {}, at(mail, 4));
        QCOMPARE(opened.size(), 1);

        QTest::mousePress(window, Qt::LeftButton, {}, at(mail, 4));
        QTest::mouseMove(window, at(mail, mail->width() - 4));
        QTest::mouseRelease(window, Qt::LeftButton, {}, at(mail, mail->width() - 4));
        QTest::mousePress(window, Qt::LeftButton, {}, at(page, 4));
        QTest::mouseMove(window, at(mail, 4));
        QTest::mouseRelease(window, Qt::LeftButton, {}, at(mail, 4));
        QCOMPARE(opened.size(), 1);

        QTest::mouseClick(window, Qt::LeftButton, {}, at(page, 4));
        QCOMPARE(opened, QStringList({opened.front(), page->text()}));
    }

    void okAndEnterClose()
    {
        TCatAboutForm form(nullptr, {[](const QString&) { return true; }});
        QVERIFY(Shown(form));
        QTest::keyClick(&form, Qt::Key_Return);
        QVERIFY(!form.isVisible());
        form.show();
        ClickNamed(form, "btnOK");
        QVERIFY(!form.isVisible());
    }
};

TESSNA_QTEST_MAIN(TestCatAboutForm)
#include "CatAboutForm_test.moc"
