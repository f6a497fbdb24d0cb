#include "mainwindow/nocopyrightdialog.h"

#include "resources/appresources.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QTimer>
#include <QTranslator>
#include <QtTest>

#include <functional>

// The four-answer question: every way out and the texts it shows.
class TestNoCopyrightDialog : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { initAppResources(); }

    void result_data();
    void result();
    void texts();
    void yesNoOnly();
    void languageChangeRestoresDefaultMessage();

private:
    // Runs the dialog modally and acts on it once it is the active modal widget.
    static int execWith(NoCopyrightDialog& dialog, std::function<void(QWidget*)> action)
    {
        QTimer timer;
        timer.setInterval(5);
        QObject::connect(&timer, &QTimer::timeout, [&] {
            if (QApplication::activeModalWidget() == &dialog) {
                timer.stop();
                action(&dialog);
            }
        });
        timer.start();
        return dialog.exec();
    }
    static QLabel* label(QWidget* w, const char* name) { return w->findChild<QLabel*>(QLatin1String(name)); }
};

void TestNoCopyrightDialog::result_data()
{
    QTest::addColumn<QString>("way");
    QTest::addColumn<int>("expected");
    QTest::newRow("Si") << "yesPushButton" << 0;
    QTest::newRow("Si tutti") << "yesAllPushButton" << 1;
    QTest::newRow("No") << "noPushButton" << 2;
    QTest::newRow("No tutti") << "noAllPushButton" << 3;
    // Callers take both as "Si".
    QTest::newRow("Escape") << "escape" << 0;
    QTest::newRow("window closed") << "close" << 0;
}

void TestNoCopyrightDialog::result()
{
    QFETCH(QString, way);
    QFETCH(int, expected);
    NoCopyrightDialog dialog(nullptr);
    const int code = execWith(dialog, [way](QWidget* w) {
        if (way == QLatin1String("escape"))
            QTest::keyClick(w, Qt::Key_Escape);
        else if (way == QLatin1String("close"))
            w->close();
        else
            w->findChild<QAbstractButton*>(way)->click();
    });
    QCOMPARE(code, expected);
}

void TestNoCopyrightDialog::texts()
{
    NoCopyrightDialog dialog(nullptr);
    dialog.setFilename(QStringLiteral("/music/song.mid"));
    dialog.setMessage(QStringLiteral("esiste già, vuoi sostituirlo?"));
    QCOMPARE(label(&dialog, "fileNameLabel")->text(), QStringLiteral("/music/song.mid"));
    QCOMPARE(label(&dialog, "label_2")->text(), QStringLiteral("esiste già, vuoi sostituirlo?"));
}

void TestNoCopyrightDialog::yesNoOnly()
{
    NoCopyrightDialog dialog(nullptr);
    dialog.show();
    auto* yesAll = dialog.findChild<QAbstractButton*>(QStringLiteral("yesAllPushButton"));
    auto* noAll = dialog.findChild<QAbstractButton*>(QStringLiteral("noAllPushButton"));
    dialog.setYesNoOnly(true);
    QVERIFY(!yesAll->isVisible() && !noAll->isVisible());
    dialog.setYesNoOnly(false);
    QVERIFY(yesAll->isVisible() && noAll->isVisible());
}

void TestNoCopyrightDialog::languageChangeRestoresDefaultMessage()
{
    QTranslator english;
    QVERIFY(english.load(QStringLiteral(":/trans/orvalo3soft_en")));
    NoCopyrightDialog dialog(nullptr);
    dialog.setFilename(QStringLiteral("/music/song.mid"));
    dialog.setMessage(QStringLiteral("esiste già, vuoi sostituirlo?"));

    QCoreApplication::installTranslator(&english);
    QCoreApplication::processEvents();
    const QString title = dialog.windowTitle();
    const QString message = label(&dialog, "label_2")->text();
    const QString file = label(&dialog, "fileNameLabel")->text();
    const QString yesAll = dialog.findChild<QAbstractButton*>(QStringLiteral("yesAllPushButton"))->text();
    QCoreApplication::removeTranslator(&english);

    QCOMPARE(title, QStringLiteral("Confirmation request"));
    QCOMPARE(message, QStringLiteral("Was not published by Tavrel. Do you want to proceed with editing?"));
    QCOMPARE(file, QStringLiteral("TextLabel"));
    QCOMPARE(yesAll, QStringLiteral("Yes all"));
}

QTEST_MAIN(TestNoCopyrightDialog)
#include "tst_nocopyrightdialog.moc"
