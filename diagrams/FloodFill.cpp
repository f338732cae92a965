// SPDX-License-Identifier: GPL-3.0-or-later
#include "diagrams/FloodFill.h"

#include <vector>

int FloodFill::fill(QImage &image, QPoint seed, QRgb colour)
{
    if (!image.rect().contains(seed))
        return 0;
    if (image.format() != QImage::Format_RGB32 && image.format() != QImage::Format_ARGB32)
        image.convertTo(QImage::Format_RGB32);
    colour |= 0xFF000000u;
    const QRgb target = image.pixel(seed);
    if (target == colour)
        return 0;
    const int width = image.width();
    const int height = image.height();
    auto row = [&](int y) { return reinterpret_cast<QRgb *>(image.scanLine(y)); };

    int filled = 0;
    std::vector<QPoint> stack{seed};
    while (!stack.empty()) {
        const QPoint p = stack.back();
        stack.pop_back();
        QRgb *line = row(p.y());
        if (line[p.x()] != target)
            continue;
        int left = p.x();
        while (left > 0 && line[left - 1] == target)
            --left;
        int right = p.x();
        while (right < width - 1 && line[right + 1] == target)
            ++right;
        for (int x = left; x <= right; ++x)
            line[x] = colour;
        filled += right - left + 1;
        for (int y : {p.y() - 1, p.y() + 1}) {
            if (y < 0 || y >= height)
                continue;
            const QRgb *next = row(y);
            // One seed per run of the target colour next to the span.
            for (int x = left; x <= right; ++x) {
                if (next[x] == target && (x == left || next[x - 1] != target))
                    stack.emplace_back(x, y);
            }
        }
    }
    return filled;
}
