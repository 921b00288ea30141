// The workbench's pictures, drawn with QPainter so that no image files ship
// with the program: the frame's icon, the editor windows' icon, the toolbar
// buttons (one per command id) and the splash picture.
#pragma once

#include <QIcon>
#include <QPixmap>

QIcon FrameIcon();
QIcon DocumentIcon();
// The toolbar picture of command ID; a plain square for an id without one.
QIcon CommandIcon(int id);
QPixmap SplashPicture(int width, int height);
