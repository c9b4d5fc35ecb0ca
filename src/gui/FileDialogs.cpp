#include "gui/FileDialogs.h"

#include <QCoreApplication>
#include <QFileDialog>

namespace vg {

namespace {

const QString Filter = QStringLiteral("CD (*.CD *.cd)");

std::optional<QString> Run(QWidget* parent, QFileDialog::AcceptMode mode, const QString& directory,
                           const QString& fileName) {
    QFileDialog dialog(parent, QString(), directory, Filter);
    dialog.setAcceptMode(mode);
    // The folder must exist; the file need not (a new configuration starts that way), and
    // an existing file is overwritten without asking.
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::ReadOnly, false);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    dialog.setDefaultSuffix(QStringLiteral("CD"));
    if (!fileName.isEmpty()) {
        dialog.selectFile(fileName);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return dialog.selectedFiles().constFirst();
}

} // namespace

std::optional<QString> QtFileDialogs::GetDriverFileName(QWidget* parent, const QString& directory) {
    QFileDialog dialog(parent, QCoreApplication::translate("vg::QtFileDialogs", "Fieldbus Driver"),
                       directory,
                       QCoreApplication::translate("vg::QtFileDialogs",
                                                   "Driver library (*.so *.so.*);;All files (*)"));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return dialog.selectedFiles().constFirst();
}

std::optional<QString> QtFileDialogs::GetOpenFileName(QWidget* parent, const QString& directory,
                                                      const QString& fileName) {
    return Run(parent, QFileDialog::AcceptOpen, directory, fileName);
}

std::optional<QString> QtFileDialogs::GetSaveFileName(QWidget* parent, const QString& directory,
                                                      const QString& fileName) {
    return Run(parent, QFileDialog::AcceptSave, directory, fileName);
}

std::optional<QString> QtFileDialogs::GetTraceFileName(QWidget* parent, const QString& fileName) {
    const QString path = QFileDialog::getSaveFileName(
        parent, QCoreApplication::translate("vg::QtFileDialogs", "Trace Line Traffic"), fileName,
        QCoreApplication::translate("vg::QtFileDialogs", "Trace (*.txt);;All files (*)"));
    if (path.isEmpty()) {
        return std::nullopt;
    }
    return path;
}

} // namespace vg
