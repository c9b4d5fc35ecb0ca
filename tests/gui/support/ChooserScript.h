#pragma once

#include "gui/SourceChooser.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

namespace vg::test {

// Runs `action` on the source chooser once one is the modal window in front; fails the test
// when none has opened within `limitMs`.
inline void WhenChooserOpens(std::function<void(SourceChooser&)> action, int limitMs = 10000) {
    auto* timer = new QTimer;
    timer->setInterval(5);
    auto* clock = new QElapsedTimer;
    clock->start();
    QObject::connect(timer, &QTimer::timeout, [timer, clock, action, limitMs] {
        auto* chooser = qobject_cast<SourceChooser*>(QApplication::activeModalWidget());
        if (chooser == nullptr && clock->elapsed() < limitMs) {
            return;
        }
        timer->stop();
        timer->deleteLater();
        delete clock;
        if (chooser != nullptr) {
            action(*chooser);
        } else {
            ADD_FAILURE() << "the source chooser never opened";
        }
    });
    timer->start();
}

// Clicks `button` of the next source chooser that opens.
inline void ClickInChooser(QPushButton* SourceChooser::*button) {
    WhenChooserOpens([button](SourceChooser& chooser) { (chooser.*button)->click(); });
}

// Whether the source chooser, opened now for File > Open, would offer the unit.
inline bool ChooserOffersUnit(ProgramContext& context) {
    const SourceChooser chooser(ChooserInputsFor(context, ChooserPurpose::Load), context.Messages,
                                context.Files);
    return chooser.UnitButton->isEnabled();
}

} // namespace vg::test
