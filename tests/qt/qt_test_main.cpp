// GoogleTest with a QApplication: widgets need one before the first test.
// Tests run on Qt's offscreen platform unless QT_QPA_PLATFORM says otherwise,
// so that no window appears on a developer's desktop (and test discovery
// works without a display).
//
// Nothing a test does may reach the user's own settings (Qt's file dialog,
// for one, remembers its last folder in the user's configuration folder):
// the configuration, cache, data and state folders of the run are fresh
// temporary ones, removed at the end. Qt's own test mode is not used because
// it writes to ~/.qttest, which is still the user's home.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTemporaryDir>

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  const QTemporaryDir folders;
  if (!folders.isValid()) return 1;
  for (const char* name : {"XDG_CONFIG_HOME", "XDG_CACHE_HOME", "XDG_DATA_HOME", "XDG_STATE_HOME"})
    qputenv(name, (folders.path() + '/' + QString::fromLatin1(name)).toLocal8Bit());
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
