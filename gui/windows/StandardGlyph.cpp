#include "windows/StandardGlyph.h"

#include <QApplication>
#include <QIconEngine>
#include <QPainter>

namespace {

class StandardGlyphEngine final : public QIconEngine {
public:
    explicit StandardGlyphEngine(QStyle::StandardPixmap glyph) : glyph_(glyph) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode,
               QIcon::State state) override {
        loaded().paint(painter, rect, Qt::AlignCenter, mode, state);
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return loaded().pixmap(size, mode, state);
    }
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state,
                         qreal scale) override {
        return loaded().pixmap(size, scale, mode, state);
    }
    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return loaded().actualSize(size, mode, state);
    }
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override {
        return loaded().availableSizes(mode, state);
    }
    QString iconName() override { return loaded().name(); }
    QString key() const override { return QStringLiteral("StandardGlyphEngine"); }
    QIconEngine* clone() const override { return new StandardGlyphEngine(*this); }

private:
    const QIcon& loaded() {
        if (icon_.isNull())
            icon_ = QApplication::style()->standardIcon(glyph_);
        return icon_;
    }

    QStyle::StandardPixmap glyph_;
    QIcon icon_;
};

} // namespace

QIcon standardGlyph(QStyle::StandardPixmap glyph) {
    return QIcon(new StandardGlyphEngine(glyph));
}
