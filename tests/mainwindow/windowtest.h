// Shared by the main window tests and the import benchmark: song files built
// byte by byte, a test catalogue, a sandbox, a driver for modal windows and a
// few main window shortcuts.
#ifndef TESTS_MAINWINDOW_WINDOWTEST_H
#define TESTS_MAINWINDOW_WINDOWTEST_H

#include "../common/logcapture.h"
#include "../songfiles/midiimage.h"

#include "app/settingskeys.h"
#include "database/usersongsreltablemodel.h"
#include "mainwindow/mainwindow.h"
#include "resources/appresources.h"
#include "songfiles/lzhuff.h"
#include "songfiles/metasong.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QProgressDialog>
#include <QSqlQuery>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>

#include <functional>

namespace TestSongs {

using namespace MidiImage;

// Details a built song holds; an empty text or a 0 writes nothing.
struct Details
{
    QString title, artist, genre, author;
    int length = 0; // seconds
    int bpm = 0;
    bool tavrel = false;  // the maker's copyright notice (MFx songs always are the maker's)
    QByteArray longName;  // MFx header only
};

inline void putLe(QByteArray& a, int pos, quint32 v, int width)
{
    for (int i = 0; i < width; ++i)
        a[pos + i] = char((v >> (8 * i)) & 0xFF);
}

// A format 0 MIDI file with the details as events, then noteCount notes of
// varying pitch and timing.
inline QByteArray midiSong(const Details& d, int noteCount = 8)
{
    QByteArray track;
    if (!d.title.isEmpty()) track += meta(0x03, d.title.toUtf8());
    if (d.tavrel) track += meta(0x02, "(C) Tavrel 2021");
    const QString* texts[] = {&d.genre, &d.artist, &d.author};
    for (int type = 1; type <= 3; ++type)
        if (!texts[type - 1]->isEmpty()) track += tag(type, texts[type - 1]->toUtf8());
    if (d.length) track += tag(4, QByteArray::number(d.length));
    if (d.bpm) track += tag(5, QByteArray::number(d.bpm));
    quint32 seed = 2021;
    for (int i = 0; i < noteCount; ++i) {
        seed = seed * 1103515245u + 12345u;
        const int pitch = 36 + int(seed >> 16) % 48;
        track += bytes({int(seed >> 8) & 0x7F, 0x90, pitch, 0x50, 0x60, 0x80, pitch, 0x00});
    }
    return smf(0, {track});
}

// An MFx container ("_MF3", "_MF4" or "_MF5"): header with the details, then
// the packed MIDI image holding the length (with the three extra bytes of an
// "_MF4" payload).
inline QByteArray mfxSong(const QByteArray& magic, const Details& d, int noteCount = 8)
{
    QByteArray image = midiSong(Details{{}, {}, {}, {}, d.length, 0, false, {}}, noteCount);
    if (magic == "_MF4")
        image.insert(image.indexOf("MTrk") + 8, QByteArray("\xFF\x00\xFF", 3));
    QByteArray packed;
    LzHuff().compress(image, packed);
    QByteArray header(magic == "_MF5" ? 1024 : 512, '\0');
    header.replace(0, 4, magic);
    putLe(header, 4, quint32(header.size() + packed.size()), 4);
    putLe(header, 12, quint32(image.size()), 4);
    putLe(header, 38, quint32(d.bpm), 2);
    const QList<QPair<int, QByteArray>> fields = {{42, d.longName}, {90, "TAVREL"}, {122, d.title.toUtf8()},
        {186, d.author.toUtf8()}, {218, d.artist.toUtf8()}, {250, d.genre.toUtf8()}};
    for (const auto& f : fields)
        header.replace(f.first, f.second.size(), f.second);
    return header + packed;
}

// An ID3v2.3 tag with a text frame per detail, then a few MPEG audio frames.
inline QByteArray mp3Song(const Details& d)
{
    const QList<QPair<const char*, QByteArray>> texts = {{"TIT2", d.title.toUtf8()}, {"TPE1", d.artist.toUtf8()},
        {"TCON", d.genre.toUtf8()}, {"TCOM", d.author.toUtf8()},
        {"TLEN", d.length ? QByteArray::number(qint64(d.length) * 1000) : ""},
        {"TBPM", d.bpm ? QByteArray::number(d.bpm) : ""}, {"TCOP", d.tavrel ? "2021 Tavrel" : ""}};
    QByteArray frames;
    for (const auto& t : texts)
        if (!t.second.isEmpty()) frames += t.first + be32(quint32(t.second.size() + 1)) + bytes({0, 0, 0}) + t.second;
    const int n = frames.size();
    QByteArray song = "ID3" + bytes({3, 0, 0, (n >> 21) & 0x7F, (n >> 14) & 0x7F, (n >> 7) & 0x7F, n & 0x7F}) + frames;
    for (int f = 0; f < 6; ++f) {
        song += bytes({0xFF, 0xFB, 0x90, 0x64});
        for (int i = 4; i < 417; ++i)
            song.append(char((f * 31 + i) % 251));
    }
    return song;
}

// The song in the format its file name's extension names.
inline QByteArray songFor(const QString& fileName, const Details& d)
{
    const QString ext = fileName.section(QLatin1Char('.'), -1).toLower();
    if (ext == QLatin1String("mp3"))
        return mp3Song(d);
    return ext.startsWith(QLatin1String("mf")) ? mfxSong("_" + ext.toUpper().toLatin1(), d) : midiSong(d);
}

// Shortcuts: a MIDI song with a title and the maker's notice when tavrel; an
// MP3 song holding only a title.
inline QByteArray midi(const QString& title, bool tavrel) { return midiSong({title, {}, {}, {}, 0, 0, tavrel, {}}); }
inline QByteArray mp3(const QString& title) { return mp3Song({title, {}, {}, {}, 0, 0, false, {}}); }

inline bool writeFile(const QString& path, const QByteArray& data)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(data) == data.size() && f.flush();
}

