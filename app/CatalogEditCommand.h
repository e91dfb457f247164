#pragma once

#include "catalog/CatalogEdit.h"

#include <QUndoCommand>

class CatalogStore;

// One step of the main window's undo history: an edit of the catalog list that the store has
// applied already, kept as the edit that reverses it. Undo and redo each apply the edit held
// and keep the one the store gives back, so the step swings between the two states; neither
// writes to disk.
class CatalogEditCommand : public QUndoCommand {
public:
    // inverse: what CatalogStore::Apply gave back for the edit of this step; text names the
    // command in the undo and redo texts.
    CatalogEditCommand(CatalogStore& store, CatalogEdit inverse, const QString& text);

    void undo() override;
    void redo() override;

private:
    void Swing();

    CatalogStore& store_;
    CatalogEdit next_;
    // QUndoStack::push redoes a step it is given; this one is applied already.
    bool applied_ = true;
};
