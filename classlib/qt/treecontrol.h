#pragma once

#include <QTreeView>

// The tree control of a form. Qt brings a tree view's geometry (scroll bars,
// the column sized to its contents) up to date after every single expansion,
// which costs more than the expansion itself; a long run of expansions holds
// that work and has it done once whenever the window is to be painted.
class TreeControl : public QTreeView {
public:
    using QTreeView::QTreeView;

    void HoldGeometry(bool hold) {
        held_ = hold;
        if (!hold) {
            updateGeometries();
        }
    }

protected:
    void updateGeometries() override {
        if (!held_) {
            QTreeView::updateGeometries();
        }
    }

private:
    bool held_ = false;
};
