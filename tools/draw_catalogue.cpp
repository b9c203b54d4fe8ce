// Draws the packaged collection: for each entry a grid of pictures on a
// transparent background (PNG) and its record text, plus the program icon.
// Run once by hand; its output is committed under src/res.
//   draw_catalogue <src/res folder>
#include <QColor>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QtMath>

#include <cstdio>
#include <functional>

namespace {

constexpr int kCell = 64;

using DrawCell = std::function<void(QPainter&, int index, QColor color)>;

struct Entry {
    const char* name;
    int stepSize;
    int across;
    int down;
    int hue;
    DrawCell draw;
};

QPainterPath star(int points, qreal outer, qreal inner)
{
    QPainterPath path;
    for (int i = 0; i < points * 2; ++i) {
        const qreal radius = (i % 2) ? inner : outer;
        const qreal angle = M_PI * i / points - M_PI / 2;
        const QPointF p(radius * qCos(angle), radius * qSin(angle));
        if (i == 0)
            path.moveTo(p);
        else
            path.lineTo(p);
    }
    path.closeSubpath();
    return path;
}

void drawFern(QPainter& p, int index, QColor color)
{
    p.rotate(-30 + index * 9);
    p.setPen(QPen(color.darker(150), 2));
    p.drawLine(QPointF(0, 26), QPointF(0, -26));
    p.setPen(Qt::NoPen);
    p.setBrush(color);
    for (int i = 0; i < 6; ++i) {
        const qreal y = 20 - i * 8;
        const qreal length = 16 - i * 2;
        p.drawEllipse(QRectF(1, y - 3, length, 6));
        p.drawEllipse(QRectF(-1 - length, y - 3, length, 6));
    }
}

void drawPebble(QPainter& p, int index, QColor color)
{
    p.rotate(index * 23);
    QRadialGradient shade(QPointF(-6, -6), 26);
    shade.setColorAt(0, color.lighter(150));
    shade.setColorAt(1, color.darker(130));
    p.setBrush(shade);
    p.setPen(Qt::NoPen);
    p.drawEllipse(QRectF(-22 + index % 3, -14 - index % 4, 44 - index % 5, 28 + index % 3));
}

void drawStar(QPainter& p, int index, QColor color)
{
    p.rotate(index * 11);
    p.setBrush(color);
    p.setPen(QPen(color.darker(140), 1.5));
    p.drawPath(star(5 + index % 3, 26 - index % 4, 11));
}

void drawRaindrop(QPainter& p, int index, QColor color)
{
    p.rotate(index * 12 - 12);
    QPainterPath drop;
    drop.moveTo(0, -26);
    drop.cubicTo(14, -4, 18, 8, 0, 24);
    drop.cubicTo(-18, 8, -14, -4, 0, -26);
    QLinearGradient fill(0, -26, 0, 24);
    fill.setColorAt(0, color.lighter(160));
    fill.setColorAt(1, color);
    p.setBrush(fill);
    p.setPen(QPen(color.darker(130), 1.5));
    p.drawPath(drop);
}

void drawPetal(QPainter& p, int index, QColor color)
{
    p.rotate(index * 36);
    QPainterPath petal;
    petal.moveTo(0, 26);
    petal.quadTo(24, 0, 0, -26);
    petal.quadTo(-24, 0, 0, 26);
    p.setBrush(color);
    p.setPen(QPen(color.darker(130), 1));
    p.drawPath(petal);
    p.setPen(QPen(color.lighter(140), 1));
    p.drawLine(QPointF(0, 22), QPointF(0, -20));
}

void drawBubble(QPainter& p, int index, QColor color)
{
    const qreal radius = 14 + (index * 5) % 12;
    QColor rim = color;
    rim.setAlpha(220);
    QColor inside = color.lighter(170);
    inside.setAlpha(70);
    p.setBrush(inside);
    p.setPen(QPen(rim, 2));
    p.drawEllipse(QPointF(0, 0), radius, radius);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 200));
    p.drawEllipse(QPointF(-radius / 2.5, -radius / 2.5), radius / 5, radius / 5);
}

void drawSnowflake(QPainter& p, int index, QColor color)
{
    p.rotate(index * 7);
    p.setPen(QPen(color, 2.5, Qt::SolidLine, Qt::RoundCap));
    for (int arm = 0; arm < 6; ++arm) {
        p.drawLine(QPointF(0, 0), QPointF(0, -26));
        const qreal branch = 8 + index % 4;
        p.drawLine(QPointF(0, -14), QPointF(branch / 1.4, -14 - branch / 1.4));
        p.drawLine(QPointF(0, -14), QPointF(-branch / 1.4, -14 - branch / 1.4));
        p.rotate(60);
    }
}

