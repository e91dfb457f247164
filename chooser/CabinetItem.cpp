#include "chooser/CabinetItem.h"

std::string TCabinetItem::DisplayName() const
{
    return Caption.empty() ? std::string("TCabinetItem") : Caption;
}
