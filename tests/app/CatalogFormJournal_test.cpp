#include "app/CatalogForm.h"
#include "app/JournalKeeper.h"
#include "catalog/CatalogFile.h"
#include "catalog/CatalogMessages.h"
#include "catalog/CatalogStore.h"
#include "catalog/JournalFile.h"
#include "catalog/JournalFormat.h"
#include "catalog/JournalMessages.h"
#include "catalog/StoreJournal.h"
#include "support/core/Cp932.h"
#include "support/core/MessageDlg.h"
#include "support/ui/StopBox.h"
#include "tests/app/OpenCatalogForm.h"
#include "tests/common/CatalogFolder.h"
#include "tests/common/NamedChild.h"
#include "tests/common/QtTestMain.h"
#include "tests/common/ScriptedPrompter.h"
#include "tests/common/ShowWindow.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QStatusBar>
#include <QUndoStack>

#include <memory>
#include <optional>

namespace {

enum class Step { Save, UndoToClean, CloseNo, CloseCancel, FailedSave };

}  // namespace

Q_DECLARE_METATYPE(Step)

// The main window keeps the journal of its unsaved changes: it offers an earlier run's back
// once shown, and removes it exactly when nothing is left unsaved.
class TestCatalogFormJournal : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<CatalogFolder> folder_;
    ScriptedPrompter prompter_;
    std::unique_ptr<TCatalogForm> form_;
    std::vector<std::string> stopBoxes_;
    std::optional<ScopedStopBoxHandler> stopBox_;

    QString Beta() const { return folder_->FilePath("Beta.VrCat"); }

    // What an earlier run that was killed left: "/mine" added to Beta.
    void LeaveJournal() const
    {
        CatalogStore earlier(folder_->Path());
        earlier.LoadCatalogList();
        earlier.AddObjects(1, {"/mine"});
        JournalFile(folder_->Path()).Write(JournalStateOf(earlier, 0));
    }

    // The window shown, its offer of an earlier run's journal made.
    void OpenShown()
    {
        form_ = OpenCatalogForm(*folder_, prompter_);
        QVERIFY(Shown(*form_));
        QCoreApplication::processEvents();
    }

    std::vector<std::string> BetaObjects() const { return form_->Store().Catalog(1).Objects.ToStrings(); }
    std::vector<std::string> BetaOnDisk() const { return ReadCatalog(Cp932(Beta()))->Objects.ToStrings(); }
    static std::string Cp932(const QString& text) { return QStringToCp932(text).value(); }

    // Whether a journal is on disk once the writer has done what it was asked.
    bool JournalOnDisk() const
    {
        form_->Journal().Flush();
        return QFile::exists(folder_->FilePath(".TessnaJournal"));
    }
    // The state the journal on disk holds.
    std::optional<JournalState> Journal() const
    {
        QFile file(folder_->FilePath(".TessnaJournal"));
        if (!file.open(QIODevice::ReadOnly))
            return std::nullopt;
        return DecodeJournal(file.readAll().toStdString());
    }
    QAction* Action(const char* name) const { return Named<QAction>(*form_, name); }

