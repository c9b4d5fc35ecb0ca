#pragma once

#include "common/MessageService.h"
#include "config/transfer/IdentifierPrompt.h"

#include <QDialog>

class QLineEdit;
class QPushButton;

namespace vg {

class HelpViewer;

// The identifier window: the user types the eight digits of a unit's identifier.
class IdentifierWindow : public QDialog, public IdentifierPrompt {
    Q_OBJECT
public:
    IdentifierWindow(MessageService& messages, HelpViewer& help, QWidget* parent = nullptr);

    void AskForIdentifier(NamespaceInfo& info, bool& namespaceIdValid) override;

    QLineEdit* IdentifierField = nullptr;
    QPushButton* OkButton = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

public slots:
    void done(int result) override;

private:
    void PrepareToShow();
    // The fixed size: the contents, and at least as wide as a title bar showing the whole
    // caption in the window's font (bold, as title bars mostly are) beside its buttons.
    void FitToCaption();

    MessageService& Messages;
    NamespaceInfo* Info = nullptr;
    bool* IdValid = nullptr;
    bool OkPressed = false;
};

} // namespace vg
