#include "support/core/Cp932.h"
#include "support/core/MessageDlg.h"
#include "tests/common/ModalDriver.h"
#include "tests/common/NamedChild.h"
#include "tests/common/QtTestMain.h"
#include "tests/common/ScriptedPrompter.h"
#include "tests/common/ShowWindow.h"
#include "wizard/CatRenameForm.h"

#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QPushButton>

class TestCatRenameForm : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir_;
    ScriptedPrompter prompter_;
    std::unique_ptr<TCatRenameForm> form_;

    QLineEdit* New() const { return Named<QLineEdit>(*form_, "TxtNew"); }
    QPushButton* Ok() const { return Named<QPushButton>(*form_, "btnOK"); }

    // Opens the dialog for "Backup" among the catalogs "Photos" and "ソフト".
    void Open()
    {
        prompter_ = ScriptedPrompter();
        form_ = std::make_unique<TCatRenameForm>(
            nullptr, RenameDialogServices{&prompter_, [this](const std::string& name) {
                return CatalogNameProblem(name, dir_.path().toStdString(), {"Photos", Cp932Text("ソフト")},
                                          NameUse::nuRename);
            }});
        form_->SetOldName("Backup");
        QVERIFY(Shown(*form_));
    }

    static constexpr int StillOpen = -1;

    // The result the dialog closed with, or StillOpen.
    int Outcome() const { return form_->isVisible() ? StillOpen : form_->result(); }

    // Types text and presses OK; gives the outcome.
    int Confirm(const QString& text)
    {
        New()->setText(text);
        QTest::mouseClick(Ok(), Qt::LeftButton);
        return Outcome();
    }

