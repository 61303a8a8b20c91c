#include "app/pictures.h"

#include <QApplication>
#include <QIconEngine>
#include <QPainter>
#include <QPainterPath>
#include <QStyle>
#include <QStyleOption>

namespace {

const QColor kTinte(40, 52, 90);
const QColor kPapier(250, 250, 246);
const QColor kBlau(38, 96, 176);
const QColor kRot(196, 40, 40);
const QColor kGruen(40, 150, 60);
const QColor kGold(214, 170, 40);

void seite(QPainter& p, QRectF r) {
    QPainterPath path;
    const qreal knick = r.width() * 0.3;
    path.moveTo(r.topLeft());
    path.lineTo(r.right() - knick, r.top());
    path.lineTo(r.right(), r.top() + knick);
    path.lineTo(r.bottomRight());
    path.lineTo(r.bottomLeft());
    path.closeSubpath();
    p.setPen(QPen(kTinte, 2.5));
    p.setBrush(kPapier);
    p.drawPath(path);
    p.setPen(QPen(QColor(150, 160, 180), 2));
    for (qreal y = r.top() + r.height() * 0.35; y < r.bottom() - 6; y += 7)
        p.drawLine(QPointF(r.left() + 6, y), QPointF(r.right() - 6, y));
}

void kreisMitZeichen(QPainter& p, const QColor& farbe, const QString& zeichen) {
    p.setPen(QPen(farbe.darker(130), 2.5));
    p.setBrush(farbe);
    p.drawEllipse(QRectF(6, 6, 52, 52));
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setBold(true);
    font.setPixelSize(36);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QRectF(6, 6, 52, 52), Qt::AlignCenter, zeichen);
}

void schluessel(QPainter& p, QPointF at, qreal s) {
    p.setPen(QPen(kGold.darker(150), 2.5));
    p.setBrush(kGold);
    p.drawEllipse(QRectF(at.x(), at.y(), 18 * s, 18 * s));
    QPainterPath bart;
    bart.addRect(QRectF(at.x() + 16 * s, at.y() + 6.5 * s, 26 * s, 5 * s));
    bart.addRect(QRectF(at.x() + 32 * s, at.y() + 11 * s, 4 * s, 7 * s));
    bart.addRect(QRectF(at.x() + 38 * s, at.y() + 11 * s, 4 * s, 5 * s));
    p.drawPath(bart.simplified());
    p.setBrush(kPapier);
    p.drawEllipse(QRectF(at.x() + 5 * s, at.y() + 6 * s, 6 * s, 6 * s));
}

