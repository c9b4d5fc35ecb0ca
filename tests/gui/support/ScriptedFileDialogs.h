#pragma once

#include "gui/FileDialogs.h"

#include <deque>
#include <gtest/gtest.h>
#include <optional>

namespace vg::test {

// File dialogs answered from a script: each call takes the next answer (a path, or nothing
// for Cancel). A dialog nobody expected, or an answer left unused, fails the test.
class ScriptedFileDialogs : public FileDialogs {
public:
    struct Call {
        bool Save;
        QString Directory;
        QString FileName;
    };

    ~ScriptedFileDialogs() override {
        for (const auto& left : Answers) {
            ADD_FAILURE() << "file dialog answer never used: "
                          << (left.Cancel ? std::string("(cancel)") : left.Path.toStdString());
        }
    }

    void Answer(const std::optional<QString>& path) {
        Answers.push_back({!path.has_value(), path.value_or(QString())});
    }
    const std::vector<Call>& Calls() const { return Seen; }

    std::optional<QString> GetOpenFileName(QWidget*, const QString& directory,
                                           const QString& fileName) override {
        return Next(false, directory, fileName);
    }
    std::optional<QString> GetSaveFileName(QWidget*, const QString& directory,
                                           const QString& fileName) override {
        return Next(true, directory, fileName);
    }
    std::optional<QString> GetTraceFileName(QWidget*, const QString& fileName) override {
        return Next(true, QString(), fileName);
    }
    std::optional<QString> GetDriverFileName(QWidget*, const QString& directory) override {
        return Next(false, directory, QString());
    }

private:
    std::optional<QString> Next(bool save, const QString& directory, const QString& fileName) {
        Seen.push_back({save, directory, fileName});
        if (Answers.empty()) {
            ADD_FAILURE() << "unexpected file dialog";
            return std::nullopt;
        }
        const Scripted answer = Answers.front();
        Answers.pop_front();
        if (answer.Cancel) {
            return std::nullopt;
        }
        return answer.Path;
    }

    struct Scripted {
        bool Cancel;
        QString Path;
    };
    std::deque<Scripted> Answers;
    std::vector<Call> Seen;
};

} // namespace vg::test
