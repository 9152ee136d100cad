#pragma once
// Every GUI test starts with no thread alive, in a fresh temporary directory, and leaves
// no thread or window behind.
#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "runtime/gui/threads.h"

namespace vrt::testing {

class GuiTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    previous_ = QDir::currentPath();
    QDir::setCurrent(dir_.path());
  }
  void TearDown() override {
    EndAllThreads();
    QDir::setCurrent(previous_);
  }

 private:
  QTemporaryDir dir_;
  QString previous_;
};

}  // namespace vrt::testing
