#pragma once

#include <QString>

namespace vg {

struct ConfigDifference;

// The texts the core makes in English (status texts, the unit's messages, the results and
// errors of a transfer, captions of its progress) in the language of the windows. A whole
// text that is known is translated as one; otherwise each line is, and a line that starts
// with a known head ("Id: ", " MeasA.: ", "Device ") has its head translated and keeps the
// rest. Anything unknown stays as it is, so an English or C locale shows the core's bytes.
QString CoreText(const QString& english);

// One difference of a comparison as the core's DifferenceText writes it ("tool 3: angle 45.50
// sent, 46.50 stored"), its words and known values in the language of the windows.
// `expectedWord` and `foundWord` are among the texts listed in CoreTexts.cpp.
QString DifferenceLine(const ConfigDifference& difference, const char* expectedWord,
                       const char* foundWord);

// The translation context of these texts in the .ts files.
inline constexpr const char* CoreTextContext = "vg::CoreTexts";

} // namespace vg
