// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <QWidget>

// A fixed-size picture control: shows whatever was last drawn into its image,
// and nothing before the first drawing.
class ImageArea : public QWidget
{
    Q_OBJECT

public:
    explicit ImageArea(QWidget *parent = nullptr);

    QImage &image() { return m_image; }
    const QImage &image() const { return m_image; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QImage m_image;
};
