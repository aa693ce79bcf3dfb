#include "settings/RegistryText.h"

#include <QStringDecoder>

// Decodes the file's bytes; `storeFormat` turns false for anything but UTF-8.
QString decodeText(const QByteArray& bytes, bool& storeFormat) {
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF")) {
        storeFormat = false;
        QStringDecoder decoder(bytes.startsWith("\xFF\xFE") ? QStringDecoder::Utf16LE
                                                            : QStringDecoder::Utf16BE);
        return decoder(QByteArrayView(bytes).sliced(2));
    }
    const QByteArrayView body =
        bytes.startsWith("\xEF\xBB\xBF") ? QByteArrayView(bytes).sliced(3) : QByteArrayView(bytes);
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8(body);
    if (!utf8.hasError())
        return text;
    // Not UTF-8 (a file written in an 8-bit code page): take the bytes one to
    // one so that nothing is lost, and keep the original aside on rewrite.
    storeFormat = false;
    return QString::fromLatin1(body);
}
