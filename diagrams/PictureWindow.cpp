// SPDX-License-Identifier: GPL-3.0-or-later
#include "diagrams/PictureWindow.h"

#include "app/TfrmMain.h"
#include "diagrams/PicturePainter.h"

#include <QLabel>
#include <QPainter>
#include <QtMath>
#include <algorithm>

PictureWindow::PictureWindow(const QString &titleKey, QSize pictureSize,
                             const std::array<DiagramLayout::Seed, 12> &seeds, QWidget *parent)
    : MdiChild(false, parent), m_seeds(seeds)
{
    setWindowTitle(frmMain->CatalogueText(QStringLiteral("Title"), titleKey));
    Image = new QLabel(this);
    Image->setObjectName(QStringLiteral("Image"));
    Image->resize(pictureSize);
    Image->hide();
}

void PictureWindow::resizeEvent(QResizeEvent *event)
{
    MdiChild::resizeEvent(event);
    // Integer division truncates towards zero, also when the window is the smaller.
    Image->move((width() - Image->width()) / 2, (height() - Image->height()) / 2);
}

void PictureWindow::Fill(int X, int Y, quint32 Colour)
{
    // Only what the window shows: a seed outside it fills nothing.
    const QRect shown = rect().translated(-Image->pos());
    const QPoint seed(X * m_scale + m_scale / 2, Y * m_scale + m_scale / 2);
    PicturePainter::fill(m_surface, seed, Colour,
                         QRect(shown.topLeft() * m_scale, shown.size() * m_scale));
}

void PictureWindow::paintEvent(QPaintEvent *)
{
    // A screen of double scale gets the drawing at twice the size, not the pixels enlarged.
    const int scale = std::max(1, qCeil(devicePixelRatioF()));
    // Drawn at the first showing, not at start-up, where the windows wait hidden.
    if (m_picture.isNull() || scale != m_scale) {
        m_scale = scale;
        m_picture = Drawing(scale).convertToFormat(QImage::Format_RGB32);
    }
    m_surface = m_picture;
    frmMain->Evaluate();
    for (const auto &seed : m_seeds) {
        Fill(seed.leftX, seed.leftY, frmMain->ClassColor[seed.meridian][Evaluation::Left]);
        Fill(seed.rightX, seed.rightY, frmMain->ClassColor[seed.meridian][Evaluation::Right]);
    }
    m_surface.setDevicePixelRatio(m_scale);
    // The picture at its own resolution: a printer scales it, smoothly.
    QPainter p(this);
    p.setRenderHints(QPainter::SmoothPixmapTransform | QPainter::LosslessImageRendering);
    p.drawImage(Image->pos(), m_surface);
}
