#include "app/CatalogForm.h"
#include "app/ObjectListModel.h"
#include "catalog/CatalogStore.h"
#include "support/core/Cp932.h"
#include "support/core/MessageDlg.h"
#include "support/core/RegistryLayout.h"
#include "tests/app/OpenCatalogForm.h"
#include "tests/common/CatalogFolder.h"
#include "tests/common/ClickHeading.h"
#include "tests/common/FileBytes.h"
#include "tests/common/NamedChild.h"
#include "tests/common/QtTestMain.h"
#include "tests/common/ScriptedPrompter.h"
#include "tests/common/SelectRows.h"
#include "tests/common/ShowWindow.h"

#include <QAction>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QDir>
#include <QDropEvent>
#include <QMimeData>
#include <QTableView>
#include <QUrl>
#include <QTemporaryDir>

#include <memory>

namespace {

using Paths = std::vector<std::string>;

}  // namespace

// The object commands driven through the main window, with the chooser answered in its
// place and the boxes answered by a script.
class TestCatalogFormObjectCommands : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<CatalogFolder> program_;
    QTemporaryDir disk_;
    ScriptedPrompter prompter_;
    std::unique_ptr<TCatalogForm> form_;
    std::optional<ObjectChoice> answer_;
    std::vector<ObjectChooserSettings> asked_;

    std::string DiskPath(const QString& relative) const
    {
        return *QStringToCp932(disk_.filePath(relative));
    }

    // One catalog "Cat" holding objects, shown in a new main window.
    void Open(const Paths& objects)
    {
        QStringList paths;
        for (const std::string& object : objects)
            paths << *Cp932ToQString(object);
        form_.reset();
        program_ = std::make_unique<CatalogFolder>();
        program_->AddCatalog(QStringLiteral("Cat"), paths);
        CatalogFormServices services;
        services.runObjectChooser = [this](QWidget*, const ObjectChooserSettings& settings) {
            asked_.push_back(settings);
            return answer_;
        };
        form_ = OpenCatalogForm(*program_, prompter_, std::move(services));
        form_->show();
    }

    Paths Objects() const { return form_->Store().Catalog(0).Objects.ToStrings(); }
    QTableView* List() const { return Named<QTableView>(*form_, "ListView"); }
    void Trigger(const char* action) { Named<QAction>(*form_, action)->trigger(); }

    Paths RowPaths() const
    {
        Paths paths;
        for (int row = 0; row < form_->ObjectList().Count(); ++row)
            paths.push_back(form_->ObjectList().Item(row).Path);
        return paths;
    }

    void SelectRows(const QList<int>& rows) { ::SelectRows(*List(), rows); }

