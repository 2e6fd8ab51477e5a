#pragma once

#include <QDialog>
#include <QLabel>
#include <QMenuBar>
#include <QPointer>
#include <QWidget>
#include <string>
#include <string_view>

class WForm;

// The inside of a form's top-level widget: the menu bar at the top, the
// client area that holds the controls, and an optional status line at the
// bottom. Laid out by hand so that the client area's size is known at once
// after every change (the resize percentages depend on it).
class FormFrame {
public:
    FormFrame(QWidget* window, WForm* form);

    QWidget* Client() const { return client_; }
    void SetMenuBar(QMenuBar* menuBar);
    QMenuBar* MenuBar() const { return menuBar_; }
    // The line shows the message with its paths shortened as far as its width
    // needs, again at each change of width; the whole is its tooltip.
    void SetStatusText(std::string_view message);
    QString StatusText() const { return statusWhole_; }
    // Sets the window size that gives the client area this size.
    void ResizeForClient(QSize clientSize);
    void Layout();
    // A window made smaller than its minimum size is given that size again
    // (without a window manager nothing else keeps the minimum).
    void KeepMinimumSize();

    // The first control of the tab order that can take the focus: it has the
    // focus once the form is created, tab stop or not.
    QPointer<QWidget> firstFocus;

private:
    int MenuHeight() const;
    int StatusHeight() const;
    void FitStatusText();

    QWidget* window_;
    WForm* form_;
    QWidget* client_;
    QLabel* status_;
    std::string statusMessage_;
    QString statusWhole_;
    int statusFittedWidth_ = -1;
    QPointer<QMenuBar> menuBar_;
    QSize clientSize_;
};

// Top-level widget of a modeless form.
class FormWindow : public QWidget {
public:
    FormWindow(QWidget* parent, WForm* form);
    FormFrame& Frame() { return frame_; }

protected:
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    WForm* form_;
    FormFrame frame_;
};

// Top-level widget of a modal form.
class DialogWindow : public QDialog {
public:
    DialogWindow(QWidget* parent, WForm* form);
    FormFrame& Frame() { return frame_; }
    void reject() override;  // Escape goes the way of the close box

protected:
    // Enter presses the button that has the focus, as Space does.
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    WForm* form_;
    FormFrame frame_;
};
