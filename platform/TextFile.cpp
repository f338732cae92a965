// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/TextFile.h"

#include "platform/Cp1250.h"

#include <QStringDecoder>
#include <algorithm>

namespace {

const QByteArray kUtf8Mark("\xEF\xBB\xBF");

bool isAscii(const QByteArray &bytes)
{
    return std::all_of(bytes.begin(), bytes.end(), [](char c) { return uchar(c) < 0x80; });
}

// Tab, line ends, vertical tab, form feed and the end-of-file mark of old DOS editors are
// the control bytes a text may hold.
bool isForeignControl(char byte)
{
    const auto c = static_cast<unsigned char>(byte);
    return c < 0x20 && !(c >= 0x09 && c <= 0x0D) && c != 0x1A;
}

bool isUtf16Mark(const QByteArray &bytes)
{
    return bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF");
}

std::optional<QString> strictUtf8(const QByteArray &bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = decoder.decode(bytes);
    if (decoder.hasError())
        return std::nullopt;
    return text;
}

} // namespace

bool TextFile::readsAsUtf8(const QByteArray &bytes)
{
    return !isAscii(bytes) && strictUtf8(bytes).has_value();
}

std::optional<QString> TextFile::decode(const QByteArray &bytes, Encoding encoding)
{
    if (isUtf16Mark(bytes) || std::any_of(bytes.begin(), bytes.end(), isForeignControl))
        return std::nullopt;
    if (bytes.startsWith(kUtf8Mark))
        return strictUtf8(bytes.mid(kUtf8Mark.size()));
    if (encoding == Cp1250OrUtf8 && !isAscii(bytes)) {
        if (std::optional<QString> text = strictUtf8(bytes))
            return text;
    }
    return Cp1250::toUnicode(bytes);
}

BoundedFile::Status TextFile::read(const QString &path, Encoding encoding, QString &text)
{
    text.clear();
    QByteArray bytes;
    const BoundedFile::Status status = BoundedFile::read(path, BoundedFile::kTextLimit, bytes);
    if (status != BoundedFile::Read)
        return status;
    const std::optional<QString> decoded = decode(bytes, encoding);
    if (!decoded)
        return BoundedFile::Damaged;
    text = *decoded;
    return BoundedFile::Read;
}
