// The communication setup dialog when the Camera Link library cannot be loaded: the empty ID
// list names the loader's reason. A program of its own, as the library is loaded once.
#include "comm/ComIF.h"
#include "app/CommSetDlg.h"
#include "platform/camlink/ClLibrary.h"
#include "res/Resource.h"
#include "res/Resources.h"
#include "tests/platform/ui/GuiTest.h"
#include "tests/support/TestEnvironment.h"

#include <QTest>

#include <gtest/gtest.h>

#include <cstdlib>

TEST(CommSetDlgNoLibrary, TheEmptyIdListNamesTheLoadersReason)
{
    setenv("CLALLSERIAL_LIBRARY", "/nonexistent/libclallserial-missing.so", 1);
    testing_support::ScopedSettingsDir settings;
    res::Install();
    CComIF comIF;
    comIF.Initialize();
    const std::string reason = camlink::LibraryProblem();
    ASSERT_FALSE(reason.empty());
    CCommSetDlg dialog;
    std::string shown;
    gui_test::WhenModal([&](QWidget*) {
        shown = dialog.GetDlgItemText(IDC_TEXT_CAS_PROBLEM);
        QTest::mouseClick(dialog.GetDlgItem(ui::IDCANCEL), Qt::LeftButton);
    });
    CComSettings values;
    int casPort = -1;
    int portType = 1;
    EXPECT_FALSE(dialog.DoModal(&comIF, values, casPort, portType));
    EXPECT_EQ(shown, "No Camera Link library: " + reason);
    EXPECT_NE(shown.find("libclallserial-missing"), std::string::npos)
        << "the loader's own words: " << shown;
}
