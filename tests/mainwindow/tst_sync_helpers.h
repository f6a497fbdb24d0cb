// Shared by the backup, copier and synchronisation tests: a driver for the
// modal dialogs, song files built byte by byte, a test catalogue, a log
// capture and a main window with an imported library.
#ifndef TESTS_MAINWINDOW_TST_SYNC_HELPERS_H
#define TESTS_MAINWINDOW_TST_SYNC_HELPERS_H

#include "../songfiles/midiimage.h"

#include "app/settingskeys.h"
#include "database/usersongsreltablemodel.h"
#include "mainwindow/mainwindow.h"
#include "songfiles/lzhuff.h"
#include "songfiles/metasong.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMessageBox>
#include <QPointer>
#include <QProgressDialog>
#include <QSettings>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTableView>
#include <QTimer>
#include <QToolButton>
#include <QVariant>
#include <QtTest>

#include <functional>

// Answers the modal dialogs of a workflow in the order they are expected.
// Progress dialogs are left alone. A dialog that is not the next expected
// one is recorded in `unexpected` and rejected, so a wrong run fails the
// test instead of hanging it.
class ModalScript : public QObject
{
public:
    struct Seen
    {
        QString type;
        QString title;
        QString text;   // message box text, or the confirmation's file name
    };

    ModalScript()
    {
        timer.setInterval(5);
        connect(&timer, &QTimer::timeout, this, &ModalScript::poll);
        timer.start();
    }

    // Waits for a modal widget inheriting className and runs action on it.
    ModalScript& then(const char* className, std::function<void(QWidget*)> action)
    {
        steps.append({QByteArray(className), std::move(action)});
        return *this;
    }
    ModalScript& press(const char* className, const char* buttonName)
    {
        const QByteArray name(buttonName);
        return then(className, [name](QWidget* w) { button(w, name)->click(); });
    }
    // Answers a NoCopyrightDialog by its result code (0 to 3).
    ModalScript& answer(int code)
    {
        static const char* names[] = {"yesPushButton", "yesAllPushButton", "noPushButton", "noAllPushButton"};
        return press("NoCopyrightDialog", names[code]);
    }
    ModalScript& okBox() { return then("QMessageBox", [](QWidget* w) { static_cast<QMessageBox*>(w)->button(QMessageBox::Ok)->click(); }); }

    static QAbstractButton* button(QWidget* w, const QByteArray& name)
    {
        QAbstractButton* b = w->findChild<QAbstractButton*>(QString::fromLatin1(name));
        if (!b)
            qFatal("no button %s", name.constData());
        return b;
    }

    bool done() const { return steps.isEmpty(); }

    QList<Seen> seen;
    QStringList unexpected;

private:
    struct Step
    {
        QByteArray className;
        std::function<void(QWidget*)> action;
    };

    void poll()
    {
        QWidget* w = QApplication::activeModalWidget();
        if (!w || w->property("scriptHandled").toBool() || qobject_cast<QProgressDialog*>(w))
            return;
        w->setProperty("scriptHandled", true);
        Seen s{QString::fromLatin1(w->metaObject()->className()), w->windowTitle(), QString()};
        if (auto* box = qobject_cast<QMessageBox*>(w))
            s.text = box->text();
        else if (QLabel* name = w->findChild<QLabel*>(QStringLiteral("fileNameLabel")))
            s.text = name->text();
        if (!steps.isEmpty() && w->inherits(steps.first().className.constData())) {
            seen.append(s);
            steps.takeFirst().action(w);
        } else {
            unexpected.append(s.type + QLatin1Char(' ') + s.title + QLatin1Char(' ') + s.text);
            if (auto* dialog = qobject_cast<QDialog*>(w))
                dialog->reject();
            else
                w->close();
        }
    }

    QTimer timer;
    QList<Step> steps;
};

// Records every log message while alive.
class LogCapture
{
public:
    LogCapture() : previous(qInstallMessageHandler(&LogCapture::handler)) { lines().clear(); }
    ~LogCapture() { qInstallMessageHandler(previous); }
    static QStringList& lines()
    {
        static QStringList l;
        return l;
    }

private:
    static void handler(QtMsgType, const QMessageLogContext&, const QString& msg) { lines().append(msg); }
    QtMessageHandler previous;
};

namespace TestSongs {

using namespace MidiImage;

inline bool writeFile(const QString& path, const QByteArray& data)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(data) == data.size() && f.flush();
}

inline QByteArray readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A MIDI file with a title event when title is not null, the maker's
// copyright notice when tavrel, and a few notes.
inline QByteArray midi(const QString& title, bool tavrel)
{
    QByteArray track;
    if (!title.isNull())
        track += meta(0x03, title.toUtf8());
    if (tavrel)
        track += meta(0x02, "(C) Tavrel 2021");
    track += notes();
    return smf(0, {track});
}

