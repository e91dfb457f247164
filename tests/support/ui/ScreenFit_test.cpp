#include "support/ui/ScreenFit.h"
#include "tests/common/QtTestMain.h"
#include "tests/common/ShowWindow.h"

#include <QDialog>
#include <QScreen>

class TestScreenFit : public QObject {
    Q_OBJECT

private slots:
    void fitInsideMovesInAndKeepsWhatFits_data()
    {
        QTest::addColumn<QRect>("frame");
        QTest::addColumn<QRect>("fitted");
        QTest::newRow("fits: stays") << QRect(100, 100, 600, 400) << QRect(100, 100, 600, 400);
        QTest::newRow("past the bottom") << QRect(100, 600, 600, 400) << QRect(100, 500, 600, 400);
        QTest::newRow("past the right") << QRect(900, 100, 600, 400) << QRect(680, 100, 600, 400);
        QTest::newRow("under the panel") << QRect(100, 0, 600, 400) << QRect(100, 30, 600, 400);
        QTest::newRow("left of the screen") << QRect(-50, 100, 600, 400) << QRect(0, 100, 600, 400);
        QTest::newRow("larger: top-left corner") << QRect(300, 200, 1800, 1120) << QRect(0, 30, 1800, 1120);
    }
    void fitInsideMovesInAndKeepsWhatFits()
    {
        QFETCH(QRect, frame);
        QFETCH(QRect, fitted);
        // A screen of 1280 by 900 with a panel along the top.
        QCOMPARE(FitInside(frame, QRect(0, 30, 1280, 870)), fitted);
    }

    void fittedSizeIsBoundedByTheScreenAndTheMinimum()
    {
        QCOMPARE(FittedFrameSize({1800, 1120}, {1280, 870}, {200, 100}), QSize(1280, 870));
        QCOMPARE(FittedFrameSize({600, 400}, {1280, 870}, {200, 100}), QSize(600, 400));
        QCOMPARE(FittedFrameSize({1800, 300}, {1280, 870}, {1400, 100}), QSize(1400, 300));
    }

    // A window whose minimum size is larger than the area is made to fit it all the same;
    // a minimum that fits is kept.
    void aMinimumLargerThanTheAreaIsLoweredToIt_data()
    {
        QTest::addColumn<QSize>("minimum");
        QTest::addColumn<QSize>("fittedMinimum");
        QTest::newRow("wider") << QSize(700, 300) << QSize(640, 300);
        QTest::newRow("higher") << QSize(500, 480) << QSize(500, 420);
        QTest::newRow("both") << QSize(900, 900) << QSize(640, 420);
        QTest::newRow("fits") << QSize(600, 400) << QSize(600, 400);
    }
    void aMinimumLargerThanTheAreaIsLoweredToIt()
    {
        QFETCH(QSize, minimum);
        QFETCH(QSize, fittedMinimum);
        // A screen of 1280 by 900 at scale factor 2, with a panel along the top.
        const QRect available(0, 30, 640, 420);
        QDialog dialog;
        dialog.setMinimumSize(minimum);
        dialog.resize(minimum);
        QVERIFY(Shown(dialog));
        FitInto(&dialog, available);
        const QSize frameExtra = dialog.frameGeometry().size() - dialog.size();
        QCOMPARE(dialog.minimumSize(), fittedMinimum.boundedTo(available.size() - frameExtra));
        QTRY_VERIFY(available.contains(dialog.frameGeometry()));
    }

    // With the filter installed, a dialog designed larger than the screen opens within it,
    // one that sticks out moves in, and one that fits keeps the place it was given.
    void everyWindowOpensWithinTheAvailableArea()
    {
        KeepWindowsOnScreen();
        const QRect available = QGuiApplication::primaryScreen()->availableGeometry();

        QDialog large;
        large.resize(available.size() + QSize(500, 300));
        QVERIFY(Shown(large));
        QVERIFY(available.contains(large.frameGeometry()));

        QWidget outside;
        outside.resize(300, 200);
        outside.move(available.right() - 100, available.bottom() - 50);
        QVERIFY(Shown(outside));
        QVERIFY(available.contains(outside.frameGeometry()));
        QCOMPARE(outside.size(), QSize(300, 200));

        QWidget inside;
        inside.setGeometry(available.x() + 40, available.y() + 50, 200, 100);
        const QRect before = inside.geometry();
        QVERIFY(Shown(inside));
        QCOMPARE(inside.geometry(), before);
    }
};

TESSNA_QTEST_MAIN(TestScreenFit)
#include "ScreenFit_test.moc"
