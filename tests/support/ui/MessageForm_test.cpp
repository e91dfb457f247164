#include "support/ui/MessageForm.h"

#include "tests/common/ModalDriver.h"
#include "tests/common/NamedChild.h"
#include "tests/common/QtTestMain.h"

#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>

#include <algorithm>

namespace {

// The captions of the box's buttons, left to right.
QStringList Captions(TMessageForm& form)
{
    form.show();
    QList<QPushButton*> buttons = form.findChildren<QPushButton*>();
    std::sort(buttons.begin(), buttons.end(),
              [](const QPushButton* a, const QPushButton* b) { return a->x() < b->x(); });
    QStringList captions;
    for (const QPushButton* button : buttons)
        captions << button->text();
    form.hide();
    return captions;
}

void PressKey(QWidget* modal, Qt::Key key)
{
    QWidget* target = modal->focusWidget() ? modal->focusWidget() : modal;
    QTest::keyClick(target, key);
}

}  // namespace

class TestMessageForm : public QObject {
    Q_OBJECT

private slots:
    void showsButtonsInBitOrderWithTheirCaptions_data();
    void showsButtonsInBitOrderWithTheirCaptions();
    void choosesTheDefaultAndCancelButtons_data();
    void choosesTheDefaultAndCancelButtons();
    void answersKeysAndTheCloseBox_data();
    void answersKeysAndTheCloseBox();
    void accessKeysAloneAnswer();
    void escapeDoesNothingWithoutACancelButton();
    void helpAsksTheHandlerAndStaysOpen();
    void wrapsLongTextToHalfTheScreen();
    void keepsItsButtonsOnTheScreenUnderALongList_data();
    void keepsItsButtonsOnTheScreenUnderALongList();
};

void TestMessageForm::showsButtonsInBitOrderWithTheirCaptions_data()
{
    QTest::addColumn<int>("buttons");
    QTest::addColumn<QStringList>("captions");
    QTest::newRow("ok") << int(mbOK) << QStringList{"OK"};
    QTest::newRow("yes no") << int(mbYesNo) << QStringList{"はい(&Y)", "いいえ(&N)"};
    QTest::newRow("yes no cancel")
        << int(mbYesNoCancel) << QStringList{"はい(&Y)", "いいえ(&N)", "キャンセル"};
    QTest::newRow("all eleven") << 0x7FF
                                << QStringList{"はい(&Y)",   "いいえ(&N)",       "OK",
                                               "キャンセル", "中止(&A)",         "再試行(&R)",
                                               "無視(&I)",   "すべて(&A)",       "すべていいえ(&O)",
                                               "すべてはい(&A)", "ヘルプ(&H)"};
}

void TestMessageForm::showsButtonsInBitOrderWithTheirCaptions()
{
    QFETCH(int, buttons);
    QFETCH(QStringList, captions);
    TMessageForm form(QStringLiteral("本文"), MsgDlgType::mtConfirmation,
                      static_cast<MsgDlgButtons>(buttons));
    QCOMPARE(Captions(form), captions);
}

void TestMessageForm::choosesTheDefaultAndCancelButtons_data()
{
    QTest::addColumn<int>("buttons");
    QTest::addColumn<QString>("defaultButton");
    QTest::addColumn<QString>("cancelButton");
    QTest::newRow("ok") << int(mbOK) << "OK" << "OK";
    QTest::newRow("yes no") << int(mbYesNo) << "Yes" << "No";
    QTest::newRow("yes no cancel") << int(mbYesNoCancel) << "Yes" << "Cancel";
    QTest::newRow("ok cancel") << int(mbOK | mbCancel) << "OK" << "Cancel";
    QTest::newRow("abort retry ignore") << int(mbAbort | mbRetry | mbIgnore) << "Retry" << "";
    QTest::newRow("no cancel") << int(mbNo | mbCancel) << "" << "Cancel";
    QTest::newRow("yes no, no the default") << int(mbYesNo | mbDefaultNo) << "No" << "No";
}

void TestMessageForm::choosesTheDefaultAndCancelButtons()
{
    QFETCH(int, buttons);
    QFETCH(QString, defaultButton);
    QFETCH(QString, cancelButton);
    TMessageForm form(QStringLiteral("本文"), MsgDlgType::mtWarning,
                      static_cast<MsgDlgButtons>(buttons));
    const auto nameOf = [](const QPushButton* button) {
        return button ? button->objectName() : QString();
    };
    QCOMPARE(nameOf(form.DefaultButton()), defaultButton);
    QCOMPARE(nameOf(form.CancelButton()), cancelButton);
    for (const QPushButton* button : form.findChildren<QPushButton*>())
        QCOMPARE(button->isDefault(), button->objectName() == defaultButton);
}

void TestMessageForm::answersKeysAndTheCloseBox_data()
{
    QTest::addColumn<int>("buttons");
    QTest::addColumn<int>("enter");
    QTest::addColumn<int>("escape");
    QTest::newRow("ok") << int(mbOK) << mrOk << mrOk;
    QTest::newRow("yes no") << int(mbYesNo) << mrYes << mrNo;
    QTest::newRow("yes no cancel") << int(mbYesNoCancel) << mrYes << mrCancel;
    QTest::newRow("yes no, no the default") << int(mbYesNo | mbDefaultNo) << mrNo << mrNo;
}

