#pragma once

#include <QAction>
#include <QApplication>
#include <QIcon>
#include <QImage>
#include <QList>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QTreeView>
#include <QWidget>
#include <memory>

#include "classlib/gui/wapplication.h"
#include "classlib/gui/wfont.h"
#include "classlib/gui/wicon.h"
#include "classlib/gui/wimagelist.h"
#include "classlib/gui/wlistview.h"
#include "classlib/gui/wmenu.h"
#include "classlib/gui/wtreeview.h"
#include "classlib/gui/wwindow.h"
#include "classlib/qt/listmodel.h"
#include "classlib/qt/treemodel.h"

// The Qt backend's records behind the library's objects, and the way from a
// library object to its Qt object, for the backend itself and for tests that
// drive the Qt widgets directly.

struct WWindow::Native {
    QPointer<QWidget> widget;
    QPointer<QWidget> released;  // deleted later, or with the object
};

struct WMenuItem::Native {
    QPointer<QAction> action;
};

struct WMenu::Native {
    QPointer<QMenuBar> menuBar;  // set for a menu bar
    QPointer<QMenu> menu;        // set for a popup
};

struct WTreeView::Native {
    std::unique_ptr<WTreeModel> model;
    std::unique_ptr<QObject> keyFilter;  // takes '*' for ExpandSubtree
};

struct WListView::Native {
    std::unique_ptr<WListModel> model;
};

struct WExeApplication::Native {
    std::unique_ptr<QApplication> application;  // when the program made it
};

inline WWindowHandle HandleOf(QWidget* widget) {
    return WWindowHandle{widget};
}
inline QWidget* QtWidget(WWindowHandle handle) {
    return static_cast<QWidget*>(handle.native);
}
inline QWidget* QtWidget(const WWindow& window) {
    return window.GetNative().widget.data();
}
inline QAction* QtAction(const WMenuItem& item) {
    return item.GetNative().action.data();
}
inline QMenuBar* QtMenuBar(const WMenu& menu) {
    return menu.GetNative().menuBar.data();
}
inline QMenu* QtMenu(const WMenu& menu) {
    return menu.GetNative().menu.data();
}
inline QTreeView* QtTreeView(const WWindow& view) {
    return dynamic_cast<QTreeView*>(QtWidget(view));
}
inline WTreeModel* QtTreeModel(const WTreeView& view) {
    return view.GetTreeNative().model.get();
}

QFont QtFont(const WFont& font);
QImage QtImage(const WImage& image);
QIcon QtIcon(const WIcon& icon);
QList<QIcon> QtIcons(const WImageList& images);

inline QRect QtRect(WRect rect) {
    return QRect(rect.x, rect.y, rect.w, rect.h);
}
inline QSize QtSize(WSize size) {
    return QSize(size.w, size.h);
}
