// A style's standard icon that is read only when it is first drawn or asked about. The style
// reads every size of such an icon from its picture files at once, which made the hidden
// dialogs' buttons a large part of the program's start.
#pragma once

#include <QIcon>
#include <QStyle>

namespace quorvel {

QIcon LazyStandardIcon(QStyle* style, QStyle::StandardPixmap which);

}  // namespace quorvel
