// GoogleTest with a QApplication: widgets need one before the first test.
// Tests run on Qt's offscreen platform unless QT_QPA_PLATFORM says otherwise,
// so that no window appears on a developer's desktop (and test discovery
// works without a display).
#include <gtest/gtest.h>

#include <QApplication>

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
