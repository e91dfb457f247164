#pragma once

#include "catalog/CatalogName.h"

#include <QDialog>

#include <memory>
#include <string>

class Prompter;
class QLabel;
class QLineEdit;
class QPushButton;

// The dialog that asks for a new name for a catalog. It only takes and checks the name: not
// the old name in another letter case, then the catalog-name rule (CatalogName.h). OK
// answers mrOk, every other way out mrCancel.
class TCatRenameForm : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TCatRenameForm)

public:
    // owner: the window the dialog is placed near. prompter: where the error boxes go;
    // null for boxes owned by the dialog itself.
    TCatRenameForm(QWidget* owner, Prompter* prompter = nullptr);
    ~TCatRenameForm() override;

    // oldName: code page 932.
    void SetOldName(const std::string& oldName);
    // The catalog-name rule for the renamed catalog; none: the rule for the current folder
    // with no other catalog listed.
    void SetNameCheck(CatalogNameCheck check) { check_ = std::move(check); }
    // The new name as typed (code page 932), valid after OK.
    const std::string& NewName() const { return newName_; }

    void reject() override;

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
    std::unique_ptr<Prompter> ownPrompter_;
    Prompter* prompter_;
    QLineEdit* TxtOld = nullptr;
    QLineEdit* TxtNew = nullptr;
    QPushButton* btnOK = nullptr;
    QPushButton* btnCancel = nullptr;
    std::string oldName_;
    std::string newName_;
    CatalogNameCheck check_;
    bool placed_ = false;
};

// Runs the dialog modally for a catalog named oldName, whose new name check must pass.
// Returns mrOk with newName set to the text exactly as typed, or mrCancel with newName
// untouched. prompter: where its error boxes go; null for boxes of its own.
int RunRenameDialog(QWidget* owner, const std::string& oldName, std::string& newName,
                    const CatalogNameCheck& check = {}, Prompter* prompter = nullptr);
