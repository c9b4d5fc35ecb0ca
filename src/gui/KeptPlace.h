#pragma once

#include <QPoint>
#include <QWidget>
#include <optional>

namespace vg {

// Where a window that is built for each use was when it last closed. The next one built opens
// there, as one window shown again would; the first opens where a new window does.
class KeptPlace {
public:
    void PlaceAgain(QWidget& window) const {
        if (Place) {
            window.move(*Place);
        }
    }
    // Only a window that was placed (shown, or placed again) has a place to keep.
    void Keep(const QWidget& window) {
        if (window.testAttribute(Qt::WA_Moved)) {
            Place = window.pos();
        }
    }

private:
    std::optional<QPoint> Place;
};

} // namespace vg
