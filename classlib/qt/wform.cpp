#include "classlib/gui/wform.h"

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

#include "classlib/gui/wevents.h"
#include "classlib/gui/wfont.h"
#include "classlib/gui/wmenu.h"
#include "classlib/gui/wresources.h"
#include "classlib/qt/formframe.h"
#include "classlib/qt/ownerfocus.h"
#include "classlib/qt/treecontrol.h"
#include "classlib/qt/wqtnative.h"
#include "classlib/qt/wqtstring.h"

namespace {

const char* const kItemIdProperty = "dialogItemId";

QWidget* MakeItemWidget(const DialogItemTemplate& item, QWidget* client) {
    QWidget* widget = nullptr;
    if (item.className == kTreeViewClass) {
        auto* tree = new TreeControl(client);
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

WWindowHandle WForm::MakeWindow(WWindowHandle parent) {
    return HandleOf(new FormWindow(QtWidget(parent), this));
}

bool WForm::BuildFromTemplate(std::string_view templateName, WWindowHandle parentWindow) {
    const DialogTemplate* dialog = FindDialogTemplate(templateName);
    if (dialog == nullptr) {
        return false;
    }
    QWidget* window = QtWidget(MakeWindow(parentWindow));
    window->setWindowFlags(window->windowFlags() | WindowFlagsOf(dialog->style));
    frame_ = dynamic_cast<FormWindow*>(window) ? &static_cast<FormWindow*>(window)->Frame()
                                               : &static_cast<DialogWindow*>(window)->Frame();
    WFont font;
    font.Create(dialog->pointSize, dialog->fontFace);
    window->setFont(QtFont(font));
    window->setWindowTitle(ToQString(dialog->title));
    const WDialogBaseUnits units = DialogBaseUnitsOf(font);
    const WRect placement = units.ToPixels(dialog->x, dialog->y, dialog->width, dialog->height);
    frame_->ResizeForClient(QSize(placement.w, placement.h));
    // A template's position is relative to its owner's client area, as the
    // platform's dialog manager takes it.
    QPoint origin;
    if (auto* owner = dynamic_cast<WForm*>(parent_); owner && owner->GetClientArea()) {
        origin = QtWidget(owner->GetClientArea())->mapToGlobal(QPoint(0, 0));
    } else if (QWidget* parentWidget = QtWidget(parentWindow)) {
        origin = parentWidget->mapToGlobal(QPoint(0, 0));
    }
    PlaceKeptOnScreen(window, origin + QPoint(placement.x, placement.y), window->size());
    frame_->firstFocus = nullptr;
    for (const DialogItemTemplate& item : dialog->items) {
        QWidget* widget = MakeItemWidget(item, frame_->Client());
        const WRect rect = units.ToPixels(item.x, item.y, item.width, item.height);
        widget->setGeometry(rect.x, rect.y, rect.w, rect.h);
        if (!frame_->firstFocus && widget->focusPolicy() != Qt::NoFocus) {
            frame_->firstFocus = widget;
        }
    }
    if (!GetName().IsEmpty()) {
        window->setObjectName(ToQString(GetName().View()));
    }
    GetNative().widget = window;
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
    ReleaseWindowLater();
    return true;
}

void WForm::PostClose() {
    if (QWidget* window = QtWidget(*this)) {
        QMetaObject::invokeMethod(window, &QWidget::close, Qt::QueuedConnection);
    }
}

WWindowHandle WForm::GetDialogItem(int id) const {
    if (frame_ == nullptr) {
        return {};
    }
    for (QObject* child : frame_->Client()->children()) {
        auto* widget = qobject_cast<QWidget*>(child);
        if (widget != nullptr && widget->property(kItemIdProperty).toInt() == id) {
            return HandleOf(widget);
        }
    }
    return {};
}

bool WForm::HasClientItem(WWindowHandle control) const {
    // Compares addresses only: the control may have been deleted already.
    return frame_ != nullptr && control &&
           frame_->Client()->children().contains(static_cast<QObject*>(QtWidget(control)));
}

WRect WForm::ItemRectangle(WWindowHandle control) const {
    const QRect geometry = QtWidget(control)->geometry();
    return WRect{geometry.x(), geometry.y(), geometry.width(), geometry.height()};
}

void WForm::MoveItem(WWindowHandle control, WRect rect) {
    QtWidget(control)->setGeometry(rect.x, rect.y, rect.w, rect.h);
}

WWindowHandle WForm::GetClientArea() const {
    return frame_ ? HandleOf(frame_->Client()) : WWindowHandle();
}

WSize WForm::GetClientSize() const {
    return frame_ ? WSize{frame_->Client()->width(), frame_->Client()->height()} : WSize();
}

bool WForm::SetMenu(WMenu* menu) {
    if (frame_ == nullptr) {
        return false;
    }
    frame_->SetMenuBar(menu ? QtMenuBar(*menu) : nullptr);
    menu_ = menu;
    return menu == nullptr || frame_->MenuBar() != nullptr;
}

void WForm::SetStatusText(std::string_view text) {
    if (frame_ != nullptr) {
        frame_->SetStatusText(text);
    }
}

WString WForm::GetStatusText() const {
    return frame_ ? WString(FromQString(frame_->StatusText())) : WString();
}

void WForm::CenterWindow() {
    QWidget* window = QtWidget(*this);
    if (window == nullptr) {
        return;
    }
    QRect area;
    QWidget* parentWidget = parent_ ? QtWidget(*parent_) : nullptr;
    if (auto* parentForm = dynamic_cast<WForm*>(parent_); parentForm && parentWidget) {
        QWidget* client = QtWidget(parentForm->GetClientArea());
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

void WForm::PlaceOnScreen(WRect placement) {
    QWidget* window = QtWidget(*this);
    if (window == nullptr || placement.w <= 0 || placement.h <= 0) {
        return;
    }
    PlaceKeptOnScreen(window, QPoint(placement.x, placement.y),
                      QtSize(placement.size()).expandedTo(window->minimumSize()));
}

WRect WForm::GetPlacement() const {
    QWidget* window = QtWidget(*this);
    if (window == nullptr) {
        return {};
    }
    const QRect normal = window->isMaximized() || window->isMinimized()
                             ? window->normalGeometry()
                             : QRect(window->pos(), window->size());
    return WRect{normal.x(), normal.y(), normal.width(), normal.height()};
}

void WForm::AddHotKey(std::string_view keys, std::function<void()> action) {
    if (QWidget* window = QtWidget(*this)) {
        auto* shortcut = new QShortcut(QKeySequence(ToQString(keys)), window);
        shortcut->setContext(Qt::WindowShortcut);
        QObject::connect(shortcut, &QShortcut::activated, window, std::move(action));
    }
}

void WForm::AcceptDroppedFiles() {
    if (QWidget* window = QtWidget(*this)) {
        window->setAcceptDrops(true);
    }
}

void WForm::FocusFirstControl() {
    if (frame_ != nullptr && frame_->firstFocus) {
        frame_->firstFocus->setFocus(Qt::OtherFocusReason);
    }
}

void WForm::SetMinimumTrackingSize(int width, int height) {
    if (QWidget* window = QtWidget(*this)) {
        window->setMinimumSize(width, height);
    }
}

WSize WForm::GetOuterSize() const {
    QWidget* window = QtWidget(*this);
    return window ? WSize{window->width(), window->height()} : WSize();
}

void WForm::OrderChildWindows(std::initializer_list<WWindow*> windows) {
    QWidget* previous = nullptr;
    bool focusChosen = false;
    for (WWindow* window : windows) {
        QWidget* widget = window ? QtWidget(*window) : nullptr;
        if (widget == nullptr) {
            continue;
        }
        if (!focusChosen && frame_ != nullptr && widget->focusPolicy() != Qt::NoFocus) {
            frame_->firstFocus = widget;
            focusChosen = true;
        }
        if (previous != nullptr) {
            QWidget::setTabOrder(previous, widget);
        }
        previous = widget;
    }
}

WWindowHandle WDialog::MakeWindow(WWindowHandle parent) {
    auto* window = new DialogWindow(QtWidget(parent), this);
    window->setModal(true);
    return HandleOf(window);
}

bool WDialog::Create(WWindow* parent, std::string_view templateName) {
    result_ = 0;
    ended_ = false;
    if (!WForm::Create(parent, templateName)) {
        return false;
    }
    // A dialog ended already while it was being created does not run at all.
    if (auto* window = dynamic_cast<QDialog*>(QtWidget(*this)); window && !ended_) {
        running_ = true;
        const QPointer<QDialog> guard(window);
        const OwnerTakesFocusBack focusBack(window->parentWidget());
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
    if (auto* window = dynamic_cast<QDialog*>(QtWidget(*this)); window && running_) {
        window->done(result);
    }
}