inline void putLe(QByteArray& a, int pos, quint32 v, int width)
{
    for (int i = 0; i < width; ++i)
        a[pos + i] = char((v >> (8 * i)) & 0xFF);
}

// An "_MF3" container holding longName in its header and a packed MIDI
// image without details; every other header text is empty.
inline QByteArray mf3(const QByteArray& longName)
{
    const QByteArray image = midi(QString(), false);
    QByteArray header(512, '\0');
    header.replace(0, 4, "_MF3");
    header.replace(42, longName.size(), longName);
    QByteArray packed;
    LzHuff().compress(image, packed);
    putLe(header, 4, quint32(header.size() + packed.size()), 4);
    putLe(header, 12, quint32(image.size()), 4);
    return header + packed;
}

// An MP3 with an ID3v2.3 tag holding only a title, then a few audio frames.
inline QByteArray mp3(const QString& title)
{
    const QByteArray text = title.toUtf8();
    const QByteArray frame = "TIT2" + be32(quint32(text.size() + 1)) + bytes({0, 0, 0}) + text;
    const QByteArray size = bytes({0, 0, (frame.size() >> 7) & 0x7F, frame.size() & 0x7F});
    QByteArray audio;
    for (int f = 0; f < 4; ++f) {
        audio += bytes({0xFF, 0xFB, 0x90, 0x64});
        for (int i = 4; i < 417; ++i)
            audio.append(char((f * 31 + i) % 251));
    }
    return "ID3" + bytes({3, 0, 0}) + size + frame + audio;
}

} // namespace TestSongs

// One row of the test catalogue.
struct CatalogueRow
{
    QString filename, title, artist, altartist, genre, author;
    int length, bpm;
    QString key, markers;
};

// Writes the catalogue "songsdb_debug" into dir; the main window's database
// uses it in place of the shipped one when it is in the working directory.
inline bool makeCatalogue(const QString& dir, const QList<CatalogueRow>& rows)
{
    bool ok = true;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("test_catalogue"));
        db.setDatabaseName(dir + QStringLiteral("/songsdb_debug"));
        ok = db.open();
        QSqlQuery q(db);
        ok = ok && q.exec(QStringLiteral("CREATE TABLE Songs(title varchar, artist varchar, genre varchar, "
                                         "author varchar, length integer, bpm integer, key varchar, "
                                         "filename varchar primary key, markers varchar, altartist varchar)"));
        for (const CatalogueRow& r : rows) {
            ok = ok && q.prepare(QStringLiteral("INSERT INTO Songs VALUES (?,?,?,?,?,?,?,?,?,?)"));
            for (const QVariant& v : {QVariant(r.title), QVariant(r.artist), QVariant(r.genre), QVariant(r.author),
                                      QVariant(r.length), QVariant(r.bpm), QVariant(r.key), QVariant(r.filename),
                                      r.markers.isEmpty() ? QVariant() : QVariant(r.markers), QVariant(r.altartist)})
                q.addBindValue(v);
            ok = ok && q.exec();
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("test_catalogue"));
    return ok;
}

inline void setCopyrightAsk(bool ask)
{
    QSettings(QLatin1String(SettingsKeys::organization), QLatin1String(SettingsKeys::application))
        .setValue(QLatin1String(SettingsKeys::copyrightAsk), ask);
}

inline UserSongsRelTableModel* libraryModel(MainWindow& w)
{
    return qobject_cast<UserSongsRelTableModel*>(
        w.findChild<QTableView*>(QStringLiteral("userLibraryTableView"))->model());
}

inline QToolButton* toolButton(MainWindow& w, const char* name)
{
    return w.findChild<QToolButton*>(QLatin1String(name));
}

inline QProgressDialog* currentProgress(MainWindow& w)
{
    const QList<QProgressDialog*> all = w.findChildren<QProgressDialog*>();
    return all.isEmpty() ? nullptr : all.last();
}

// Imports files through the import button, without the summary.
inline void importWithoutSummary(MainWindow& w, const QStringList& files)
{
    QSettings s(QLatin1String(SettingsKeys::organization), QLatin1String(SettingsKeys::application));
    const QVariant ask = s.value(QLatin1String(SettingsKeys::copyrightAsk));
    setCopyrightAsk(false);
    w.setFileChooser([files](QWidget*, const QString&, const QString&, const QString&) { return files; });
    toolButton(w, "selectDirToolButton")->click();
    if (ask.isValid())
        s.setValue(QLatin1String(SettingsKeys::copyrightAsk), ask);
    else
        s.remove(QLatin1String(SettingsKeys::copyrightAsk));
}

#endif
