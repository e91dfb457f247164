// The main window's journal of unsaved changes: it follows the store's announcements, says
// once where the journal is (or why there is none) and once when it cannot be written, writes
// at once when the desktop's session ends, and offers an earlier run's unsaved changes back
// once the window is shown.

#include "app/CatalogForm.h"

#include "app/JournalKeeper.h"
#include "app/JournalOffer.h"
#include "catalog/CatalogStore.h"
#include "catalog/StoreJournal.h"
#include "support/core/Cp932.h"
#include "support/core/MessageDlg.h"
#include "support/ui/RunCommand.h"

#include <QDateTime>
#include <QGuiApplication>
#include <QStatusBar>
#include <QUndoStack>

namespace {

// How long a word about the journal stays in the status bar before the panels come back.
constexpr int kJournalNoteMs = 30'000;

}  // namespace

void TCatalogForm::CreateJournal()
{
    journal_ = new JournalKeeper(
        store_->ProgramFolder(), [this] { return JournalStateOf(*store_, QDateTime::currentMSecsSinceEpoch()); }, this);
    // Every applied edit changes the journal; a list that holds nothing unsaved removes it:
    // after a save, back at the saved step of the history, and after a load.
    connect(store_, &CatalogStore::Edited, journal_, &JournalKeeper::Changed);
    connect(store_, &CatalogStore::Saved, journal_, &JournalKeeper::Clean);
    connect(store_, &CatalogStore::ListReset, journal_, &JournalKeeper::Clean);
    connect(history_, &QUndoStack::cleanChanged, journal_, [this](bool clean) {
        if (clean)
            journal_->Clean();
    });
    connect(journal_, &JournalKeeper::Failed, this, &TCatalogForm::JournalFailed);
    // A logout may end the program without a close: what is pending is written, unasked.
    connect(qGuiApp, &QGuiApplication::commitDataRequest, journal_, [this] { journal_->Flush(); });
    if (!journal_->ClaimMessage().empty())
        statusBar()->showMessage(Cp932ToDisplay(journal_->ClaimMessage()), kJournalNoteMs);
}

// The first failure of the run is told in a box; the later ones, each the first after a
// write that went well, in the status bar.
void TCatalogForm::JournalFailed(const std::string& message)
{
    if (journalFailureTold_) {
        statusBar()->showMessage(Cp932ToDisplay(message), kJournalNoteMs);
        return;
    }
    journalFailureTold_ = true;
    RunCommand(this, [this, &message] { prompter_->ShowMessageDlg(message, MsgDlgType::mtWarning, mbOK, 0); });
}

// Yes puts the earlier run's list in place as one step of the history, so that undo gives
// the list as loaded.
void TCatalogForm::OfferJournalBack()
{
    const auto state = OfferJournal(*journal_, *prompter_);
    if (state)
        Perform(RecoverJournal(*store_, *state), QStringLiteral("復元"));
}
