#pragma once

#include "catalog/JournalState.h"
#include "support/core/Cp932.h"
#include "support/core/Sha256.h"

#include <string>

// A journal state with everything a journal can hold: code page 932 names (one with a trail
// byte 0x5C), a name with line breaks, a changed catalog in full (renamed since it was read),
// an unchanged one, a catalog whose file could not be read, one made since, the list as last
// read, a listed file that was missing, and fingerprints of files that existed and of one that did not.
inline JournalState SampleJournal(const std::string& folder = "/home/user/Tessna/")
{
    JournalState state;
    state.folder = folder;
    state.takenAt = 1'796'000'000'123;
    state.revision = 42;
    state.listChanged = true;
    const std::string soft = Cp932Text("ソフト");
    state.entries.push_back(
        {{folder + soft + ".VrCat", soft, {"/data/" + soft, "/data/a\r\nb", ""}}, true, {}, folder + "Old.VrCat"});
    state.entries.push_back({{folder + "Plain.VrCat", {}, {}}, false, {}, folder + "Plain.VrCat"});
    state.entries.push_back(
        {{folder + "Locked.VrCat", {}, {}}, false, Cp932Text("読み取る権限がありません"), folder + "Locked.VrCat"});
    state.entries.push_back({{folder + "Empty.VrCat", "Empty", {}}, true, {}, {}});
    state.savedList = {folder + "Old.VrCat", folder + "Plain.VrCat", folder + "Locked.VrCat"};
    state.listedOnDisk = {folder + "Old.VrCat", folder + "Gone.VrCat", folder + "Plain.VrCat", folder + "Locked.VrCat"};
    const std::string control = "[Compress]\r\n0=Old.VrCat\r\n1=Gone.VrCat\r\n2=Plain.VrCat\r\n3=Locked.VrCat\r\n";
    state.fingerprints.push_back({folder + "VrCatCtl.ini", Sha256(control), control.size()});
    state.fingerprints.push_back({folder + "Plain.VrCat", Sha256(""), 0});
    state.fingerprints.push_back({folder + soft + ".VrCat", std::nullopt, 0});
    return state;
}
