#pragma once
// The player window (275 × 116) and its shade bar (275 × 14), drawn in window coordinates
// after the art direction. The sprites are cut from these scenes, so
// every sprite carries exactly the pixels that surround it in the window.

#include "Image.h"
#include "Painter.h"

namespace skingen {

inline constexpr int kMainW = 275, kMainH = 116, kBarH = 14;

// The body alone: frame, gradient, engraved line (no title bar, wells or controls).
Image main_body();
// MAIN.BMP: the body with the active title bar, every well and painted label, and the
// controls at rest.
Image main_background();
// A 275 × 14 title bar, normal (`shade` false) or the shade bar, active or inactive, with
// its title buttons painted at rest.
Image title_bar(bool shade, bool active);

// Controls at their window positions.
void paint_transport(Image& img, int index, Press p);  // 0..4: previous .. next
void paint_eject(Image& img, Press p);
void paint_shuffle(Image& img, bool on, Press p);
void paint_repeat(Image& img, bool on, Press p);
void paint_playlist_toggle(Image& img, bool on, Press p);
// The clutter bar at (x, y); `held` is the key drawn pressed (0..4 = O A I D V) or −1.
void paint_clutter(Image& img, int x, int y, int held, bool dim);
void paint_volume(Image& img, int state);  // bar state 0..27 at (107, 57)
void paint_volume_thumb(Image& img, int x, int y, Press p);
void paint_seek_ruler(Image& img);  // at (16, 72)
void paint_seek_thumb(Image& img, int x, int y, Press p);
void paint_mono(Image& img, bool lit);    // at (212, 41)
void paint_stereo(Image& img, bool lit);  // at (239, 41)
// The shade bar's 3 × 7 mini seek thumb.
void paint_mini_thumb(Image& img, int x, int y);

}  // namespace skingen
