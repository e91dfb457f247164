// The catalog commands that run the catalog wizard: new and update.

#include "app/CatalogForm.h"

#include "catalog/CatalogEditRules.h"
#include "catalog/CatalogStore.h"

namespace {

// The main window comes back to the front when the wizard closes, however it ends.
class ActiveAgainAfterWizard {
public:
    explicit ActiveAgainAfterWizard(QWidget* window) : window_(window) {}
    ~ActiveAgainAfterWizard()
    {
        window_->raise();
        window_->activateWindow();
    }
    ActiveAgainAfterWizard(const ActiveAgainAfterWizard&) = delete;
    ActiveAgainAfterWizard& operator=(const ActiveAgainAfterWizard&) = delete;

private:
    QWidget* window_;
};

}  // namespace

// The wizard runs modally over the main window, which stays where it is: minimising it
// would take the wizard, its transient, off many desktops along with it.
QDialog::DialogCode TCatalogForm::RunWizard(TCatalogParam& data)
{
    CatalogWizardServices services;
    services.programFolder = store_->ProgramFolder();
    services.checkName = CatalogNameCheckOf(*store_);
    services.runObjectChooser = services_.runObjectChooser;
    services.prompter = services_.prompter;
    services.listExistingFile = [this](const std::string& file) { OpenCatalogFiles({file}); };
    services.sizes = sizes_;
    const ActiveAgainAfterWizard activeAgain(this);
    return services_.runCatalogWizard(this, data, services);
}

void TCatalogForm::ActF_CatNewExecute()
{
    TCatalogParam data;
    if (RunWizard(data) != QDialog::Accepted)
        return;
    Perform(NewCatalogEdit(*store_, data), QStringLiteral("カタログの新規作成"));
}

// The wizard shows the catalog's displayed name; the same name coming back changes the
// catalog in place, another name makes a new catalog under that name (the wizard has made
// sure no listed catalog writes its file).
void TCatalogForm::ActF_CatUpdateExecute()
{
    const std::optional<int> catalog = CatalogToChange();
    if (!catalog)
        return;
    TCatalogParam data;
    data.FileName = store_->Catalog(*catalog).FileName;
    data.InitialObjects = store_->Catalog(*catalog).Objects.ToStrings();
    if (RunWizard(data) != QDialog::Accepted)
        return;
    Perform(UpdateCatalogEdit(*store_, *catalog, data), QStringLiteral("カタログの修正"));
}
