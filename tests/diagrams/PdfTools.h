// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <QProcess>
#include <QString>
#include <QStringList>

// The text and the raster images of a PDF file, as the poppler tools see them.
namespace PdfTools {

inline QString run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(20000)) {
        process.kill();
        process.waitForFinished();
        return QString();
    }
    return QString::fromUtf8(process.readAllStandardOutput());
}

// Page text with the layout kept and every run of white space made one blank.
inline QString text(const QString &pdf, int page)
{
    const QString p = QString::number(page);
    return run("pdftotext", {"-layout", "-f", p, "-l", p, pdf, "-"}).simplified();
}

inline int images(const QString &pdf, int page)
{
    const QString p = QString::number(page);
    // Two header lines, then one line per image.
    const QStringList lines =
        run("pdfimages", {"-list", "-f", p, "-l", p, pdf}).split('\n', Qt::SkipEmptyParts);
    return static_cast<int>(lines.size()) - 2;
}

inline int pages(const QString &pdf)
{
    for (const QString &line : run("pdfinfo", {pdf}).split('\n')) {
        if (line.startsWith("Pages:"))
            return line.mid(6).trimmed().toInt();
    }
    return -1;
}

// A page as a greyscale picture, `dpi` dots per inch; written beside the PDF.
inline QImage picture(const QString &pdf, int page, int dpi)
{
    const QString p = QString::number(page);
    run("pdftoppm", {"-gray", "-png", "-singlefile", "-r", QString::number(dpi), "-f", p, "-l", p,
                     pdf, pdf + "-page"});
    return QImage(pdf + "-page.png");
}

} // namespace PdfTools
