#pragma once

#include <QPixmap>

namespace vg {

// The program's own pictures, drawn rather than shipped as files.
QPixmap MainPicture();               // 480 x 300, the main window's picture
QPixmap ProgramIconPixmap(int size); // the program icon
void PaintMainPicture(QPainter& painter, const QRect& area);

} // namespace vg
