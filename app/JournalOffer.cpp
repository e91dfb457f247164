#include "app/JournalOffer.h"

#include "app/JournalKeeper.h"
#include "catalog/JournalMessages.h"
#include "catalog/JournalReview.h"
#include "support/core/MessageDlg.h"

std::optional<JournalState> OfferJournal(JournalKeeper& keeper, Prompter& prompter)
{
    auto found = keeper.TakeFound();
    if (!found.problem.empty())
        prompter.ShowMessageDlg(found.problem, MsgDlgType::mtWarning, mbOK, 0);
    if (!found.state)
        return std::nullopt;
    const JournalReview review = ReviewJournal(*found.state);
    if (!review.matchesDisk
        && prompter.ShowMessageDlg(JournalRecoveryQuestion(found.state->takenAt, review.changedOnDisk),
                                   MsgDlgType::mtConfirmation, mbYesNo, 0)
            == mrYes)
        return std::move(found.state);
    keeper.Clean();
    return std::nullopt;
}
