#include "art.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <cmath>
#include <cstdint>

namespace demoart {

namespace {

// A fixed pseudo-random sequence, so every build draws the same pictures.
class Dice {
public:
    explicit Dice(std::uint32_t seed) : m_state(seed) {}
    double next() // in [0, 1)
    {
        m_state = m_state * 1664525u + 1013904223u;
        return double(m_state >> 8) / double(1u << 24);
    }
    double between(double low, double high) { return low + (high - low) * next(); }

private:
    std::uint32_t m_state;
};

QColor rgba(int r, int g, int b, int a) {
    return QColor(r, g, b, a);
}

// A soft round light: full colour in the middle, fading to nothing at the radius.
void softLight(QPainter& p, QPointF centre, double radius, QColor colour, double core = 0.0) {
    QRadialGradient g(centre, radius);
    QColor edge = colour;
    edge.setAlpha(0);
    g.setColorAt(0, colour);
    if (core > 0)
        g.setColorAt(core, colour);
    g.setColorAt(1, edge);
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawEllipse(centre, radius, radius);
}

// A light beam falling from a point above the top edge, fading towards its end.
void beam(QPainter& p, QPointF source, QPointF target, double spread, QColor colour) {
    const QPointF dir = target - source;
    const double length = std::hypot(dir.x(), dir.y());
    const QPointF across(-dir.y() / length * spread, dir.x() / length * spread);
    QPainterPath cone;
    cone.moveTo(source);
    cone.lineTo(target + across);
    cone.lineTo(target - across);
    cone.closeSubpath();
    QLinearGradient g(source, target);
    QColor end = colour;
    end.setAlpha(0);
    g.setColorAt(0, colour);
    g.setColorAt(1, end);
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawPath(cone);
}

void vignette(QPainter& p, QSize size, int darkness) {
    const QPointF centre(size.width() / 2.0, size.height() * 0.45);
    QRadialGradient g(centre, std::hypot(size.width(), size.height()) * 0.6);
    g.setColorAt(0, rgba(0, 0, 0, 0));
    g.setColorAt(0.55, rgba(0, 0, 0, 0));
    g.setColorAt(1, rgba(0, 0, 0, darkness));
    p.fillRect(QRect(QPoint(0, 0), size), g);
}

// Scattered out-of-focus lights in a band of the picture.
void bokeh(QPainter& p, Dice& dice, QRectF band, int count, const QList<QColor>& colours,
           double minRadius, double maxRadius, int minAlpha, int maxAlpha) {
    for (int i = 0; i < count; ++i) {
        const QPointF c(dice.between(band.left(), band.right()),
                        dice.between(band.top(), band.bottom()));
        const double r = dice.between(minRadius, maxRadius);
        QColor colour = colours[qsizetype(dice.next() * double(colours.size())) % colours.size()];
        colour.setAlpha(int(dice.between(minAlpha, maxAlpha)));
        softLight(p, c, r, colour, 0.55);
    }
}

QFont greetingFont(int pixels, bool bold) {
    QFont f(QStringLiteral("黑体"));
    f.setPixelSize(pixels);
    f.setBold(bold);
    f.setStyleStrategy(QFont::PreferAntialias);
    return f;
}

// Text centred on a point, as a path, so that it can carry a gradient and a glow.
QPainterPath centredText(const QString& text, const QFont& font, QPointF centre) {
    QPainterPath path;
    path.addText(0, 0, font, text);
    const QRectF box = path.boundingRect();
    path.translate(centre - box.center());
    return path;
}

void glowText(QPainter& p, const QPainterPath& text, QColor glow, int rings, double step) {
    p.setBrush(Qt::NoBrush);
    for (int i = rings; i >= 1; --i) {
        QColor c = glow;
        c.setAlphaF(glow.alphaF() / float(rings));
        p.setPen(QPen(c, step * i, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPath(text);
    }
}

} // namespace

QImage stageBackground(QSize size) {
    QImage image(size, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const double w = size.width();
    const double h = size.height();

    QLinearGradient sky(0, 0, 0, h);
    sky.setColorAt(0.0, QColor(0x16, 0x10, 0x3a));
    sky.setColorAt(0.45, QColor(0x0d, 0x0b, 0x2a));
    sky.setColorAt(0.8, QColor(0x0a, 0x08, 0x1e));
    sky.setColorAt(1.0, QColor(0x1c, 0x0c, 0x2c));
    p.fillRect(image.rect(), sky);

    // Stage lights from above: kept faint so that white and gold text stays sharp over them.
    p.setCompositionMode(QPainter::CompositionMode_Plus);
    beam(p, {w * 0.12, -h * 0.08}, {w * 0.30, h * 1.0}, w * 0.10, rgba(70, 60, 140, 36));
    beam(p, {w * 0.50, -h * 0.10}, {w * 0.46, h * 1.0}, w * 0.13, rgba(60, 50, 110, 30));
    beam(p, {w * 0.88, -h * 0.08}, {w * 0.68, h * 1.0}, w * 0.10, rgba(120, 50, 120, 34));
    softLight(p, {w * 0.12, 0}, h * 0.30, rgba(120, 100, 200, 60));
    softLight(p, {w * 0.50, 0}, h * 0.26, rgba(90, 80, 170, 50));
    softLight(p, {w * 0.88, 0}, h * 0.30, rgba(180, 80, 170, 60));

    // Glow of the stage floor and out-of-focus lights along the edges.
    softLight(p, {w * 0.5, h * 1.08}, w * 0.55, rgba(110, 40, 130, 70));
    Dice dice(20260101u);
    const QList<QColor> warm = {QColor(255, 190, 90), QColor(255, 120, 160), QColor(150, 130, 255),
                                QColor(90, 170, 255)};
    // Along the top edge only: the title line stands just below it.
    bokeh(p, dice, QRectF(0, 0, w, h * 0.05), 24, warm, h * 0.008, h * 0.028, 40, 100);
    bokeh(p, dice, QRectF(0, h * 0.86, w, h * 0.13), 30, warm, h * 0.010, h * 0.045, 30, 100);
    bokeh(p, dice, QRectF(w * 0.86, h * 0.15, w * 0.14, h * 0.7), 10, warm, h * 0.008, h * 0.03, 25,
          70);
    // A sprinkle of tiny sparks over the whole sky.
    for (int i = 0; i < 140; ++i) {
        const QPointF c(dice.between(0, w), dice.between(0, h));
        softLight(p, c, dice.between(1.0, 3.0) * h / 1080.0,
                  rgba(255, 240, 220, int(dice.between(30, 120))));
    }

    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    vignette(p, size, 170);
    return image;
}

namespace {

// The welcome picture's ground: deep red, warm lights and beams, gold bokeh and sparkles, a
// darkened rim.
void paintFestiveGround(QPainter& p, QSize size) {
    const double w = size.width();
    const double h = size.height();
    const double unit = h / 1080.0;
    QLinearGradient ground(0, 0, 0, h);
    ground.setColorAt(0.0, QColor(0x4a, 0x06, 0x10));
    ground.setColorAt(0.5, QColor(0x6e, 0x0a, 0x14));
    ground.setColorAt(1.0, QColor(0x24, 0x03, 0x08));
    p.fillRect(QRect(QPoint(0, 0), size), ground);

    p.setCompositionMode(QPainter::CompositionMode_Plus);
    softLight(p, {w * 0.5, h * 0.42}, w * 0.42, rgba(150, 70, 10, 90));
    beam(p, {w * 0.2, -h * 0.1}, {w * 0.38, h}, w * 0.09, rgba(140, 80, 30, 40));
    beam(p, {w * 0.8, -h * 0.1}, {w * 0.62, h}, w * 0.09, rgba(140, 80, 30, 40));
    Dice dice(20260202u);
    const QList<QColor> gold = {QColor(255, 200, 90), QColor(255, 160, 60), QColor(255, 230, 160)};
    bokeh(p, dice, QRectF(0, 0, w, h * 0.22), 34, gold, 6 * unit, 34 * unit, 40, 120);
    bokeh(p, dice, QRectF(0, h * 0.8, w, h * 0.2), 34, gold, 6 * unit, 40 * unit, 40, 120);
    for (int i = 0; i < 220; ++i) {
        const QPointF c(dice.between(0, w), dice.between(0, h));
        softLight(p, c, dice.between(1.0, 3.5) * unit,
                  rgba(255, 225, 170, int(dice.between(40, 140))));
    }
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    vignette(p, size, 150);
}

// The greeting between two gold rules, its subtitle and the hint to click.
void paintGreeting(QPainter& p, QSize size) {
    const double w = size.width();
    const double h = size.height();
    const double unit = h / 1080.0;
    // Two thin gold rules frame the greeting.
    QLinearGradient rule(w * 0.2, 0, w * 0.8, 0);
    rule.setColorAt(0, rgba(255, 210, 120, 0));
    rule.setColorAt(0.5, rgba(255, 210, 120, 200));
    rule.setColorAt(1, rgba(255, 210, 120, 0));
    p.fillRect(QRectF(w * 0.2, h * 0.235, w * 0.6, 3 * unit), rule);
    p.fillRect(QRectF(w * 0.2, h * 0.655, w * 0.6, 3 * unit), rule);

    const QPainterPath greeting = centredText(
        QStringLiteral("欢迎光临"), greetingFont(int(230 * unit), true), {w * 0.5, h * 0.42});
    glowText(p, greeting, rgba(255, 170, 40, 150), 8, 6 * unit);
    // The font has no bold face: a dark rim and a gold stroke around the fill make it heavy.
    QLinearGradient goldFill(0, greeting.boundingRect().top(), 0, greeting.boundingRect().bottom());
    goldFill.setColorAt(0, QColor(255, 246, 200));
    goldFill.setColorAt(0.45, QColor(255, 214, 90));
    goldFill.setColorAt(1, QColor(226, 140, 20));
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(110, 36, 0), 14 * unit, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(greeting);
    p.setPen(QPen(QBrush(goldFill), 8 * unit, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(goldFill);
    p.drawPath(greeting);

    const QPainterPath subtitle =
        centredText(QStringLiteral("联欢晚会 · 趣味有奖竞猜"), greetingFont(int(76 * unit), true),
                    {w * 0.5, h * 0.59});
    glowText(p, subtitle, rgba(0, 0, 0, 160), 4, 3 * unit);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 240, 225));
    p.drawPath(subtitle);

    const QPainterPath hint = centredText(QStringLiteral("点击画面  开始答题"),
                                          greetingFont(int(40 * unit), false), {w * 0.5, h * 0.80});
    p.setBrush(rgba(255, 225, 190, 200));
    p.drawPath(hint);
}

} // namespace

QImage welcomePicture(QSize size) {
    QImage image(size, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    paintFestiveGround(p, size);
    paintGreeting(p, size);
    return image;
}

QImage nextButton(int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const double s = size;
    const QPointF centre(s * 0.5, s * 0.5);
    const double radius = s * 0.44;

    // Soft shadow, slightly below the disc.
    QRadialGradient shadow(centre + QPointF(0, s * 0.03), s * 0.5);
    shadow.setColorAt(0.80, rgba(0, 0, 0, 120));
    shadow.setColorAt(1.0, rgba(0, 0, 0, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(shadow);
    p.drawEllipse(centre + QPointF(0, s * 0.03), s * 0.5, s * 0.5);

    // Gold disc, lit from the upper left, with a light rim.
    QRadialGradient disc(centre - QPointF(radius * 0.35, radius * 0.45), radius * 1.5);
    disc.setColorAt(0.0, QColor(255, 236, 150));
    disc.setColorAt(0.5, QColor(250, 184, 40));
    disc.setColorAt(1.0, QColor(196, 104, 0));
    p.setBrush(disc);
    p.setPen(QPen(rgba(255, 246, 210, 230), s * 0.035));
    p.drawEllipse(centre, radius, radius);

    // The arrow: a thick shaft and a broad head, pointing right.
    QPainterPath arrow;
    const double shaft = s * 0.085;
    arrow.moveTo(s * 0.26, s * 0.5 - shaft);
    arrow.lineTo(s * 0.52, s * 0.5 - shaft);
    arrow.lineTo(s * 0.52, s * 0.29);
    arrow.lineTo(s * 0.76, s * 0.5);
    arrow.lineTo(s * 0.52, s * 0.71);
    arrow.lineTo(s * 0.52, s * 0.5 + shaft);
    arrow.lineTo(s * 0.26, s * 0.5 + shaft);
    arrow.closeSubpath();
    p.setPen(QPen(rgba(120, 60, 0, 160), s * 0.03, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(arrow.translated(0, s * 0.02));
    p.setPen(QPen(Qt::white, s * 0.02, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::white);
    p.drawPath(arrow);
    p.end();
    return image.convertToFormat(QImage::Format_ARGB32);
}

} // namespace demoart
