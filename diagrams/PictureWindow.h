// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/MdiChild.h"
#include "diagrams/DiagramLayout.h"

#include <QImage>

class QLabel;

// A line drawing centred in the window whose 24 regions are flood-filled with the class colours.
class PictureWindow : public MdiChild
{
    Q_OBJECT

public:
    PictureWindow(const QString &titleKey, QSize pictureSize,
                  const std::array<DiagramLayout::Seed, 12> &seeds, QWidget *parent);

    // Fills the region around the picture point (X, Y) on what the window shows now.
    void Fill(int X, int Y, quint32 Colour);

    // Never shown itself: it holds the picture and its place in the window.
    QLabel *Image = nullptr;

    // The drawing without colours, `scale` times its size, for a printer.
    virtual QImage Drawing(int scale) const = 0;
    const std::array<DiagramLayout::Seed, 12> &Seeds() const { return m_seeds; }

protected:
    void resizeEvent(QResizeEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    QImage m_picture;
    QImage m_surface;
    // Picture pixels per window pixel: the screen's scale, rounded up.
    int m_scale = 1;
    const std::array<DiagramLayout::Seed, 12> &m_seeds;
};
