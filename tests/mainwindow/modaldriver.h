// Drives the modal dialogs and pop-up menus a test opens: the action runs as
// soon as a window of the wanted class is the active modal widget (or the
// active pop-up), from inside the dialog's own event loop.
#ifndef TESTS_MAINWINDOW_MODALDRIVER_H
#define TESTS_MAINWINDOW_MODALDRIVER_H

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QMenu>
#include <QMessageBox>
#include <QTimer>

#include <functional>
#include <memory>

namespace ModalDriver {

// Polls for a window of class T; gives up after timeoutMs, closing whatever
// modal window is then open so a failing test cannot hang in exec().
template <typename T>
void when(std::function<void(T*)> action, int timeoutMs = 10000)
{
    auto* timer = new QTimer;
    auto clock = std::make_shared<QElapsedTimer>();
    clock->start();
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, [timer, clock, action, timeoutMs]() {
        QWidget* top = QApplication::activePopupWidget();
        if (!top)
            top = QApplication::activeModalWidget();
        if (T* wanted = qobject_cast<T*>(top)) {
            timer->stop();
            timer->deleteLater();
            action(wanted);
        } else if (clock->elapsed() > timeoutMs) {
            timer->stop();
            timer->deleteLater();
            qWarning("ModalDriver: no %s appeared", T::staticMetaObject.className());
            if (auto* dialog = qobject_cast<QDialog*>(top))
                dialog->reject();
            else if (top)
                top->close();
        }
    });
    timer->start();
}

// Answers the next message box with the given button; its text and title
// go to the optional outputs.
inline void answer(QMessageBox::StandardButton button, QString* text = nullptr, QString* title = nullptr)
{
    when<QMessageBox>([=](QMessageBox* box) {
        if (text)
            *text = box->text();
        if (title)
            *title = box->windowTitle();
        if (QAbstractButton* b = box->button(button))
            b->click();
        else
            box->reject();
    });
}

// Chooses the pop-up menu's action with the given text; an empty text
// dismisses the menu. The menu's texts go to the optional output.
inline void chooseFromMenu(const QString& actionText, QStringList* shown = nullptr)
{
    when<QMenu>([=](QMenu* menu) {
        QAction* chosen = nullptr;
        QStringList texts;
        for (QAction* a : menu->actions()) {
            texts << a->text();
            if (a->text() == actionText)
                chosen = a;
        }
        if (shown)
            *shown = texts;
        if (!chosen) {
            menu->close();
            return;
        }
        // As a click on the item: the menu closes and exec() returns the action.
        menu->setActiveAction(chosen);
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QApplication::sendEvent(menu, &press);
    });
}

} // namespace ModalDriver

#endif
