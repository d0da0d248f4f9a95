#pragma once
// Qt key codes -> Windows virtual keys.

namespace dz {

// The virtual key for a Qt key (Qt::Key value) pressed with `keypad` set when the key
// came from the numeric keypad. Shifted US symbols fold back to their unshifted key
// (Key_Exclam -> '1'). 0 when the key has no virtual key.
int VirtualKeyFromQt(int qt_key, bool keypad);

}  // namespace dz
