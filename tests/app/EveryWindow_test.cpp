#include "app/CatalogForm.h"
#include "chooser/CabOpenDialogEx.h"
#include "chooser/DialogTemplates.h"
#include "chooser/OpenDialogWindow.h"
#include "support/core/Cp932.h"
#include "support/ui/HelpViewer.h"
#include "support/ui/MessageForm.h"
#include "support/ui/SpokenCaption.h"
#include "support/ui/StopBox.h"
#include "tests/app/OpenCatalogForm.h"
#include "tests/common/CatalogFolder.h"
#include "tests/common/FocusChain.h"
#include "tests/common/ModalDriver.h"
#include "tests/common/NamedChild.h"
#include "tests/common/QtTestMain.h"
#include "tests/common/ScriptedPrompter.h"
#include "tests/common/ShowWindow.h"
#include "tests/common/TempFolder.h"
#include "wizard/CatAboutForm.h"
#include "wizard/CatRenameForm.h"
#include "wizard/TessnaForm.h"
#include "wizard/WizardObjectList.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QFile>
#include <QLabel>
#include <QRegularExpression>
#include <QSet>
#include <QToolBar>

namespace {

// The roles a control that takes the focus or a click may have.
const QList<QAccessible::Role> ControlRoles{
    QAccessible::PushButton, QAccessible::CheckBox,  QAccessible::RadioButton, QAccessible::ComboBox,
    QAccessible::EditableText, QAccessible::Table,   QAccessible::Tree,        QAccessible::List,
    QAccessible::ButtonMenu,   QAccessible::ButtonDropDown, QAccessible::StaticText};

bool IsControl(const QWidget* widget)
{
    return widget->focusPolicy() != Qt::NoFocus || qobject_cast<const QAbstractButton*>(widget);
}

// A control with a visible label is read by that label: "ファイルの種類(&T):" names its
// combo box ファイルの種類.
void CheckLabelled(QWidget* window)
{
    static const QRegularExpression end(QStringLiteral("[(:：]"));
    for (const QLabel* label : window->findChildren<QLabel*>()) {
        if (!label->buddy() || !label->isVisible())
            continue;
        const QString stem = QString(label->text()).remove(u'&').section(end, 0, 0).trimmed();
        QAccessibleInterface* face = QAccessible::queryAccessibleInterface(label->buddy());
        const QString name = face->text(QAccessible::Name);
        // Where a combo box is named by its current item, its label comes as a relation.
        bool related = false;
        for (const auto& [other, relation] : face->relations(QAccessible::Label))
            related = related || other->object() == label;
        QVERIFY2(name.contains(stem) || related, qPrintable(WidgetLabel(label->buddy()) + " is read as " + name));
    }
}

// Every control of window that shows: a name, a control's role, and no two of them with
// the same name and description.
void CheckNamed(QWidget* window)
{
    QSet<QString> described;
    for (QWidget* widget : window->findChildren<QWidget*>()) {
        if (widget->window() != window || !widget->isVisible() || !IsControl(widget))
            continue;
        QAccessibleInterface* face = QAccessible::queryAccessibleInterface(widget);
        QVERIFY(face);
        const QString name = face->text(QAccessible::Name);
        const QString description = face->text(QAccessible::Description);
        const QByteArray what = WidgetLabel(widget).toUtf8() + " in " + window->objectName().toUtf8();
        QVERIFY2(!name.trimmed().isEmpty(), what.constData());
        QVERIFY2(ControlRoles.contains(face->role()), what + " role " + QByteArray::number(face->role()));
        const QString key = name + u'\n' + description;
        QVERIFY2(!described.contains(key), (what + " shares its name " + name.toUtf8()).constData());
        described.insert(key);
    }
    CheckLabelled(window);
}

// A box that presents its text to a screen reader when it opens.
void CheckAlert(QWidget* box, const QString& text)
{
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(box);
    QCOMPARE(face->role(), QAccessible::AlertMessage);
    QCOMPARE(face->text(QAccessible::Description), text);
    QVERIFY(!face->text(QAccessible::Name).isEmpty());
}

// Tab walks expected from its first widget and comes back; Shift+Tab walks it backwards.
void CheckTabs(const QStringList& expected)
{
    QCOMPARE(WidgetLabel(QApplication::focusWidget()), expected.front());
    QCOMPARE(TabChain(), expected);
    QCOMPARE(TabChain(true), Reversed(expected));
}

}  // namespace

// Every window of the program for a keyboard and screen-reader user: each control has a
// name and a role, and Tab visits the controls in order and comes back.
class TestEveryWindow : public QObject {
    Q_OBJECT

    TempFolder folder_;
    ScriptedPrompter boxes_;

