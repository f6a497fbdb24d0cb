#include "windowtest.h"

#include <QScrollBar>
#include <QtTest>

using namespace TestSongs;
using namespace WindowTest;

// The library table while a synchronisation writes its rows batch by batch:
// each row shows its own song, in the order the header's sort says, and the
// user's place in the table stays.
class TestLibraryTable : public QObject
{
    Q_OBJECT
    std::unique_ptr<Sandbox> sandbox;

private slots:
    void init()
    {
        sandbox.reset(new Sandbox);
        setCopyrightAsk(true);
    }
    void cleanup() { sandbox.reset(); }

    void syncKeepsPlace_data()
    {
        QTest::addColumn<int>("column"); // sorted by this column; -1: as imported
        QTest::addColumn<int>("order");
        QTest::newRow("as imported") << -1 << 0;
        QTest::newRow("by title, which the run changes") << 2 << int(Qt::AscendingOrder);
        QTest::newRow("by status, descending") << 11 << int(Qt::DescendingOrder);
    }

    void syncKeepsPlace()
    {
        QFETCH(int, column);
        QFETCH(int, order);
        // The catalogue turns the titles' order over; every fifth song is not
        // in it. Every fourth song is not the maker's: the question about it
        // hands the songs done so far to the table, one batch each time.
        const int count = 80;
        QList<QVariantList> catalogue;
        QStringList files;
        for (int i = 0; i < count; ++i) {
            const QString name = QString("S%1").arg(i, 3, 10, QLatin1Char('0'));
            if (i % 5 != 4)
                catalogue << QVariantList{name, QString("CAT %1").arg(count - i, 3, 10, QLatin1Char('0')), "A", "",
                                          "POP", "B", 100, 100, "C", QString()};
            files << sandbox->path("songs/" + name.toLower() + ".mid");
            QVERIFY(writeFile(files.last(), midi(QString("Song %1").arg(i), i % 4 != 3)));
        }
        QVERIFY(makeCatalogue(sandbox->root.path(), catalogue));

        MainWindow w;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        importWithoutSummary(w, files);
        auto* view = child<QTableView>(&w, "userLibraryTableView");
        UserSongsRelTableModel* model = libraryModel(w);
        if (column >= 0)
            view->sortByColumn(column, Qt::SortOrder(order));
        // The user's place: a current, selected song half-way down, the list scrolled.
        view->selectRow(40);
        const qint64 current = model->songId(40);
        QScrollBar* scroll = view->verticalScrollBar();
        QVERIFY(scroll->maximum() > 30);
        scroll->setValue(30);
        const int top = view->rowAt(0);
        const qint64 topSong = model->songId(top);

        ModalScript script;
        script.press("BackupDialog", "exitPushButton");
        // No to the first song asked about (they come in the table's order), Si to the others.
        script.answer(2);
        for (int i = 1; i < 16; ++i)
            script.answer(0);
        script.box();
        child<QToolButton>(&w, "updateDataToolButton")->click();
        VERIFY_SCRIPT(script);

        // Each row shows what its own file holds now and what became of it.
        QVector<QVariant> shown;
        for (int row = 0; row < count; ++row) {
            const QString file = model->fileName(row);
            const int i = files.indexOf(file);
            QCOMPARE(model->index(row, 2).data().toString(), readInfo(file).title);
            const int status = i % 5 == 4   ? Database::StatusNotFound
                : file == script.seen[1].text ? Database::StatusLeftUnchanged
                                              : Database::StatusUpdated;
            QCOMPARE(model->status(row), status);
            shown << model->index(row, column < 0 ? 0 : column).data(Qt::EditRole);
        }
        // In the order of the header's sort, or as imported.
        QVector<QVariant> sorted = shown;
        std::stable_sort(sorted.begin(), sorted.end(), [order, column](const QVariant& a, const QVariant& b) {
            const bool less = column == 2 ? a.toString() < b.toString() : a.toInt() < b.toInt();
            const bool greater = column == 2 ? b.toString() < a.toString() : b.toInt() < a.toInt();
            return order == Qt::DescendingOrder ? greater : less;
        });
        QCOMPARE(shown, sorted);
        // The place is kept: the same rows in view (the same songs unless sorted).
        QCOMPARE(scroll->value(), 30);
        QCOMPARE(view->rowAt(0), top);
        if (column < 0)
            QCOMPARE(model->songId(top), topSong);
        QCOMPARE(model->songId(view->currentIndex().row()), current);
        QCOMPARE(view->selectionModel()->selectedRows().size(), 1);
        QCOMPARE(view->selectionModel()->selectedRows().first().row(), view->currentIndex().row());
    }
};

QTEST_MAIN(TestLibraryTable)
#include "tst_librarytable.moc"