private slots:
    void init() { Open(); }
    void cleanup() { form_.reset(); }

    void startsWithTheOldNameAndOkDisabled()
    {
        QCOMPARE(form_->windowTitle(), QString("カタログ名の名前変更"));
        QCOMPARE(Named<QLineEdit>(*form_, "TxtOld")->text(), QString("Backup"));
        QVERIFY(Named<QLineEdit>(*form_, "TxtOld")->isReadOnly());
        QVERIFY(New()->text().isEmpty());
        QVERIFY(!Ok()->isEnabled());
        QTRY_COMPARE(QApplication::focusWidget(), New());
    }

    void okFollowsABlankOrNonBlankName()
    {
        QTest::keyClicks(New(), "   ");
        QVERIFY(!Ok()->isEnabled());
        QTest::keyClick(New(), Qt::Key_Return);
        QVERIFY(form_->isVisible());
        QVERIFY(prompter_.boxes.empty());
        QTest::keyClicks(New(), "x");
        QVERIFY(Ok()->isEnabled());
    }

    void keyFilterDropsPathCharactersButNotComma()
    {
        QTest::keyClicks(New(), "a/b*c\\d:e?f\"g<h>i|j,k;l");
        QCOMPARE(New()->text(), QString("abcdefghij,k;l"));
    }

    void refusesTheSameNameInAnyCase_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("lower") << "backup";
        QTest::newRow("upper") << "BACKUP";
        QTest::newRow("same") << "Backup";
    }

    void refusesTheSameNameInAnyCase()
    {
        QFETCH(QString, name);
        QCOMPARE(Confirm(name), StillOpen);
        QCOMPARE(prompter_.boxes.size(), 1u);
        QCOMPARE(prompter_.boxes[0].msg, Cp932Text("変更前と変更後の名前が同じです。"));
        QCOMPARE(prompter_.boxes[0].dlgType, MsgDlgType::mtError);
        QCOMPARE(New()->text(), name);
    }

    void refusesForbiddenCharactersWithTheFileNameBox()
    {
        QCOMPARE(Confirm("a,b"), StillOpen);
        QCOMPARE(Confirm("a;b"), StillOpen);
        QCOMPARE(prompter_.boxes.size(), 2u);
        QVERIFY(Cp932ToDisplay(prompter_.boxes[0].msg).contains("ファイル名には次の文字は使えません。"));
    }

    void refusesTheNameOfAnotherListedCatalog_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("exact") << "Photos";
        QTest::newRow("other case") << "PHOTOS";
        QTest::newRow("double-byte") << "ソフト";
    }

    void refusesTheNameOfAnotherListedCatalog()
    {
        QFETCH(QString, name);
        QCOMPARE(Confirm(name), StillOpen);
        QCOMPARE(prompter_.boxes.size(), 1u);
        QVERIFY(Cp932ToDisplay(prompter_.boxes[0].msg).contains(name));
        QVERIFY(Cp932ToDisplay(prompter_.boxes[0].msg).contains("既にカタログリストにあります"));
    }

    void refusesWhatTheCatalogNameRuleRefuses()
    {
        QFile(dir_.filePath("Gone.VrCat")).open(QIODevice::WriteOnly);
        QCOMPARE(Confirm(QString(100, u'あ')), StillOpen);
        QVERIFY(prompter_.boxes.back().text.startsWith("カタログ名が長すぎます。"));
        QCOMPARE(Confirm("photos"), StillOpen);
        QCOMPARE(prompter_.boxes.back().text,
                 QString("カタログ「photos」は既にカタログリストにあります（大文字と小文字は区別しません）。\n"
                         "別のカタログ名を指定してください。"));
        QCOMPARE(Confirm("Gone"), StillOpen);
        QVERIFY(prompter_.boxes.back().text.startsWith("ファイル「" + dir_.filePath("Gone.VrCat") + "」は既にあり"));
        QCOMPARE(Confirm("\u3000"), StillOpen);
        QVERIFY(prompter_.boxes.back().text.startsWith("空白だけのカタログ名は使えません。"));
        QCOMPARE(New()->text(), QString("\u3000"));
        QCOMPARE(prompter_.boxes.size(), 4u);
    }

    void acceptsANameExactlyAsTyped()
    {
        QCOMPARE(Confirm("Backup "), int(QDialog::Accepted));
        QCOMPARE(form_->NewName(), std::string("Backup "));
        QVERIFY(prompter_.boxes.empty());
    }

    void enterConfirmsLikeOk()
    {
        QTest::keyClicks(New(), "Archive");
        QTest::keyClick(New(), Qt::Key_Return);
        QVERIFY(!form_->isVisible());
        QCOMPARE(form_->result(), int(QDialog::Accepted));
        QCOMPARE(form_->NewName(), std::string("Archive"));
    }

    void escapeAndCancelAnswerCancel()
    {
        QTest::keyClicks(New(), "Archive");
        QTest::keyClick(New(), Qt::Key_Escape);
        QCOMPARE(Outcome(), int(QDialog::Rejected));
        Open();
        ClickNamed(*form_, "btnCancel");
        QCOMPARE(Outcome(), int(QDialog::Rejected));
        Open();
        form_->close();
        QCOMPARE(Outcome(), int(QDialog::Rejected));
    }

    void runRenameDialogLeavesTheNameAloneOnCancel()
    {
        form_.reset();
        std::string newName = "untouched";
        const ModalDriver<TCatRenameForm> cancel([](TCatRenameForm& dialog) {
            Named<QLineEdit>(dialog, "TxtNew")->setText("Other");
            dialog.reject();
        });
        QCOMPARE(RunRenameDialog(nullptr, "Backup", newName), QDialog::Rejected);
        QVERIFY(cancel.Ran());
        QCOMPARE(newName, std::string("untouched"));

        const ModalDriver<TCatRenameForm> ok([](TCatRenameForm& dialog) {
            Named<QLineEdit>(dialog, "TxtNew")->setText("Other");
            ClickNamed(dialog, "btnOK");
        });
        QCOMPARE(RunRenameDialog(nullptr, "Backup", newName), QDialog::Accepted);
        QVERIFY(ok.Ran());
        QCOMPARE(newName, std::string("Other"));
    }
};

TESSNA_QTEST_MAIN(TestCatRenameForm)
#include "CatRenameForm_test.moc"
