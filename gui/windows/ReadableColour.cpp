#include "windows/ReadableColour.h"

#include "query/WatcherReply.h"

#include <QPalette>
#include <algorithm>
#include <cmath>

namespace {

double channelLuminance(double value) {
    return value <= 0.04045 ? value / 12.92 : std::pow((value + 0.055) / 1.055, 2.4);
}

double luminance(const QColor& colour) {
    return 0.2126 * channelLuminance(colour.redF()) + 0.7152 * channelLuminance(colour.greenF()) +
           0.0722 * channelLuminance(colour.blueF());
}

// Below this luminance white stands out more than black does.
constexpr double DarkBelow = 0.179;

} // namespace

double contrastRatio(const QColor& a, const QColor& b) {
    const auto [darker, lighter] = std::minmax({luminance(a), luminance(b)});
    return (lighter + 0.05) / (darker + 0.05);
}

QColor readableOn(const QColor& colour, const QColor& background) {
    if (luminance(background) >= DarkBelow || contrastRatio(colour, background) >= ReadableContrast)
        return colour;
    const QColor hsl = colour.toHsl();
    for (double lightness = hsl.lightnessF(); lightness < 1.0; lightness += 0.01) {
        const QColor shade = QColor::fromHslF(hsl.hslHueF(), hsl.hslSaturationF(), lightness);
        if (contrastRatio(shade, background) >= ReadableContrast)
            return shade;
    }
    return Qt::white;
}

QColor stateColour(TextColour colour, const QPalette& palette) {
    const QColor window = palette.color(QPalette::Window);
    switch (colour) {
    case TextColour::Green:
        return readableOn(StateGreen, window);
    case TextColour::Maroon:
        return readableOn(StateMaroon, window);
    case TextColour::Plain:
        break;
    }
    return palette.color(QPalette::WindowText);
}
