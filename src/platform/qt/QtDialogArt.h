#pragma once
// The program's own pictures, drawn in code: the icon every dialog shows and the
// 80 x 20 picture of the About box.

#include <QIcon>
#include <QPixmap>

namespace dz {

// A note on a rounded teal square (16 and 32 pixels).
QIcon ProgramIcon();
// "DEZIDU" in a 5 x 7 pixel font at twice the size over a wave, 80 x 20 pixels.
QPixmap AboutPicture();

}  // namespace dz
