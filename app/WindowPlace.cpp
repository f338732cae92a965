// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/WindowPlace.h"

#include <algorithm>

namespace {
// The start of a span of `length` moved into [first, first + room), or to its start.
int within(int start, int length, int first, int room)
{
    return std::max(first, std::min(start, first + room - length));
}
} // namespace

QRect WindowPlace::fitted(const QRect &saved, const QMargins &frame, const QRect &available)
{
    const int frameWidth = frame.left() + frame.right();
    const int frameHeight = frame.top() + frame.bottom();
    const int width = std::max(1, std::min(saved.width(), available.width() - frameWidth));
    const int height = std::max(1, std::min(saved.height(), available.height() - frameHeight));
    return QRect(within(saved.left(), width + frameWidth, available.left(), available.width()),
                 within(saved.top(), height + frameHeight, available.top(), available.height()),
                 width, height);
}
