#pragma once

#include "support/ui/FormBoxes.h"
#include "wizard/RenameDialogServices.h"

#include <QDialog>

#include <string>

class QLabel;
class QLineEdit;
class QPushButton;

// The dialog that asks for a new name for a catalog. It only takes and checks the name: not
// the old name in another letter case, then the catalog-name rule (CatalogName.h). OK
// accepts the dialog, every other way out rejects it.
class TCatRenameForm : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TCatRenameForm)

public:
    // owner: the window the dialog is placed near.
    explicit TCatRenameForm(QWidget* owner, RenameDialogServices services = {});
    ~TCatRenameForm() override;

    // oldName: code page 932.
    void SetOldName(const std::string& oldName);
    // The new name as typed (code page 932), valid after OK.
    const std::string& NewName() const { return newName_; }

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FormShow();
    void btnOKClick();
    void TxtNewChange();
    // True when the key press is consumed.
    bool TxtNewKeyPress(const QKeyEvent& key);
    // Shows the error box and puts the focus back into the new-name box.
    void Refuse(const std::string& message);

    QWidget* owner_;
    RenameDialogServices services_;
    FormBoxes prompter_;
    QLineEdit* TxtOld = nullptr;
    QLineEdit* TxtNew = nullptr;
    QPushButton* btnOK = nullptr;
    QPushButton* btnCancel = nullptr;
    std::string oldName_;
    std::string newName_;
    bool placed_ = false;
};

// Runs the dialog modally for a catalog named oldName, whose new name must pass the
// services' check. Accepted with newName set to the text exactly as typed, or Rejected with
// newName untouched.
QDialog::DialogCode RunRenameDialog(QWidget* owner, const std::string& oldName, std::string& newName,
                                    const RenameDialogServices& services = {});
