// The workbench's pictures, drawn with QPainter so that no image files ship
// with the program: the frame's icon, the editor windows' icon, the toolbar
// buttons (one per command id, taken from the desktop's icon theme first) and
// the splash picture.
#pragma once

#include <QIcon>
#include <QPixmap>

QIcon FrameIcon();
QIcon DocumentIcon();
// The toolbar picture of command ID: the desktop icon theme's icon of that command's name when
// the theme has one, else the drawn picture; a plain square for an id without one.
QIcon CommandIcon(int id);
// The icon theme's name for command ID's picture; nullptr when the theme has none for it.
const char* CommandIconName(int id);
QPixmap SplashPicture(int width, int height);
