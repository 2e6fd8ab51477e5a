#include "classlib/gui/wlistview.h"

#include <QCoreApplication>
#include <QFontMetrics>
#include <QHeaderView>
#include <QStyle>
#include <QTreeView>
#include <algorithm>

#include "classlib/qt/heldclose.h"
#include "classlib/qt/listmodel.h"
#include "classlib/qt/wqtnative.h"
#include "classlib/qt/wqtstring.h"

WListView::WListView() : native_(std::make_unique<Native>()) {
    native_->model = std::make_unique<WListModel>(store_);
    native_->model->SetProgressHook([this]() { ShowProgress(); });
    native_->model->SetColumnWidthHook([this](int column, int width) {
        if (QTreeView* view = QtTreeView(*this)) {
            view->header()->resizeSection(column, width);
        }
    });
}

WListView::~WListView() {
    if (QTreeView* view = QtTreeView(*this)) {
        view->setModel(nullptr);
    }
    store_.SetTextMeasure(nullptr);
}

bool WListView::Accepts(WWindowHandle item) const {
    return dynamic_cast<QTreeView*>(QtWidget(item)) != nullptr;
}

void WListView::Attached() {
    QTreeView* view = QtTreeView(*this);
    view->setModel(native_->model.get());
    store_.SetTextMeasure([view](std::string_view text) {
        // The view draws a cell's text inside its style's margins; where they
        // are wider than the padding the store adds, the text takes the rest.
        const int margins =
            2 * (view->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view) + 1) + 1;
        return QFontMetrics(view->font()).horizontalAdvance(ToQString(text)) +
               std::max(0, margins - WListStore::kCellPadding);
    });
    for (int column = 0; column < store_.ColumnCount(); ++column) {
        view->header()->resizeSection(column, store_.ColumnAt(column).width);
    }
}

void WListView::ShowProgress() {
    // The run that appends rows holds the only thread; let the window lay out
    // and paint the new rows, but take no input or close request meanwhile.
    if (QTreeView* view = QtTreeView(*this); view && view->isVisible()) {
        const CloseRequestsHeld held;
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }
}
