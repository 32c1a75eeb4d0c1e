// Readies the fonts on a second thread while the windows are built. The first text the window
// thread lays out otherwise waits for the font configuration to be read, the installed fonts to
// be listed and, in Chinese, a font with the CJK characters to be chosen; done here meanwhile,
// the window thread finds the shared font database filled. Qt's font database may be used from
// any thread, and so may fonts and their metrics.
#pragma once

#include <QString>
#include <thread>

namespace quorvel {

class FontWarmUp {
 public:
  // Starts at once (the application object must exist): lists the fonts and lays out `sample`,
  // a text of the window in its language, in the application's font.
  explicit FontWarmUp(const QString& sample);
  // Waits for the thread: it must be done before the application object goes.
  ~FontWarmUp();

  FontWarmUp(const FontWarmUp&) = delete;
  FontWarmUp& operator=(const FontWarmUp&) = delete;

 private:
  std::thread thread_;
};

}  // namespace quorvel
