// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/FileCopy.h"

#include "platform/BoundedFile.h"

#include <QCryptographicHash>
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

// What the destination holds now, read back, against what was read from the source.
bool sameBytes(const QString &path, const QByteArray &expected)
{
    const std::unique_ptr<QFile> written = BoundedFile::open(path);
    if (!written)
        return false;
    QCryptographicHash hash(QCryptographicHash::Sha256);
    return hash.addData(written.get()) && hash.result() == expected;
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
    // A half-written copy never replaces the old destination.
    QSaveFile out(target);
    const QString createError = QString(texts.cannotCreate).replace(QLatin1String("%s"), target);
    if (!out.open(QIODevice::WriteOnly))
        return createError;
    // Read to the end whatever size the folder reports: a share's cached size may be stale.
    QCryptographicHash read(QCryptographicHash::Sha256);
    QByteArray chunk(kChunkSize, Qt::Uninitialized);
    qint64 copied = 0;
    for (;;) {
        const qint64 got = in->read(chunk.data(), kChunkSize);
        if (got < 0) {
            out.cancelWriting();
            return openError;
        }
        if (got == 0)
            break;
        copied += got;
        if (copied > kMaxBytes) {
            out.cancelWriting();
            return openError;
        }
        read.addData(QByteArrayView(chunk.constData(), got));
        if (out.write(chunk.constData(), got) != got) {
            out.cancelWriting();
            return createError;
        }
    }
    if (!out.commit())
        return createError;
    return sameBytes(target, read.result()) ? QString() : createError;
}

void FileCopy::setSourceOpener(SourceOpener opener)
{
    sourceOpener() = opener ? std::move(opener) : openFile;
}
