#pragma once

#include <QString>

namespace vg {

// The texts the core makes in English (status texts, the unit's messages, the results and
// errors of a transfer, captions of its progress) in the language of the windows. A whole
// text that is known is translated as one; otherwise each line is, and a line that starts
// with a known head ("Id: ", " MeasA.: ", "Device ") has its head translated and keeps the
// rest. Anything unknown stays as it is, so an English or C locale shows the core's bytes.
QString CoreText(const QString& english);

// The translation context of these texts in the .ts files.
inline constexpr const char* CoreTextContext = "vg::CoreTexts";

} // namespace vg
