#pragma once

#include <QString>
#include <optional>

class QWidget;

namespace vg {

// The open and save dialogs of the source chooser, behind an interface so tests can script
// the chosen name.
class FileDialogs {
public:
    virtual ~FileDialogs() = default;
    // The chosen path, or nothing when the user cancelled.
    virtual std::optional<QString> GetOpenFileName(QWidget* parent, const QString& directory,
                                                   const QString& fileName) = 0;
    virtual std::optional<QString> GetSaveFileName(QWidget* parent, const QString& directory,
                                                   const QString& fileName) = 0;
    // Where a trace of the line goes: any name, proposed as `fileName`.
    virtual std::optional<QString> GetTraceFileName(QWidget* parent, const QString& fileName) = 0;
    // A fieldbus driver library to load (the communication dialog).
    virtual std::optional<QString> GetDriverFileName(QWidget* parent, const QString& directory) = 0;
};

// QFileDialog with the filter "CD (*.CD *.cd)"; a name typed without extension gets ".CD".
// The trace's dialog offers text files and asks before it overwrites one. Driver libraries
// are chosen among existing files.
class QtFileDialogs : public FileDialogs {
public:
    std::optional<QString> GetOpenFileName(QWidget* parent, const QString& directory,
                                           const QString& fileName) override;
    std::optional<QString> GetSaveFileName(QWidget* parent, const QString& directory,
                                           const QString& fileName) override;
    std::optional<QString> GetTraceFileName(QWidget* parent, const QString& fileName) override;
    std::optional<QString> GetDriverFileName(QWidget* parent, const QString& directory) override;
};

} // namespace vg
