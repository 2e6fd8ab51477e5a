#include "classlib/qt/wform.h"

#include <QApplication>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMargins>
#include <QMetaObject>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QTreeView>
#include <QVariant>

#include "classlib/qt/formframe.h"
#include "classlib/qt/wevents.h"
#include "classlib/qt/wfont.h"
#include "classlib/qt/wmenu.h"
#include "classlib/qt/wqtstring.h"
#include "resources/dialogtemplates.h"

namespace {

bool refuseCreation = false;

const char* const kItemIdProperty = "dialogItemId";

QWidget* MakeItemWidget(const DialogItemTemplate& item, QWidget* client) {
    QWidget* widget = nullptr;
    if (item.className == kTreeViewClass) {
        auto* tree = new QTreeView(client);
        tree->setHeaderHidden(true);
        tree->setUniformRowHeights(true);
        tree->setRootIsDecorated((item.style & StyleLinesAtRoot) != 0);
        tree->setItemsExpandable((item.style & StyleHasButtons) != 0);
        tree->setEditTriggers(QAbstractItemView::NoEditTriggers);
        tree->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
        // Long labels scroll sideways, whole, as on the platform, instead of being cut.
        tree->header()->setStretchLastSection(false);
        tree->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
        tree->setTextElideMode(Qt::ElideNone);
        widget = tree;
    } else if (item.className == kListViewClass) {
        auto* list = new QTreeView(client);
        list->setRootIsDecorated(false);
        list->setItemsExpandable(false);
        list->setUniformRowHeights(true);
        list->setEditTriggers(QAbstractItemView::NoEditTriggers);
        list->setHeaderHidden((item.style & StyleReportView) == 0);
        list->header()->setStretchLastSection(false);
        widget = list;
    } else if (item.className == kEditClass) {
        widget = new QLineEdit(ToQString(item.text), client);
    } else if (item.className == kStaticClass) {
        widget = new QLabel(ToQString(item.text), client);
    } else if (item.className == kButtonClass) {
        auto* button = new QPushButton(ToQString(item.text), client);
        button->setAutoDefault(false);
        widget = button;
    } else {
        widget = new QWidget(client);
    }
    widget->setProperty(kItemIdProperty, item.id);
    if (item.className != kStaticClass) {
        widget->setFocusPolicy((item.style & StyleTabStop) ? Qt::StrongFocus : Qt::ClickFocus);
    }
    widget->setVisible((item.style & StyleVisible) != 0);
    return widget;
}

Qt::WindowFlags WindowFlagsOf(unsigned style) {
    Qt::WindowFlags flags = Qt::CustomizeWindowHint;
    if (style & StyleCaption) {
        flags |= Qt::WindowTitleHint;
    }
    if (style & StyleSystemMenu) {
        flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    }
    if (style & StyleMinimizeBox) {
        flags |= Qt::WindowMinimizeButtonHint;
    }
    if (style & StyleMaximizeBox) {
        flags |= Qt::WindowMaximizeButtonHint;
    }
    return flags;
}

// The available area of the screen that holds most of rect, or of the
// primary screen when none does.
QRect AvailableAreaFor(const QRect& rect) {
    QScreen* best = QGuiApplication::primaryScreen();
    qint64 bestArea = 0;
    for (QScreen* screen : QGuiApplication::screens()) {
        const QRect common = screen->availableGeometry().intersected(rect);
        const qint64 area = qint64(common.width()) * common.height();
        if (area > bestArea) {
            best = screen;
            bestArea = area;
        }
    }
    return best ? best->availableGeometry() : QRect(0, 0, 640, 480);
}

// The window frame around a top-level widget: its own once it is shown, else
// that of another shown window, else a usual title bar and border.
QMargins FrameMarginsOf(const QWidget* window) {
    const auto margins = [](const QWidget* shown) {
        const QRect frame = shown->frameGeometry();
        const QRect inner = shown->geometry();
        return QMargins(inner.left() - frame.left(), inner.top() - frame.top(),
                        frame.right() - inner.right(), frame.bottom() - inner.bottom());
    };
    if (window->isVisible()) {
        return margins(window);
    }
    for (const QWidget* other : QApplication::topLevelWidgets()) {
        if (other->isVisible() && other->isWindow()) {
            return margins(other);
        }
    }
    return QMargins(4, 30, 4, 4);
}

// Moves the window's outer rectangle (shrinking it when it is larger) into area.
QRect KeptInside(QRect outer, const QRect& area) {
    outer.setSize(outer.size().boundedTo(area.size()));
    outer.moveLeft(qBound(area.left(), outer.left(), area.left() + area.width() - outer.width()));
    outer.moveTop(qBound(area.top(), outer.top(), area.top() + area.height() - outer.height()));
    return outer;
}

// Places the window with its frame's top-left at position and its inside of
// the given size, wholly on the available area of a screen.
void PlaceKeptOnScreen(QWidget* window, QPoint position, QSize size) {
    const QMargins frame = FrameMarginsOf(window);
    const QRect wanted(position, size.grownBy(frame));
    const QRect kept = KeptInside(wanted, AvailableAreaFor(wanted));
    window->resize(kept.size().shrunkBy(frame));
    window->move(kept.topLeft());
}

}  // namespace

