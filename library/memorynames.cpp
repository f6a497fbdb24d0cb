#include "library/memorynames.h"

#include <QSet>

#ifdef ORVALO3_HAVE_ICU
#include <unicode/translit.h>
#include <unicode/unistr.h>

#include <map>
#include <memory>
#include <string>
#endif

namespace {

// Characters FAT32 refuses in a long name ("/" never reaches a name).
bool refusedByFat(uint c)
{
    return c < 0x20 || c == 0x7F || (c >= 0x80 && c < 0xA0) || c == '"' || c == '*' || c == ':' || c == '<'
        || c == '>' || c == '?' || c == '\\' || c == '|' || c == '/';
}

bool isQuoteLike(uint c)
{
    return (c >= 0x2018 && c <= 0x201F) || c == 0x2032 || c == 0x2033 || c == 0x2035 || c == 0x2036
        || (c >= 0x02B9 && c <= 0x02BC) || c == 0x02BE || c == 0x02BF;
}

bool isDashLike(uint c)
{
    return (c >= 0x2010 && c <= 0x2015) || c == 0x2212 || c == 0xFE58 || c == 0xFE63 || c == 0xFF0D;
}

#ifdef ORVALO3_HAVE_ICU
// Made once per run: building a transform costs far more than using it.
const icu::Transliterator* transform(const char* id)
{
    static std::map<std::string, std::unique_ptr<icu::Transliterator>> made;
    auto it = made.find(id);
    if (it == made.end()) {
        UErrorCode status = U_ZERO_ERROR;
        std::unique_ptr<icu::Transliterator> t(icu::Transliterator::createInstance(id, UTRANS_FORWARD, status));
        it = made.emplace(id, U_SUCCESS(status) ? std::move(t) : nullptr).first;
    }
    return it->second.get();
}

#endif

// `text` through one of ICU's transforms: "Any-Latin" writes other scripts
// in Latin letters ("Привет" -> "Privet"), "Latin-ASCII" the Latin letters
// without a decomposition ("Ł", "œ"). Without ICU the text stays as it is
// and loses below what Latin-1 cannot hold.
QString transliterated(const char* id, const QString& text)
{
#ifdef ORVALO3_HAVE_ICU
    if (const icu::Transliterator* t = transform(id)) {
        icu::UnicodeString u(reinterpret_cast<const UChar*>(text.utf16()), text.size());
        t->transliterate(u);
        return QString(reinterpret_cast<const QChar*>(u.getBuffer()), u.length());
    }
#else
    Q_UNUSED(id)
#endif
    return text;
}

// One code point outside Latin-1, as Latin-1 can hold it: the quote or dash
// it stands for, or its letter without the accents Latin-1 lacks; "_" when
// nothing of it can be kept.
QString latin1Fallback(uint c)
{
    if (isQuoteLike(c))
        return QStringLiteral("'");
    if (isDashLike(c))
        return QStringLiteral("-");
    const QString decomposed = QString::fromUcs4(&c, 1).normalized(QString::NormalizationForm_D);
    // The longest run of the decomposition held by Latin-1, marks dropped.
    QString kept;
    for (const QChar ch : decomposed) {
        if (ch.unicode() <= 0xFF) {
            kept += ch;
        } else if (ch.category() != QChar::Mark_NonSpacing) {
            const QString ascii = transliterated("Latin-ASCII", QString::fromUcs4(&c, 1));
            for (const QChar a : ascii) {
                if (a.unicode() > 0x7F || a.unicode() < 0x20)
                    return QStringLiteral("_");
            }
            return ascii.isEmpty() ? QStringLiteral("_") : ascii;
        }
    }
    return kept.isEmpty() ? QStringLiteral("_") : kept;
}

void appendHoldable(QString& out, uint c)
{
    if (c <= 0xFF)
        out += refusedByFat(c) ? QChar(QLatin1Char('_')) : QChar(c);
    else
        out += latin1Fallback(c);
}

QString mapCharacters(const QString& name)
{
    const QVector<uint> codes = name.toUcs4();
    QString out;
    out.reserve(name.size());
    for (int i = 0; i < codes.size();) {
        const uint c = codes[i];
        if (c <= 0xFF || isQuoteLike(c) || isDashLike(c)) {
            appendHoldable(out, c);
            ++i;
            continue;
        }
        // A run of another script is written in Latin letters as a whole,
        // so the transform sees each word together.
        int end = i;
        while (end < codes.size() && codes[end] > 0xFF && !isQuoteLike(codes[end]) && !isDashLike(codes[end]))
            ++end;
        for (const uint t : transliterated("Any-Latin", QString::fromUcs4(codes.constData() + i, end - i)).toUcs4())
            appendHoldable(out, t);
        i = end;
    }
    return out;
}

// `stem` + `ext` cut to `room` characters at most; empty when the extension
// alone does not fit.
QString fitted(const QString& stem, const QString& ext, int room)
{
    if (ext.size() + 1 > room)
        return QString();
    return stem.left(room - ext.size()) + ext;
}

} // namespace

namespace MemoryNames {

QString holdableName(const QString& name)
{
    QString mapped = mapCharacters(name);
    while (mapped.endsWith(QLatin1Char('.')) || mapped.endsWith(QLatin1Char(' ')))
        mapped.chop(1);
    const int dot = mapped.lastIndexOf(QLatin1Char('.'));
    QString stem = dot > 0 ? mapped.left(dot) : mapped;
    const QString ext = dot > 0 ? mapped.mid(dot) : QString();
    // A leading dot hides the file, and marks the program's own temporary files.
    while (stem.startsWith(QLatin1Char('.')))
        stem.remove(0, 1);
    if (stem.isEmpty())
        stem = QStringLiteral("_");
    return stem + ext;
}

bool isHoldable(const QString& name)
{
    return !name.isEmpty() && holdableName(name) == name;
}

QStringList transferNames(const QStringList& fileNames, const QString& relativeDir)
{
    const int room = kMaxRelativePath - relativeDir.size() - 1;
    QSet<QString> taken;
    QStringList names;
    names.reserve(fileNames.size());
    for (const QString& fileName : fileNames) {
        const QString holdable = holdableName(fileName);
        const int dot = holdable.lastIndexOf(QLatin1Char('.'));
        const QString stem = dot > 0 ? holdable.left(dot) : holdable;
        const QString ext = dot > 0 ? holdable.mid(dot) : QString();

        QString name = fitted(stem, ext, room);
        for (int n = 2; !name.isEmpty() && taken.contains(name.toCaseFolded()); ++n) {
            const QString number = QStringLiteral(" (%1)").arg(n);
            name = fitted(stem.left(qMax(0, room - ext.size() - number.size())) + number, ext, room);
        }
        if (!name.isEmpty())
            taken.insert(name.toCaseFolded());
        names << name;
    }
    return names;
}

QString companionName(const QString& songName)
{
    const int dot = songName.lastIndexOf(QLatin1Char('.'));
    return (dot > 0 ? songName.left(dot) : songName) + QStringLiteral(".cdg");
}

} // namespace MemoryNames
