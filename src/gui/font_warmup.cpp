// Readying the fonts on a second thread (see font_warmup.h).
#include "gui/font_warmup.h"

#include <QApplication>
#include <QFontDatabase>
#include <QFontMetrics>

namespace quorvel {

FontWarmUp::FontWarmUp(const QString& sample)
    : thread_([sample] {
        QFontDatabase::families();
        QFontMetrics(QApplication::font()).horizontalAdvance(sample);
      }) {}

FontWarmUp::~FontWarmUp() { thread_.join(); }

}  // namespace quorvel
