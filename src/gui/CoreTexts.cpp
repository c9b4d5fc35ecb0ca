#include "gui/CoreTexts.h"

#include "config/transfer/ConfigCompare.h"

#include <QCoreApplication>
#include <QRegularExpression>
#include <QStringList>
#include <array>

namespace vg {

namespace {

// Whole texts and whole lines, as the core and the windows' message boxes write them.
constexpr std::array Texts = {
    // the unit's messages and the status panels
    QT_TRANSLATE_NOOP("vg::CoreTexts", "ERROR! Cable broken!"),
    QT_TRANSLATE_NOOP("vg::CoreTexts", "ERROR! Scanner!"),
    QT_TRANSLATE_NOOP("vg::CoreTexts", "ERROR! Control Unit!"),
    QT_TRANSLATE_NOOP("vg::CoreTexts", "ERROR! Wand!"),
    QT_TRANSLATE_NOOP("vg::CoreTexts", "ERROR! Angle!"),
    QT_TRANSLATE_NOOP("vg::CoreTexts", "ERROR! Control Word!"),
    QT_TRANSLATE_NOOP("vg::CoreTexts", "ERROR! Selected Tool not programmed!"),
    QT_TRANSLATE_NOOP("vg::CoreTexts", "ERROR! No external teach allowed!"),
    QT_TRANSLATE_NOOP("vg::CoreTexts", "Scanning"),
    QT_TRANSLATE_NOOP("vg::CoreTexts", "Zero-Pos."),
    QT_TRANSLATE_NOOP("vg::CoreTexts", "Id: --------"),
    QT_TRANSLATE_NOOP("vg::CoreTexts", " Outs:"),
    // progress and busy captions
    QT_TRANSLATE_NOOP("vg::CoreTexts", "Reading data from VGL. Please wait ..."),
    QT_TRANSLATE_NOOP("vg::CoreTexts", "Sending data to VGL. Please wait ..."),
    QT_TRANSLATE_NOOP("vg::CoreTexts", "Reading back data from VGL. Please wait ..."),
    QT_TRANSLATE_NOOP("vg::CoreTexts", "Status: Busy ...."),
    QT_TRANSLATE_NOOP("vg::CoreTexts", "Printing Data!  Please wait ....!"),
    // results and errors of transfers and files
    QT_TRANSLATE_NOOP("vg::CoreTexts", "No Namespace-Information in VG.Module found!"),
    QT_TRANSLATE_NOOP("vg::CoreTexts",
                      "No Namespace-Identifier available!\nToolnames will be lost! \nWould you "
                      "enter the namespace-identifier?"),
    QT_TRANSLATE_NOOP("vg::CoreTexts", "Values out of range; nothing was sent to the unit:"),
    QT_TRANSLATE_NOOP("vg::CoreTexts", "Save Data to VGL successfull!"),
    QT_TRANSLATE_NOOP("vg::CoreTexts", "File save successfull!"),
    QT_TRANSLATE_NOOP("vg::CoreTexts", "Error in Namespace-File"),
    QT_TRANSLATE_NOOP("vg::CoreTexts", "Error in Parameter-File"),
    QT_TRANSLATE_NOOP("vg::CoreTexts", "File Write Error!"),
    QT_TRANSLATE_NOOP("vg::CoreTexts", "Timeout in Communication to VGL!"),
    QT_TRANSLATE_NOOP("vg::CoreTexts", "Write Error from VGL"),
    QT_TRANSLATE_NOOP("vg::CoreTexts", "Read Error from VGL"),
    QT_TRANSLATE_NOOP("vg::CoreTexts", "Syncronisation-Error in communication to VGL"),
    QT_TRANSLATE_NOOP("vg::CoreTexts", "Soft-Error!"),
    QT_TRANSLATE_NOOP("vg::CoreTexts", "No CU_Id available"),
    QT_TRANSLATE_NOOP("vg::CoreTexts", "Interrupted: the transfer did not finish."),
    QT_TRANSLATE_NOOP("vg::CoreTexts", "Konfig-File has illegal size!"),
    QT_TRANSLATE_NOOP("vg::CoreTexts", "Namespace-File has illegal size!"),
    QT_TRANSLATE_NOOP("vg::CoreTexts", "Unit and file are the same."),
    QT_TRANSLATE_NOOP("vg::CoreTexts", "Please enter 8 numeric digits (0..9)!"),
    QT_TRANSLATE_NOOP("vg::CoreTexts", "Port is not available or occupied by another process."),
    QT_TRANSLATE_NOOP("vg::CoreTexts", "It is not there: is the adapter plugged in?"),
    QT_TRANSLATE_NOOP("vg::CoreTexts", "It is in use by another program."),
    QT_TRANSLATE_NOOP("vg::CoreTexts", "It is not a serial port."),
    // what the windows themselves ask and report through the message box
    QT_TRANSLATE_NOOP("vg::CoreTexts",
                      "Options > Communication: \"Driver...\" chooses a driver that loads, "
                      "\"Simulated unit\" goes back to the built-in unit."),
    QT_TRANSLATE_NOOP("vg::CoreTexts",
                      "The communication settings apply until the program ends, but could not "
                      "be saved:"),
    QT_TRANSLATE_NOOP("vg::CoreTexts", "The setting cannot be kept:"),
    QT_TRANSLATE_NOOP("vg::CoreTexts", "No values in table!"),
    QT_TRANSLATE_NOOP("vg::CoreTexts", "No tool-values in VGL available!"),
    QT_TRANSLATE_NOOP("vg::CoreTexts",
                      "Please enter filename in the following format: \"VGL_iiiiiiii\""),
    QT_TRANSLATE_NOOP("vg::CoreTexts", "The file cannot be read:"),
    QT_TRANSLATE_NOOP("vg::CoreTexts", "The trace cannot be written:"),
    QT_TRANSLATE_NOOP("vg::CoreTexts", "The trace is incomplete:"),
    QT_TRANSLATE_NOOP("vg::CoreTexts", "Save programmed data?"),
    QT_TRANSLATE_NOOP("vg::CoreTexts", "The unit could not be read back for checking:"),
    QT_TRANSLATE_NOOP("vg::CoreTexts", "The unit holds other values than were sent:"),
    QT_TRANSLATE_NOOP("vg::CoreTexts",
                      "The changed global settings must be saved to Vigilo to activate them!\n"
                      "Would you save it now?\n"
                      "\n"
                      "Yes:       Save the data and stay in this \"Tool Settings\"-sheet\n"
                      "No:        Go back to the \"Global Settings\"-sheet\n"
                      "Cancel:  Go back to the \"Global Settings\"-sheet and discard the "
                      "changes\n"),
    QT_TRANSLATE_NOOP("vg::CoreTexts", "The report could not be printed."),
    QT_TRANSLATE_NOOP("vg::CoreTexts", "The report could not be written to"),
    QT_TRANSLATE_NOOP("vg::CoreTexts", "No printer is installed. The report was written to"),
    // the parts of a compare's differences: what differs, its values, and where each was
    QT_TRANSLATE_NOOP("vg::CoreTexts", "angle"),
    QT_TRANSLATE_NOOP("vg::CoreTexts", "tolerance"),
    QT_TRANSLATE_NOOP("vg::CoreTexts", "intensity"),
    QT_TRANSLATE_NOOP("vg::CoreTexts", "Scanner"),
    QT_TRANSLATE_NOOP("vg::CoreTexts", "Out1"),
    QT_TRANSLATE_NOOP("vg::CoreTexts", "Out2"),
    QT_TRANSLATE_NOOP("vg::CoreTexts", "Out Pulse Time [msec]"),
    QT_TRANSLATE_NOOP("vg::CoreTexts", "Return Travel Monitoring"),
    QT_TRANSLATE_NOOP("vg::CoreTexts", "Signal Mode"),
    QT_TRANSLATE_NOOP("vg::CoreTexts", "Monitoring"),
    QT_TRANSLATE_NOOP("vg::CoreTexts", "Rotation Direction"),
    QT_TRANSLATE_NOOP("vg::CoreTexts", "Power On Move"),
    QT_TRANSLATE_NOOP("vg::CoreTexts", "Default Angle"),
    QT_TRANSLATE_NOOP("vg::CoreTexts", "Default Tolerance"),
    QT_TRANSLATE_NOOP("vg::CoreTexts", "Default Intensity"),
    QT_TRANSLATE_NOOP("vg::CoreTexts", "Ultra-Low"),
    QT_TRANSLATE_NOOP("vg::CoreTexts", "Low"),
    QT_TRANSLATE_NOOP("vg::CoreTexts", "Medium"),
    QT_TRANSLATE_NOOP("vg::CoreTexts", "High"),
    QT_TRANSLATE_NOOP("vg::CoreTexts", "N/C Normally Closed"),
    QT_TRANSLATE_NOOP("vg::CoreTexts", "N/O Normally Open"),
    QT_TRANSLATE_NOOP("vg::CoreTexts", "Inactive"),
    QT_TRANSLATE_NOOP("vg::CoreTexts", "Active"),
    QT_TRANSLATE_NOOP("vg::CoreTexts", "Unknown"),
    QT_TRANSLATE_NOOP("vg::CoreTexts", "at Home Position"),
    QT_TRANSLATE_NOOP("vg::CoreTexts", "at Offset Position"),
    QT_TRANSLATE_NOOP("vg::CoreTexts", "Object"),
    QT_TRANSLATE_NOOP("vg::CoreTexts", "Free Space"),
    QT_TRANSLATE_NOOP("vg::CoreTexts", "Clockwise"),
    QT_TRANSLATE_NOOP("vg::CoreTexts", "Counter-Clockwise"),
    QT_TRANSLATE_NOOP("vg::CoreTexts", "programmed"),
    QT_TRANSLATE_NOOP("vg::CoreTexts", "empty"),
    QT_TRANSLATE_NOOP("vg::CoreTexts", "no slot"),
    QT_TRANSLATE_NOOP("vg::CoreTexts", "sent"),
    QT_TRANSLATE_NOOP("vg::CoreTexts", "stored"),
    QT_TRANSLATE_NOOP("vg::CoreTexts", "in file"),
    QT_TRANSLATE_NOOP("vg::CoreTexts", "in unit"),
    // what is out of range
    QT_TRANSLATE_NOOP("vg::CoreTexts", "Angle"),
    QT_TRANSLATE_NOOP("vg::CoreTexts", "Tolerance"),
    QT_TRANSLATE_NOOP("vg::CoreTexts", "Intensity"),
};

// Heads of lines that go on with a value: the angle, the identifier, a code, a device.
constexpr std::array Heads = {
    QT_TRANSLATE_NOOP("vg::CoreTexts", " MeasA.: "),
    QT_TRANSLATE_NOOP("vg::CoreTexts", "Id: "),
    QT_TRANSLATE_NOOP("vg::CoreTexts", "Illegal Errornumber: "),
    QT_TRANSLATE_NOOP("vg::CoreTexts", "Init Communication failed! ErrorCode="),
    QT_TRANSLATE_NOOP("vg::CoreTexts", "Device "),
    QT_TRANSLATE_NOOP("vg::CoreTexts", "Fieldbus driver "),
};

// Whole lines with values in them (%1, %2 ...), the more particular first. A value that is
// itself one of the texts above is translated too.
constexpr std::array Patterns = {
    QT_TRANSLATE_NOOP("vg::CoreTexts",
                      "%1 leads through %2 to %3, which is not there: is the adapter plugged in?"),
    QT_TRANSLATE_NOOP("vg::CoreTexts", "%1 was looked for as %2 and as %3; neither is there."),
    QT_TRANSLATE_NOOP("vg::CoreTexts",
                      "Members of group %1 may open it: sudo usermod -aG %1 $USER, then log in "
                      "again."),
    QT_TRANSLATE_NOOP("vg::CoreTexts", "Only its owner, %1, may open it (mode %2)."),
    QT_TRANSLATE_NOOP("vg::CoreTexts", "It is in use by another program: %1."),
    QT_TRANSLATE_NOOP("vg::CoreTexts", "Tool %1: %2 %3 is outside %4 to %5"),
    QT_TRANSLATE_NOOP("vg::CoreTexts", "%1: %2 is outside 0 or %3 to %4"),
    QT_TRANSLATE_NOOP("vg::CoreTexts", "%1: %2 is outside %3 to %4"),
};

QString Translated(const char* source) {
    return QCoreApplication::translate(CoreTextContext, source);
}

// The known text `english` is, translated; a null string when it is none of them.
QString Whole(const QString& english) {
    for (const char* source : Texts) {
        if (english == QLatin1String(source)) {
            return Translated(source);
        }
    }
    return {};
}

// `source` as a pattern that matches a whole line: each %n takes what stands there.
QRegularExpression PatternOf(const QString& source) {
    static const QRegularExpression placeholder(QStringLiteral("%(\\d)"));
    QString pattern = QStringLiteral("^");
    qsizetype done = 0;
    for (auto it = placeholder.globalMatch(source); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        pattern += QRegularExpression::escape(source.mid(done, match.capturedStart() - done));
        pattern += QStringLiteral("(.+?)");
        done = match.capturedEnd();
    }
    pattern += QRegularExpression::escape(source.mid(done)) + QLatin1Char('$');
    return QRegularExpression(pattern);
}

// The line translated by the first pattern it fits; a null string when it fits none or the
// pattern has no translation.
QString Patterned(const QString& line) {
    static const QRegularExpression placeholder(QStringLiteral("%(\\d)"));
    for (const char* source : Patterns) {
        const QString english = QLatin1String(source);
        const QRegularExpressionMatch match = PatternOf(english).match(line);
        if (!match.hasMatch()) {
            continue;
        }
        const QString translated = Translated(source);
        if (translated == english) {
            return {};
        }
        // The value of each number where it first stands.
        std::array<QString, 10> values;
        int group = 1;
        for (auto it = placeholder.globalMatch(english); it.hasNext(); ++group) {
            const int number = it.next().captured(1).toInt();
            if (values[static_cast<size_t>(number)].isNull()) {
                const QString value = match.captured(group);
                const QString known = Whole(value);
                values[static_cast<size_t>(number)] = known.isNull() ? value : known;
            }
        }
        // Filled in one pass, so that a value holding "%2" stays as it is.
        QString result;
        qsizetype done = 0;
        for (auto it = placeholder.globalMatch(translated); it.hasNext();) {
            const QRegularExpressionMatch at = it.next();
            result += translated.mid(done, at.capturedStart() - done);
            result += values[static_cast<size_t>(at.captured(1).toInt())];
            done = at.capturedEnd();
        }
        return result + translated.mid(done);
    }
    return {};
}

QString Line(const QString& line) {
    if (const QString whole = Whole(line); !whole.isNull()) {
        return whole;
    }
    if (const QString patterned = Patterned(line); !patterned.isNull()) {
        return patterned;
    }
    const char* longest = nullptr;
    for (const char* head : Heads) {
        if (line.startsWith(QLatin1String(head)) &&
            (longest == nullptr || qstrlen(head) > qstrlen(longest))) {
            longest = head;
        }
    }
    if (longest == nullptr) {
        return line;
    }
    return Translated(longest) + line.mid(static_cast<qsizetype>(qstrlen(longest)));
}

} // namespace

QString CoreText(const QString& english) {
    if (const QString whole = Whole(english); !whole.isNull()) {
        return whole;
    }
    if (!english.contains(QLatin1Char('\n'))) {
        return Line(english);
    }
    QStringList lines = english.split(QLatin1Char('\n'));
    for (QString& line : lines) {
        line = Line(line);
    }
    return lines.join(QLatin1Char('\n'));
}

namespace {

// A value of a difference: a known text, the same with the number that tells two apart
// ("Unknown (3)"), or a number, which stays.
QString DifferenceValue(const std::string& value) {
    const QString text = QString::fromStdString(value);
    if (const QString whole = Whole(text); !whole.isNull()) {
        return whole;
    }
    const qsizetype number = text.lastIndexOf(QStringLiteral(" ("));
    if (number > 0 && text.endsWith(QLatin1Char(')'))) {
        if (const QString head = Whole(text.left(number)); !head.isNull()) {
            return head + text.mid(number);
        }
    }
    return text;
}

} // namespace

QString DifferenceLine(const ConfigDifference& difference, const char* expectedWord,
                       const char* foundWord) {
    QString subject =
        difference.Tool >= 0
            ? QCoreApplication::translate("vg::CoreTexts", "tool %1:").arg(difference.Tool)
            : DifferenceValue(difference.What) + QLatin1Char(':');
    if (difference.Tool >= 0 && !difference.What.empty()) {
        subject += QLatin1Char(' ') + DifferenceValue(difference.What);
    }
    return subject + QLatin1Char(' ') + DifferenceValue(difference.Expected) + QLatin1Char(' ') +
           Translated(expectedWord) + QStringLiteral(", ") + DifferenceValue(difference.Found) +
           QLatin1Char(' ') + Translated(foundWord);
}

} // namespace vg