inline QByteArray readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The details a song file holds, as the program reads them.
inline SongInfo readInfo(const QString& path)
{
    MetaSong song;
    SongInfo info;
    if (song.importFile(path))
        song.getSongInfo(info);
    return info;
}

} // namespace TestSongs

namespace ImportSongs = TestSongs;

namespace WindowTest {

// Writes the catalogue "songsdb_debug" into dir; the main window's database
// uses it in place of the shipped one when it is in the working folder. A
// row: filename, title, artist, altartist, genre, author, length, bpm, key, markers.
inline bool makeCatalogue(const QString& dir, const QList<QVariantList>& rows)
{
    bool ok = true;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "test_catalogue");
        db.setDatabaseName(dir + "/songsdb_debug");
        QSqlQuery q(db);
        ok = db.open() && q.exec("CREATE TABLE Songs(title varchar, artist varchar, genre varchar, author varchar, "
                                 "length integer, bpm integer, key varchar, filename varchar primary key, "
                                 "markers varchar, altartist varchar)")
            && q.prepare("INSERT INTO Songs(filename, title, artist, altartist, genre, author, length, bpm, key, "
                         "markers) VALUES (?,?,?,?,?,?,?,?,?,?)");
        for (const QVariantList& row : rows) {
            for (const QVariant& v : row)
                q.addBindValue(v);
            ok = ok && q.exec();
        }
    }
    QSqlDatabase::removeDatabase("test_catalogue");
    return ok;
}

inline QSettings store()
{
    return QSettings(QLatin1String(SettingsKeys::organization), QLatin1String(SettingsKeys::application));
}

inline void setCopyrightAsk(bool ask)
{
    store().setValue(QLatin1String(SettingsKeys::copyrightAsk), ask);
}

// An empty settings store and a fresh working folder, where the relative
// names the program uses ("songsdb_debug", "log.txt") land.
class Sandbox
{
public:
    Sandbox() : start(QDir::currentPath())
    {
        initAppResources();
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, config.path());
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, config.path());
        QDir::setCurrent(root.path());
        store().clear();
    }
    ~Sandbox() { QDir::setCurrent(start); }
    QString path(const QString& name) const { return root.filePath(name); }

    QTemporaryDir config, root;
    QString start;
};

template <typename T> T* child(QObject* o, const char* name)
{
    T* c = o->findChild<T*>(QLatin1String(name));
    if (!c)
        qFatal("no widget %s", name);
    return c;
}

// Answers the modal dialogs and pop-up menus of a workflow in the order they
// are expected, leaving progress dialogs alone. A strict script records any
// other window in `unexpected` and closes it, so a wrong run fails instead of
// hanging; any script gives up after ten seconds.
class ModalScript : public QObject
{
public:
    struct Seen
    {
        QString title;
        QString text; // message box text, the confirmation's file name or the summary
        QString info; // message box informative text
    };

