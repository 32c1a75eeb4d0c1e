// The program's own pictures, drawn in code: the branding picture of the main window and
// the picture of the wait window.
#pragma once

#include <QPixmap>

namespace quorvel {

// A memory card on a dark background, for the main window's branding corner (64 x 64).
QPixmap BrandingPicture();

// The wait window's 200 x 175 picture: a memory card in the link unit, with a warning sign.
QPixmap WaitPicture();

}  // namespace quorvel
