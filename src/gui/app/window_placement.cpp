#include "app/window_placement.h"

#include <algorithm>
#include <limits>

namespace tw {

namespace {
long long overlap(const QRect& a, const QRect& b) {
    const QRect i = a.intersected(b);
    return i.isEmpty() ? 0 : static_cast<long long>(i.width()) * i.height();
}

long long distanceSquared(const QPoint& p, const QRect& r) {
    const long long dx = p.x() < r.left() ? r.left() - p.x() : p.x() > r.right() ? p.x() - r.right() : 0;
    const long long dy = p.y() < r.top() ? r.top() - p.y() : p.y() > r.bottom() ? p.y() - r.bottom() : 0;
    return dx * dx + dy * dy;
}
} // namespace

QRect placeOnScreens(QRect client, const QList<QRect>& availableAreas, const QMargins& frame) {
    if (availableAreas.isEmpty()) return client;
    const QRect framed = client.marginsAdded(frame);
    QRect area = availableAreas.front();
    long long best = -1;
    for (const QRect& a : availableAreas) {
        if (const long long o = overlap(framed, a); o > best) {
            best = o;
            area = a;
        }
    }
    if (best == 0) {
        long long nearest = std::numeric_limits<long long>::max();
        for (const QRect& a : availableAreas) {
            if (const long long d = distanceSquared(framed.center(), a); d < nearest) {
                nearest = d;
                area = a;
            }
        }
    }
    const QRect room = area.marginsRemoved(frame);  // where the client area may go
    const int width = std::clamp(client.width(), 1, std::max(1, room.width()));
    const int height = std::clamp(client.height(), 1, std::max(1, room.height()));
    const int left = std::clamp(client.left(), room.left(), std::max(room.left(), room.left() + room.width() - width));
    const int top = std::clamp(client.top(), room.top(), std::max(room.top(), room.top() + room.height() - height));
    return {left, top, width, height};
}

} // namespace tw
