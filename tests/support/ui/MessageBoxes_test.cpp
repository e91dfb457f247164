#include "support/ui/FormBoxes.h"
#include "support/ui/MessageBoxes.h"
#include "support/ui/MessageForm.h"
#include "support/ui/StopBox.h"

#include "support/core/Beep.h"
#include "support/core/Cp932.h"
#include "support/core/FileNames.h"
#include "support/core/RegistryLayout.h"
#include "support/core/WinReg.h"
#include "tests/common/ClearRegistry.h"
#include "tests/common/ModalDriver.h"
#include "tests/common/NamedChild.h"
#include "tests/common/QtTestMain.h"
#include "tests/common/ShowWindow.h"

#include <QLabel>
#include <QPushButton>
#include <QScreen>

#include <optional>

namespace {

// What a box looked like when it showed, and how many beeps had sounded by then.
struct SeenBox {
    QString title;
    QString text;
    QRect frame;
    QWidget* parent = nullptr;
    int beepsBefore = 0;
    bool hasIcon = false;
    QStringList buttons;
};

class BoxWatcher {
public:

    // Answers the next box with the button named buttonName.
    void AnswerWith(const QString& buttonName)
    {
        driver_.emplace([this, buttonName](QWidget& modal) {
            SeenBox box;
            box.title = modal.windowTitle();
            box.text = Named<QLabel>(modal, "Message")->text();
            box.frame = modal.frameGeometry();
            box.parent = modal.parentWidget();
            box.beepsBefore = beeps;
            box.hasIcon = modal.findChild<QLabel*>(QStringLiteral("Image")) != nullptr;
            for (const QPushButton* button : modal.findChildren<QPushButton*>())
                box.buttons << button->objectName();
            seen.append(box);
            modal.findChild<QPushButton*>(buttonName)->click();
        });
    }

    int beeps = 0;
    QList<SeenBox> seen;

private:
    const ScopedBeepHandler beep_{[this] { ++beeps; }};
    std::optional<ModalDriver<>> driver_;
};

QRect Screen()
{
    return QGuiApplication::primaryScreen()->geometry();
}

}  // namespace

class TestMessageBoxes : public QObject {
    Q_OBJECT

private slots:
    void init() { ClearRegistry(); }

    void onlyAnErrorBoxBeepsAndBeforeItShows_data();
    void onlyAnErrorBoxBeepsAndBeforeItShows();
    void aBeepSettingOfTheWrongTypeThrowsBeforeAnyBox();
    void aBoxIsCentredOverItsOwner();
    void aBoxNearTheScreenEdgeStaysTwoPixelsInside();
    void anExplicitPositionWins();
    void promptersOwnTheirBoxes();
    void theStopBoxShowsTheErrorTitledTessna();
    void fileNameCheckShowsItsErrorOverTheOwner();
};

void TestMessageBoxes::onlyAnErrorBoxBeepsAndBeforeItShows_data()
{
    QTest::addColumn<MsgDlgType>("type");
    QTest::addColumn<int>("setting");  // -1: absent
    QTest::addColumn<int>("beeps");
    QTest::newRow("error, absent") << MsgDlgType::mtError << -1 << 1;
    QTest::newRow("error, 0") << MsgDlgType::mtError << 0 << 1;
    QTest::newRow("error, 1 silences") << MsgDlgType::mtError << 1 << 0;
    QTest::newRow("error, 2 silences") << MsgDlgType::mtError << 2 << 0;
    QTest::newRow("warning") << MsgDlgType::mtWarning << 0 << 0;
    QTest::newRow("information") << MsgDlgType::mtInformation << 0 << 0;
    QTest::newRow("confirmation") << MsgDlgType::mtConfirmation << -1 << 0;
    QTest::newRow("custom") << MsgDlgType::mtCustom << -1 << 0;
}

void TestMessageBoxes::onlyAnErrorBoxBeepsAndBeforeItShows()
{
    QFETCH(MsgDlgType, type);
    QFETCH(int, setting);
    QFETCH(int, beeps);
    if (setting >= 0)
        RegWriteInteger(RegSettingSubKey, RegBeepSound, setting);
    BoxWatcher watcher;
    watcher.AnswerWith(QStringLiteral("Cancel"));
    QCOMPARE(ShowMessageDlg(nullptr, "text", type, mbOK | mbCancel, 0), mrCancel);
    QCOMPARE(watcher.beeps, beeps);
    QCOMPARE(watcher.seen.value(0).beepsBefore, beeps);
}

void TestMessageBoxes::aBeepSettingOfTheWrongTypeThrowsBeforeAnyBox()
{
    {
        TRegistry registry;
        QVERIFY(registry.OpenKey(std::string("\\") + SettingsKey + "\\" + RegSettingSubKey, true));
        registry.WriteString(RegBeepSound, "on");
    }
    BoxWatcher watcher;
    watcher.AnswerWith(QStringLiteral("OK"));
    QVERIFY_THROWS_EXCEPTION(ERegistryException,
                             ShowMessageDlg(nullptr, "text", MsgDlgType::mtConfirmation, mbOK, 0));
    QVERIFY_THROWS_EXCEPTION(ERegistryException,
                             ShowMessageDlgWnd(nullptr, "text", MsgDlgType::mtError, mbOK, 0));
    QTest::qWait(50);
    QVERIFY(watcher.seen.isEmpty());
    QCOMPARE(watcher.beeps, 0);
    MessageDlgOnForm(nullptr, "text", MsgDlgType::mtError, mbOK, 0, -1, -1);
    QCOMPARE(watcher.seen.size(), 1);
}

