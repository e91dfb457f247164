// Saves a catalog that has other names and kills itself (SIGKILL) at one moment of its write
// in place. The first catalog of the folder's list loses its first object, so that the new
// content differs from the old from its start.
//
//     in_place_kill_driver <folder> recorded|part|copied
#include "catalog/CatalogStore.h"
#include "catalog/SafeSave.h"

#include <csignal>
#include <map>
#include <string>
#include <utility>
#include <vector>

int main(int argc, char** argv)
{
    const std::map<std::string, InPlaceStep> steps
        = {{"recorded", InPlaceStep::Recorded}, {"part", InPlaceStep::PartCopied}, {"copied", InPlaceStep::Copied}};
    if (argc != 3 || !steps.contains(argv[2]))
        return 2;
    const InPlaceStep killAt = steps.at(argv[2]);
    SetInPlaceStepHandler([killAt](InPlaceStep step) {
        if (step == killAt)
            std::raise(SIGKILL);
    });
    CatalogStore store(argv[1]);
    auto hold = store.HoldFolder();
    store.LoadCatalogList();
    std::vector<std::string> objects = store.Catalog(0).Objects.ToStrings();
    objects.erase(objects.begin());
    store.ReplaceObjects(0, std::move(objects));
    store.SaveCatalogList();
    return 0;
}
