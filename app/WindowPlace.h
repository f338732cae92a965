// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QMargins>
#include <QRect>

// A window place restored from the settings, fitted to the screen it opens on: a place saved
// on a larger screen, or at another scale, would otherwise put its edges out of reach.
class WindowPlace
{
public:
    // `saved`: frame position and client size; `frame`: the frame around the client area.
    // The result has the same meaning, shrunk and moved to lie within `available`.
    static QRect fitted(const QRect &saved, const QMargins &frame, const QRect &available);
};
