#pragma once

#include <QIcon>
#include <QPixmap>

namespace vg {

// The main window's picture, drawn rather than shipped as a file.
QPixmap MainPicture(); // 480 x 300
void PaintMainPicture(QPainter& painter, const QRect& area);

// The program icon: the icon theme's (an installation puts it there), else the icon file built
// into the program.
QIcon ProgramIcon();
// The built-in icon file drawn at size x size.
QPixmap ProgramIconPixmap(int size);

} // namespace vg
