#pragma once

#include "common/ProgressView.h"

#include <QDialog>

class QProgressBar;

namespace vg {

// The progress window of a transfer: shown, not modal, while the transfer runs on the
// user-interface thread.
class ProgressWindow : public QDialog, public ProgressView {
    Q_OBJECT
public:
    explicit ProgressWindow(QWidget* parent = nullptr);

    void ShowProgress(const std::string& caption) override;
    void SetProgress(int percent) override;
    void HideProgress() override;

    QProgressBar* ProgressBar = nullptr;

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    // The transfer holds the event loop: paint now. User input stays queued until the
    // transfer ends, and the status poll skips its ticks while a transfer is busy.
    void PaintNow();
};

} // namespace vg
