#include "classlib/gui/wform.h"

#include "classlib/gui/wevents.h"

// The parts of a form that are the same on every backend.

namespace {
bool refuseCreation = false;
}

void WForm::RefuseWindowCreationForTesting(bool refuse) {
    refuseCreation = refuse;
}

bool WForm::Create(WWindow* parent, std::string_view templateName) {
    if (HasWindow() || refuseCreation) {
        return false;
    }
    parent_ = parent;
    if (!BuildFromTemplate(templateName, parent ? parent->GetHandle() : WWindowHandle())) {
        return false;
    }
    WDispatchEvent(this, CreateEvent, nullptr);
    if (HasWindow()) {
        FocusFirstControl();
    }
    return HasWindow();
}

void WForm::HandleCloseRequest() {
    if (!HasWindow()) {
        return;
    }
    if (!WDispatchEvent(this, CloseEvent, nullptr)) {
        DefaultClose();
    }
}

void WForm::DefaultClose() {
    DestroyWindow();
}

void WForm::SetResizePercentages(WWindowHandle control, int x, int y, int width, int height) {
    if (!control) {
        return;
    }
    for (ResizeRecord& record : resizeRecords_) {
        if (record.control == control) {
            record = ResizeRecord{control, {x, y, width, height}, {0, 0, 0, 0}};
            return;
        }
    }
    resizeRecords_.push_back(ResizeRecord{control, {x, y, width, height}, {0, 0, 0, 0}});
}

void WForm::ClientAreaResized(WSize oldSize, WSize newSize) {
    const int change[4] = {newSize.w - oldSize.w, newSize.h - oldSize.h, newSize.w - oldSize.w,
                           newSize.h - oldSize.h};
    for (ResizeRecord& record : resizeRecords_) {
        if (!HasClientItem(record.control)) {
            continue;
        }
        int moveBy[4] = {0, 0, 0, 0};
        for (int edge = 0; edge < 4; ++edge) {
            if (record.percent[edge] <= 0) {
                continue;
            }
            // Integer shares with the remainder carried, so that many small
            // resizes add up to exactly the share of their sum.
            const int total = change[edge] * record.percent[edge] + record.remainder[edge];
            moveBy[edge] = total / 100;
            record.remainder[edge] = total % 100;
        }
        const WRect rect = ItemRectangle(record.control);
        MoveItem(record.control, WRect{rect.x + moveBy[0], rect.y + moveBy[1], rect.w + moveBy[2],
                                       rect.h + moveBy[3]});
    }
}
