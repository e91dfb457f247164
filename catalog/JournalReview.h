#pragma once

#include "catalog/JournalState.h"

#include <string>
#include <vector>

// What a journal found at start means against the files as they are now.
struct JournalReview {
    // A save of the journal's state would write nothing: it holds no change, or every
    // catalog it holds in full and the control file already hold what a save would write.
    // Such a journal is removed without a question.
    bool matchesDisk = false;
    // The files another program changed since the program last read them, as the journal's
    // fingerprints tell, in the order of the fingerprints.
    std::vector<std::string> changedOnDisk;
};

JournalReview ReviewJournal(const JournalState& state);
