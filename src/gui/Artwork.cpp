#include "gui/Artwork.h"

#include "common/ProgramInfo.h"

#include <QCoreApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QSvgRenderer>
#include <cmath>

namespace vg {

namespace {

constexpr double Pi = 3.14159265358979323846;

// The icon file an installation puts into the icon theme, built into the program.
const QString BuiltInIconFile = QStringLiteral(":/vg-config/program-icon.svg");

QPointF OnCircle(QPointF centre, double radius, double degrees) {
    const double rad = degrees * Pi / 180.0;
    return {centre.x() + radius * std::cos(rad), centre.y() - radius * std::sin(rad)};
}

void PaintTool(QPainter& p, QRectF spindle) {
    // A drill held in the spindle, its tip the object the scanner looks for.
    QPainterPath drill;
    const double cx = spindle.center().x();
    drill.moveTo(cx - 7, spindle.bottom());
    drill.lineTo(cx + 7, spindle.bottom());
    drill.lineTo(cx + 7, spindle.bottom() + 92);
    drill.lineTo(cx, spindle.bottom() + 108);
    drill.lineTo(cx - 7, spindle.bottom() + 92);
    drill.closeSubpath();
    QLinearGradient steel(cx - 7, 0, cx + 7, 0);
    steel.setColorAt(0, QColor(120, 128, 140));
    steel.setColorAt(0.5, QColor(230, 234, 240));
    steel.setColorAt(1, QColor(100, 108, 118));
    p.setPen(QPen(QColor(60, 64, 72), 1));
    p.setBrush(steel);
    p.drawPath(drill);
    for (int i = 0; i < 6; ++i) {
        const double y = spindle.bottom() + 14 + i * 13;
        p.drawLine(QPointF(cx - 7, y), QPointF(cx + 7, y + 7));
    }
    QLinearGradient body(spindle.left(), 0, spindle.right(), 0);
    body.setColorAt(0, QColor(70, 80, 96));
    body.setColorAt(0.5, QColor(150, 162, 180));
    body.setColorAt(1, QColor(60, 68, 82));
    p.setBrush(body);
    p.drawRoundedRect(spindle, 4, 4);
}

void PaintScanner(QPainter& p, QPointF pivot, double angle) {
    // The scanner's sweep: a fan from zero up to the taught angle, the beam at its end.
    p.setPen(Qt::NoPen);
    QRadialGradient fan(pivot, 150);
    fan.setColorAt(0, QColor(0x80, 0xFF, 0x80, 150));
    fan.setColorAt(1, QColor(0x80, 0xFF, 0x80, 20));
    p.setBrush(fan);
    p.drawPie(QRectF(pivot.x() - 150, pivot.y() - 150, 300, 300), 0, static_cast<int>(angle * 16));
    p.setPen(QPen(QColor(0xFF, 0x40, 0x20), 2));
    p.drawLine(pivot, OnCircle(pivot, 150, angle));
    p.setPen(QPen(QColor(40, 44, 52), 1));
    for (int deg = 0; deg <= 180; deg += 15) {
        p.drawLine(OnCircle(pivot, 154, deg), OnCircle(pivot, deg % 45 == 0 ? 166 : 160, deg));
    }
    p.setBrush(QColor(40, 44, 52));
    p.drawEllipse(pivot, 14, 14);
    p.setBrush(QColor(0xFF, 0x40, 0x20));
    p.drawEllipse(pivot, 4, 4);
}

} // namespace

void PaintMainPicture(QPainter& p, const QRect& area) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(area.topLeft(), area.bottomLeft());
    sky.setColorAt(0, QColor(34, 52, 84));
    sky.setColorAt(1, QColor(12, 18, 30));
    p.fillRect(area, sky);
    const QPointF pivot(area.left() + area.width() * 0.36, area.top() + area.height() * 0.80);
    PaintScanner(p, pivot, 64);
    const QPointF tip = OnCircle(pivot, 150, 64);
    PaintTool(p, QRectF(tip.x() - 22, area.top() + 18, 44, tip.y() - area.top() - 126));
    p.setPen(QColor(230, 236, 245));
    QFont title(QStringLiteral("Sans Serif"));
    title.setPixelSize(34);
    title.setBold(true);
    p.setFont(title);
    p.drawText(QRectF(area.left() + area.width() * 0.58, area.top() + 60, area.width() * 0.4, 44),
               Qt::AlignLeft, QStringLiteral("VG-Config"));
    QFont sub = title;
    sub.setPixelSize(14);
    sub.setBold(false);
    p.setFont(sub);
    p.drawText(QRectF(area.left() + area.width() * 0.58, area.top() + 108, area.width() * 0.4, 60),
               Qt::AlignLeft | Qt::TextWordWrap,
               QCoreApplication::translate("vg::Artwork",
                                           "Tool monitoring:\nconfiguration and diagnosis"));
    p.restore();
}

QPixmap MainPicture() {
    QPixmap picture(480, 300);
    QPainter painter(&picture);
    PaintMainPicture(painter, picture.rect());
    return picture;
}

QIcon ProgramIcon() {
    return QIcon::fromTheme(QString::fromLatin1(DesktopId), QIcon(BuiltInIconFile));
}

QPixmap ProgramIconPixmap(int size) {
    QPixmap icon(size, size);
    icon.fill(Qt::transparent);
    QPainter painter(&icon);
    QSvgRenderer(BuiltInIconFile).render(&painter);
    return icon;
}

} // namespace vg
