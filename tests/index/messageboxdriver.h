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
// Gives up after 10 s, closing whatever modal window is open, so a failing
// test cannot hang.
inline void answerNextBox(SeenBox* seen)
{
    auto* timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, [timer, seen, ticks = 0]() mutable {
        QWidget* top = QApplication::activeModalWidget();
        auto* box = qobject_cast<QMessageBox*>(top);
        if (!box && ++ticks < 2000)
            return;
        timer->stop();
        timer->deleteLater();
        if (!box) {
            qWarning("no message box appeared");
            if (top)
                top->close();
            return;
        }
        *seen = SeenBox{box->windowTitle(), box->text(), box->detailedText(), box->icon()};
        box->button(QMessageBox::Ok)->click();
    });
    timer->start(5);
}

#endif
