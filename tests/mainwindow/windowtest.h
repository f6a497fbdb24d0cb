// Shared by the main window tests and the import benchmark: song files of
// every format built byte by byte, a test catalogue, a sandbox for settings
// and working folder, drivers for modal dialogs and pop-up menus, a log
// capture and a few main window shortcuts.
#ifndef TESTS_MAINWINDOW_WINDOWTEST_H
#define TESTS_MAINWINDOW_WINDOWTEST_H

#include "../songfiles/midiimage.h"

#include "app/settingskeys.h"
#include "database/usersongsreltablemodel.h"
#include "mainwindow/mainwindow.h"
#include "resources/appresources.h"
#include "songfiles/lzhuff.h"
#include "songfiles/metasong.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QProgressDialog>
#include <QSettings>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>

#include <functional>
#include <memory>

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
    Details inImage;
    inImage.length = d.length;
    QByteArray image = midiSong(inImage, noteCount);
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

inline QByteArray id3Frame(const char* id, const QByteArray& text)
{
    return QByteArray(id) + be32(quint32(text.size() + 1)) + bytes({0, 0, 0}) + text;
}

// An ID3v2.3 tag with a text frame per detail, then a few MPEG audio frames.
inline QByteArray mp3Song(const Details& d)
{
    QByteArray frames;
    const QList<QPair<const char*, QString>> texts = {{"TIT2", d.title}, {"TPE1", d.artist},
        {"TCON", d.genre}, {"TCOM", d.author}};
    for (const auto& t : texts)
        if (!t.second.isEmpty()) frames += id3Frame(t.first, t.second.toUtf8());
    if (d.length) frames += id3Frame("TLEN", QByteArray::number(qint64(d.length) * 1000));
    if (d.bpm) frames += id3Frame("TBPM", QByteArray::number(d.bpm));
    if (d.tavrel) frames += id3Frame("TCOP", "2021 Tavrel");
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
    if (ext.startsWith(QLatin1String("mf")))
        return mfxSong("_" + ext.toUpper().toLatin1(), d);
    return midiSong(d);
}

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

// Shortcuts: a MIDI song with a title (none when null) and the maker's
// notice when tavrel; an "_MF3" song holding only its long name; an MP3 song
// holding only a title.
inline QByteArray midi(const QString& title, bool tavrel)
{
    Details d;
    d.title = title;
    d.tavrel = tavrel;
    return midiSong(d);
}

inline QByteArray mf3(const QByteArray& longName)
{
    Details d;
    d.longName = longName;
    return mfxSong("_MF3", d);
}

inline QByteArray mp3(const QString& title)
{
    Details d;
    d.title = title;
    return mp3Song(d);
}

} // namespace TestSongs

// The name the import tests and benchmark first knew these builders by.
namespace ImportSongs = TestSongs;

