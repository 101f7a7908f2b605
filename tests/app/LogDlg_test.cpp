// The log window: line limits, the trim, appends from two threads, the tabs, CLS, Save and the
// keys it swallows.
#include "app/LogDlg.h"
#include "app/WindowSettings.h"
#include "platform/profile/Profile.h"
#include "platform/ui/SaveFileDialog.h"
#include "platform/ui/UserAction.h"
#include "res/Resource.h"
#include "res/Resources.h"
#include "tests/platform/ui/GuiTest.h"
#include "tests/support/TestEnvironment.h"

#include <QFile>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTabBar>
#include <QTest>

#include <gtest/gtest.h>

#include <cctype>
#include <csignal>
#include <fstream>
#include <sys/resource.h>
#include <thread>

namespace {

// Answers the save-file dialog and remembers what it was asked.
class SaveAnswer : public ui::SaveFileDialog {
public:
    std::optional<std::string> Ask(QWidget*, const ui::SaveFileRequest& request) override
    {
        requests.push_back(request);
        return reply;
    }
    std::vector<ui::SaveFileRequest> requests;
    std::optional<std::string> reply;
};

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

class LogDlgTest : public testing::Test {
protected:
    void SetUp() override
    {
        res::Install();
        ASSERT_TRUE(log.Create(nullptr));
        log.ShowWindow(true);
        ui::SetSaveFileDialog(&answer);
    }
    void TearDown() override
    {
        ui::SetSaveFileDialog(nullptr);
        testing_support::RemoveTree(dir);
    }

    QPlainTextEdit* Box(int editId) const
    {
        const CLogTab& tab =
            editId == IDC_EDIT_COMM_LOG ? static_cast<const CLogTab&>(log.m_tabComm) : log.m_tabSeq;
        return tab.GetEdit(editId).TextEdit();
    }
    void ChooseTab(int index)
    {
        QTabBar* bar = log.m_tab.Widget()->Bar();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
    }
    void Press(int buttonId) { QTest::mouseClick(log.GetDlgItem(buttonId), Qt::LeftButton); }

    testing_support::ScopedSettingsDir settings; // before the window, which reads it
    CLogDlg log;
    SaveAnswer answer;
    std::string dir = testing_support::MakeTempDir("vireo-log-");
};

} // namespace

TEST_F(LogDlgTest, LinesAreCutTo255CharactersAndEndInCrLf)
{
    log.AddSeqLog(std::string(300, 'x').c_str());
    EXPECT_EQ(log.m_tabSeq.Text(), std::string(255, 'x') + "\r\n");
    log.m_tabSeq.Clear();
    log.AddSeqLog(std::string(255, 'y').c_str());
    EXPECT_EQ(log.m_tabSeq.Text(), std::string(255, 'y') + "\r\n");

    // A status record keeps its own CR; the box shows it as one line.
    EXPECT_EQ(log.AddCommLog("STAT: Port open COM1\r"), 0);
    log.AddCommLog("SEND: [STX]10RQ[ETX]");
    EXPECT_EQ(log.m_tabComm.Text(), "STAT: Port open COM1\r\r\nSEND: [STX]10RQ[ETX]\r\n");
    EXPECT_EQ(Box(IDC_EDIT_COMM_LOG)->toPlainText(),
              "STAT: Port open COM1\nSEND: [STX]10RQ[ETX]\n");
    EXPECT_EQ(log.m_tabSeq.Text(), std::string(255, 'y') + "\r\n") << "the other tab is untouched";
}

TEST_F(LogDlgTest, PastEightKilobytesTheOldestWholeRecordsGo)
{
    // 8188 characters and CR LF: 8190 in the tab.
    log.AddSeqLog(std::string(8188, 'a').c_str());
    ASSERT_EQ(log.m_tabSeq.Text().size(), 255u + 2u) << "one line holds 255 characters at most";
    log.m_tabSeq.Clear();
    for (int i = 0; i < 31; ++i)
        log.AddSeqLog(std::string(255, 'a').c_str()); // 31 * 257 = 7967
    log.AddSeqLog(std::string(221, 'b').c_str());     // 8190
    ASSERT_EQ(log.m_tabSeq.Text().size(), 8190u);
    log.AddSeqLog("0123456789"); // 8202 > 8192
    const std::string text = log.m_tabSeq.Text();
    // At least 512 characters go, in whole records: two of 257, so the text begins with one.
    EXPECT_EQ(text.size(), 8202u - 514u);
    EXPECT_EQ(text.substr(text.size() - 12), "0123456789\r\n");
    EXPECT_EQ(text.substr(0, 257), std::string(255, 'a') + "\r\n");

    // The box shows the whole text with the newest line in view.
    QPlainTextEdit* box = Box(IDC_EDIT_SEQ_LOG);
    ChooseTab(1);
    EXPECT_EQ(box->toPlainText(), CLogTab::ShownText(text));
    EXPECT_EQ(box->verticalScrollBar()->value(), box->verticalScrollBar()->maximum());
    EXPECT_GT(box->verticalScrollBar()->maximum(), 0);
}