    explicit ModalScript(bool strict = true) : strict(strict)
    {
        static int scripts = 0;
        id = ++scripts;
        clock.start();
        connect(&timer, &QTimer::timeout, this, &ModalScript::poll);
        timer.start(5);
    }
    // Waits for a window inheriting className and runs action on it.
    ModalScript& then(const char* className, std::function<void(QWidget*)> action)
    {
        steps.append({QByteArray(className), std::move(action)});
        return *this;
    }
    // Presses the named buttons in turn; "escape" as the user would.
    ModalScript& press(const char* className, const QString& buttons)
    {
        return then(className, [buttons](QWidget* w) {
            for (const QString& b : buttons.split(' ', Qt::SkipEmptyParts)) {
                QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
                if (b == "escape")
                    QApplication::sendEvent(w, &escape);
                else
                    child<QAbstractButton>(w, qPrintable(b))->click();
            }
        });
    }
    // Answers a NoCopyrightDialog by its result code (0 to 3); -1 is Escape.
    // 4 presses the progress dialog's "Interrompi" of `w`, then "Si".
    ModalScript& answer(int code, QWidget* w = nullptr)
    {
        static const char* names[] = {"yesPushButton", "yesAllPushButton", "noPushButton", "noAllPushButton"};
        if (code == 4)
            return then("NoCopyrightDialog", [w](QWidget* d) {
                w->findChildren<QProgressDialog*>().last()->findChild<QAbstractButton*>()->click();
                child<QAbstractButton>(d, "yesPushButton")->click();
            });
        return press("NoCopyrightDialog", code < 0 ? "escape" : names[code]);
    }
    ModalScript& box(QMessageBox::StandardButton button = QMessageBox::Ok)
    {
        return then("QMessageBox", [button](QWidget* w) { static_cast<QMessageBox*>(w)->button(button)->click(); });
    }
    bool done() const { return steps.isEmpty() && unexpected.isEmpty(); }

    QList<Seen> seen;
    QStringList unexpected;

private:
    static void dismiss(QWidget* w)
    {
        // Message boxes without an escape button ignore a close.
        if (auto* dialog = qobject_cast<QDialog*>(w))
            dialog->reject();
        else if (w)
            w->close();
    }
    void poll()
    {
        QWidget* w = QApplication::activePopupWidget();
        if (!w)
            w = QApplication::activeModalWidget();
        if (steps.isEmpty() && !strict)
            return timer.stop();
        if (!steps.isEmpty() && clock.elapsed() > 10000) {
            timer.stop();
            qWarning("ModalScript: no %s appeared", steps.first().className.constData());
            return dismiss(w);
        }
        // A window is handled once by a script; a strict script leaves alone
        // the windows other scripts handle.
        const QVariant mark = w ? w->property("handledByScript") : QVariant();
        if (!w || mark == id || (strict && mark.isValid()) || qobject_cast<QProgressDialog*>(w))
            return;
        const bool expected = !steps.isEmpty() && w->inherits(steps.first().className.constData());
        if (!expected && !strict)
            return;
        w->setProperty("handledByScript", id);
        Seen s{w->windowTitle(), QString(), QString()};
        if (auto* box = qobject_cast<QMessageBox*>(w)) {
            s.text = box->text();
            s.info = box->informativeText();
        }
        else if (QLabel* name = w->findChild<QLabel*>("fileNameLabel"))
            s.text = name->text();
        else if (QLabel* summary = w->findChild<QLabel*>("msgLabel"))
            s.text = summary->text();
        if (expected) {
            seen.append(s);
            steps.takeFirst().action(w);
        } else {
            unexpected.append(s.title + ' ' + s.text);
            dismiss(w);
        }
    }

    const bool strict;
    int id;
    QElapsedTimer clock;
    QTimer timer;
    struct Step
    {
        QByteArray className;
        std::function<void(QWidget*)> action;
    };
    QList<Step> steps;
};

// Whether a progress dialog of the window is still on screen (it would keep
// every click from the window).
inline bool progressShown(QWidget& w)
{
    for (QProgressDialog* progress : w.findChildren<QProgressDialog*>())
        if (progress->isVisible())
            return true;
    return false;
}

inline UserSongsRelTableModel* libraryModel(MainWindow& w)
{
    return qobject_cast<UserSongsRelTableModel*>(child<QTableView>(&w, "userLibraryTableView")->model());
}

// Presses the import button with the file chooser answering `files`.
inline void pickFiles(MainWindow& w, const QStringList& files)
{
    w.setFileChooser([files](QWidget*, const QString&, const QString&, const QString&) { return files; });
    child<QToolButton>(&w, "selectDirToolButton")->click();
}

// Imports files through the import button, answering a summary "No".
inline void importWithoutSummary(MainWindow& w, const QStringList& files)
{
    ModalScript script(false);
    script.press("ProceedDialog", "noPushButton");
    pickFiles(w, files);
}

} // namespace WindowTest

// Every expected window came, and no other.
#define VERIFY_SCRIPT(script) QVERIFY2((script).done(), qPrintable((script).unexpected.join(" | ")))

#endif
