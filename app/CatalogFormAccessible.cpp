#include "app/CatalogForm.h"

#include "support/ui/SpokenCaption.h"

#include <QComboBox>
#include <QLabel>
#include <QStatusBar>
#include <QTableView>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>

// The two lists have no visible label of their own; the toolbar's buttons show only their
// glyphs and take their actions' captions, with the hint as the description, so that the
// two "削除" buttons are told apart by what they delete.
void TCatalogForm::NameControls()
{
    TreeView->setAccessibleName(QStringLiteral("カタログ一覧"));
    TreeView->setAccessibleDescription(
        QStringLiteral("カタログリストのカタログ。選んだカタログのオブジェクトがオブジェクト一覧に表示されます"));
    ObjectTable->setAccessibleName(QStringLiteral("オブジェクト一覧"));
    ObjectTable->setAccessibleDescription(
        QStringLiteral("選択しているカタログのオブジェクト (ファイルとフォルダ) の名前とフォルダ"));
    LblKind->setBuddy(CmbKind);
    // A combo box is read by its current item unless it is named.
    CmbKind->setAccessibleName(QStringLiteral("種類"));
    statusBar()->setAccessibleName(QStringLiteral("ステータスバー"));

    auto* band = findChild<QToolBar*>(QStringLiteral("ToolBar"));
    band->setWindowTitle(QStringLiteral("ツールバー"));
    for (QAction* action : band->actions()) {
        QWidget* button = band->widgetForAction(action);
        if (!button || action->isSeparator() || !qobject_cast<QToolButton*>(button))
            continue;
        button->setAccessibleName(SpokenCaption(action->text()));
        button->setAccessibleDescription(action->statusTip());
    }
    // The button that shows the buttons a narrow window has no room for.
    if (auto* more = band->findChild<QToolButton*>(QStringLiteral("qt_toolbar_ext_button")))
        more->setAccessibleName(QStringLiteral("ツールバーのその他のボタン"));
}
