#pragma once

#include "catalog/JournalState.h"

#include <optional>

class JournalKeeper;
class Prompter;

// The offer of the journal an earlier run left, made once the list is loaded and the window
// shown. A journal that cannot be read was set aside: the user is told where it went. One
// whose state a save would not change is removed without a question. Otherwise the user is
// asked "保存されていない変更が残っています（<when>）。復元しますか？" (Yes, the default, or
// No), with the files another program changed since named: Yes gives the state to restore
// (the journal stays until the restored list is saved or undone), No removes the journal.
std::optional<JournalState> OfferJournal(JournalKeeper& keeper, Prompter& prompter);
