#pragma once

#include <QApplication>
#include <QDialog>
#include <QTimer>
#include <functional>

namespace vg::test {

// Runs `script` once `window` is the modal window in front (other modal windows may come and
// go before it), then closes `window` by its close box if the script left it open, so that a
// failed expectation cannot leave a test hanging in the modal loop. The watch belongs to the
// window and goes away with it, should the window never open.
inline void RunWhileModal(QDialog* window, std::function<void()> script) {
    auto* watch = new QTimer(window);
    watch->setInterval(5);
    QObject::connect(watch, &QTimer::timeout, window, [watch, window, script] {
        if (QApplication::activeModalWidget() != window) {
            return;
        }
        watch->stop();
        watch->deleteLater();
        script();
        if (window->isVisible()) {
            window->close();
        }
    });
    watch->start();
}

} // namespace vg::test