void zeichne(QPainter& p, Bild bild) {
    switch (bild) {
    case Bild::Neu:
        seite(p, QRectF(10, 4, 38, 52));
        p.setPen(Qt::NoPen);
        p.setBrush(kGruen);
        p.drawRect(QRectF(40, 32, 8, 28));
        p.drawRect(QRectF(30, 42, 28, 8));
        break;
    case Bild::Editieren: {
        seite(p, QRectF(8, 4, 38, 52));
        p.save();
        p.translate(36, 38);
        p.rotate(-45);
        p.setPen(QPen(kTinte, 2));
        p.setBrush(kGold);
        p.drawRect(QRectF(-4, -24, 8, 36));
        QPainterPath spitze;
        spitze.moveTo(-4, 12);
        spitze.lineTo(4, 12);
        spitze.lineTo(0, 22);
        spitze.closeSubpath();
        p.setBrush(kPapier);
        p.drawPath(spitze);
        p.restore();
        break;
    }
    case Bild::Loeschen:
        p.setPen(QPen(kTinte, 2.5));
        p.setBrush(QColor(170, 176, 188));
        p.drawRect(QRectF(14, 18, 36, 40));
        p.drawRect(QRectF(9, 10, 46, 8));
        p.drawRect(QRectF(25, 5, 14, 5));
        for (int x : {22, 32, 42})
            p.drawLine(QPointF(x, 24), QPointF(x, 52));
        break;
    case Bild::Drucken:
        p.setPen(QPen(kTinte, 2.5));
        p.setBrush(kPapier);
        p.drawRect(QRectF(16, 6, 32, 22));
        p.setBrush(QColor(150, 156, 170));
        p.drawRoundedRect(QRectF(6, 24, 52, 24), 4, 4);
        p.setBrush(kPapier);
        p.drawRect(QRectF(16, 40, 32, 18));
        p.setBrush(kGruen);
        p.drawEllipse(QRectF(48, 29, 5, 5));
        break;
    case Bild::Kopieren:
        seite(p, QRectF(6, 4, 32, 42));
        seite(p, QRectF(24, 18, 32, 42));
        break;
    case Bild::Suchen:
        p.setPen(QPen(kTinte, 6, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(38, 38), QPointF(56, 56));
        p.setPen(QPen(kTinte, 4));
        p.setBrush(QColor(200, 225, 250));
        p.drawEllipse(QRectF(6, 6, 36, 36));
        break;
    case Bild::Passwort:
        p.setPen(QPen(kTinte, 2.5));
        p.setBrush(kBlau);
        p.drawEllipse(QRectF(8, 4, 20, 20));
        p.drawChord(QRectF(2, 24, 32, 34), 0, 180 * 16);
        schluessel(p, QPointF(18, 34), 1.0);
        break;
    case Bild::Info:
        kreisMitZeichen(p, kBlau, QStringLiteral("i"));
        break;
    case Bild::Hilfe:
        kreisMitZeichen(p, kGruen, QStringLiteral("?"));
        break;
    case Bild::Beenden:
        p.setPen(QPen(kRot, 6, Qt::SolidLine, Qt::RoundCap));
        p.drawArc(QRectF(10, 12, 44, 44), 120 * 16, 300 * 16);
        p.drawLine(QPointF(32, 6), QPointF(32, 32));
        break;
    case Bild::Speichern:
        p.setPen(QPen(kTinte, 2.5));
        p.setBrush(kBlau);
        p.drawRoundedRect(QRectF(6, 6, 52, 52), 4, 4);
        p.setBrush(kPapier);
        p.drawRect(QRectF(14, 6, 36, 20));
        p.setBrush(QColor(200, 205, 215));
        p.drawRect(QRectF(16, 38, 32, 20));
        p.setBrush(kTinte);
        p.drawRect(QRectF(38, 10, 6, 12));
        break;
    case Bild::Schliessen:
        p.setPen(QPen(kTinte, 2.5));
        p.setBrush(kPapier);
        p.drawRect(QRectF(6, 8, 52, 48));
        p.setBrush(kBlau);
        p.drawRect(QRectF(6, 8, 52, 10));
        p.setPen(QPen(kRot, 6, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(22, 26), QPointF(42, 48));
        p.drawLine(QPointF(42, 26), QPointF(22, 48));
        break;
    case Bild::Pruefen: {
        QPainterPath haken;
        haken.moveTo(10, 34);
        haken.lineTo(26, 50);
        haken.lineTo(54, 16);
        p.setPen(QPen(kGruen, 9, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        p.drawPath(haken);
        break;
    }
    case Bild::Schloss:
        p.setPen(QPen(QColor(120, 126, 140), 7));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(16, 4, 32, 40), 0, 180 * 16);
        p.drawLine(QPointF(16, 24), QPointF(16, 30));
        p.drawLine(QPointF(48, 24), QPointF(48, 30));
        p.setPen(QPen(kGold.darker(150), 2.5));
        p.setBrush(kGold);
        p.drawRoundedRect(QRectF(8, 28, 48, 32), 5, 5);
        p.setBrush(kTinte);
        p.drawEllipse(QRectF(28, 36, 8, 8));
        p.drawRect(QRectF(30, 42, 4, 10));
        break;
    }
}

} // namespace

namespace {

// `pixels` in device pixels, for a screen of density `dpr`.
QPixmap zeichnePixmap(Bild bild, QSize pixels, qreal dpr) {
    QPixmap pixmap(pixels);
    pixmap.setDevicePixelRatio(dpr);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(pixels.width() / dpr / 64.0, pixels.height() / dpr / 64.0);
    zeichne(p, bild);
    return pixmap;
}

// Draws the picture afresh for every size asked, so that it is sharp on any screen.
class BildEngine : public QIconEngine {
public:
    explicit BildEngine(Bild bild)
        : bild_(bild) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode,
               QIcon::State state) override {
        const qreal dpr = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
        painter->drawPixmap(rect, scaledPixmap(rect.size() * dpr, mode, state, dpr));
    }

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return scaledPixmap(size, mode, state, 1.0);
    }

    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State, qreal scale) override {
        QPixmap pixmap = zeichnePixmap(bild_, size, scale);
        if (mode == QIcon::Disabled || mode == QIcon::Selected) {
            QStyleOption option;
            option.palette = QGuiApplication::palette();
            if (const QStyle* style = QApplication::style())
                pixmap = style->generatedIconPixmap(mode, pixmap, &option);
        }
        return pixmap;
    }

    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override {
        return {{16, 16}, {24, 24}, {32, 32}, {48, 48}, {64, 64}, {128, 128}, {256, 256}};
    }

    QIconEngine* clone() const override { return new BildEngine(bild_); }
    QString key() const override { return QStringLiteral("clavido-bild"); }

private:
    Bild bild_;
};

} // namespace

QPixmap bildPixmap(Bild bild, int size) {
    // Also drawn where no QApplication runs: the icon tool has a QGuiApplication only.
    const auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
    const qreal dpr = app ? app->devicePixelRatio() : 1.0;
    return zeichnePixmap(bild, QSize(size, size) * dpr, dpr);
}

QIcon bildIcon(Bild bild) {
    return QIcon(new BildEngine(bild));
}