namespace WindowTest {

// One row of the test catalogue.
struct CatalogueRow
{
    QString filename, title, artist, altartist, genre, author;
    int length, bpm;
    QString key, markers;
};

// Writes the catalogue "songsdb_debug" into dir; the main window's database
// uses it in place of the shipped one when it is in the working folder.
inline bool makeCatalogue(const QString& dir, const QList<CatalogueRow>& rows)
{
    bool ok = true;
    QFile::remove(dir + QStringLiteral("/songsdb_debug"));
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("test_catalogue"));
        db.setDatabaseName(dir + QStringLiteral("/songsdb_debug"));
        QSqlQuery q(db);
        ok = db.open() && q.exec(QStringLiteral("CREATE TABLE Songs(title varchar, artist varchar, genre varchar, "
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
    }
    QSqlDatabase::removeDatabase(QStringLiteral("test_catalogue"));
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

template <typename T> T* child(QObject* o, const char* name)
{
    T* c = o->findChild<T*>(QLatin1String(name));
    if (!c)
        qFatal("no widget %s", name);
    return c;
}

inline UserSongsRelTableModel* libraryModel(MainWindow& w)
{
    return qobject_cast<UserSongsRelTableModel*>(child<QTableView>(&w, "userLibraryTableView")->model());
}

inline QToolButton* toolButton(MainWindow& w, const char* name)
{
    return child<QToolButton>(&w, name);
}

// "1" or "0" for the import, synchronisation and transfer buttons.
inline QString buttonStates(MainWindow& w)
{
    QString states;
    for (const char* name : {"selectDirToolButton", "updateDataToolButton", "transferFilesToolButton"})
        states += toolButton(w, name)->isEnabled() ? QLatin1Char('1') : QLatin1Char('0');
    return states;
}

inline QProgressDialog* currentProgress(MainWindow& w)
{
    const QList<QProgressDialog*> all = w.findChildren<QProgressDialog*>();
    return all.isEmpty() ? nullptr : all.last();
}

// Presses the import button with the file chooser answering `files`.
inline void pickFiles(MainWindow& w, const QStringList& files)
{
    w.setFileChooser([files](QWidget*, const QString&, const QString&, const QString&) { return files; });
    toolButton(w, "selectDirToolButton")->click();
}

// Imports files through the import button, without the summary.
inline void importWithoutSummary(MainWindow& w, const QStringList& files)
{
    const QVariant ask = store().value(QLatin1String(SettingsKeys::copyrightAsk));
    setCopyrightAsk(false);
    pickFiles(w, files);
    if (ask.isValid())
        store().setValue(QLatin1String(SettingsKeys::copyrightAsk), ask);
    else
        store().remove(QLatin1String(SettingsKeys::copyrightAsk));
}

} // namespace WindowTest

namespace ModalDriver {

// Closes a modal window as the user would; message boxes without an escape
// button ignore a close, so dialogs are rejected.
inline void dismiss(QWidget* w)
{
    if (auto* dialog = qobject_cast<QDialog*>(w))
        dialog->reject();
    else if (w)
        w->close();
}

// Runs action on the first window of class T that is the active pop-up or
// modal widget; gives up after timeoutMs, closing whatever is then open, so
// a failing test cannot hang in exec().
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
        T* wanted = qobject_cast<T*>(top);
        if (!wanted && clock->elapsed() <= timeoutMs)
            return;
        timer->stop();
        timer->deleteLater();
        if (wanted)
            return action(wanted);
        qWarning("ModalDriver: no %s appeared", T::staticMetaObject.className());
        dismiss(top);
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

// Chooses the pop-up menu's action with the given text (an empty text
// dismisses the menu); the menu's texts go to the optional output.
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

namespace WindowTest {

// Answers the modal dialogs of a workflow in the order they are expected,
// leaving progress dialogs alone. A dialog that is not the next expected one
// is recorded in `unexpected` and closed, so a wrong run fails the test
// instead of hanging it.
class ModalScript : public QObject
{
public:
    struct Seen
    {
        QString type, title;
        QString text; // message box text, the confirmation's file name or the summary
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
    // Presses the named buttons in turn; "escape" and "close" as the user would.
    ModalScript& press(const char* className, const QString& buttons)
    {
        return then(className, [buttons](QWidget* w) {
            for (const QString& b : buttons.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
                if (b == QLatin1String("escape")) {
                    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
                    QApplication::sendEvent(w, &escape);
                }
                else if (b == QLatin1String("close"))
                    w->close();
                else
                    child<QAbstractButton>(w, qPrintable(b))->click();
            }
        });
    }
    // Answers a NoCopyrightDialog by its result code (0 to 3); -1 is Escape.
    ModalScript& answer(int code)
    {
        static const char* names[] = {"yesPushButton", "yesAllPushButton", "noPushButton", "noAllPushButton"};
        return press("NoCopyrightDialog", code < 0 ? "escape" : names[code]);
    }
    ModalScript& okBox()
    {
        return then("QMessageBox", [](QWidget* w) { static_cast<QMessageBox*>(w)->button(QMessageBox::Ok)->click(); });
    }
    bool done() const { return steps.isEmpty() && unexpected.isEmpty(); }

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
        else if (QLabel* summary = w->findChild<QLabel*>(QStringLiteral("msgLabel")))
            s.text = summary->text();
        if (!steps.isEmpty() && w->inherits(steps.first().className.constData())) {
            seen.append(s);
            steps.takeFirst().action(w);
        } else {
            unexpected.append(s.type + QLatin1Char(' ') + s.title + QLatin1Char(' ') + s.text);
            ModalDriver::dismiss(w);
        }
    }

    QTimer timer;
    QList<Step> steps;
};

} // namespace WindowTest

// Every expected dialog came, and no other.
#define VERIFY_SCRIPT(script) QVERIFY2((script).done(), qPrintable((script).unexpected.join(QLatin1String(" | "))))

#endif
