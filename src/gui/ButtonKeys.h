#pragma once

class QWidget;

namespace vg {

// Enter on a focused push button of `window` presses it, as Space does. The windows that keep
// Enter in their fields from pressing any button turn their buttons' auto-default off, which
// would leave a focused button deaf to Enter as well. Call once the buttons exist.
void PressFocusedButtonOnEnter(QWidget& window);

} // namespace vg