TEST_F(LogDlgTest, AppendsFromAnotherThreadKeepTheirOrderAndReachTheBox)
{
    // The event thread receives while the user-interface thread sends: every reply is logged
    // after the request that caused it, and all lines keep the order of the calls.
    std::mutex turn;
    std::condition_variable changed;
    int sent = 0;
    std::thread receiver([&] {
        for (int i = 0; i < 40; ++i) {
            std::unique_lock lock(turn);
            changed.wait(lock, [&] { return sent > i; });
            log.AddCommLog(("RCV : " + std::to_string(i)).c_str());
        }
    });
    for (int i = 0; i < 40; ++i) {
        log.AddCommLog(("SEND: " + std::to_string(i)).c_str());
        {
            std::lock_guard lock(turn);
            ++sent;
        }
        changed.notify_one();
        QCoreApplication::processEvents();
    }
    receiver.join();
    const std::string text = log.m_tabComm.Text();
    std::size_t at = 0;
    for (int i = 0; i < 40; ++i) {
        const std::size_t send = text.find("SEND: " + std::to_string(i) + "\r\n", at);
        ASSERT_NE(send, std::string::npos) << i;
        const std::size_t receive = text.find("RCV : " + std::to_string(i) + "\r\n", send);
        ASSERT_NE(receive, std::string::npos) << i;
        at = send + 1;
    }
    // The box catches up on the user-interface thread.
    EXPECT_TRUE(gui_test::WaitFor(
        [&] { return Box(IDC_EDIT_COMM_LOG)->toPlainText() == CLogTab::ShownText(text); }));
}

namespace {

// What the box shows for a log text: the text as a whole, set at once.
QString WholeTextShown(const std::string& log)
{
    QPlainTextEdit reference;
    reference.setPlainText(CLogTab::ShownText(log));
    return reference.toPlainText();
}

} // namespace

