#include "support/core/Cp932.h"
#include "support/core/MessageDlg.h"
#include "tests/common/ModalDriver.h"
#include "tests/common/QtTestMain.h"
#include "tests/common/ScriptedPrompter.h"
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

    QLineEdit* New() const { return form_->findChild<QLineEdit*>("TxtNew"); }
    QPushButton* Ok() const { return form_->findChild<QPushButton*>("btnOK"); }

    // Opens the dialog for "Backup" among the catalogs "Photos" and "ソフト".
    void Open()
    {
        prompter_ = ScriptedPrompter();
        form_ = std::make_unique<TCatRenameForm>(nullptr, &prompter_);
        form_->SetOldName("Backup");
        form_->SetNameCheck([this](const std::string& name) {
            return CatalogNameProblem(name, dir_.path().toStdString(), {"Photos", Cp932Text("ソフト")},
                                      NameUse::nuRename);
        });
        form_->show();
        QVERIFY(QTest::qWaitForWindowExposed(form_.get()));
    }

    // Types text and presses OK; gives the result the dialog closed with (mrNone when open).
    int Confirm(const QString& text)
    {
        New()->setText(text);
        QTest::mouseClick(Ok(), Qt::LeftButton);
        return form_->isVisible() ? mrNone : form_->result();
    }

private slots:
    void init() { Open(); }
    void cleanup() { form_.reset(); }

    void startsWithTheOldNameAndOkDisabled()
    {
        QCOMPARE(form_->windowTitle(), QString("カタログ名の名前変更"));
        QCOMPARE(form_->findChild<QLineEdit*>("TxtOld")->text(), QString("Backup"));
        QVERIFY(form_->findChild<QLineEdit*>("TxtOld")->isReadOnly());
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
        QCOMPARE(Confirm(name), mrNone);
        QCOMPARE(prompter_.boxes.size(), 1u);
        QCOMPARE(prompter_.boxes[0].msg, Cp932Text("変更前と変更後の名前が同じです。"));
        QCOMPARE(prompter_.boxes[0].dlgType, MsgDlgType::mtError);
        QCOMPARE(New()->text(), name);
    }

    void refusesForbiddenCharactersWithTheFileNameBox()
    {
        QCOMPARE(Confirm("a,b"), mrNone);
        QCOMPARE(Confirm("a;b"), mrNone);
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
        QCOMPARE(Confirm(name), mrNone);
        QCOMPARE(prompter_.boxes.size(), 1u);
        QVERIFY(Cp932ToDisplay(prompter_.boxes[0].msg).contains(name));
        QVERIFY(Cp932ToDisplay(prompter_.boxes[0].msg).contains("既にカタログリストにあります"));
    }

    void refusesWhatTheCatalogNameRuleRefuses()
    {
        QFile(dir_.filePath("Gone.VrCat")).open(QIODevice::WriteOnly);
        QCOMPARE(Confirm(QString(100, u'あ')), mrNone);
        QVERIFY(prompter_.boxes.back().text.startsWith("カタログ名が長すぎます。"));
        QCOMPARE(Confirm("photos"), mrNone);
        QCOMPARE(prompter_.boxes.back().text,
                 QString("カタログ「photos」は既にカタログリストにあります（大文字と小文字は区別しません）。\n"
                         "別のカタログ名を指定してください。"));
        QCOMPARE(Confirm("Gone"), mrNone);
        QVERIFY(prompter_.boxes.back().text.startsWith("ファイル「" + dir_.filePath("Gone.VrCat") + "」は既にあり"));
        QCOMPARE(Confirm("\u3000"), mrNone);
        QVERIFY(prompter_.boxes.back().text.startsWith("空白だけのカタログ名は使えません。"));
        QCOMPARE(New()->text(), QString("\u3000"));
        QCOMPARE(prompter_.boxes.size(), 4u);
    }

    void acceptsANameExactlyAsTyped()
    {
        QCOMPARE(Confirm("Backup "), mrOk);
        QCOMPARE(form_->NewName(), std::string("Backup "));
        QVERIFY(prompter_.boxes.empty());
    }

    void enterConfirmsLikeOk()
    {
        QTest::keyClicks(New(), "Archive");
        QTest::keyClick(New(), Qt::Key_Return);
        QVERIFY(!form_->isVisible());
        QCOMPARE(form_->result(), mrOk);
        QCOMPARE(form_->NewName(), std::string("Archive"));
    }

    void escapeAndCancelAnswerCancel()
    {
        QTest::keyClicks(New(), "Archive");
        QTest::keyClick(New(), Qt::Key_Escape);
        QCOMPARE(form_->result(), mrCancel);
        Open();
        QTest::mouseClick(form_->findChild<QPushButton*>("btnCancel"), Qt::LeftButton);
        QCOMPARE(form_->result(), mrCancel);
        Open();
        form_->close();
        QCOMPARE(form_->result(), mrCancel);
    }

    void runRenameDialogLeavesTheNameAloneOnCancel()
    {
        form_.reset();
        std::string newName = "untouched";
        const ModalDriver<TCatRenameForm> cancel([](TCatRenameForm& dialog) {
            dialog.findChild<QLineEdit*>("TxtNew")->setText("Other");
            dialog.reject();
        });
        QCOMPARE(RunRenameDialog(nullptr, "Backup", newName), mrCancel);
        QVERIFY(cancel.Ran());
        QCOMPARE(newName, std::string("untouched"));

        const ModalDriver<TCatRenameForm> ok([](TCatRenameForm& dialog) {
            dialog.findChild<QLineEdit*>("TxtNew")->setText("Other");
            QTest::mouseClick(dialog.findChild<QPushButton*>("btnOK"), Qt::LeftButton);
        });
        QCOMPARE(RunRenameDialog(nullptr, "Backup", newName), mrOk);
        QVERIFY(ok.Ran());
        QCOMPARE(newName, std::string("Other"));
    }
};

TESSNA_QTEST_MAIN(TestCatRenameForm)
#include "CatRenameForm_test.moc"
