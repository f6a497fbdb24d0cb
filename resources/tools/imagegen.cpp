// Draws the program's images (logos and the three large buttons' backgrounds)
// into the folder given as the only argument. Run at build time; the images
// are compiled into the resources under ":/imgs/".

#include <QtMath>
#include <QDir>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QTextStream>

#include <functional>

namespace {

const QColor kDarkBlue(0x10, 0x71, 0x9C);
const QColor kDeepBlue(0x00, 0x51, 0x73);
const QColor kOrange(0xFF, 0xB6, 0x4A);
const QColor kGrey(0xCD, 0xCD, 0xCD);
const QColor kWhite(0xFF, 0xFF, 0xFF);

QFont boldFont(int pixelSize)
{
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setStyleHint(QFont::SansSerif);
    f.setBold(true);
    f.setPixelSize(pixelSize);
    return f;
}

QImage blank(int w, int h)
{
    QImage img(w, h, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    return img;
}

// The maker's emblem: a ring with a stylised "T" under a stave line.
void drawEmblem(QPainter& p, const QRectF& r)
{
    const qreal s = r.width();
    QRadialGradient bg(r.center(), s / 2);
    bg.setColorAt(0.0, kDarkBlue.lighter(130));
    bg.setColorAt(1.0, kDeepBlue);
    p.setPen(QPen(kWhite, s * 0.04));
    p.setBrush(bg);
    p.drawEllipse(r.adjusted(s * 0.04, s * 0.04, -s * 0.04, -s * 0.04));

    p.setPen(QPen(kOrange, s * 0.025));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(r.adjusted(s * 0.13, s * 0.13, -s * 0.13, -s * 0.13));

    QFont f = boldFont(qRound(s * 0.5));
    p.setFont(f);
    p.setPen(kWhite);
    p.drawText(r.adjusted(0, s * 0.04, 0, 0), Qt::AlignCenter, QStringLiteral("T"));

    // A note head with its stem, right of the letter.
    p.setPen(Qt::NoPen);
    p.setBrush(kOrange);
    const QPointF head(r.left() + s * 0.68, r.top() + s * 0.66);
    p.save();
    p.translate(head);
    p.rotate(-25);
    p.drawEllipse(QRectF(-s * 0.06, -s * 0.04, s * 0.12, s * 0.08));
    p.restore();
    p.fillRect(QRectF(head.x() + s * 0.045, r.top() + s * 0.36, s * 0.02, s * 0.3), kOrange);
}

QImage makeEmblem(int size)
{
    QImage img = blank(size, size);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    drawEmblem(p, QRectF(0, 0, size, size));
    return img;
}

// The product's word mark: "ORVALO3" with "SOFT" and a sound wave.
QImage makeProductLogo()
{
    const int w = 806, h = 116;
    QImage img = blank(w, h);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);

    QPainterPath wave;
    wave.moveTo(8, h / 2.0);
    for (int x = 8; x <= 150; ++x) {
        const qreal t = (x - 8) / 142.0;
        const qreal amp = 40 * qSin(t * M_PI);
        wave.lineTo(x, h / 2.0 - amp * qSin(t * 6 * M_PI));
    }
    p.setPen(QPen(kOrange, 6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(wave);

    QPainterPath word;
    word.addText(170, 88, boldFont(84), QStringLiteral("ORVALO3"));
    p.setPen(QPen(kDeepBlue, 4));
    p.setBrush(kWhite);
    p.drawPath(word);

    const qreal right = word.boundingRect().right();
    QPainterPath soft;
    soft.addText(right + 18, 88, boldFont(40), QStringLiteral("SOFT"));
    p.setPen(Qt::NoPen);
    p.setBrush(kOrange);
    p.drawPath(soft);
    return img;
}

enum class ButtonState { Unpressed, Hover, Disabled };

void drawOpenPictogram(QPainter& p, const QRectF& r, const QColor& c)
{
    // A folder with a note on it.
    QPainterPath folder;
    folder.moveTo(r.left(), r.top() + r.height() * 0.2);
    folder.lineTo(r.left() + r.width() * 0.35, r.top() + r.height() * 0.2);
    folder.lineTo(r.left() + r.width() * 0.45, r.top() + r.height() * 0.32);
    folder.lineTo(r.right(), r.top() + r.height() * 0.32);
    folder.lineTo(r.right(), r.bottom());
    folder.lineTo(r.left(), r.bottom());
    folder.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(c);
    p.drawPath(folder);
    p.setBrush(kDarkBlue);
    const QPointF head(r.center().x() - r.width() * 0.05, r.bottom() - r.height() * 0.2);
    p.drawEllipse(head, r.width() * 0.11, r.height() * 0.08);
    p.fillRect(QRectF(head.x() + r.width() * 0.08, r.top() + r.height() * 0.42,
                      r.width() * 0.05, r.height() * 0.36), kDarkBlue);
}

void drawSyncPictogram(QPainter& p, const QRectF& r, const QColor& c)
{
    // Two arrows turning round each other.
    const qreal pen = r.width() * 0.12;
    const QRectF arc = r.adjusted(pen, pen, -pen, -pen);
    p.setPen(QPen(c, pen, Qt::SolidLine, Qt::FlatCap));
    p.setBrush(Qt::NoBrush);
    p.drawArc(arc, 30 * 16, 140 * 16);
    p.drawArc(arc, 210 * 16, 140 * 16);
    p.setPen(Qt::NoPen);
    p.setBrush(c);
    const qreal a = pen * 1.3;
    for (int i = 0; i < 2; ++i) {
        const qreal ang = qDegreesToRadians(i == 0 ? 30.0 : 210.0);
        const QPointF tip(arc.center().x() + arc.width() / 2 * qCos(ang),
                          arc.center().y() - arc.height() / 2 * qSin(ang));
        const qreal dir = (i == 0 ? 1 : -1);
        QPolygonF tri;
        tri << QPointF(tip.x() - a, tip.y() - dir * a * 0.2) << QPointF(tip.x() + a, tip.y() - dir * a * 0.2)
            << QPointF(tip.x(), tip.y() + dir * a);
        p.drawPolygon(tri);
    }
}

void drawTransferPictogram(QPainter& p, const QRectF& r, const QColor& c)
{
    // A memory card with an arrow going into it.
    QPainterPath card;
    const QRectF body(r.left() + r.width() * 0.3, r.top() + r.height() * 0.3, r.width() * 0.7, r.height() * 0.7);
    card.moveTo(body.left() + body.width() * 0.25, body.top());
    card.lineTo(body.right(), body.top());
    card.lineTo(body.right(), body.bottom());
    card.lineTo(body.left(), body.bottom());
    card.lineTo(body.left(), body.top() + body.height() * 0.25);
    card.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(c);
    p.drawPath(card);
    for (int i = 0; i < 4; ++i)
        p.fillRect(QRectF(body.left() + body.width() * (0.3 + i * 0.16), body.top() + body.height() * 0.08,
                          body.width() * 0.08, body.height() * 0.22), kDarkBlue);
    // The arrow: a thick shaft from the upper left with its head on the card.
    const QColor arrowColour = (c == kOrange) ? kWhite : kOrange;
    const QPointF from(r.left() + r.width() * 0.02, r.top() + r.height() * 0.02);
    const QPointF to(r.left() + r.width() * 0.5, r.top() + r.height() * 0.5);
    p.setPen(QPen(arrowColour, r.width() * 0.12, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(from, QPointF(to.x() - r.width() * 0.08, to.y() - r.height() * 0.08));
    p.setPen(Qt::NoPen);
    p.setBrush(arrowColour);
    QPolygonF head;
    head << QPointF(to.x() + r.width() * 0.1, to.y() + r.height() * 0.1)
         << QPointF(to.x() - r.width() * 0.22, to.y() - r.height() * 0.02)
         << QPointF(to.x() - r.width() * 0.02, to.y() - r.height() * 0.22);
    p.drawPolygon(head);
}

using Pictogram = std::function<void(QPainter&, const QRectF&, const QColor&)>;

// A rounded dark blue plate with a pictogram at its left; the button's own
// text is drawn over the rest of the plate by the style.
QImage makeButton(int w, int h, ButtonState state, const Pictogram& pictogram)
{
    QImage img = blank(w, h);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);

    QColor top = kDarkBlue.lighter(125), bottom = kDeepBlue, border = kWhite, mark = kWhite;
    if (state == ButtonState::Hover) {
        top = kDarkBlue.lighter(150);
        bottom = kDarkBlue;
        border = kOrange;
        mark = kOrange;
    } else if (state == ButtonState::Disabled) {
        top = QColor(0x8A, 0xA9, 0xB8);
        bottom = QColor(0x6E, 0x8C, 0x9A);
        border = kGrey;
        mark = kGrey;
    }
    QLinearGradient g(0, 0, 0, h);
    g.setColorAt(0, top);
    g.setColorAt(1, bottom);
    p.setPen(QPen(border, 2));
    p.setBrush(g);
    p.drawRoundedRect(QRectF(1, 1, w - 2, h - 2), 10, 10);

    // Gloss on the upper half.
    QLinearGradient gloss(0, 0, 0, h / 2.0);
    gloss.setColorAt(0, QColor(255, 255, 255, 70));
    gloss.setColorAt(1, QColor(255, 255, 255, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(gloss);
    p.drawRoundedRect(QRectF(3, 3, w - 6, h / 2.0 - 3), 8, 8);

    pictogram(p, QRectF(14, 10, h - 20, h - 20), mark);
    return img;
}

bool save(const QImage& img, const QDir& dir, const QString& name)
{
    const QString path = dir.filePath(name + QStringLiteral(".png"));
    if (!img.save(path, "PNG")) {
        QTextStream(stderr) << "imagegen: cannot write " << path << '\n';
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        QTextStream(stderr) << "usage: imagegen <output folder>\n";
        return 2;
    }
    QDir dir(QString::fromLocal8Bit(argv[1]));
    if (!dir.mkpath(QStringLiteral("."))) {
        QTextStream(stderr) << "imagegen: cannot create " << dir.path() << '\n';
        return 1;
    }

    bool ok = save(makeProductLogo(), dir, QStringLiteral("logo-orvalo3"));
    ok = save(makeEmblem(150), dir, QStringLiteral("logo-tavrel")) && ok;
    ok = save(makeEmblem(512), dir, QStringLiteral("logo-tavrel_512")) && ok;

    struct Button { const char* name; int width; Pictogram pictogram; };
    const Button buttons[] = {
        {"button_open", 540, drawOpenPictogram},
        {"button_sync", 321, drawSyncPictogram},
        {"button_transfer", 321, drawTransferPictogram},
    };
    const struct { const char* suffix; ButtonState state; } states[] = {
        {"_unpressed", ButtonState::Unpressed}, {"_hover", ButtonState::Hover}, {"_disabled", ButtonState::Disabled}};
    for (const Button& b : buttons)
        for (const auto& s : states)
            ok = save(makeButton(b.width, 60, s.state, b.pictogram), dir,
                      QString::fromLatin1(b.name) + QString::fromLatin1(s.suffix)) && ok;
    return ok ? 0 : 1;
}
