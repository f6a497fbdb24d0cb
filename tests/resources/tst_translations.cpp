// Every English text is translated: each resources/translations/<area>_en.ts,
// refreshed from the sources of <area>/ with lupdate into a scratch copy (the
// repository's files stay as they are), holds no unfinished entry. The
// Italian files' unfinished entries are intended: Italian is the source
// language.
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <QtTest>

class TestTranslations : public QObject
{
    Q_OBJECT

private slots:
    void englishComplete_data()
    {
        QTest::addColumn<QString>("area");
        const QDir translations(QStringLiteral(ORVALO3_SOURCE_DIR "/resources/translations"));
        const QStringList files = translations.entryList({QStringLiteral("*_en.ts")}, QDir::Files, QDir::Name);
        QVERIFY(!files.isEmpty());
        for (const QString& file : files) {
            const QString area = file.chopped(6);
            QTest::newRow(qPrintable(area)) << area;
        }
    }

    void englishComplete()
    {
        QFETCH(QString, area);
        const QString source = QStringLiteral(ORVALO3_SOURCE_DIR);
        QTemporaryDir scratch;
        const QString ts = scratch.filePath(area + QStringLiteral("_en.ts"));
        QVERIFY(QFile::copy(source + QStringLiteral("/resources/translations/") + area + QStringLiteral("_en.ts"), ts));
        QVERIFY2(QFileInfo(source + QLatin1Char('/') + area).isDir(), "a .ts file without its source folder");

        // The same refresh as the build's update_translations target.
        QProcess lupdate;
        lupdate.setProcessChannelMode(QProcess::MergedChannels);
        lupdate.start(QStringLiteral(ORVALO3_LUPDATE),
                      {QStringLiteral("-silent"), QStringLiteral("-no-obsolete"), QStringLiteral("-locations"),
                       QStringLiteral("none"), QStringLiteral("-I"), source, source + QLatin1Char('/') + area,
                       QStringLiteral("-ts"), ts});
        QVERIFY(lupdate.waitForFinished(120000));
        QVERIFY2(lupdate.exitStatus() == QProcess::NormalExit && lupdate.exitCode() == 0,
                 lupdate.readAll().constData());

        QFile file(ts);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QXmlStreamReader xml(&file);
        QStringList untranslated;
        QString context, text;
        while (!xml.atEnd()) {
            if (xml.readNext() != QXmlStreamReader::StartElement)
                continue;
            if (xml.name() == QLatin1String("name")) {
                context = xml.readElementText();
            } else if (xml.name() == QLatin1String("source")) {
                text = xml.readElementText();
            } else if (xml.name() == QLatin1String("translation")) {
                const bool unfinished = xml.attributes().value(QLatin1String("type")) == QLatin1String("unfinished");
                if (xml.readElementText(QXmlStreamReader::IncludeChildElements).trimmed().isEmpty() || unfinished)
                    untranslated << context + QStringLiteral(": ") + text;
            }
        }
        QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
        QVERIFY2(untranslated.isEmpty(), qPrintable(QStringLiteral("\n") + untranslated.join(QLatin1Char('\n'))));
    }
};

QTEST_GUILESS_MAIN(TestTranslations)
#include "tst_translations.moc"