    std::string File(const std::string& name) const
    {
        folder_.Write(name, "x");
        return folder_.Path(name);
    }

private slots:
    void mainWindow()
    {
        CatalogFolder program;
        program.AddCatalog("Photos", {QString::fromStdString(File("a.txt")), QString::fromStdString(File("b.txt"))});
        const auto opened = OpenCatalogForm(program, boxes_);
        TCatalogForm& form = *opened;
        ShowActive(form);
        Named<QWidget>(form, "TreeView")->setFocus();
        CheckNamed(&form);
        CheckTabs({"TreeView", "EdtFilter", "ListView"});

        const auto button = [&form](const char* action) {
            auto* band = Named<QToolBar>(form, "ToolBar");
            return QAccessible::queryAccessibleInterface(band->widgetForAction(Named<QAction>(form, action)));
        };
        QCOMPARE(button("ActF_CatDelete")->text(QAccessible::Name), QStringLiteral("削除"));
        QCOMPARE(button("ActF_CatDelete")->text(QAccessible::Description), QStringLiteral("カタログを削除します"));
        QCOMPARE(button("ActI_ItemDelete")->text(QAccessible::Description),
                 QStringLiteral("カタログからオブジェクトを削除します"));
        QCOMPARE(Named<QLabel>(form, "LblKind")->buddy(), Named<QWidget>(form, "CmbKind"));
        QVERIFY(!QAccessible::queryAccessibleInterface(Named<QWidget>(form, "ListView"))
                     ->text(QAccessible::Description).isEmpty());
        QCOMPARE(QAccessible::queryAccessibleInterface(Named<QLabel>(form, "StatusPanel0"))->text(QAccessible::Name),
                 QStringLiteral("2 件のオブジェクト"));
    }

    void wizardPages()
    {
        CatalogWizardServices services;
        services.programFolder = folder_.Path() + "/";
        services.prompter = &boxes_;
        TTessnaForm wizard({}, services);
        ShowActive(wizard);
        QTest::keyClicks(QApplication::focusWidget(), "Backup");
        CheckNamed(&wizard);
        CheckTabs({"EdtCatName", "BtnNext", "BtnCancel", "BtnHelp"});

        QTest::keyClick(Named<QWidget>(wizard, "EdtCatName"), Qt::Key_Return);
        wizard.ObjectList().AddWizardRows({File("a.txt"), File("b.txt")});
        Named<QWidget>(wizard, "btnFile_AddFile")->setFocus();
        CheckNamed(&wizard);
        CheckTabs({"btnFile_AddFile", "btnDelAll_AddFile", "EdtFilter", "ListView_AddFile_List", "BtnBack", "BtnNext",
                   "BtnCancel", "BtnHelp"});

        wizard.BtnNextClick();
        Named<QWidget>(wizard, "MemoFin")->setFocus();
        CheckNamed(&wizard);
        CheckTabs({"MemoFin", "BtnBack", "BtnNext", "BtnCancel", "BtnHelp"});
    }

    void chooser()
    {
        File("a.txt");
        TCabOpenDialogEx chooser(nullptr);
        chooser.Options |= ofAllowMultiSelect;
        chooser.InitialDir = folder_.Path();
        chooser.Filter = Cp932Text("すべてのファイル|*.*");
        LoadCabinetItems(chooser.Items);
        const ModalDriver<OpenDialogWindow> driver([&](OpenDialogWindow& dialog) {
            dialog.setObjectName("Chooser");
            QVERIFY(QTest::qWaitForWindowActive(&dialog));
            CheckNamed(&dialog);
            CheckTabs({"edt1", "cmb1", "CmbHistory", "BtnSaveHistory", "BtnConfirm", "IDCANCEL", "SideList",
                       "FolderBar", "UpButton", "FileList"});
        });
        QVERIFY(!chooser.RunChooser());
        QVERIFY(driver.Ran());
    }

    void renameAndAboutDialogs()
    {
        TCatRenameForm rename(nullptr, {&boxes_});
        rename.SetOldName("Photos");
        ShowActive(rename);
        QTest::keyClicks(QApplication::focusWidget(), "Pictures");
        CheckNamed(&rename);
        CheckTabs({"TxtNew", "btnOK", "btnCancel"});

        TCatAboutForm about(nullptr, {[](const QString&) { return true; }});
        ShowActive(about);
        CheckNamed(&about);
        CheckTabs({"btnOK"});
    }

    void theHelpNamesTheButtonsAsTheWindowsShowThem()
    {
        QFile file(HelpViewer::DefaultHelpFile());
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QString help = QString::fromUtf8(file.readAll());
        OpenDialogWindow chooser(nullptr, {&boxes_});
        BuildDialogTemplate(chooser, "CABINET_OPEN_DIALOGEX");
        chooser.HideOkButton();
        WizardObjectList objects({&boxes_});
        QList<QAbstractButton*> buttons = chooser.findChildren<QAbstractButton*>();
        buttons += objects.findChildren<QAbstractButton*>();
        for (const QAbstractButton* button : buttons) {
            const QString caption = SpokenCaption(button->text());
            if (!button->isHidden() && !caption.isEmpty())
                QVERIFY2(help.contains(caption), qPrintable(caption));
        }
        QVERIFY(!help.contains(QStringLiteral("最近使ったフォルダが記録され")));
    }

    void messageAndStopBoxesAreReadWhenTheyOpen()
    {
        TMessageForm box(QStringLiteral("保存しますか？"), MsgDlgType::mtConfirmation, mbYesNoCancel);
        const ModalDriver question([](QWidget& modal) {
            CheckAlert(&modal, QStringLiteral("保存しますか？"));
            CheckNamed(&modal);
            CheckTabs({"Yes", "No", "Cancel"});
        });
        box.exec();

        QWidget owner;
        bool checked = false;
        const ModalDriver stopBox([&checked](QWidget& modal) {
            CheckAlert(&modal, QStringLiteral("ファイルを作成できません."));
            CheckNamed(&modal);
            checked = true;
        });
        ShowStopBox(&owner, Cp932Text("ファイルを作成できません"));
        QVERIFY(checked);
    }
};

TESSNA_QTEST_MAIN(TestEveryWindow)
#include "EveryWindow_test.moc"