private slots:
    void init()
    {
        QDir(disk_.path()).removeRecursively();
        QDir().mkpath(disk_.path());
        for (const char* folder : {"d1", "d2"})
            QDir().mkpath(disk_.filePath(QString::fromLatin1(folder)));
        for (const char* file : {"f1.txt", "f2.txt", "f3.txt", "a.txt"})
            WriteFile(disk_.filePath(QString::fromLatin1(file)), "x");
        prompter_ = ScriptedPrompter();
        asked_.clear();
        answer_.reset();
    }

    void cleanup() { form_.reset(); }

    void Filter(const QString& text) { Named<QLineEdit>(*form_, "EdtFilter")->setText(text); }
    QString Panel(const char* name) const { return Named<QLabel>(*form_, name)->text(); }

    // Delete and select all act on the rows the filter shows; hidden objects stay.
    void DeleteWhileFilteredRemovesOnlyTheShownSelection()
    {
        Open({DiskPath("d1"), DiskPath("f1.txt"), DiskPath("d2"), DiskPath("f2.txt"), DiskPath("a.txt"),
              DiskPath("f3.txt")});
        Filter(".TXT");
        QCOMPARE(RowPaths(), (Paths {DiskPath("a.txt"), DiskPath("f1.txt"), DiskPath("f2.txt"), DiskPath("f3.txt")}));
        SelectRows({1, 3});
        prompter_.Answer(mrYes);
        Trigger("ActI_ItemDelete");
        QCOMPARE(Objects(), (Paths {DiskPath("d1"), DiskPath("d2"), DiskPath("f2.txt"), DiskPath("a.txt")}));
        QCOMPARE(RowPaths(), (Paths {DiskPath("a.txt"), DiskPath("f2.txt")}));
        QCOMPARE(Panel("StatusPanel0"), QStringLiteral("2 / 4 件のオブジェクト"));

        List()->setFocus();
        QTest::keyClick(List(), Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(List()->selectionModel()->selectedRows().size(), 2);
        prompter_.Answer(mrYes);
        Trigger("ActI_ItemDelete");
        QCOMPARE(prompter_.boxes.back().msg, Cp932Text("選択した 2 件のオブジェクトを削除しますか？"));
        QCOMPARE(Objects(), (Paths {DiskPath("d1"), DiskPath("d2")}));
        Filter("");
        QCOMPARE(RowPaths(), (Paths {DiskPath("d1"), DiskPath("d2")}));
    }

    // Undo of a delete made while filtered puts the objects back where they stood in the
    // catalog; the filter stays: the rows it shows come back selected, the others are told.
    void UndoOfADeleteMadeWhileFilteredPutsEveryObjectBack()
    {
        const Paths start = {DiskPath("d1"), DiskPath("f1.txt"), DiskPath("d2"), DiskPath("f2.txt"),
                             DiskPath("a.txt"), DiskPath("f3.txt")};
        Open(start);
        Filter(".txt");
        SelectRows({1, 3});   // a, f1, f2, f3
        prompter_.Answer(mrYes);
        Trigger("ActI_ItemDelete");
        QCOMPARE(Objects(), (Paths {DiskPath("d1"), DiskPath("d2"), DiskPath("f2.txt"), DiskPath("a.txt")}));

        Trigger("ActE_Undo");
        QCOMPARE(Objects(), start);
        QCOMPARE(RowPaths(), (Paths {DiskPath("a.txt"), DiskPath("f1.txt"), DiskPath("f2.txt"), DiskPath("f3.txt")}));
        QCOMPARE(Panel("StatusPanel0"), QStringLiteral("2 件のオブジェクトを選択"));
        QCOMPARE(form_->ObjectList().Item(List()->selectionModel()->selectedRows().front().row()).Path, DiskPath("f1.txt"));
        QCOMPARE(Panel("StatusPanel2"), QString());

        Trigger("ActE_Redo");
        Filter("a.txt");
        Trigger("ActE_Undo");
        QCOMPARE(Objects(), start);
        QCOMPARE(RowPaths(), Paths {DiskPath("a.txt")});
        QCOMPARE(Panel("StatusPanel0"), QStringLiteral("1 / 6 件のオブジェクト"));
        QCOMPARE(Panel("StatusPanel2"), QStringLiteral("追加した 2 件はフィルタ外です"));
        Filter("");
        QCOMPARE(form_->ObjectList().Count(), 6);
        QVERIFY(!form_->Store().Modified());
    }

    // Adding keeps the filter: the new objects it hides are counted and told in the status bar.
    void AddWhileFilteredCountsTheHiddenRowsAndSaysSo()
    {
        Open({DiskPath("f1.txt")});
        Filter(".txt");
        answer_ = ObjectChoice{{DiskPath("d1"), DiskPath("d2")}, {DiskPath("f2.txt")}, true};
        Trigger("ActI_ItemFileAdd");
        QCOMPARE(Objects(), (Paths {DiskPath("f1.txt"), DiskPath("d1"), DiskPath("d2"), DiskPath("f2.txt")}));
        QCOMPARE(RowPaths(), (Paths {DiskPath("f1.txt"), DiskPath("f2.txt")}));
        QCOMPARE(Named<QLineEdit>(*form_, "EdtFilter")->text(), QStringLiteral(".txt"));
        QCOMPARE(Panel("StatusPanel0"), QStringLiteral("1 件のオブジェクトを選択"));
        QCOMPARE(Panel("StatusPanel2"), QStringLiteral("追加した 2 件はフィルタ外です"));
        List()->clearSelection();
        QCOMPARE(Panel("StatusPanel0"), QStringLiteral("2 / 4 件のオブジェクト"));
        Filter("");
        QCOMPARE(Panel("StatusPanel2"), QString());
        QCOMPARE(form_->ObjectList().Count(), 4);
    }

    void AddTakesFoldersThenFilesAndSkipsWhatTheCatalogHolds()
    {
        // The catalog holds A.TXT: a.txt beside it is another file and joins it.
        const std::string held = DiskPath("A.TXT");
        Open({held});
        answer_ = ObjectChoice{{DiskPath("d1"), DiskPath("gone"), DiskPath("d2")},
                               {DiskPath("f1.txt"), DiskPath("a.txt"), DiskPath("f2.txt"),
                                DiskPath("missing.txt"), DiskPath("f3.txt")},
                               true};
        Trigger("ActI_ItemFileAdd");

        const Paths added = {held, DiskPath("d1"), DiskPath("d2"), DiskPath("f1.txt"),
                             DiskPath("a.txt"), DiskPath("f2.txt"), DiskPath("f3.txt")};
        QCOMPARE(Objects(), added);
        // The rows take their places by name: folders, files, then the missing A.TXT.
        QCOMPARE(RowPaths(), (Paths{DiskPath("d1"), DiskPath("d2"), DiskPath("a.txt"), DiskPath("f1.txt"),
                                    DiskPath("f2.txt"), DiskPath("f3.txt"), held}));
        // The rows that came in are selected.
        QCOMPARE(List()->selectionModel()->selectedRows().size(), 6);
        QVERIFY(form_->Store().Modified());
        QVERIFY(form_->windowTitle().contains(QStringLiteral("(更新)")));
        QVERIFY(QApplication::overrideCursor() == nullptr);
        // What was chosen and not added is named, with the reason.
        QCOMPARE(prompter_.boxes.size(), 1u);
        QCOMPARE(prompter_.boxes[0].text, QStringLiteral("次の 2 件は見つからないため追加しませんでした。\n")
                                              + disk_.filePath("gone") + u'\n' + disk_.filePath("missing.txt"));

        QCOMPARE(asked_.size(), std::size_t(1));
        const ObjectChooserSettings& settings = asked_.front();
        QCOMPARE(settings.Title, Cp932Text("圧縮するオブジェクトを選択(複数選択可)"));
        QCOMPARE(settings.Filter, Cp932Text("すべてのファイル|*.*"));
        QCOMPARE(settings.FilterIndex, 1);
        QCOMPARE(settings.HistoryKey, std::string(RegHistoryKey));
        QCOMPARE(settings.InitialDir, std::string());
        QCOMPARE(settings.Options, ofHideReadOnly | ofAllowMultiSelect | ofPathMustExist
                     | ofNoTestFileCreate | ofNoDereferenceLinks | ofEnableSizing);
        QVERIFY(settings.LoadPlaces);

        answer_ = ObjectChoice{{}, {DiskPath("f1.txt"), DiskPath("F1.TXT")}, true};
        WriteFile(disk_.filePath("F1.TXT"), "x");
        Trigger("ActI_ItemFileAdd");
        QCOMPARE(Objects().back(), DiskPath("F1.TXT"));
        QCOMPARE(prompter_.boxes.back().text,
                 QStringLiteral("次の 1 件は既にカタログにあるため追加しませんでした。\n") + disk_.filePath("f1.txt"));
    }

    void AddAndDropNameWhatACatalogCannotHoldAndTakeTheRest()
    {
        Open({});
        for (const char* name : {"line\nbreak.txt", "한국.txt"})
            WriteFile(disk_.filePath(QString::fromUtf8(name)), "x");
        answer_ = ObjectChoice{{}, {DiskPath("line\nbreak.txt"), DiskPath("f1.txt")}, true};
        Trigger("ActI_ItemFileAdd");
        QCOMPARE(Objects(), (Paths{DiskPath("f1.txt")}));
        QCOMPARE(prompter_.boxes.size(), 1u);
        QCOMPARE(prompter_.boxes[0].dlgType, MsgDlgType::mtWarning);
        QVERIFY(prompter_.boxes[0].text.endsWith(u'\n' + disk_.filePath("line<LF>break.txt")));

        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(disk_.filePath("line\nbreak.txt")),
                      QUrl::fromLocalFile(disk_.filePath("한국.txt")), QUrl::fromLocalFile(disk_.filePath("f2.txt"))});
        // The enter makes the list the drop's target, as a file manager's drag does.
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(List()->viewport(), &enter);
        QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(List()->viewport(), &drop);
        QTRY_COMPARE(prompter_.boxes.size(), 2u);
        QCOMPARE(Objects(), (Paths{DiskPath("f1.txt"), DiskPath("f2.txt")}));
        // Both refused names show as the host shows them.
        QVERIFY(prompter_.boxes[1].text.contains(disk_.filePath("한국.txt")));
        QVERIFY(prompter_.boxes[1].text.contains(disk_.filePath("line<LF>break.txt")));
    }

    void AddThatChangesNothingLeavesTheListUnmodified()
    {
        Open({DiskPath("f1.txt")});
        Trigger("ActI_ItemFileAdd");   // cancelled
        answer_ = ObjectChoice{{}, {DiskPath("f1.txt"), DiskPath("missing.txt")}, true};
        Trigger("ActI_ItemFileAdd");   // only what the catalog holds and a vanished file
        QCOMPARE(asked_.size(), std::size_t(2));
        QCOMPARE(Objects(), Paths{DiskPath("f1.txt")});
        QCOMPARE(form_->ObjectList().Count(), 1);
        QVERIFY(!form_->Store().Modified());
    }

    void DeletingOneRowAsksByItsName()
    {
        Open({DiskPath("f1.txt"), DiskPath("f2.txt")});
        SelectRows({1});
        prompter_.Answer(mrNo);
        Trigger("ActI_ItemDelete");
        QCOMPARE(Objects().size(), std::size_t(2));
        QVERIFY(!form_->Store().Modified());
        prompter_.Answer(mrCancel);  // the close box means No
        Trigger("ActI_ItemDelete");
        QCOMPARE(Objects().size(), std::size_t(2));
        QCOMPARE(form_->ObjectList().Count(), 2);
        QVERIFY(!form_->Store().Modified());

        prompter_.Answer(mrYes);
        Trigger("ActI_ItemDelete");
        QCOMPARE(prompter_.boxes.size(), std::size_t(3));
        QCOMPARE(prompter_.boxes[2].msg, Cp932Text("f2.txt を削除しますか？"));
        QCOMPARE(prompter_.boxes[2].dlgType, MsgDlgType::mtConfirmation);
        QCOMPARE(prompter_.boxes[2].buttons, mbYesNo);
        QCOMPARE(Objects(), Paths{DiskPath("f1.txt")});
        QCOMPARE(RowPaths(), Paths{DiskPath("f1.txt")});
        QVERIFY(form_->Store().Modified());
    }

    void DeletingSeveralRowsAsksByTheirNumberAndCanEmptyTheCatalog()
    {
        // A path written with the other delimiter is removed with its row all the same.
        const std::string windowsPath = "C:\\Data\\x.txt";
        Open({DiskPath("f1.txt"), windowsPath, DiskPath("f3.txt")});
        SelectRows({0, 1, 2});
        prompter_.Answer(mrYes);
        Trigger("ActI_ItemDelete");
        QCOMPARE(prompter_.boxes.size(), std::size_t(1));
        QCOMPARE(prompter_.boxes[0].msg, Cp932Text("選択した 3 件のオブジェクトを削除しますか？"));
        QVERIFY(Objects().empty());
        QCOMPARE(form_->ObjectList().Count(), 0);
        QCOMPARE(form_->Store().Count(), 1);
        QVERIFY(!Named<QAction>(*form_, "ActI_ItemDelete")->isEnabled());
    }

    void DeletingScatteredRowsKeepsTheOthersInPlace()
    {
        Open({DiskPath("f1.txt"), DiskPath("f2.txt"), DiskPath("f3.txt"), DiskPath("a.txt")});
        // Sorted by name: a, f1, f2, f3.
        SelectRows({0, 2});
        prompter_.Answer(mrYes);
        Trigger("ActI_ItemDelete");
        QCOMPARE(Objects(), (Paths{DiskPath("f1.txt"), DiskPath("f3.txt")}));
        QCOMPARE(RowPaths(), (Paths{DiskPath("f1.txt"), DiskPath("f3.txt")}));
    }

    // Two files whose names differ only in letter case are two objects: a row deletes its
    // own, and the saved file keeps the other.
    void DeletingARowRemovesItsOwnObjectBesideACaseTwin()
    {
        WriteFile(disk_.filePath(QStringLiteral("A.TXT")), "x");
        Open({DiskPath("a.txt"), DiskPath("A.TXT")});
        const int twin = RowPaths()[0] == DiskPath("A.TXT") ? 0 : 1;
        SelectRows({twin});
        prompter_.Answer(mrYes);
        Trigger("ActI_ItemDelete");
        QCOMPARE(Objects(), Paths{DiskPath("a.txt")});
        QCOMPARE(RowPaths(), Paths{DiskPath("a.txt")});

        form_->Store().SaveCatalogList();
        CatalogStore saved(program_->Path());
        saved.LoadCatalogList();
        QCOMPARE(saved.Catalog(0).Objects, Paths{DiskPath("a.txt")});
    }

    // Undo puts back exactly what a delete took, where it stood in the catalog; back at the
    // saved state nothing is modified and the close asks nothing. Redo takes it again.
    void UndoAndRedoFollowTheHistoryAndTheModifiedFlag()
    {
        const Paths start = {DiskPath("f1.txt"), DiskPath("f2.txt"), DiskPath("f3.txt"), DiskPath("a.txt")};
        Open(start);
        QAction* undo = Named<QAction>(*form_, "ActE_Undo");
        QAction* redo = Named<QAction>(*form_, "ActE_Redo");
        QVERIFY(!undo->isEnabled());
        SelectRows({1, 3});   // sorted by name: a, f1, f2, f3
        prompter_.Answer(mrYes);
        Trigger("ActI_ItemDelete");
        QCOMPARE(Objects(), (Paths{DiskPath("f2.txt"), DiskPath("a.txt")}));
        QCOMPARE(undo->text(), QStringLiteral("元に戻す(&U): オブジェクトの削除"));
        QCOMPARE(undo->statusTip(), QStringLiteral("「オブジェクトの削除」を元に戻します"));

        ShowActive(*form_);
        QTest::keyClick(List(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(Objects(), start);
        QCOMPARE(form_->ObjectList().Count(), 4);
        QCOMPARE(List()->selectionModel()->selectedRows().size(), 2);
        QVERIFY(!form_->Store().Modified());
        QVERIFY(!form_->windowTitle().contains(QStringLiteral("(更新)")));
        QCOMPARE(redo->text(), QStringLiteral("やり直し(&R): オブジェクトの削除"));

        QTest::keyClick(List(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(Objects(), (Paths{DiskPath("f2.txt"), DiskPath("a.txt")}));
        QCOMPARE(RowPaths().size(), std::size_t(2));
        QVERIFY(form_->Store().Modified());
        QTest::keyClick(List(), Qt::Key_Z, Qt::ControlModifier);
        QTest::keyClick(List(), Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(Objects(), (Paths{DiskPath("f2.txt"), DiskPath("a.txt")}));
        undo->trigger();

        const std::size_t boxes = prompter_.boxes.size();
        QVERIFY(form_->close());
        QCOMPARE(prompter_.boxes.size(), boxes);
    }

    // Ctrl+V on the object list adds the clipboard's paths as a drop does, in one step.
    void PasteAddsTheClipboardsPathsAsOneStep()
    {
        Open({DiskPath("f1.txt")});
        auto* data = new QMimeData;
        data->setUrls({QUrl::fromLocalFile(disk_.filePath("f2.txt")), QUrl::fromLocalFile(disk_.filePath("d1")),
                       QUrl::fromLocalFile(disk_.filePath("f1.txt"))});
        QGuiApplication::clipboard()->setMimeData(data);
        ShowActive(*form_);
        List()->setFocus();
        QTest::keyClick(List(), Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(Objects(), (Paths{DiskPath("f1.txt"), DiskPath("d1"), DiskPath("f2.txt")}));
        QCOMPARE(Named<QAction>(*form_, "ActE_Undo")->text(), QStringLiteral("元に戻す(&U): オブジェクトの貼り付け"));

        Named<QAction>(*form_, "ActE_Undo")->trigger();
        QCOMPARE(Objects(), Paths{DiskPath("f1.txt")});
        QCOMPARE(RowPaths(), Paths{DiskPath("f1.txt")});
    }

    // Rows that come back by an undo, or in by a paste, take their places in the sort order
    // of the list, in either order; the other rows keep theirs.
    void UndoneAndPastedRowsTakeTheirPlacesInTheSortOrder()
    {
        WriteFile(disk_.filePath(QStringLiteral("d2/b.txt")), "x");
        const struct {
            const char* sort;
            QList<int> clicks;  // column headings clicked after the list is filled
            Paths sorted;       // the rows, with d2/b.txt pasted
        } cases[] = {
            {"name", {}, {"d1", "d2", "a.txt", "d2/b.txt", "f1.txt", "f2.txt"}},
            {"name, descending", {0}, {"f2.txt", "f1.txt", "d2/b.txt", "a.txt", "d2", "d1"}},
        };
        for (const auto& c : cases) {
            Open({DiskPath("f2.txt"), DiskPath("d1"), DiskPath("a.txt"), DiskPath("f1.txt"), DiskPath("d2")});
            for (const int column : c.clicks)
                ClickHeading(List()->horizontalHeader(), column);
            Paths sorted;
            for (const std::string& relative : c.sorted)
                sorted.push_back(DiskPath(QString::fromStdString(relative)));
            Paths before = sorted;
            std::erase(before, DiskPath("d2/b.txt"));
            QVERIFY2(RowPaths() == before, c.sort);

            SelectRows({0, 2, 3});
            prompter_.Answer(mrYes);
            Trigger("ActI_ItemDelete");
            QCOMPARE(RowPaths().size(), std::size_t(2));
            Trigger("ActE_Undo");
            QVERIFY2(RowPaths() == before, c.sort);
            QCOMPARE(List()->selectionModel()->selectedRows().size(), 3);

            auto* data = new QMimeData;
            data->setUrls({QUrl::fromLocalFile(disk_.filePath("d2/b.txt"))});
            QGuiApplication::clipboard()->setMimeData(data);
            ShowActive(*form_);
            List()->setFocus();
            QTest::keyClick(List(), Qt::Key_V, Qt::ControlModifier);
            QVERIFY2(RowPaths() == sorted, c.sort);
            const QModelIndexList selected = List()->selectionModel()->selectedRows();
            QCOMPARE(selected.size(), 1);
            QCOMPARE(form_->ObjectList().Item(selected.front().row()).Path, DiskPath("d2/b.txt"));
        }
    }

    // Deletes undone and redone in turn bring back each row where it stood in the sort order,
    // with its folder or file kind, whichever delete the rows that come back belong to.
    void SuccessiveDeletesUndoneInTurnBringBackEachRow()
    {
        const struct {
            const char* name;
            QList<QList<int>> deletes;  // the rows selected for each delete
            int redone;                 // deletes redone after all are undone
        } cases[] = {
            {"one", {{0, 2, 4}}, 1},
            {"two", {{1, 3}, {0, 2}}, 2},
            {"three, one redone", {{5}, {0, 1}, {1}}, 1},
        };
        for (const auto& c : cases) {
            Open({DiskPath("f2.txt"), DiskPath("d1"), DiskPath("a.txt"), DiskPath("f1.txt"), DiskPath("d2"),
                  DiskPath("f3.txt")});
            std::vector<Paths> rows = {RowPaths()};
            std::vector<Paths> objects = {Objects()};
            std::vector<int> attributes;
            for (int row = 0; row < form_->ObjectList().Count(); ++row)
                attributes.push_back(form_->ObjectList().Item(row).Attributes);
            for (const QList<int>& selected : c.deletes) {
                SelectRows(selected);
                prompter_.Answer(mrYes);
                Trigger("ActI_ItemDelete");
                rows.push_back(RowPaths());
                objects.push_back(Objects());
            }
            for (auto step = c.deletes.size(); step-- > 0;) {
                Trigger("ActE_Undo");
                QVERIFY2(RowPaths() == rows[step], c.name);
                QVERIFY2(Objects() == objects[step], c.name);
                QCOMPARE(List()->selectionModel()->selectedRows().size(), c.deletes[step].size());
            }
            for (int row = 0; row < form_->ObjectList().Count(); ++row)
                QCOMPARE(form_->ObjectList().Item(row).Attributes, attributes[std::size_t(row)]);
            for (int step = 1; step <= c.redone; ++step) {
                Trigger("ActE_Redo");
                QVERIFY2(RowPaths() == rows[std::size_t(step)], c.name);
            }
        }
    }

    void DeletingWithoutASelectionAsksNothing()
    {
        Open({DiskPath("f1.txt")});
        List()->clearSelection();
        Trigger("ActI_ItemDelete");
        QVERIFY(prompter_.boxes.empty());
        QCOMPARE(Objects().size(), std::size_t(1));
    }
};

TESSNA_QTEST_MAIN(TestCatalogFormObjectCommands)
#include "CatalogFormObjectCommands_test.moc"