private slots:
    void init()
    {
        folder_ = std::make_unique<CatalogFolder>();
        folder_->AddCatalog("Alpha", {"/a"});
        folder_->AddCatalog("Beta", {"/b"});
        prompter_ = ScriptedPrompter();
        stopBoxes_.clear();
        stopBox_.emplace([this](QWidget*, const std::string& text) { stopBoxes_.push_back(text); });
    }

    void cleanup()
    {
        form_.reset();
        stopBox_.reset();
    }

    void yesRestoresTheChangesAsOneStepThatUndoAndRedoSwing()
    {
        LeaveJournal();
        prompter_.Answer(mrYes);
        OpenShown();
        QCOMPARE(prompter_.boxes.size(), 1u);
        QVERIFY(prompter_.boxes[0].text.startsWith(QStringLiteral("保存されていない変更が残っています（")));
        QCOMPARE(BetaObjects(), (std::vector<std::string>{"/b", "/mine"}));
        QVERIFY(form_->Store().Modified());
        QCOMPARE(form_->History().count(), 1);
        QCOMPARE(Action("ActE_Undo")->text(), QStringLiteral("元に戻す(&U): 復元"));
        QVERIFY(JournalOnDisk());

        Action("ActE_Undo")->trigger();
        QCOMPARE(BetaObjects(), std::vector<std::string>{"/b"});
        QVERIFY(!form_->Store().Modified());
        QVERIFY(!JournalOnDisk());
        QCOMPARE(Action("ActE_Redo")->text(), QStringLiteral("やり直し(&R): 復元"));

        Action("ActE_Redo")->trigger();
        QCOMPARE(BetaObjects(), (std::vector<std::string>{"/b", "/mine"}));
        QVERIFY(form_->Store().Modified());
        QVERIFY(JournalOnDisk());

        prompter_.Answer(mrYes);
        Action("ActF_CatSave")->trigger();
        QCOMPARE(BetaOnDisk(), (std::vector<std::string>{"/b", "/mine"}));
        QVERIFY(!form_->Store().Modified());
        QVERIFY(!JournalOnDisk());
        QVERIFY(stopBoxes_.empty());
    }

    void noLeavesTheListAsLoadedAndRemovesTheJournal()
    {
        LeaveJournal();
        prompter_.Answer(mrNo);
        OpenShown();
        QCOMPARE(prompter_.boxes.size(), 1u);
        QCOMPARE(BetaObjects(), std::vector<std::string>{"/b"});
        QVERIFY(!form_->Store().Modified());
        QCOMPARE(form_->History().count(), 0);
        QVERIFY(!JournalOnDisk());
    }

    // Another program changed Beta between the journal and this start: the offer names it,
    // and the save of the recovered list asks before overwriting it.
    void theSaveAfterARecoveryAsksAboutWhatChangedOnDiskSince()
    {
        LeaveJournal();
        CatalogStore other(folder_->Path());
        other.LoadCatalogList();
        other.AddObjects(1, {"/theirs"});
        other.SaveCatalogList();

        prompter_.Answer(mrYes);
        OpenShown();
        QCOMPARE(prompter_.boxes.size(), 1u);
        QVERIFY2(prompter_.boxes[0].text.endsWith(QStringLiteral("\n") + Beta()), qPrintable(prompter_.boxes[0].text));

        prompter_.Answer(mrYes);  // save
        prompter_.Answer(mrNo);   // do not overwrite what changed on disk
        Action("ActF_CatSave")->trigger();
        QCOMPARE(prompter_.boxes.size(), 3u);
        QCOMPARE(prompter_.boxes[2].msg, ChangedOnDiskQuestion({Cp932(Beta())}));
        QCOMPARE(BetaOnDisk(), (std::vector<std::string>{"/b", "/theirs"}));
        QVERIFY(form_->Store().Modified());
        QVERIFY(JournalOnDisk());
    }

    void theJournalGoesWhenNothingIsLeftUnsaved_data()
    {
        QTest::addColumn<Step>("step");
        QTest::addColumn<bool>("modified");
        QTest::addColumn<bool>("kept");
        QTest::newRow("saved") << Step::Save << false << false;
        QTest::newRow("undone to the saved state") << Step::UndoToClean << false << false;
        QTest::newRow("closed with No") << Step::CloseNo << true << false;
        QTest::newRow("close cancelled") << Step::CloseCancel << true << true;
        QTest::newRow("save failed") << Step::FailedSave << true << true;
    }

    void theJournalGoesWhenNothingIsLeftUnsaved()
    {
        QFETCH(Step, step);
        QFETCH(bool, modified);
        QFETCH(bool, kept);
        OpenShown();
        prompter_.Answer(mrYes);
        Action("ActF_CatDelete")->trigger();
        QCOMPARE(form_->Store().Count(), 1);
        QVERIFY(JournalOnDisk());

        switch (step) {
        case Step::Save:
            prompter_.Answer(mrYes);
            Action("ActF_CatSave")->trigger();
            break;
        case Step::UndoToClean:
            Action("ActE_Undo")->trigger();
            break;
        case Step::CloseNo:
        case Step::CloseCancel:
            prompter_.Answer(step == Step::CloseNo ? mrNo : mrCancel);
            Action("ActF_Close")->trigger();
            QCOMPARE(form_->isVisible(), step == Step::CloseCancel);
            break;
        case Step::FailedSave:
            QVERIFY(QFile::remove(folder_->FilePath("VrCatCtl.ini")));
            QVERIFY(QDir(folder_->dir.path()).mkdir("VrCatCtl.ini"));
            prompter_.Answer(mrYes);
            Action("ActF_CatSave")->trigger();
            QCOMPARE(stopBoxes_.size(), 1u);
            break;
        }
        QCOMPARE(form_->Store().Modified(), modified);
        QCOMPARE(JournalOnDisk(), kept);
        if (kept)
            QCOMPARE(Journal().value().entries.size(), 1u);
    }

    // A journal that cannot be written is told in a box the first time, in the status bar
    // after that.
    void aJournalThatCannotBeWrittenIsToldOnceInABox()
    {
        OpenShown();
        const QString journal = folder_->FilePath(".TessnaJournal");
        // Whether an edit's journal failed to be written where a folder is in its place.
        const auto failToWrite = [&](const std::string& object) {
            QFile::remove(journal);
            const bool blocked = QDir().mkdir(journal);
            form_->Store().AddObjects(0, {object});
            const bool failed = !form_->Journal().Flush();
            QCoreApplication::processEvents();
            return blocked && failed && QDir().rmdir(journal);
        };
        QVERIFY(failToWrite("/x"));
        QCOMPARE(prompter_.boxes.size(), 1u);
        QCOMPARE(prompter_.boxes[0].dlgType, MsgDlgType::mtWarning);
        QCOMPARE(prompter_.boxes[0].msg, JournalCannotWriteMessage(Cp932(journal)));

        form_->Store().AddObjects(0, {"/y"});
        QVERIFY(form_->Journal().Flush());
        QVERIFY(failToWrite("/z"));
        QCOMPARE(prompter_.boxes.size(), 1u);
        QCOMPARE(form_->statusBar()->currentMessage(), Cp932ToDisplay(JournalCannotWriteMessage(Cp932(journal))));
    }

    // A second window on the folder in this process cannot own the journal: it says so once,
    // in the status bar, and keeps none.
    void aRunThatCannotOwnTheJournalSaysSoInTheStatusBar()
    {
        OpenShown();
        auto second = OpenCatalogForm(*folder_, prompter_);
        QVERIFY(!second->Journal().Keeps());
        QCOMPARE(second->statusBar()->currentMessage(), Cp932ToDisplay(JournalOwnedElsewhereMessage()));
        QVERIFY(form_->Journal().Keeps());
        QVERIFY(form_->statusBar()->currentMessage().isEmpty());
    }
};

TESSNA_QTEST_MAIN(TestCatalogFormJournal)
#include "CatalogFormJournal_test.moc"
