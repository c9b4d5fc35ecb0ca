#pragma once

#include "common/BusyBox.h"

#include <QDialog>

class QLabel;

namespace vg {

// The busy box: a notice the user cannot close, shown while a long job runs on the
// user-interface thread.
class BusyWindow : public QDialog, public BusyBox {
    Q_OBJECT
public:
    explicit BusyWindow(QWidget* parent = nullptr);

    void ShowBusyBox(const std::string& caption, const std::string& message) override;
    void HideBusyBox() override;

    QLabel* MessageLabel = nullptr;

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
};

} // namespace vg
