#include "platform/FileCopy.h"

#include "platform/BoundedFile.h"

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

std::unique_ptr<QIODevice> openFile(const QString &path)
{
    return BoundedFile::open(path);
}

FileCopy::SourceOpener &sourceOpener()
{
    static FileCopy::SourceOpener current = openFile;
    return current;
}

} // namespace

QString FileCopy::copyFileTo(const QString &source, const QString &destination)
{
    return copyFileTo(source, destination, Texts());
}

QString FileCopy::copyFileTo(const QString &source, const QString &destination, const Texts &texts)
{
    const QString target = resolveDestination(source, destination);
    const QString openError = QString(texts.cannotOpen).replace(QLatin1String("%s"), source);
    const std::unique_ptr<QIODevice> in = sourceOpener()(source);
    if (!in)
        return openError;
    const qint64 expected = in->size();
    if (expected > kMaxBytes)
        return openError;
    // A half-written copy never replaces the old destination.
    QSaveFile out(target);
    const QString createError = QString(texts.cannotCreate).replace(QLatin1String("%s"), target);
    if (!out.open(QIODevice::WriteOnly))
        return createError;
    QByteArray chunk(kChunkSize, Qt::Uninitialized);
    qint64 copied = 0;
    for (;;) {
        const qint64 read = in->read(chunk.data(), kChunkSize);
        // A read error or a source that ends early must not pass for a whole copy.
        if (read < 0 || (read < kChunkSize && copied + read != expected)) {
            out.cancelWriting();
            return openError;
        }
        if (read > 0 && out.write(chunk.constData(), read) != read) {
            out.cancelWriting();
            return createError;
        }
        copied += read;
        if (copied > kMaxBytes) {
            out.cancelWriting();
            return openError;
        }
        if (read < kChunkSize)
            break;
    }
    return out.commit() ? QString() : createError;
}

void FileCopy::setSourceOpener(SourceOpener opener)
{
    sourceOpener() = opener ? std::move(opener) : openFile;
}
