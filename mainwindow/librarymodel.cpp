#include "mainwindow/librarymodel.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

LibraryModel::LibraryModel(QObject* parent, QSqlDatabase db) : UserSongsRelTableModel(parent, db)
{
}

QVariant LibraryModel::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole && role != Qt::DecorationRole && role != Qt::ToolTipRole)
        return UserSongsRelTableModel::data(index, role);

    if (index.column() != colIdxStatus()) {
        if (role != Qt::ToolTipRole)
            return UserSongsRelTableModel::data(index, role);
        const QString text = UserSongsRelTableModel::data(index, Qt::DisplayRole).toString();
        return text.isEmpty() ? QVariant() : QVariant(text);
    }

    const int status = UserSongsRelTableModel::data(index, Qt::EditRole).toInt();
    switch (role) {
    case Qt::DisplayRole:
        return statusText(status);
    case Qt::DecorationRole: {
        const QIcon icon = statusIcon(status);
        return icon.isNull() ? QVariant() : QVariant(icon);
    }
    default: {
        const qint64 id = UserSongsRelTableModel::data(index.siblingAtColumn(0), Qt::EditRole).toLongLong();
        const QString reason = reasons.value(id);
        return reason.isEmpty() ? statusToolTip(status) : statusToolTip(status) + QStringLiteral(":\n") + reason;
    }
    }
}

void LibraryModel::setStatusReason(qint64 id, const QString& reason)
{
    if (reason.isEmpty())
        reasons.remove(id);
    else
        reasons.insert(id, reason);
}

void LibraryModel::clearStatusReasons()
{
    reasons.clear();
}

QString LibraryModel::statusText(int status)
{
    switch (status) {
    case Database::StatusUpdated:
        return tr("Aggiornata");
    case Database::StatusManual:
        return tr("Modificata");
    case Database::StatusNotUpdated:
        return tr("Non aggiornata");
    case Database::StatusNotFound:
        return tr("Non trovata");
    case Database::StatusLeftUnchanged:
        return tr("Invariata");
    case Database::StatusUnreadable:
        return tr("Illeggibile");
    case Database::StatusNotSaved:
        return tr("Non salvata");
    default:
        return QString();
    }
}

QString LibraryModel::statusToolTip(int status)
{
    switch (status) {
    case Database::StatusUpdated:
        return tr("Completata dal database Tavrel e salvata nel file");
    case Database::StatusManual:
        return tr("Modificata a mano e salvata nel file");
    case Database::StatusNotUpdated:
        return tr("Il file non è stato aggiornato");
    case Database::StatusNotFound:
        return tr("La song non è nel database Tavrel: il file non è stato modificato");
    case Database::StatusLeftUnchanged:
        return tr("Non pubblicata da Tavrel: lasciata invariata come richiesto");
    case Database::StatusUnreadable:
        return tr("Non è stato possibile leggere il file");
    case Database::StatusNotSaved:
        return tr("Non è stato possibile salvare il file");
    default:
        return tr("Non ancora sincronizzata");
    }
}

QIcon LibraryModel::statusIcon(int status)
{
    enum signEnum { SignCheck, SignPen, SignQuestion, SignDash, SignBang, SignCross };
    QColor colour;
    signEnum sign;
    switch (status) {
    case Database::StatusUpdated:
        colour = QColor(0x2e, 0x9d, 0x44);
        sign = SignCheck;
        break;
    case Database::StatusManual:
        colour = QColor(0x2f, 0x6f, 0xc4);
        sign = SignPen;
        break;
    case Database::StatusNotFound:
        colour = QColor(0x80, 0x80, 0x80);
        sign = SignQuestion;
        break;
    case Database::StatusNotUpdated:
    case Database::StatusLeftUnchanged:
        colour = QColor(0xc9, 0x9a, 0x1c);
        sign = SignDash;
        break;
    case Database::StatusUnreadable:
        colour = QColor(0xe0, 0x6c, 0x10);
        sign = SignBang;
        break;
    case Database::StatusNotSaved:
        colour = QColor(0xc8, 0x26, 0x26);
        sign = SignCross;
        break;
    default:
        return QIcon();
    }

    static QHash<int, QIcon> drawn;
    const auto found = drawn.constFind(status);
    if (found != drawn.constEnd())
        return found.value();

    // Drawn at twice the size the table shows, for sharp high-density screens.
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawEllipse(QRectF(1, 1, 30, 30));
    p.setPen(QPen(Qt::white, 4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    switch (sign) {
    case SignCheck:
        p.drawPolyline(QPolygonF({QPointF(9, 16.5), QPointF(14, 21.5), QPointF(23, 11)}));
        break;
    case SignPen:
        p.drawLine(QPointF(10, 22), QPointF(21, 11));
        p.drawLine(QPointF(9, 23), QPointF(9.5, 22.5));
        break;
    case SignQuestion: {
        QPainterPath hook;
        hook.moveTo(11, 12.5);
        hook.cubicTo(11, 6.5, 21, 6.5, 21, 12.5);
        hook.cubicTo(21, 16, 16, 16, 16, 19.5);
        p.drawPath(hook);
        p.drawPoint(QPointF(16, 24.5));
        break;
    }
    case SignDash:
        p.drawLine(QPointF(9, 16), QPointF(23, 16));
        break;
    case SignBang:
        p.drawLine(QPointF(16, 8), QPointF(16, 18));
        p.drawPoint(QPointF(16, 24));
        break;
    case SignCross:
        p.drawLine(QPointF(11, 11), QPointF(21, 21));
        p.drawLine(QPointF(21, 11), QPointF(11, 21));
        break;
    }
    p.end();
    return drawn.insert(status, QIcon(pixmap)).value();
}
