// Answers the next message box from inside its own event loop, recording what it said.
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

// Presses OK on the next modal QMessageBox; one that never comes ends the test by QtTest's watchdog.
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
