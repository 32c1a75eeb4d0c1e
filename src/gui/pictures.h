// The program's own pictures, drawn in code: the branding picture of the main window and
// the picture of the wait window.
#pragma once

#include <QImage>
#include <QPixmap>

namespace quorvel {

// A memory card on a dark background, for the main window's branding corner (64 x 64).
QPixmap BrandingPicture();

// The wait window's 200 x 175 picture: a memory card in the link unit, with a warning sign.
QPixmap WaitPicture();

// `picture` for a screen of `device_pixel_ratio`: each pixel made a block of n x n device
// pixels of the same colour (n the ratio rounded up), so that an icon stays sharp where the
// window system would blur it; its logical size is that of `picture`.
QPixmap SharpPixmap(const QImage& picture, qreal device_pixel_ratio);

}  // namespace quorvel