void TestMessageBoxes::aBoxIsCentredOverItsOwner()
{
    QWidget owner;
    owner.setGeometry(100, 80, 500, 400);
    QVERIFY(Shown(owner));
    BoxWatcher watcher;
    watcher.AnswerWith(QStringLiteral("OK"));
    ShowMessageDlg(&owner, "text", MsgDlgType::mtInformation, mbOK, 0);
    watcher.AnswerWith(QStringLiteral("OK"));
    ShowMessageDlgWnd(&owner, "text", MsgDlgType::mtInformation, mbOK, 0);
    QCOMPARE(watcher.seen.size(), 2);
    for (const SeenBox& box : watcher.seen) {
        QVERIFY(qAbs(box.frame.center().x() - owner.frameGeometry().center().x()) <= 1);
        QVERIFY(qAbs(box.frame.center().y() - owner.frameGeometry().center().y()) <= 1);
        QCOMPARE(box.parent, &owner);
    }
}

void TestMessageBoxes::aBoxNearTheScreenEdgeStaysTwoPixelsInside()
{
    QWidget owner;
    owner.setGeometry(Screen().right() - 60, Screen().bottom() - 40, 200, 150);
    QVERIFY(Shown(owner));
    BoxWatcher watcher;
    watcher.AnswerWith(QStringLiteral("OK"));
    ShowMessageDlg(&owner, "text", MsgDlgType::mtWarning, mbOK, 0);
    const QRect frame = watcher.seen.value(0).frame;
    QCOMPARE(frame.x() + frame.width(), Screen().width() - 2);
    QCOMPARE(frame.y() + frame.height(), Screen().height() - 2);
}

void TestMessageBoxes::anExplicitPositionWins()
{
    BoxWatcher watcher;
    watcher.AnswerWith(QStringLiteral("OK"));
    MessageDlgOnForm(nullptr, "text", MsgDlgType::mtWarning, mbOK, 0, 30, 40);
    watcher.AnswerWith(QStringLiteral("OK"));
    MessageDlgOnWindow(nullptr, "text", MsgDlgType::mtWarning, mbOK, 0, 50, -1);
    QCOMPARE(watcher.seen.value(0).frame.topLeft(), QPoint(30, 40));
    const QRect centred = watcher.seen.value(1).frame;
    QCOMPARE(centred.x(), 50);
    // Without an owner nothing tells the size of the frame to come: centred up to it.
    QVERIFY(qAbs(centred.center().y() - Screen().center().y()) <= 4);
}

void TestMessageBoxes::promptersOwnTheirBoxes()
{
    QWidget owner;
    owner.setGeometry(100, 80, 500, 400);
    auto* child = new QWidget(&owner);
    owner.show();
    BoxWatcher watcher;
    OwnerPrompter formPrompter(child);
    OwnerPrompter windowPrompter(&owner, BoxOwner::Window);
    watcher.AnswerWith(QStringLiteral("Yes"));
    QCOMPARE(formPrompter.ShowMessageDlg("?", MsgDlgType::mtConfirmation, mbYesNo, 0), mrYes);
    watcher.AnswerWith(QStringLiteral("Cancel"));
    QCOMPARE(windowPrompter.ShowMessageDlg("!", MsgDlgType::mtError, mbOK | mbCancel, 0),
             mrCancel);
    QCOMPARE(watcher.seen.value(0).parent, &owner);
    QCOMPARE(watcher.seen.value(1).parent, &owner);
    QCOMPARE(watcher.beeps, 1);

    // A window's boxes: the prompter it is given, else its own over it.
    const FormBoxes given(&owner, &windowPrompter);
    QCOMPARE(&*given, &windowPrompter);
    const FormBoxes own(child, nullptr);
    watcher.AnswerWith(QStringLiteral("No"));
    QCOMPARE(own->ShowMessageDlg("?", MsgDlgType::mtConfirmation, mbYesNo, 0), mrNo);
    QCOMPARE(watcher.seen.value(2).parent, &owner);
}

void TestMessageBoxes::theStopBoxShowsTheErrorTitledTessna()
{
    BoxWatcher watcher;
    watcher.AnswerWith(QStringLiteral("OK"));
    ShowStopBox(nullptr, Cp932Text("ファイルに書き込めません。"));
    const SeenBox box = watcher.seen.value(0);
    QCOMPARE(box.title, QStringLiteral("Tessna"));
    QCOMPARE(box.text, QStringLiteral("ファイルに書き込めません。."));
    QVERIFY(box.hasIcon);
    QCOMPARE(box.buttons, QStringList{QStringLiteral("OK")});
    QCOMPARE(box.beepsBefore, 1);
}

void TestMessageBoxes::fileNameCheckShowsItsErrorOverTheOwner()
{
    QWidget owner;
    owner.show();
    OwnerPrompter prompter(&owner);
    BoxWatcher watcher;
    QVERIFY(CheckFileNameChars(prompter, Cp932Text("ソース")));
    watcher.AnswerWith(QStringLiteral("OK"));
    QVERIFY(!CheckFileNameChars(prompter, "a*b,c"));
    QCOMPARE(watcher.seen.size(), 1);
    QCOMPARE(watcher.seen.value(0).parent, &owner);
    QCOMPARE(watcher.seen.value(0).title, QStringLiteral("エラー"));
}

TESSNA_QTEST_MAIN(TestMessageBoxes)
#include "MessageBoxes_test.moc"
