#pragma once

#include "support/core/MessageDlg.h"
#include "support/core/ScopedHandler.h"

#include <QDialog>

#include <functional>

class QGridLayout;
class QPushButton;

// Opens help on a context number.
using MessageHelpHandler = std::function<void(int helpContext)>;

// The program's message box: a title and an icon by dialog type, the word-wrapped text,
// and one row of buttons in bit order, each closing the box with its result code. Enter
// presses the default button (OK, else yes, else retry; no with mbDefaultNo), Esc the cancel button (cancel,
// else no, else OK); the close box answers mrCancel. The help button asks the help
// handler for the box's help context and leaves the box open. A button's access key pressed
// alone presses it.
class TMessageForm : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TMessageForm)

public:
    TMessageForm(const QString& msg, MsgDlgType dlgType, MsgDlgButtons buttons,
                 QWidget* parent = nullptr);

    int HelpContext() const { return helpContext_; }
    void SetHelpContext(int helpContext) { helpContext_ = helpContext; }

    // The button for one flag (mbYes, mbOK, ...), or null when the box has none.
    QPushButton* Button(MsgDlgButtons flag) const;
    QPushButton* DefaultButton() const { return defaultButton_; }
    QPushButton* CancelButton() const { return cancelButton_; }

    // The help of every box; the application installs its help viewer here. Without a
    // handler the help button does nothing. Returns the handler it replaces.
    static MessageHelpHandler SetHelpHandler(MessageHelpHandler handler);

    // The close box and every other way of dismissing the box without a button.
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    bool AddImage(QGridLayout* layout, MsgDlgType dlgType);
    void AddMessage(QGridLayout* layout, const QString& msg, bool besideImage);
    void AddButtons(MsgDlgButtons buttons);
    void ShowHelp() const;
    QPushButton* ButtonForKey(int key) const;

    QWidget* buttonRow_ = nullptr;
    QPushButton* defaultButton_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
    int helpContext_ = 0;
};

// Sets the help handler of the boxes for a scope (tests).
using ScopedMessageHelpHandler = ScopedHandler<MessageHelpHandler, &TMessageForm::SetHelpHandler>;
