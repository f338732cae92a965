#include "platform/FileCopy.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace {

QString resolveDestination(const QString &source, const QString &destination)
{
    QString full = QFileInfo(destination).absoluteFilePath();
    if (QFileInfo(full).isDir()) {
        if (!full.endsWith(QLatin1Char('/')) && !full.endsWith(QDir::separator()))
            full += QLatin1Char('/');
        full += QFileInfo(source).fileName();
    }
    return full;
}

} // namespace

QString FileCopy::copyFileTo(const QString &source, const QString &destination)
{
    const QString target = resolveDestination(source, destination);
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        return QStringLiteral("Cannot open file %1").arg(source);
    // A half-written copy never replaces the old destination.
    QSaveFile out(target);
    const QString createError = QStringLiteral("Cannot create file %1").arg(target);
    if (!out.open(QIODevice::WriteOnly))
        return createError;
    for (;;) {
        const QByteArray chunk = in.read(kChunkSize);
        if (chunk.size() > 0 && out.write(chunk) != chunk.size()) {
            out.cancelWriting();
            return createError;
        }
        if (chunk.size() < kChunkSize)
            break;
    }
    return out.commit() ? QString() : createError;
}
