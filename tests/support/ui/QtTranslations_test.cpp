#include "support/ui/QtTranslations.h"
#include "tests/common/QtTestMain.h"

#include <QAction>
#include <QLineEdit>
#include <QMenu>

#include <memory>

class TestQtTranslations : public QObject {
    Q_OBJECT

private slots:
    // The context menu of a text box speaks the interface's language, whatever the locale
    // (these tests run in C.UTF-8).
    void aTextBoxMenuIsJapanese()
    {
        QLineEdit box;
        const auto texts = [&box] {
            const std::unique_ptr<QMenu> menu(box.createStandardContextMenu());
            QStringList list;
            for (const QAction* action : menu->actions()) {
                if (!action->isSeparator())
                    list.append(action->text().section(u'\t', 0, 0));
            }
            return list;
        };
        QVERIFY(texts().contains(QStringLiteral("&Copy")));
        QVERIFY(LoadQtTranslations());
        const QStringList japanese = texts();
        QVERIFY2(japanese.contains(QStringLiteral("コピー(&C)")), qPrintable(japanese.join(u' ')));
        QVERIFY(!japanese.contains(QStringLiteral("&Copy")));
    }
};

TESSNA_QTEST_MAIN(TestQtTranslations)
#include "QtTranslations_test.moc"
