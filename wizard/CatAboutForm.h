#pragma once

#include "support/ui/ShellOpen.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

// "mailto:" + address, and "?subject=" + subject when subject is not empty; the subject is
// passed as it stands, blanks and all.
QString MailToTarget(const QString& address, const QString& subject);
bool OpenMailTo(const QString& address, const QString& subject, const ShellOpener& open = ShellOpen);

// What the about box asks of the desktop; tests put a recorder in its place.
struct AboutDialogServices {
    ShellOpener shellOpen = ShellOpen;
};

// The about box: the program's name, purpose and version, and the maker's copyright,
// address and page. Clicking the address writes a mail to the maker, clicking the page
// opens it; when the desktop cannot, the only answer is a beep.
class TCatAboutForm : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TCatAboutForm)

public:
    explicit TCatAboutForm(QWidget* owner, AboutDialogServices services = {});

    void EdtMailClick();
    void EdtWebPageClick();

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLineEdit* MakeLinkBox(const QString& objectName, const QString& target, const QColor& colour);

    QWidget* owner_;
    AboutDialogServices services_;
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
