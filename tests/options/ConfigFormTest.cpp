#include <gtest/gtest.h>

#include <QPushButton>
#include <QTest>

#include "app/Files.h"
#include "app/Settings.h"
#include "options/ConfigForm.h"
#include "support/TestSupport.h"

namespace pelwick {
namespace {

TEST(ConfigForm, SaveWritesTheSettingsAndCloses) {
    test::TProgramFolder dir;
    TConfigForm form;
    EXPECT_EQ(form.windowTitle(), "Options");
    form.show();
    ASSERT_TRUE(SettingsFile);
    SaverOptions.ImageInterval = 40;
    QTest::mouseClick(form.SaveButton(), Qt::LeftButton);
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(TSettingsFile(dir.File("Pelwick.ini")).ReadInteger("set", "ImageInterval", 0), 40);
}

TEST(ConfigForm, CancelWritesNothing) {
    test::TProgramFolder dir;
    TConfigForm form;
    form.show();
    SaverOptions.ImageInterval = 40;
    QTest::mouseClick(form.CancelButton(), Qt::LeftButton);
    EXPECT_FALSE(form.isVisible());
    EXPECT_FALSE(FileExists(dir.File("Pelwick.ini")));
}

TEST(ConfigForm, FailedSaveIsShownAndTheDialogStays) {
    test::TProgramFolder dir;
    TConfigForm form;
    std::vector<std::string> errors;
    form.ShowError = [&](const std::string& m) { errors.push_back(m); };
    form.show();
    dir.MakeFolder("Pelwick.ini");  // a folder where the file should go
    QTest::mouseClick(form.SaveButton(), Qt::LeftButton);
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_NE(errors[0].find("Pelwick.ini"), std::string::npos) << errors[0];
    EXPECT_TRUE(form.isVisible());
}

}  // namespace
}  // namespace pelwick
