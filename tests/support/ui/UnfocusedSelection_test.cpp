#include "support/ui/UnfocusedSelection.h"
#include "tests/common/QtTestMain.h"
#include "tests/common/ShowWindow.h"

#include <QApplication>
#include <QLineEdit>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <cstdlib>

class TestUnfocusedSelection : public QObject {
    Q_OBJECT

    // The colour in the middle of a list's selected row.
    static QColor SelectedRowColour(QTreeWidget& list)
    {
        const QRect row = list.visualItemRect(list.currentItem());
        return list.viewport()->grab().toImage().pixelColor(row.center() + QPoint(row.width() / 4, 0));
    }

    // The style may shade a selection a little: near enough is the same colour.
    static bool Near(const QColor& a, const QColor& b)
    {
        return std::abs(a.red() - b.red()) <= 8 && std::abs(a.green() - b.green()) <= 8
            && std::abs(a.blue() - b.blue()) <= 8;
    }

private slots:
    // A list's selection looks one way while the keys go to the list and another while they
    // go elsewhere, as the catalog list's does beside the object list.
    void aFocusedAndAnUnfocusedSelectionDiffer()
    {
        UseUnfocusedSelection();
        QWidget window;
        auto* layout = new QVBoxLayout(&window);
        auto* list = new QTreeWidget(&window);
        list->setHeaderHidden(true);
        for (const char* name : {"写真", "Backup"})
            list->addTopLevelItem(new QTreeWidgetItem(list, {QString::fromUtf8(name)}));
        auto* other = new QLineEdit(&window);
        layout->addWidget(list);
        layout->addWidget(other);
        ShowActive(window);
        list->setCurrentItem(list->topLevelItem(1));

        list->setFocus();
        QTRY_VERIFY(list->hasFocus());
        const QColor focused = SelectedRowColour(*list);
        other->setFocus();
        QTRY_VERIFY(other->hasFocus());
        const QColor unfocused = SelectedRowColour(*list);

        const QPalette palette = window.palette();
        QVERIFY(Near(focused, palette.color(QPalette::Active, QPalette::Highlight)));
        QVERIFY(Near(unfocused, palette.color(QPalette::Inactive, QPalette::Highlight)));
        QVERIFY(!Near(unfocused, focused));
        QVERIFY(!Near(unfocused, palette.color(QPalette::Active, QPalette::Base)));
    }

    void aPaletteThatAlreadyTellsThemApartIsKept()
    {
        QPalette palette;
        palette.setColor(QPalette::Active, QPalette::Highlight, Qt::blue);
        palette.setColor(QPalette::Inactive, QPalette::Highlight, Qt::gray);
        QCOMPARE(WithUnfocusedSelection(palette), palette);
    }
};

TESSNA_QTEST_MAIN(TestUnfocusedSelection)
#include "UnfocusedSelection_test.moc"
