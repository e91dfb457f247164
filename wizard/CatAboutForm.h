#pragma once

#include <QDialog>

#include <functional>
#include <string>

class QLabel;
class QLineEdit;
class QPushButton;

// Hands a target (a mail link or a web address) to the desktop; false when nothing could
// open it. The about dialog takes one so that tests see what would have been opened.
using ShellOpener = std::function<bool(const QString& target)>;

// Asks the desktop to open target (QDesktopServices): the program's ShellExecute "open".
bool ShellOpen(const QString& target);

// "mailto:" + address, and "?subject=" + subject when subject is not empty; the subject is
// passed as it stands, blanks and all.
QString MailToTarget(const QString& address, const QString& subject);
bool OpenMailTo(const QString& address, const QString& subject, const ShellOpener& open = ShellOpen);

// The about box: the program's name, purpose and version, and the maker's copyright,
// address and page. Clicking the address writes a mail to the maker, clicking the page
// opens it; when the desktop cannot, the only answer is a beep.
class TCatAboutForm : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TCatAboutForm)

public:
    explicit TCatAboutForm(QWidget* owner, ShellOpener opener = ShellOpen);

    void EdtMailClick();
    void EdtWebPageClick();

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLineEdit* MakeLinkBox(const QString& objectName, const QString& target, const QColor& colour);

    QWidget* owner_;
    ShellOpener opener_;
    QLineEdit* EdtMail = nullptr;
    QLineEdit* EdtWebPage = nullptr;
    QPushButton* btnOK = nullptr;
    bool placed_ = false;
    // The link the left button went down on, while that press can still end in a click.
    QObject* pressedLink_ = nullptr;
    QPoint pressPos_;
};

// Shows the about box modally over owner.
void ShowAboutDialog(QWidget* owner);
