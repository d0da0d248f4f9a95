#include "platform/qt/QtKeyMap.h"

#include <Qt>

#include "platform/VirtualKeys.h"

namespace dz {

namespace {

// Shifted symbols of a US layout, by the digit or OEM key that makes them.
int FoldShifted(int k) {
    switch (k) {
        case Qt::Key_Exclam:
            return '1';
        case Qt::Key_At:
            return '2';
        case Qt::Key_NumberSign:
            return '3';
        case Qt::Key_Dollar:
            return '4';
        case Qt::Key_Percent:
            return '5';
        case Qt::Key_AsciiCircum:
            return '6';
        case Qt::Key_Ampersand:
            return '7';
        case Qt::Key_Asterisk:
            return '8';
        case Qt::Key_ParenLeft:
            return '9';
        case Qt::Key_ParenRight:
            return '0';
        case Qt::Key_Colon:
            return vk::kOem1;
        case Qt::Key_Plus:
            return vk::kOemPlus;
        case Qt::Key_Less:
            return vk::kOemComma;
        case Qt::Key_Underscore:
            return vk::kOemMinus;
        case Qt::Key_Greater:
            return vk::kOemPeriod;
        case Qt::Key_Question:
            return vk::kOem2;
        case Qt::Key_AsciiTilde:
            return vk::kOem3;
        case Qt::Key_BraceLeft:
            return vk::kOem4;
        case Qt::Key_Bar:
            return vk::kOem5;
        case Qt::Key_BraceRight:
            return vk::kOem6;
        case Qt::Key_QuoteDbl:
            return vk::kOem7;
        default:
            return 0;
    }
}

int Keypad(int k) {
    if (k >= Qt::Key_0 && k <= Qt::Key_9) return vk::kNumpad0 + (k - Qt::Key_0);
    switch (k) {
        case Qt::Key_Asterisk:
            return vk::kMultiply;
        case Qt::Key_Plus:
            return vk::kAdd;
        case Qt::Key_Minus:
            return vk::kSubtract;
        case Qt::Key_Period:
            return vk::kDecimal;
        case Qt::Key_Slash:
            return vk::kDivide;
        default:
            return 0;
    }
}

}  // namespace

int VirtualKeyFromQt(int k, bool keypad) {
    if (keypad) {
        if (int v = Keypad(k)) return v;
    }
    if (k >= Qt::Key_A && k <= Qt::Key_Z) return vk::kA + (k - Qt::Key_A);
    if (k >= Qt::Key_0 && k <= Qt::Key_9) return vk::k0 + (k - Qt::Key_0);
    if (k >= Qt::Key_F1 && k <= Qt::Key_F24) return vk::kF1 + (k - Qt::Key_F1);
    if (int v = FoldShifted(k)) return v;
    switch (k) {
        case Qt::Key_Backspace:
            return vk::kBack;
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
            return vk::kTab;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return vk::kReturn;
        case Qt::Key_Shift:
            return vk::kShift;
        case Qt::Key_Control:
            return vk::kControl;
        case Qt::Key_Alt:
        case Qt::Key_AltGr:
            return vk::kMenu;
        case Qt::Key_Meta:
            return vk::kLWin;
        case Qt::Key_Menu:
            return vk::kApps;
        case Qt::Key_Pause:
            return vk::kPause;
        case Qt::Key_CapsLock:
            return vk::kCapital;
        case Qt::Key_Escape:
            return vk::kEscape;
        case Qt::Key_Space:
            return vk::kSpace;
        case Qt::Key_PageUp:
            return vk::kPrior;
        case Qt::Key_PageDown:
            return vk::kNext;
        case Qt::Key_End:
            return vk::kEnd;
        case Qt::Key_Home:
            return vk::kHome;
        case Qt::Key_Left:
            return vk::kLeft;
        case Qt::Key_Up:
            return vk::kUp;
        case Qt::Key_Right:
            return vk::kRight;
        case Qt::Key_Down:
            return vk::kDown;
        case Qt::Key_Insert:
            return vk::kInsert;
        case Qt::Key_Delete:
            return vk::kDelete;
        case Qt::Key_NumLock:
            return vk::kNumLock;
        case Qt::Key_ScrollLock:
            return vk::kScroll;
        case Qt::Key_Semicolon:
            return vk::kOem1;
        case Qt::Key_Equal:
            return vk::kOemPlus;
        case Qt::Key_Comma:
            return vk::kOemComma;
        case Qt::Key_Minus:
            return vk::kOemMinus;
        case Qt::Key_Period:
            return vk::kOemPeriod;
        case Qt::Key_Slash:
            return vk::kOem2;
        case Qt::Key_QuoteLeft:
            return vk::kOem3;
        case Qt::Key_BracketLeft:
            return vk::kOem4;
        case Qt::Key_Backslash:
            return vk::kOem5;
        case Qt::Key_BracketRight:
            return vk::kOem6;
        case Qt::Key_Apostrophe:
            return vk::kOem7;
        default:
            return 0;
    }
}

}  // namespace dz
