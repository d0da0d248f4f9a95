#pragma once
// The program's own pictures, drawn in code: the icon every dialog shows and the
// 80 x 20 picture of the About box.

#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <string>

namespace dz {

// A note on a rounded teal square (16 and 32 pixels).
QIcon ProgramIcon();
// The same picture at `size` x `size` pixels, and as an SVG document (32 x 32 units); the
// icon-gen tool writes them for the desktop's icon theme.
QImage ProgramIconImage(int size);
std::string ProgramIconSvg();
// "DEZIDU" in a 5 x 7 pixel font at twice the size over a wave, 80 x 20 pixels.
QPixmap AboutPicture();

}  // namespace dz
