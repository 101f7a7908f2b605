// Each window on the screens and scales it meets: the main window (with the wrong-model bar, on
// every tab of the model with the most pages), COMM Setup and the log window open within the
// screen's available area, and every control in them is shown whole, or scrolls into view with
// its window's content. Each screen and scale runs in a child process of this program, since
// both are fixed when the application starts.
#include "app/CameraStatusBar.h"
#include "app/LogDlg.h"
#include "app/MainFrame.h"
#include "app/VireoApp.h"
#include "app/VireoView.h"
#include "res/Resource.h"
#include "tests/app/GrabberStartup.h"
#include "tests/platform/ui/GuiTest.h"
#include "tests/support/Process.h"
#include "tests/support/TestEnvironment.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>
#include <QTabBar>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

using namespace testing_support;

namespace {

// What the user works with: every named widget, and every widget of a control's kind but the
// scroll bars a scrolling area brings with it.
bool IsControl(QWidget* widget)
{
    if (!widget->accessibleName().isEmpty())
        return true;
    if (qobject_cast<QAbstractSlider*>(widget))
        return !widget->parentWidget() ||
               !widget->parentWidget()->objectName().startsWith("qt_scrollarea");
    if (auto* label = qobject_cast<QLabel*>(widget))
        return !label->text().isEmpty();
    return qobject_cast<QAbstractButton*>(widget) || qobject_cast<QComboBox*>(widget) ||
           qobject_cast<QLineEdit*>(widget) || qobject_cast<QAbstractSpinBox*>(widget) ||
           qobject_cast<QPlainTextEdit*>(widget) || qobject_cast<QTabBar*>(widget);
}

// Whether the control is cut off by the widgets around it, up to its window or to the content
// of a scroll area (which scrolls), or its text does not fit it.
std::string Fault(QWidget* control, QWidget* window)
{
    if (control->width() <= 0 || control->height() <= 0)
        return "empty";
    const QString text = qobject_cast<QAbstractButton*>(control)
                             ? static_cast<QAbstractButton*>(control)->text().remove('&')
                             : QString();
    if (qobject_cast<QCheckBox*>(control) || qobject_cast<QRadioButton*>(control)) {
        if (control->sizeHint().width() > control->width())
            return "text cut";
    } else if (qobject_cast<QPushButton*>(control)) {
        if (control->fontMetrics().horizontalAdvance(text) + 4 > control->width())
            return "text cut";
    } else if (auto* label = qobject_cast<QLabel*>(control); label && !label->wordWrap()) {
        for (const QString& line : label->text().split('\n'))
            if (label->fontMetrics().horizontalAdvance(line) > label->width())
                return "text cut";
    } else if (label && label->heightForWidth(label->width()) > label->height()) {
        return "text cut";
    }
    // Nothing beside it lies over it (a frame around it does not count).
    if (QWidget* parent = control->parentWidget();
        parent && qobject_cast<QAbstractButton*>(control))
        for (QWidget* other : parent->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            if (other != control && other->isVisibleTo(window) && IsControl(other) &&
                !qobject_cast<QGroupBox*>(other) &&
                other->geometry().intersects(control->geometry()))
                return "covered by " + other->accessibleName().toStdString();
    QRect rect = control->rect();
    for (QWidget* at = control; at != window;) {
        QWidget* parent = at->parentWidget();
        if (!parent)
            return "no window";
        if (auto* area = qobject_cast<QScrollArea*>(parent->parentWidget());
            area && parent == area->viewport()) {
            // What the content holds scrolls into view.
            rect = area->rect();
            at = area;
            continue;
        }
        rect.translate(at->pos());
        if (!parent->rect().contains(rect))
            return "cut off";
        at = parent;
    }
    return {};
}

// One line about a window; adds a failure for each fault.
std::string Check(const char* name, QWidget* window)
{
    const QRect area = window->screen()->availableGeometry();
    const QRect frame = window->frameGeometry();
    EXPECT_TRUE(area.contains(frame)) << name;
    int controls = 0;
    std::string faults;
    for (QWidget* control : window->findChildren<QWidget*>()) {
        if (control->window() != window || !IsControl(control) || !control->isVisibleTo(window))
            continue;
        ++controls;
        if (const std::string fault = Fault(control, window); !fault.empty())
            faults += " [" + control->accessibleName().toStdString() + " (" +
                      control->metaObject()->className() + "): " + fault + "]";
    }
    EXPECT_EQ(faults, "") << name;
    char line[256];
    std::snprintf(line, sizeof line, "%s: %dx%d at %d,%d in %dx%d, %d controls visible", name,
                  frame.width(), frame.height(), frame.x(), frame.y(), area.width(), area.height(),
                  controls);
    return line + (faults.empty() ? std::string() : " but" + faults);
}

} // namespace

// The child: one screen and scale, from the environment the parent gives it.
TEST(WindowLayout, OnOneScreen)
{
    const char* screen = std::getenv("VIREO_LAYOUT_SCREEN");
    if (!screen)
        GTEST_SKIP() << "run by WindowLayout.WithinTheScreenEveryControlVisible";
    ScopedSettingsDir settings;
    ASSERT_EQ(std::system(
                  ("bash '" SOURCE_DIR "/scripts/demo-config' '" + settings.Path() + "'").c_str()),
              0);
    setenv("CLALLSERIAL_LIBRARY", CLSIM_PATH, 1);
    ASSERT_TRUE(theApp.InitInstance({"VireoStudio"}));
    CMainFrame& frame = *theApp.m_pMainWnd;
    CVireoView& view = *frame.GetActiveView();
    std::string report;

    // The model with the most pages, on an RV1240DLX: the wrong-model bar shows too, and the
    // status bar has a long line.
    ChooseModel(view, "RVQM52CM14");
    AttachedCamera refused = frame.Attached();
    refused.result = REG_INVALID_DATA;
    frame.GetCameraStatus()->Show(refused);
    frame.FitToView(); // as after each port opening
    QCoreApplication::processEvents();
    QTabBar* tabs = view.GetTabCtrl(IDC_TAB_RVQM52C).Widget()->Bar();
    std::string pages;
    for (int tab = 0; tab < tabs->count(); ++tab) {
        SCOPED_TRACE(tabs->tabText(tab).toStdString());
        tabs->setCurrentIndex(tab);
        pages = Check("main window", &frame);
    }
    report += pages + "\n";

    gui_test::WhenModal([&](QWidget* modal) {
        report += Check("COMM Setup", modal) + "\n";
        if (auto* dialog = qobject_cast<QDialog*>(modal))
            dialog->reject();
    });
    frame.OnCommand(ID_COMM_SETUP);

    // Where there was no room beside the main window it opens from the menu.
    CLogDlg* log = LogWindow();
    const bool atStart = log->isVisible();
    frame.OnCommand(ID_VIEW_LOG_WINDOW);
    ASSERT_TRUE(log->isVisible());
    QPlainTextEdit* box = log->m_tabComm.GetEdit(IDC_EDIT_COMM_LOG).TextEdit();
    const int lines = box->viewport()->height() / box->fontMetrics().lineSpacing();
    EXPECT_GE(lines, 4);
    report += Check("log window", log) + ", " + std::to_string(lines) + " lines" +
              (atStart ? "" : ", opened from the menu") + "\n";
    std::printf("%s", report.c_str());
    CloseProgram();
}

TEST(WindowLayout, WithinTheScreenEveryControlVisible)
{
    if (std::getenv("VIREO_LAYOUT_SCREEN"))
        GTEST_SKIP();
    struct Row {
        int width, height;
        const char* scale;
    };
    const Row rows[] = {{1024, 768, "1"}, {1024, 768, "1.5"}, {1024, 768, "2"},
                        {1280, 800, "1"}, {1280, 800, "1.5"}, {1280, 800, "2"}};
    const std::string dir = MakeTempDir("vireo-layout-");
    for (const Row& row : rows) {
        const std::string size = std::to_string(row.width) + "x" + std::to_string(row.height);
        SCOPED_TRACE(size + " at scale " + row.scale);
        const std::string config = dir + "/" + size + ".json";
        std::ofstream(config) << "{\"screens\": [{\"name\": \"layout\", \"x\": 0, \"y\": 0, "
                              << "\"width\": " << row.width << ", \"height\": " << row.height
                              << ", \"logicalDpi\": 96, \"logicalBaseDpi\": 96, \"dpr\": 1}]}";
        const ProcessResult child =
            RunProcess({"/proc/self/exe", "--gtest_filter=WindowLayout.OnOneScreen"},
                       {"QT_QPA_PLATFORM=offscreen:configfile=" + config,
                        std::string("QT_SCALE_FACTOR=") + row.scale, "VIREO_LAYOUT_SCREEN=" + size},
                       60);
        EXPECT_EQ(child.exitStatus, 0) << child.out << child.err;
        for (const std::string& line : Lines(child.out))
            if (line.find(" controls visible") != std::string::npos)
                std::printf("%s @%s  %s\n", size.c_str(), row.scale, line.c_str());
    }
    RemoveTree(dir);
}
