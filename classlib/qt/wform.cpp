#include "classlib/gui/wform.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMetaObject>
#include <QPushButton>
#include <QScreen>
#include <QTreeView>
#include <QVariant>

#include "classlib/gui/wevents.h"
#include "classlib/gui/wfont.h"
#include "classlib/gui/wmenu.h"
#include "classlib/gui/wtemplates.h"
#include "classlib/qt/formframe.h"
#include "classlib/qt/wqtnative.h"
#include "classlib/qt/wqtstring.h"

namespace {

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
    window->move(placement.x, placement.y);
    frame_->ResizeForClient(QSize(placement.w, placement.h));
    for (const DialogItemTemplate& item : dialog->items) {
        QWidget* widget = MakeItemWidget(item, frame_->Client());
        const WRect rect = units.ToPixels(item.x, item.y, item.width, item.height);
        widget->setGeometry(rect.x, rect.y, rect.w, rect.h);
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
        frame_->SetStatusText(ToQString(text));
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
    for (WWindow* window : windows) {
        QWidget* widget = window ? QtWidget(*window) : nullptr;
        if (widget == nullptr) {
            continue;
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
