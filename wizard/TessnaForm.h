#pragma once

#include "catalog/CatalogParam.h"
#include "support/ui/FormBoxes.h"
#include "wizard/CatalogWizardServices.h"

#include <QDialog>

#include <string>
#include <vector>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QStackedWidget;
class TFileLabel;
class WizardObjectList;

// The catalog wizard: page 1 takes the catalog's name, page 2 its objects, page 3 shows
// the catalog file's path and text as they will be stored. It works on a copy of the
// caller's record and hands the copy back only when the user finishes (RunCatalogWizard).
class TTessnaForm : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TTessnaForm)

public:
    enum Page { Page01, Page02, Page03 };

    TTessnaForm(const TCatalogParam& param, CatalogWizardServices services, QWidget* owner = nullptr);
    ~TTessnaForm() override;

    bool Cancelled() const { return cancelled_; }
    bool ModifyMode() const { return modifyMode_; }
    const TCatalogParam& Param() const { return param_; }
    int CurrentPage() const;
    // The path the catalog file will have.
    std::string CatalogFilePath() const;
    WizardObjectList& ObjectList() const { return *objectList_; }

    void BtnNextClick();
    void BtnBackClick();
    void BtnCancelClick();
    void BtnHelpClick();

    // Closing the wizard, however it closes, ends the walks of its objects at once.
    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void FormCreate();
    void FormShow();
    void FormDestroy();
    void FormActivate();
    void EdtCatNameChange();
    bool EdtCatNameKeyPress(QKeyEvent* event);
    void UpdateButtons();
    void GoToPage(Page page);
    bool AcceptName();
    // Offers to list the existing file a refused name names; false when there is nothing
    // to offer.
    bool OfferExistingFile(const std::string& problem);
    void BuildCommonLines();
    void BuildOptionsLines();
    void BuildObjectLines();
    void ShowSummary();
    // Page 3's total of the catalog, or the progress of its count.
    void ShowCatalogTotal();
    void Finish();

    QWidget* CreatePage01();
    QWidget* CreatePage02();
    QWidget* CreatePage03();
    QWidget* CreatePicture();
    QWidget* CreateButtonBar();

    TCatalogParam param_;
    CatalogWizardServices services_;
    FormBoxes prompter_;
    bool cancelled_ = true;
    bool firstActivation_ = true;
    bool modifyMode_ = false;
    bool shown_ = false;
    std::vector<std::string> commonLines_;
    std::vector<std::string> optionsLines_;
    std::vector<std::string> objectLines_;

    QStackedWidget* notebook_ = nullptr;
    QLineEdit* edtCatName_ = nullptr;
    QLabel* lblNewName_ = nullptr;
    TFileLabel* fileLabel_ = nullptr;
    WizardObjectList* objectList_ = nullptr;
    QLabel* lblFinal_ = nullptr;
    QLabel* lblCatFileName_ = nullptr;
    QPlainTextEdit* memoFin_ = nullptr;
    QLabel* lblCatTotal_ = nullptr;
    QPushButton* btnBack_ = nullptr;
    QPushButton* btnNext_ = nullptr;
    QPushButton* btnCancel_ = nullptr;
    QPushButton* btnHelp_ = nullptr;
};

// Runs the wizard modally over owner on a copy of param. Finished: param gets the copy
// back, with the new Common, Options and Objects lines, and the result is Accepted.
// Otherwise the result is Rejected and param is left exactly as it was.
QDialog::DialogCode RunCatalogWizard(QWidget* owner, TCatalogParam& param,
                                     const CatalogWizardServices& services);
