// The save-file dialog: filters, the replacement tests answer with, and the standard dialog's
// proposed name and default extension.
#include "platform/ui/SaveFileDialog.h"
#include "tests/platform/ui/GuiTest.h"
#include "tests/support/TestEnvironment.h"

#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

using namespace ui;

namespace {

class Answer : public SaveFileDialog {
public:
    std::optional<std::string> Ask(QWidget*, const SaveFileRequest& request) override
    {
        asked = request;
        return reply;
    }
    SaveFileRequest asked;
    std::optional<std::string> reply;
};

} // namespace

TEST(SaveFileDialog, FilterTextsBecomeNameFilters)
{
    EXPECT_EQ(NameFilters("Text(*.txt)|*.txt|"), "Text(*.txt)");
    EXPECT_EQ(NameFilters("Logs|*.log;*.txt|All files|*.*|"),
              "Logs (*.log *.txt);;All files (*.*)");
    EXPECT_EQ(NameFilters(""), "");
    EXPECT_EQ(NameFilters("||"), "");
}

TEST(SaveFileDialog, AReplacementAnswersUntilRemoved)
{
    Answer answer;
    answer.reply = "/tmp/x.txt";
    EXPECT_EQ(SetSaveFileDialog(&answer), nullptr);
    SaveFileRequest request;
    request.proposedName = "CommLog0";
    EXPECT_EQ(AskSaveFileName(nullptr, request), std::optional<std::string>("/tmp/x.txt"));
    EXPECT_EQ(answer.asked.proposedName, "CommLog0");
    answer.reply.reset();
    EXPECT_FALSE(AskSaveFileName(nullptr, request));
    EXPECT_EQ(SetSaveFileDialog(nullptr), &answer);
}

TEST(SaveFileDialog, StandardDialogProposesTheNameAndAddsTheExtension)
{
    const std::string dir = testing_support::MakeTempDir("vireo-save-");
    const QString previous = QDir::currentPath();
    QDir::setCurrent(QString::fromStdString(dir));

    SaveFileRequest request;
    request.defaultExtension = "txt";
    request.proposedName = "SeqLog3";
    request.filter = "Text(*.txt)|*.txt|";
    gui_test::WhenModal([](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->acceptMode(), QFileDialog::AcceptSave);
        EXPECT_EQ(dialog->defaultSuffix(), "txt");
        EXPECT_EQ(dialog->nameFilters(), QStringList{"Text(*.txt)"});
        EXPECT_FALSE(dialog->testOption(QFileDialog::DontConfirmOverwrite));
        auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
        ASSERT_NE(name, nullptr);
        EXPECT_EQ(name->text(), "SeqLog3");
        QMetaObject::invokeMethod(dialog, "accept");
    });
    const std::optional<std::string> chosen = AskSaveFileName(nullptr, request);
    QDir::setCurrent(previous);
    ASSERT_TRUE(chosen);
    EXPECT_EQ(*chosen, QDir(QString::fromStdString(dir)).filePath("SeqLog3.txt").toStdString());

    gui_test::WhenModal([](QWidget* modal) { static_cast<QDialog*>(modal)->reject(); });
    EXPECT_FALSE(AskSaveFileName(nullptr, request));
    testing_support::RemoveTree(dir);
}