WForm::WForm() = default;

WForm::~WForm() {
    if (menu_ != nullptr && frame_ != nullptr) {
        frame_->SetMenuBar(nullptr);
    }
}

void WForm::RefuseWindowCreationForTesting(bool refuse) {
    refuseCreation = refuse;
}

QWidget* WForm::MakeWindow(QWidget* parent) {
    return new FormWindow(parent, this);
}

bool WForm::Create(WWindow* parent, std::string_view templateName) {
    if (HasWindow() || refuseCreation) {
        return false;
    }
    parent_ = parent;
    if (!BuildFromTemplate(templateName, parent ? parent->GetWidget() : nullptr)) {
        return false;
    }
    WDispatchEvent(this, CreateEvent, nullptr);
    if (firstFocus_) {
        firstFocus_->setFocus(Qt::OtherFocusReason);
    }
    return HasWindow();
}

bool WForm::BuildFromTemplate(std::string_view templateName, QWidget* parentWidget) {
    const DialogTemplate* dialog = FindDialogTemplate(templateName);
    if (dialog == nullptr) {
        return false;
    }
    QWidget* window = MakeWindow(parentWidget);
    window->setWindowFlags(window->windowFlags() | WindowFlagsOf(dialog->style));
    frame_ = dynamic_cast<FormWindow*>(window) ? &static_cast<FormWindow*>(window)->Frame()
                                               : &static_cast<DialogWindow*>(window)->Frame();
    WFont font;
    font.Create(dialog->pointSize, dialog->fontFace);
    window->setFont(font.GetQFont());
    window->setWindowTitle(ToQString(dialog->title));
    const WDialogBaseUnits units = DialogBaseUnitsOf(font.GetQFont());
    const QRect placement = units.ToPixels(dialog->x, dialog->y, dialog->width, dialog->height);
    frame_->ResizeForClient(placement.size());
    QPoint origin;
    if (auto* owner = dynamic_cast<WForm*>(parent_); owner && owner->GetClientArea()) {
        origin = owner->GetClientArea()->mapToGlobal(QPoint(0, 0));
    } else if (parentWidget != nullptr) {
        origin = parentWidget->mapToGlobal(QPoint(0, 0));
    }
    PlaceKeptOnScreen(window, origin + placement.topLeft(), window->size());
    firstFocus_ = nullptr;
    for (const DialogItemTemplate& item : dialog->items) {
        QWidget* widget = MakeItemWidget(item, frame_->Client());
        widget->setGeometry(units.ToPixels(item.x, item.y, item.width, item.height));
        if (!firstFocus_ && widget->focusPolicy() != Qt::NoFocus) {
            firstFocus_ = widget;
        }
    }
    if (!GetName().IsEmpty()) {
        window->setObjectName(ToQString(GetName().View()));
    }
    SetWidget(window);
    return true;
}

bool WForm::DestroyWindow() {
    if (!HasWindow()) {
        return false;
    }
    WDispatchEvent(this, DestroyEvent, nullptr);
    if (frame_ != nullptr) {
        frame_->SetMenuBar(nullptr);
    }
    frame_ = nullptr;
    resizeRecords_.clear();
    ReleaseWidgetLater();
    return true;
}

