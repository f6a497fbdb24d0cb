// Answers the next message box a test's action opens, from inside the box's
// own event loop, and records what it said.
#ifndef TESTS_INDEX_MESSAGEBOXDRIVER_H
#define TESTS_INDEX_MESSAGEBOXDRIVER_H

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>

struct SeenBox
{
    QString title;
    QString text;
    QString detailedText;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
};

// Presses OK on the next QMessageBox that becomes the active modal widget.
// A box that never comes ends the test through QtTest's watchdog.
inline void answerNextBox(SeenBox* seen)
{
    auto* timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, [timer, seen]() {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            timer->stop();
            timer->deleteLater();
            *seen = SeenBox{box->windowTitle(), box->text(), box->detailedText(), box->icon()};
            box->button(QMessageBox::Ok)->click();
        }
    });
    timer->start(5);
}

#endif