void TestMessageForm::answersKeysAndTheCloseBox()
{
    QFETCH(int, buttons);
    QFETCH(int, enter);
    QFETCH(int, escape);
    const auto answer = [buttons](const std::function<void(QWidget&)>& act) {
        TMessageForm form(QStringLiteral("保存しますか？"), MsgDlgType::mtConfirmation,
                          static_cast<MsgDlgButtons>(buttons));
        const ModalDriver driver(act);
        return form.exec();
    };
    QCOMPARE(answer([](QWidget& box) { PressKey(&box, Qt::Key_Return); }), enter);
    QCOMPARE(answer([](QWidget& box) { PressKey(&box, Qt::Key_Escape); }), escape);
    QCOMPARE(answer([](QWidget& box) { box.close(); }), mrCancel);
}

void TestMessageForm::accessKeysAloneAnswer()
{
    const auto answer = [](Qt::Key key) {
        TMessageForm form(QStringLiteral("保存しますか？"), MsgDlgType::mtConfirmation, mbYesNoCancel);
        const ModalDriver driver([key](QWidget& box) { PressKey(&box, key); });
        return form.exec();
    };
    QCOMPARE(answer(Qt::Key_N), mrNo);
    QCOMPARE(answer(Qt::Key_Y), mrYes);
}

void TestMessageForm::escapeDoesNothingWithoutACancelButton()
{
    TMessageForm form(QStringLiteral("本文"), MsgDlgType::mtError, mbAbort | mbRetry);
    bool stillOpen = false;
    const ModalDriver driver([&](QWidget& box) {
        PressKey(&box, Qt::Key_Escape);
        stillOpen = box.isVisible();
        form.Button(mbAbort)->click();
    });
    QCOMPARE(form.exec(), mrAbort);
    QVERIFY(stillOpen);
}

void TestMessageForm::helpAsksTheHandlerAndStaysOpen()
{
    QList<int> asked;
    const ScopedMessageHelpHandler help([&](int context) { asked << context; });
    TMessageForm form(QStringLiteral("本文"), MsgDlgType::mtInformation, mbOK | mbHelp);
    form.SetHelpContext(2101);
    bool stillOpen = false;
    const ModalDriver driver([&](QWidget& box) {
        form.Button(mbHelp)->click();
        stillOpen = box.isVisible();
        form.Button(mbOK)->click();
    });
    QCOMPARE(form.exec(), mrOk);
    QVERIFY(stillOpen);
    QCOMPARE(asked, QList<int>{2101});
}

void TestMessageForm::wrapsLongTextToHalfTheScreen()
{
    const int halfScreen = QGuiApplication::primaryScreen()->geometry().width() / 2;
    const QString shortText = QStringLiteral("短い文");
    const QString longText = QStringLiteral("カタログの一覧を保存します。").repeated(20);

    TMessageForm shortForm(shortText, MsgDlgType::mtInformation, mbOK);
    const QLabel* shortLabel = Named<QLabel>(shortForm, "Message");
    QVERIFY(shortLabel->width() < halfScreen / 2);

    TMessageForm longForm(longText, MsgDlgType::mtInformation, mbOK);
    const QLabel* longLabel = Named<QLabel>(longForm, "Message");
    QVERIFY(longLabel->width() <= halfScreen + 1);
    QVERIFY(longLabel->height() > 2 * longLabel->fontMetrics().height());
    QVERIFY(longForm.width() > longLabel->width());
}

void TestMessageForm::keepsItsButtonsOnTheScreenUnderALongList_data()
{
    QTest::addColumn<int>("names");
    QTest::addColumn<bool>("scrolls");
    QTest::newRow("a few names") << 5 << false;
    QTest::newRow("more names than the screen holds") << 200 << true;
}

// However many names a box lists, it fits the screen's available height with its buttons,
// and its text stays whole; a short list shows as it always did.
void TestMessageForm::keepsItsButtonsOnTheScreenUnderALongList()
{
    QFETCH(int, names);
    QFETCH(bool, scrolls);
    const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
    QString text = QStringLiteral("次の設定を保存できませんでした。");
    for (int i = 0; i < names; ++i)
        text += QStringLiteral("\n  Catalog\\Name%1").arg(i);

    TMessageForm form(text, MsgDlgType::mtError, mbOK);
    QCOMPARE(form.findChild<QScrollArea*>() != nullptr, scrolls);
    QCOMPARE(Named<QLabel>(form, "Message")->text(), text);
    QVERIFY(form.height() < available.height());
    QPushButton* ok = form.Button(mbOK);
    QVERIFY(form.rect().contains(QRect(ok->mapTo(&form, QPoint()), ok->size())));
}

TESSNA_QTEST_MAIN(TestMessageForm)
#include "MessageForm_test.moc"
