#include "runtime/os/desktop_opener.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "runtime/testing/fake_desktop_opener.h"

namespace vrt {
namespace {

TEST(DesktopOpenerTest, MissingFilesAndFoldersGiveTheShellCodes) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  QFile flyer(dir.filePath("flyer.pdf"));
  ASSERT_TRUE(flyer.open(QIODevice::WriteOnly));
  flyer.close();
  EXPECT_EQ(localPathFailure(dir.filePath("flyer.pdf").toStdString()), std::nullopt);
  EXPECT_EQ(localPathFailure(dir.filePath("poster.jpg").toStdString()), kShellFileNotFound);
  EXPECT_EQ(localPathFailure(dir.filePath("no such folder/poster.jpg").toStdString()), kShellPathNotFound);
  EXPECT_EQ(localPathFailure(""), kShellPathNotFound);
}

TEST(DesktopOpenerTest, MissingLocalFilesFailBeforeTheDesktopIsAsked) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  std::unique_ptr<DesktopOpener> system = makeSystemDesktopOpener();
  EXPECT_EQ(system->open(dir.filePath("missing.doc").toStdString()), kShellFileNotFound);
  EXPECT_EQ(system->open(dir.filePath("gone/missing.doc; rm -rf ~").toStdString()), kShellPathNotFound);
}

TEST(DesktopOpenerTest, SchemesAreToldApartFromDriveLetters) {
  EXPECT_TRUE(hasUrlScheme("http://example.org/a@b"));
  EXPECT_TRUE(hasUrlScheme("mailto:pastor@example.org"));
  EXPECT_FALSE(hasUrlScheme("C:\\Media\\flyer.pdf"));
  EXPECT_FALSE(hasUrlScheme("/home/media/flyer.pdf"));
  EXPECT_FALSE(hasUrlScheme("1http:x"));
}

TEST(DesktopOpenerTest, SystemDriveBecomesTheWindowsDrive) {
  EXPECT_EQ(expandSystemDrive("%SystemDrive%\\Mail\\mail.exe /m %1", "D:\\WINDOWS"), "D:\\Mail\\mail.exe /m %1");
  EXPECT_EQ(expandSystemDrive("mail.exe", "C:\\WINNT"), "mail.exe");
}

TEST(DesktopOpenerTest, TheInstalledOpenerCanBeReplacedAndRestored) {
  auto fake = std::make_unique<FakeDesktopOpener>();
  FakeDesktopOpener* seen = fake.get();
  std::unique_ptr<DesktopOpener> previous = installDesktopOpener(std::move(fake));
  EXPECT_EQ(&desktopOpener(), seen);
  installDesktopOpener(nullptr);
  EXPECT_NE(&desktopOpener(), seen);
}

}  // namespace
}  // namespace vrt