void drawShell(QPainter& p, int index, QColor color)
{
    p.rotate(index * 18);
    QPainterPath shell;
    shell.moveTo(0, 22);
    for (int i = 0; i <= 12; ++i) {
        const qreal angle = M_PI + M_PI * i / 12;
        shell.lineTo(24 * qCos(angle), 4 + 24 * qSin(angle));
    }
    shell.closeSubpath();
    p.setBrush(color);
    p.setPen(QPen(color.darker(150), 1.5));
    p.drawPath(shell);
    for (int i = 1; i < 6; ++i) {
        const qreal angle = M_PI + M_PI * i / 6;
        p.drawLine(QPointF(0, 22), QPointF(24 * qCos(angle), 4 + 24 * qSin(angle)));
    }
}

const Entry kEntries[] = {
    {"Fern", 240, 4, 2, 110, drawFern},
    {"Pebbles", 200, 5, 3, 30, drawPebble},
    {"Stars", 260, 4, 4, 50, drawStar},
    {"Raindrops", 220, 3, 1, 205, drawRaindrop},
    {"Petals", 280, 5, 2, 330, drawPetal},
    {"Bubbles", 300, 3, 3, 185, drawBubble},
    {"Snowflakes", 250, 4, 3, 220, drawSnowflake},
    {"Shells", 230, 5, 4, 15, drawShell},
};

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QImage drawGrid(const Entry& entry)
{
    QImage image(entry.across * kCell, entry.down * kCell, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    int index = 0;
    for (int row = 0; row < entry.down; ++row) {
        for (int column = 0; column < entry.across; ++column, ++index) {
            painter.save();
            painter.translate(column * kCell + kCell / 2, row * kCell + kCell / 2);
            const QColor color
                = QColor::fromHsv((entry.hue + index * 9) % 360, 150 + (index * 13) % 90, 170 + (index * 7) % 70);
            entry.draw(painter, index, color);
            painter.restore();
        }
    }
    return image;
}

QByteArray recordText(const Entry& entry)
{
    const QString text = QStringLiteral("\r\nVornName:%1\r\nVornFile:%1.vrn\r\nStepSize:%2\r\n"
                                        "VornsAcross:%3\r\nVornsDown:%4\r\nTotalVorns:%5\r\n"
                                        "VornPlacementMode:0\r\nVornSelectionMode:0\r\n\r\n")
                             .arg(QString::fromLatin1(entry.name))
                             .arg(entry.stepSize)
                             .arg(entry.across)
                             .arg(entry.down)
                             .arg(entry.across * entry.down);
    return text.toLatin1();
}

QImage drawIcon(int size)
{
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 256.0, size / 256.0);
    // A rounded tile with a spray of little pictures and a quill across it.
    QLinearGradient tile(0, 0, 0, 256);
    tile.setColorAt(0, QColor(0x3a, 0x6e, 0xa5));
    tile.setColorAt(1, QColor(0x23, 0x45, 0x70));
    p.setBrush(tile);
    p.setPen(Qt::NoPen);
    p.drawRoundedRect(QRectF(8, 8, 240, 240), 44, 44);
    const struct {
        qreal x, y, r;
        int hue;
    } dots[] = {{70, 180, 26, 110}, {118, 196, 18, 50}, {160, 176, 22, 330}, {196, 150, 14, 185}};
    for (const auto& d : dots) {
        p.save();
        p.translate(d.x, d.y);
        p.scale(d.r / 26.0, d.r / 26.0);
        p.setBrush(QColor::fromHsv(d.hue, 170, 240));
        p.setPen(Qt::NoPen);
        p.drawPath(star(5, 26, 11));
        p.restore();
    }
    QPainterPath quill;
    quill.moveTo(210, 40);
    quill.cubicTo(150, 50, 90, 110, 62, 168);
    quill.cubicTo(110, 130, 170, 100, 210, 40);
    p.setBrush(QColor(0xf4, 0xf1, 0xe8));
    p.setPen(QPen(QColor(0xc9, 0xc2, 0xae), 3));
    p.drawPath(quill);
    p.setPen(QPen(QColor(0x8a, 0x80, 0x6a), 4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(206, 44), QPointF(56, 196));
    return image;
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: draw_catalogue <src/res folder>\n");
        return 2;
    }
    const QString res = QString::fromLocal8Bit(argv[1]);
    int k = 1;
    for (const Entry& entry : kEntries) {
        const QString base = res + QStringLiteral("/catalogue/vorn%1").arg(k++);
        if (!drawGrid(entry).save(base + QStringLiteral(".png"), "PNG", 9)
            || !writeFile(base + QStringLiteral(".ctl"), recordText(entry))) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(base));
            return 1;
        }
    }
    for (int size : {48, 128, 256}) {
        if (!drawIcon(size).save(res + QStringLiteral("/icons/quillop-%1.png").arg(size), "PNG", 9)) {
            std::fprintf(stderr, "cannot write the icon\n");
            return 1;
        }
    }
    return 0;
}
