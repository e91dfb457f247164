#include "app/CatalogEditCommand.h"

#include "catalog/CatalogStore.h"

CatalogEditCommand::CatalogEditCommand(CatalogStore& store, CatalogEdit inverse, const QString& text)
    : QUndoCommand(text)
    , store_(store)
    , next_(std::move(inverse))
{
}

void CatalogEditCommand::undo()
{
    Swing();
}

void CatalogEditCommand::redo()
{
    if (applied_) {
        applied_ = false;
        return;
    }
    Swing();
}

void CatalogEditCommand::Swing()
{
    next_ = store_.Apply(std::move(next_));
}
