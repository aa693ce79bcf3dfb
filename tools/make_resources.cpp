// Draws the launcher's pictures and synthesises its alert sound into
// resources/. Run it after changing a drawing: make_resources <resources dir>
#include <QDataStream>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <cmath>

namespace {

void drawBanner(const QString& path) {
    QImage image(271, 105, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, 105);
    sky.setColorAt(0, QColor(24, 36, 28));
    sky.setColorAt(1, QColor(70, 84, 52));
    p.fillRect(image.rect(), sky);

    // A ridge line with a watchtower, in silhouette.
    QPainterPath ridge;
    ridge.moveTo(0, 90);
    ridge.cubicTo(60, 70, 110, 95, 170, 78);
    ridge.cubicTo(210, 68, 240, 84, 271, 74);
    ridge.lineTo(271, 105);
    ridge.lineTo(0, 105);
    p.fillPath(ridge, QColor(14, 20, 14));
    p.fillRect(QRectF(214, 44, 6, 32), QColor(14, 20, 14));
    p.fillRect(QRectF(208, 38, 18, 8), QColor(14, 20, 14));

    QFont title(QStringLiteral("DejaVu Sans"), 26, QFont::Black);
    p.setFont(title);
    p.setPen(QColor(230, 200, 90));
    p.drawText(QRectF(14, 10, 200, 40), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("ZAM"));
    QFont subtitle(QStringLiteral("DejaVu Sans"), 11, QFont::Bold);
    p.setFont(subtitle);
    p.setPen(QColor(225, 230, 215));
    p.drawText(QRectF(16, 48, 200, 20), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("L A U N C H E R"));
    p.end();
    image.save(path, "JPG", 92);
}

void drawLamp(const QString& path, QColor colour, bool lit) {
    QImage image(20, 20, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QRadialGradient glow(QPointF(7.5, 7.5), 10);
    glow.setColorAt(0, lit ? colour.lighter(180) : colour.darker(120));
    glow.setColorAt(1, lit ? colour : colour.darker(250));
    p.setBrush(glow);
    p.setPen(QPen(QColor(40, 40, 40), 1));
    p.drawEllipse(QRectF(1.5, 1.5, 17, 17));
    p.end();
    image.save(path, "PNG");
}

void drawIcon(const QString& path) {
    QImage image(128, 128, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient face(0, 0, 0, 128);
    face.setColorAt(0, QColor(70, 84, 52));
    face.setColorAt(1, QColor(24, 36, 28));
    p.setBrush(face);
    p.setPen(Qt::NoPen);
    p.drawRoundedRect(QRectF(4, 4, 120, 120), 22, 22);
    p.setPen(QColor(230, 200, 90));
    p.setFont(QFont(QStringLiteral("DejaVu Sans"), 44, QFont::Black));
    p.drawText(QRectF(4, 4, 120, 120), Qt::AlignCenter, QStringLiteral("Z"));
    p.end();
    image.save(path, "PNG");
}

// A two-note chime: stereo, 16-bit, 22,050 samples per second, 1.35 s.
void writeAlert(const QString& path) {
    const int rate = 22050;
    const int frames = int(rate * 1.35);
    QByteArray pcm;
    QDataStream out(&pcm, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    for (int i = 0; i < frames; ++i) {
        const double t = double(i) / rate;
        const double note = t < 0.45 ? 880.0 : 1318.5;
        const double start = t < 0.45 ? 0.0 : 0.45;
        const double envelope = std::exp(-(t - start) * 5.0) * std::min(1.0, (t - start) * 200);
        const double s = envelope *
                         (std::sin(2 * M_PI * note * t) + 0.3 * std::sin(2 * M_PI * 2 * note * t)) /
                         1.3;
        const auto sample = qint16(std::lround(s * 0.7 * 32767));
        out << sample << sample;
    }
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return;
    QDataStream wav(&file);
    wav.setByteOrder(QDataStream::LittleEndian);
    const quint32 dataSize = quint32(pcm.size());
    wav.writeRawData("RIFF", 4);
    wav << quint32(36 + dataSize);
    wav.writeRawData("WAVEfmt ", 8);
    wav << quint32(16) << quint16(1) << quint16(2) << quint32(rate) << quint32(rate * 4)
        << quint16(4) << quint16(16);
    wav.writeRawData("data", 4);
    wav << dataSize;
    wav.writeRawData(pcm.constData(), pcm.size());
}

} // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    const QString dir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("resources");
    drawBanner(dir + QStringLiteral("/banner.jpg"));
    drawIcon(dir + QStringLiteral("/icon.png"));
    drawLamp(dir + QStringLiteral("/lamp-green-dim.png"), QColor(0, 90, 0), false);
    drawLamp(dir + QStringLiteral("/lamp-green.png"), QColor(40, 210, 40), true);
    drawLamp(dir + QStringLiteral("/lamp-red.png"), QColor(220, 30, 30), true);
    writeAlert(dir + QStringLiteral("/alert.wav"));
    return 0;
}