void WForm::PostClose() {
    if (QWidget* window = GetWidget()) {
        QMetaObject::invokeMethod(window, &QWidget::close, Qt::QueuedConnection);
    }
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

QWidget* WForm::GetDialogItem(int id) const {
    if (frame_ == nullptr) {
        return nullptr;
    }
    for (QObject* child : frame_->Client()->children()) {
        auto* widget = qobject_cast<QWidget*>(child);
        if (widget != nullptr && widget->property(kItemIdProperty).toInt() == id) {
            return widget;
        }
    }
    return nullptr;
}

QWidget* WForm::GetClientArea() const {
    return frame_ ? frame_->Client() : nullptr;
}

QSize WForm::GetClientSize() const {
    return frame_ ? frame_->Client()->size() : QSize();
}

bool WForm::SetMenu(WMenu* menu) {
    if (frame_ == nullptr) {
        return false;
    }
    frame_->SetMenuBar(menu ? menu->GetMenuBar() : nullptr);
    menu_ = menu;
    return menu == nullptr || frame_->MenuBar() != nullptr;
}

void WForm::SetStatusText(std::string_view text) {
    if (frame_ != nullptr) {
        frame_->SetStatusText(ToQString(text));
    }
}

WString WForm::GetStatusText() const {
    return frame_ ? WString(FromQString(frame_->StatusText())) : WString();
}

void WForm::CenterWindow() {
    QWidget* window = GetWidget();
    if (window == nullptr) {
        return;
    }
    QRect area;
    QWidget* parentWidget = parent_ ? parent_->GetWidget() : nullptr;
    if (auto* parentForm = dynamic_cast<WForm*>(parent_); parentForm && parentWidget) {
        QWidget* client = parentForm->GetClientArea();
        area = QRect(client->mapToGlobal(QPoint(0, 0)), client->size());
    } else if (parentWidget != nullptr) {
        area = QRect(parentWidget->mapToGlobal(QPoint(0, 0)), parentWidget->size());
    } else {
        QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
        area = screen ? screen->availableGeometry() : QRect(0, 0, 640, 480);
    }
    const QSize size = window->frameGeometry().size();
    int x = area.x() + (area.width() - size.width()) / 2;
    int y = area.y() + (area.height() - size.height()) / 2;
    if (x + size.width() > area.x() + area.width()) {
        x = area.x() + area.width() - size.width();
    }
    if (y + size.height() > area.y() + area.height()) {
        y = area.y() + area.height() - size.height();
    }
    window->move(qMax(0, x), qMax(0, y));
}

void WForm::PlaceOnScreen(QRect placement) {
    QWidget* window = GetWidget();
    if (window == nullptr || !placement.isValid()) {
        return;
    }
    PlaceKeptOnScreen(window, placement.topLeft(),
                      placement.size().expandedTo(window->minimumSize()));
}

QRect WForm::GetPlacement() const {
    QWidget* window = GetWidget();
    if (window == nullptr) {
        return {};
    }
    if (window->isMaximized() || window->isMinimized()) {
        return window->normalGeometry();
    }
    return QRect(window->pos(), window->size());
}

void WForm::AddHotKey(std::string_view keys, std::function<void()> action) {
    if (QWidget* window = GetWidget()) {
        auto* shortcut = new QShortcut(QKeySequence(ToQString(keys)), window);
        shortcut->setContext(Qt::WindowShortcut);
        QObject::connect(shortcut, &QShortcut::activated, window, std::move(action));
    }
}

void WForm::AcceptDroppedFiles() {
    if (QWidget* window = GetWidget()) {
        window->setAcceptDrops(true);
    }
}

void WForm::SetMinimumTrackingSize(int width, int height) {
    if (QWidget* window = GetWidget()) {
        window->setMinimumSize(width, height);
    }
}

QSize WForm::GetOuterSize() const {
    return HasWindow() ? GetWidget()->size() : QSize();
}

void WForm::SetResizePercentages(QWidget* control, int x, int y, int width, int height) {
    if (control == nullptr) {
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

void WForm::ClientAreaResized(QSize oldSize, QSize newSize) {
    const int change[4] = {newSize.width() - oldSize.width(), newSize.height() - oldSize.height(),
                           newSize.width() - oldSize.width(), newSize.height() - oldSize.height()};
    for (ResizeRecord& record : resizeRecords_) {
        if (!record.control) {
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
        const QRect geometry = record.control->geometry();
        record.control->setGeometry(geometry.x() + moveBy[0], geometry.y() + moveBy[1],
                                    geometry.width() + moveBy[2], geometry.height() + moveBy[3]);
    }
}

void WForm::OrderChildWindows(std::initializer_list<WWindow*> windows) {
    QWidget* previous = nullptr;
    bool focusChosen = false;
    for (WWindow* window : windows) {
        QWidget* widget = window ? window->GetWidget() : nullptr;
        if (widget == nullptr) {
            continue;
        }
        if (!focusChosen && widget->focusPolicy() != Qt::NoFocus) {
            firstFocus_ = widget;
            focusChosen = true;
        }
        if (previous != nullptr) {
            QWidget::setTabOrder(previous, widget);
        }
        previous = widget;
    }
}

QWidget* WDialog::MakeWindow(QWidget* parent) {
    auto* window = new DialogWindow(parent, this);
    window->setModal(true);
    return window;
}

bool WDialog::Create(WWindow* parent, std::string_view templateName) {
    result_ = 0;
    ended_ = false;
    if (!WForm::Create(parent, templateName)) {
        return false;
    }
    // A dialog ended already while it was being created does not run at all.
    if (auto* window = dynamic_cast<QDialog*>(GetWidget()); window && !ended_) {
        running_ = true;
        const QPointer<QDialog> guard(window);
        window->exec();
        running_ = false;
    }
    if (HasWindow()) {
        DestroyWindow();
    }
    return true;
}

void WDialog::EndDialog(int result) {
    result_ = result;
    ended_ = true;
    if (auto* window = dynamic_cast<QDialog*>(GetWidget()); window && running_) {
        window->done(result);
    }
}