TEST_F(LogDlgTest, TheBoxTakesEachLineAsTheWholeTextWouldShowItThroughEveryTrim)
{
    // Lines that end or break oddly; appended in turn, the trims cut them at every offset.
    const std::vector<std::string> lines = {
        "SEND: [STX]68RQ[ETX]",
        "STAT: Port open COM1\r",               // its own CR
        "RCV : a\nb",                           // a lone LF inside
        "two\r\nlines",                         // a CR LF inside one record
        "\xE3\x83\xAD\xE3\x82\xB0",             // three-byte characters
        std::string(253, 'u') + "\xE3\x83\xAD", // the 255 cut falls inside a character
        "\x81\x82 stray continuation bytes",
        "para\xE2\x80\xA9graph and\xC2\xA0nbsp",
        "",
        std::string(300, 'w'),
        "\r",
        "\n\r",
    };
    QPlainTextEdit* box = Box(IDC_EDIT_SEQ_LOG);
    log.AddSeqLog("before the tab is shown");
    EXPECT_EQ(box->toPlainText(), "") << "a hidden box waits";
    ChooseTab(1);
    for (int i = 0; i < 700; ++i) {
        const std::string& line = lines[static_cast<std::size_t>(i * 7 % 12)];
        log.AddSeqLog(line.c_str());
        ASSERT_EQ(box->toPlainText(), WholeTextShown(log.m_tabSeq.Text())) << i;
        if (i == 350)
            log.m_tabSeq.Clear();
    }
    EXPECT_GT(log.m_tabSeq.Text().size(), CLogTab::kTextMax - CLogTab::kTrimCount);
    // The newest line is in view; long lines scroll sideways.
    EXPECT_EQ(box->verticalScrollBar()->value(), box->verticalScrollBar()->maximum());
    EXPECT_NE(box->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    EXPECT_EQ(box->lineWrapMode(), QPlainTextEdit::NoWrap);
    EXPECT_GT(box->horizontalScrollBar()->maximum(), 0);
}

TEST_F(LogDlgTest, LinesFromAnotherThreadOrAUserActionReachTheBoxInOneUpdatePerBatch)
{
    // Counts the queued calls the tab receives.
    struct CallCounter : QObject {
        int calls = 0;
        bool eventFilter(QObject*, QEvent* event) override
        {
            calls += event->type() == QEvent::MetaCall;
            return false;
        }
    } counter;
    log.m_tabComm.installEventFilter(&counter);
    QPlainTextEdit* box = Box(IDC_EDIT_COMM_LOG);
    const auto writeBatch = [&](int batch) {
        for (int i = 0; i < 60; ++i)
            log.AddCommLog(
                ("RCV : " + std::to_string(batch) + "." + std::to_string(i) + std::string(100, '.'))
                    .c_str());
    };
    // Batches from the event thread, then batches of a user action on this thread; a line of
    // this thread outside an action is shown at once.
    log.AddCommLog("SEND: first");
    for (int batch = 0; batch < 6; ++batch) {
        if (batch < 3) {
            std::thread receiver([&] { writeBatch(batch); });
            receiver.join();
            log.AddCommLog("SEND: joins the batch");
        } else {
            ui::RunUserAction("Reading Info from the camera...", [&] {
                log.AddCommLog("SEND: in the action");
                writeBatch(batch);
            });
        }
        EXPECT_EQ(box->toPlainText(), "SEND: first\n") << "the box waits for the update";
        QCoreApplication::processEvents();
        EXPECT_EQ(counter.calls, batch + 1);
        EXPECT_EQ(box->toPlainText(), WholeTextShown(log.m_tabComm.Text())) << batch;
        log.m_tabComm.Clear();
        log.AddCommLog("SEND: first");
    }
    log.m_tabComm.removeEventFilter(&counter);
}

TEST_F(LogDlgTest, TabsSwitchTheVisibleLogAndClsClearsOnlyThatOne)
{
    EXPECT_EQ(log.windowTitle(), "Log");
    QTabBar* bar = log.m_tab.Widget()->Bar();
    ASSERT_EQ(bar->count(), 2);
    EXPECT_EQ(bar->tabText(0), "Com");
    EXPECT_EQ(bar->tabText(1), "Seq");
    // The strip lies below the logs.
    EXPECT_GT(bar->geometry().top(), log.m_tabComm.geometry().bottom());
    EXPECT_EQ(log.m_tabComm.pos(), QPoint(1, 2));
    EXPECT_EQ(log.m_tabSeq.pos(), QPoint(1, 2));
    EXPECT_EQ(log.m_tab.GetCurSel(), 0);
    EXPECT_TRUE(log.m_tabComm.isVisible());
    EXPECT_FALSE(log.m_tabSeq.isVisible());

    log.AddCommLog("SEND: a");
    log.AddSeqLog("\tGet Gain, Done.");
    ChooseTab(1);
    EXPECT_FALSE(log.m_tabComm.isVisible());
    EXPECT_TRUE(log.m_tabSeq.isVisible());
    Press(IDC_BUTTON_LOG_CLS);
    EXPECT_EQ(log.m_tabSeq.Text(), "");
    EXPECT_EQ(Box(IDC_EDIT_SEQ_LOG)->toPlainText(), "");
    EXPECT_EQ(log.m_tabComm.Text(), "SEND: a\r\n");

    ChooseTab(0);
    EXPECT_TRUE(log.m_tabComm.isVisible());
    Press(IDC_BUTTON_LOG_CLS);
    EXPECT_EQ(log.m_tabComm.Text(), "");
}

TEST_F(LogDlgTest, TheLogCannotBeEdited)
{
    log.AddCommLog("SEND: a");
    QPlainTextEdit* box = Box(IDC_EDIT_COMM_LOG);
    EXPECT_TRUE(box->isReadOnly());
    box->setFocus();
    QTest::keyClicks(box, "EDITED-BY-HAND");
    QTest::keyClick(box, Qt::Key_Backspace);
    EXPECT_EQ(box->toPlainText(), "SEND: a\n");
    EXPECT_EQ(log.m_tabComm.Text(), "SEND: a\r\n");
}

TEST_F(LogDlgTest, ReturnAndEscapeChangeNothing)
{
    log.AddCommLog("SEND: a");
    QPlainTextEdit* box = Box(IDC_EDIT_COMM_LOG);
    box->setFocus();
    QTest::keyClick(box, Qt::Key_Return);
    QTest::keyClick(box, Qt::Key_Enter);
    QTest::keyClick(box, Qt::Key_Escape);
    auto* cls = qobject_cast<QPushButton*>(log.GetDlgItem(IDC_BUTTON_LOG_CLS));
    cls->setFocus();
    QTest::keyClick(cls, Qt::Key_Return);
    QTest::keyClick(&log, Qt::Key_Escape);
    EXPECT_TRUE(log.isVisible());
    EXPECT_EQ(box->toPlainText(), "SEND: a\n") << "no line break typed, CLS not pressed";
    EXPECT_EQ(log.m_tabComm.Text(), "SEND: a\r\n");

    // Its close box hides it; records made meanwhile are kept and shown when it comes back.
    EXPECT_TRUE(log.windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_TRUE(log.close());
    EXPECT_FALSE(log.isVisible());
    log.AddCommLog("RCV : b");
    log.ShowWindow(true);
    EXPECT_EQ(box->toPlainText(), "SEND: a\nRCV : b\n");
}

TEST_F(LogDlgTest, SaveProposesNumberedNamesFromOneCounter)
{
    ChooseTab(1);
    answer.reply.reset(); // cancelled
    Press(IDC_BUTTON_LOG_SAVE);
    Press(IDC_BUTTON_LOG_SAVE);
    ASSERT_EQ(answer.requests.size(), 2u);
    EXPECT_EQ(answer.requests[0].proposedName, "SeqLog0");
    EXPECT_EQ(answer.requests[1].proposedName, "SeqLog0") << "a cancel counts nothing";
    EXPECT_EQ(answer.requests[0].defaultExtension, "txt");
    EXPECT_EQ(answer.requests[0].filter, "Text(*.txt)|*.txt|");
    EXPECT_TRUE(answer.requests[0].overwritePrompt);
    EXPECT_EQ(log.m_nSaveCount, 0);

    EXPECT_EQ(answer.requests[1].folder, "") << "no folder stored yet";
    answer.reply = dir + "/seq.txt";
    Press(IDC_BUTTON_LOG_SAVE);
    EXPECT_EQ(log.m_nSaveCount, 1);
    ChooseTab(0);
    answer.reply.reset();
    Press(IDC_BUTTON_LOG_SAVE);
    EXPECT_EQ(answer.requests.back().proposedName, "CommLog1");
    EXPECT_EQ(answer.requests.back().folder, dir) << "where the last save went";
}

TEST_F(LogDlgTest, SavedFileIsTheLogAndOneZeroByte)
{
    testing_support::MessageBoxRecorder boxes;
    answer.reply = dir + "/empty.txt";
    Press(IDC_BUTTON_LOG_SAVE);
    EXPECT_EQ(ReadFile(dir + "/empty.txt"), std::string(1, '\0'));

    log.AddCommLog("STAT: Port open COM1\r");
    log.AddCommLog("SEND: [STX]10RQ[ETX]");
    // Typed text is not saved: the log is.
    QTest::keyClicks(Box(IDC_EDIT_COMM_LOG), "typed");
    answer.reply = dir + "/comm.txt";
    Press(IDC_BUTTON_LOG_SAVE);
    const std::string expected =
        std::string("STAT: Port open COM1\r\r\nSEND: [STX]10RQ[ETX]\r\n") + '\0';
    EXPECT_EQ(ReadFile(dir + "/comm.txt"), expected);

    // Saving over an existing file replaces it.
    log.m_tabComm.Clear();
    log.AddCommLog("x");
    Press(IDC_BUTTON_LOG_SAVE);
    EXPECT_EQ(ReadFile(dir + "/comm.txt"), std::string("x\r\n") + '\0');
    EXPECT_TRUE(boxes.Boxes().empty());
}

TEST_F(LogDlgTest, FailedSaveReportsItAndLeavesAnExistingFileAsItWas)
{
    testing_support::MessageBoxRecorder boxes;
    // A directory cannot be written as a file.
    answer.reply = dir;
    log.AddCommLog("SEND: a");
    Press(IDC_BUTTON_LOG_SAVE);
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_NE(boxes.Boxes()[0].text.find(dir), std::string::npos);
    EXPECT_EQ(boxes.Boxes()[0].icon, MsgIcon::Error);
    EXPECT_EQ(log.m_nSaveCount, 1) << "the counter counts the attempt";
    EXPECT_EQ(log.m_tabComm.Text(), "SEND: a\r\n");

    // A write that fails half-way (the file size limit) must not cut the old file short.
    const std::string old = dir + "/old.txt";
    {
        std::ofstream(old, std::ios::binary) << "previous log";
    }
    for (int i = 0; i < 20; ++i)
        log.AddCommLog(std::string(200, 'z').c_str());
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    rlimit small = saved;
    small.rlim_cur = 64;
    auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    answer.reply = old;
    Press(IDC_BUTTON_LOG_SAVE);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);
    EXPECT_EQ(boxes.Boxes().size(), 2u);
    EXPECT_EQ(ReadFile(old), "previous log");
    EXPECT_EQ(log.m_nSaveCount, 2);
}

namespace {

// "hh:mm:ss.mmm +S.mmm " at the start of line: the milliseconds since the record before, and the
// record after the stamp. False when line does not start with a stamp of that shape.
bool SplitStamp(const std::string& line, long& sinceMs, std::string& record)
{
    const auto digits = [&](std::size_t from, std::size_t count) {
        for (std::size_t i = from; i < from + count; ++i)
            if (i >= line.size() || !std::isdigit(static_cast<unsigned char>(line[i])))
                return false;
        return true;
    };
    if (!digits(0, 2) || line[2] != ':' || !digits(3, 2) || line[5] != ':' || !digits(6, 2) ||
        line[8] != '.' || !digits(9, 3) || line.compare(12, 2, " +") != 0)
        return false;
    std::size_t dot = 14;
    while (dot < line.size() && std::isdigit(static_cast<unsigned char>(line[dot])))
        ++dot;
    if (dot == 14 || dot >= line.size() || line[dot] != '.' || !digits(dot + 1, 3) ||
        dot + 4 >= line.size() || line[dot + 4] != ' ')
        return false;
    sinceMs = std::stol(line.substr(14, dot - 14)) * 1000 + std::stol(line.substr(dot + 1, 3));
    record = line.substr(dot + 5);
    return true;
}

} // namespace

TEST_F(LogDlgTest, TimeStampsAreOffUntilChosenThenStampEveryRecordOnScreenAndInTheFile)
{
    struct Row {
        bool stamps;
        const char* file;
    };
    const Row rows[] = {{false, "plain.txt"}, {true, "stamped.txt"}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.file);
        log.m_tabComm.Clear();
        log.AddCommLog("STAT: Port open COM1\r");
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
        // Chosen after the first record was made: that one is stamped too, with its own time.
        if (row.stamps != (log.IsDlgButtonChecked(IDC_CHECK_LOG_TIME) == 1)) {
            // On the box itself: a check box takes clicks on its box and its text only.
            QWidget* check = log.GetDlgItem(IDC_CHECK_LOG_TIME);
            QTest::mouseClick(check, Qt::LeftButton, {}, QPoint(4, check->height() / 2));
        }
        EXPECT_EQ(log.TimeStamps(), row.stamps);
        log.AddCommLog("SEND: [STX]10RQ[ETX]");
        answer.reply = dir + "/" + row.file;
        Press(IDC_BUTTON_LOG_SAVE);
        const std::string saved = ReadFile(*answer.reply);
        if (!row.stamps) {
            EXPECT_EQ(saved,
                      std::string("STAT: Port open COM1\r\r\nSEND: [STX]10RQ[ETX]\r\n") + '\0');
            continue;
        }
        const std::string firstLine = saved.substr(0, saved.find("\r\n") + 2);
        const std::string secondLine = saved.substr(firstLine.size());
        long firstSince = -1;
        long secondSince = -1;
        std::string firstRecord;
        std::string secondRecord;
        ASSERT_TRUE(SplitStamp(firstLine, firstSince, firstRecord)) << saved;
        ASSERT_TRUE(SplitStamp(secondLine, secondSince, secondRecord)) << saved;
        EXPECT_EQ(firstRecord, "STAT: Port open COM1\r\r\n");
        EXPECT_EQ(secondRecord, std::string("SEND: [STX]10RQ[ETX]\r\n") + '\0');
        EXPECT_EQ(firstSince, 0) << "no record before the first";
        EXPECT_GE(secondSince, 30);
        EXPECT_EQ(Box(IDC_EDIT_COMM_LOG)
                      ->toPlainText()
                      .toStdString()
                      .rfind(firstLine.substr(0, firstLine.size() - 3), 0),
                  0u)
            << "the screen shows the stamps too";
    }
    // The choice is stored: the next window starts with it.
    EXPECT_EQ(profile::GetProfileInt(kWindowSection, kLogTimeStampsEntry, 0), 1);
    CLogDlg next;
    ASSERT_TRUE(next.Create(nullptr));
    EXPECT_TRUE(next.TimeStamps());
    EXPECT_EQ(next.IsDlgButtonChecked(IDC_CHECK_LOG_TIME), 1);
}
