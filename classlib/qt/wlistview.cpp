#include "classlib/qt/wlistview.h"

#include <QCoreApplication>
#include <QFontMetrics>
#include <QHeaderView>
#include <QStyle>
#include <QTreeView>
#include <algorithm>

#include "classlib/qt/listmodel.h"
#include "classlib/qt/wqtstring.h"

WListView::WListView() : model_(std::make_unique<WListModel>(store_)) {
    model_->SetProgressHook([this]() { ShowProgress(); });
    model_->SetColumnWidthHook([this](int column, int width) {
        if (QTreeView* view = GetListWidget()) {
            view->header()->resizeSection(column, width);
        }
    });
}

WListView::~WListView() {
    if (QTreeView* view = GetListWidget()) {
        view->setModel(nullptr);
    }
    store_.SetTextMeasure(nullptr);
}

QTreeView* WListView::GetListWidget() const {
    return dynamic_cast<QTreeView*>(GetWidget());
}

bool WListView::Accepts(QWidget* widget) const {
    return dynamic_cast<QTreeView*>(widget) != nullptr;
}

void WListView::Attached() {
    QTreeView* view = GetListWidget();
    view->setModel(model_.get());
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
    // and paint the new rows, but take no input meanwhile.
    if (QTreeView* view = GetListWidget(); view && view->isVisible()) {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }
}
