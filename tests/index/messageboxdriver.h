// Answers the next message box a test's action opens, from inside the box's
// own event loop, and records what it said.
#ifndef TESTS_INDEX_MESSAGEBOXDRIVER_H
#define TESTS_INDEX_MESSAGEBOXDRIVER_H

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>

#include <memory>

struct SeenBox
{
    QString title;
    QString text;
    QString detailedText;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
};

// Presses OK on the next QMessageBox that becomes the active modal widget.
// Gives up after 10 s, closing whatever modal window is open, so a failing
// test cannot hang.
inline void answerNextBox(SeenBox* seen = nullptr)
{
    auto* timer = new QTimer;
    auto clock = std::make_shared<QElapsedTimer>();
    clock->start();
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, [timer, clock, seen]() {
        QWidget* top = QApplication::activeModalWidget();
        if (auto* box = qobject_cast<QMessageBox*>(top)) {
            timer->stop();
            timer->deleteLater();
            if (seen)
                *seen = SeenBox{box->windowTitle(), box->text(), box->detailedText(), box->icon()};
            box->button(QMessageBox::Ok)->click();
        } else if (clock->elapsed() > 10000) {
            timer->stop();
            timer->deleteLater();
            qWarning("no message box appeared");
            if (top)
                top->close();
        }
    });
    timer->start();
}

#endif
