// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/BackupManifest.h"

#include <QList>
#include <QRegularExpression>

namespace {

constexpr int kHexLength = 64;

// sha256sum marks a line whose name holds a backslash or a line break with a leading
// backslash and writes those two as "\\" and "\n".
QByteArray escaped(const QByteArray &name, bool &marked)
{
    marked = name.contains('\\') || name.contains('\n');
    if (!marked)
        return name;
    QByteArray out;
    for (const char c : name) {
        if (c == '\\')
            out += "\\\\";
        else if (c == '\n')
            out += "\\n";
        else
            out += c;
    }
    return out;
}

std::optional<QByteArray> unescaped(const QByteArray &name)
{
    QByteArray out;
    for (int i = 0; i < name.size(); ++i) {
        if (name[i] != '\\') {
            out += name[i];
            continue;
        }
        if (++i == name.size())
            return std::nullopt;
        if (name[i] == '\\')
            out += '\\';
        else if (name[i] == 'n')
            out += '\n';
        else
            return std::nullopt;
    }
    return out;
}

bool isHex(const QByteArray &text)
{
    for (const char c : text) {
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F')))
            return false;
    }
    return true;
}

} // namespace

QString BackupManifest::fileName(int n)
{
    return n <= 1 ? QStringLiteral("MANIFEST.sha256") : QStringLiteral("MANIFEST-%1.sha256").arg(n);
}

bool BackupManifest::isFileName(const QString &path)
{
    static const QRegularExpression name(QStringLiteral("^MANIFEST(-[1-9][0-9]*)?\\.sha256$"));
    return name.match(path).hasMatch();
}

void BackupManifest::add(const QString &path, const QByteArray &digest)
{
    bool marked = false;
    const QByteArray name = escaped(path.toUtf8(), marked);
    if (marked)
        m_text += '\\';
    m_text += digest.toHex() + "  " + name + '\n';
    ++m_count;
}

std::optional<QHash<QString, QByteArray>> BackupManifest::parse(const QByteArray &text)
{
    QHash<QString, QByteArray> digests;
    QList<QByteArray> lines = text.split('\n');
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    for (QByteArray line : lines) {
        const bool marked = line.startsWith('\\');
        if (marked)
            line.remove(0, 1);
        const QByteArray hex = line.left(kHexLength);
        const QByteArray separator = line.mid(kHexLength, 2);
        if (hex.size() != kHexLength || !isHex(hex) || (separator != "  " && separator != " *"))
            return std::nullopt;
        const std::optional<QByteArray> name =
            marked ? unescaped(line.mid(kHexLength + 2)) : line.mid(kHexLength + 2);
        if (!name || name->isEmpty())
            return std::nullopt;
        const QString path = QString::fromUtf8(*name);
        if (digests.contains(path))
            return std::nullopt;
        digests.insert(path, QByteArray::fromHex(hex));
    }
    return digests;
}
