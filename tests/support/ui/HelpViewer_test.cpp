#include "support/ui/HelpViewer.h"

#include "tests/common/ModalDriver.h"
#include "tests/common/QtTestMain.h"

#include <QDialog>
#include <QFile>
#include <QScrollBar>
#include <QTextBrowser>

// The help viewer on the help file the build installs beside the program.
class TestHelpViewer : public QObject {
    Q_OBJECT

private:
    QWidget owner_;

private slots:
    void theInstalledHelpFileHasTheContentsAndTheWizardContexts()
    {
        QFile file(HelpViewer::DefaultHelpFile());
        QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(file.fileName()));
        const QString text = QString::fromUtf8(file.readAll());
        for (const char* anchor : {"contents", "2101", "2102"})
            QVERIFY2(text.contains(QString("name=\"%1\"").arg(anchor)), anchor);
    }

    void opensAtAContextNumberAndOnItsContents()
    {
        HelpViewer* viewer = HelpViewer::Of(&owner_);
        QCOMPARE(HelpViewer::Of(&owner_), viewer);
        viewer->ShowContext(2102);
        QVERIFY(viewer->isVisible());
        QVERIFY(viewer->Browser()->toPlainText().contains("カタログの修正"));
        QTRY_VERIFY(viewer->Browser()->verticalScrollBar()->value() > 0);
        viewer->ShowContents();
        QTRY_COMPARE(viewer->Browser()->verticalScrollBar()->value(), 0);
        viewer->Quit();
        QVERIFY(!viewer->isVisible());
    }

    void escapeClosesTheViewer()
    {
        HelpViewer* viewer = HelpViewer::Of(&owner_);
        viewer->ShowContents();
        QVERIFY(QTest::qWaitForWindowActive(viewer));
        QTest::keyClick(viewer->Browser(), Qt::Key_Escape);
        QVERIFY(!viewer->isVisible());
    }

    void aModalDialogsHelpTakesKeysAndClosesWithEscape()
    {
        QDialog dialog(&owner_);
        bool closed = false;
        const ModalDriver driver([&](QWidget& modal) {
            HelpViewer* viewer = HelpViewer::Of(&modal);
            viewer->ShowContext(2101);
            QTRY_VERIFY(viewer->isActiveWindow());
            QTest::keyClick(viewer->Browser(), Qt::Key_Escape);
            closed = !viewer->isVisible();
        });
        dialog.exec();
        QVERIFY(closed);
    }

    void reportsAMissingHelpFile()
    {
        HelpViewer* viewer = HelpViewer::Of(&owner_);
        viewer->SetHelpFile("/nonexistent/TESSNA.HLP");
        viewer->ShowContents();
        QVERIFY(viewer->Browser()->toPlainText().contains("/nonexistent/TESSNA.HLP が見つかりません"));
    }
};

TESSNA_QTEST_MAIN(TestHelpViewer)
#include "HelpViewer_test.moc"
