#pragma once

#include "app/CatalogForm.h"
#include "app/CatalogFormServices.h"
#include "support/core/MessageDlg.h"
#include "tests/common/CatalogFolder.h"

#include <memory>
#include <utility>

// The main window over the program folder folder, its boxes answered by prompter and its
// dialogs run by services.
inline std::unique_ptr<TCatalogForm> OpenCatalogForm(const CatalogFolder& folder, Prompter& prompter,
                                                     CatalogFormServices services = {})
{
    services.prompter = &prompter;
    return std::make_unique<TCatalogForm>(folder.Path(), std::move(services));
}
