#include "platform/ui/MessageBoxes.h"

#include "platform/ui/MainWindow.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QThread>

namespace ui {

void ShowModalMessageBox(const std::string& text, const std::string& caption, MsgIcon icon)
{
    QMessageBox::Icon shown = QMessageBox::NoIcon;
    switch (icon) {
    case MsgIcon::Error:
        shown = QMessageBox::Critical;
        break;
    case MsgIcon::Warning:
        shown = QMessageBox::Warning;
        break;
    case MsgIcon::Information:
        shown = QMessageBox::Information;
        break;
    case MsgIcon::Question:
        shown = QMessageBox::Question;
        break;
    case MsgIcon::None:
        break;
    }
    QMessageBox box(shown, QString::fromStdString(caption), QString::fromStdString(text),
                    QMessageBox::Ok, GetMainWindow());
    box.exec();
}

MessageBoxHook InstallMessageBoxHook()
{
    return SetMessageBoxHook([](const std::string& text, const std::string& caption, MsgIcon icon) {
        QCoreApplication* app = QCoreApplication::instance();
        if (!app)
            return;
        if (QThread::currentThread() == app->thread()) {
            ShowModalMessageBox(text, caption, icon);
            return;
        }
        QMetaObject::invokeMethod(
            app, [text, caption, icon] { ShowModalMessageBox(text, caption, icon); },
            Qt::QueuedConnection);
    });
}

QuestionHook InstallQuestionHook()
{
    return SetQuestionHook([](const std::string& text, const std::string& caption) {
        QCoreApplication* app = QCoreApplication::instance();
        if (!app || QThread::currentThread() != app->thread())
            return false;
        QMessageBox box(QMessageBox::Question, QString::fromStdString(caption),
                        QString::fromStdString(text), QMessageBox::Yes | QMessageBox::No,
                        GetMainWindow());
        box.setDefaultButton(QMessageBox::No);
        return box.exec() == QMessageBox::Yes;
    });
}

ChangesHook InstallChangesHook()
{
    return SetChangesHook([](const std::string& text, const std::string& caption) {
        QCoreApplication* app = QCoreApplication::instance();
        if (!app || QThread::currentThread() != app->thread())
            return ChangesChoice::Cancel;
        QMessageBox box(
            QMessageBox::Question, QString::fromStdString(caption), QString::fromStdString(text),
            QMessageBox::Apply | QMessageBox::Discard | QMessageBox::Cancel, GetMainWindow());
        box.setDefaultButton(QMessageBox::Apply);
        box.setEscapeButton(QMessageBox::Cancel);
        // Each answer is reached by its letter too.
        box.button(QMessageBox::Apply)->setText(QStringLiteral("&Apply"));
        box.button(QMessageBox::Discard)->setText(QStringLiteral("&Discard"));
        box.button(QMessageBox::Cancel)->setText(QStringLiteral("&Cancel"));
        switch (box.exec()) {
        case QMessageBox::Apply:
            return ChangesChoice::Apply;
        case QMessageBox::Discard:
            return ChangesChoice::Discard;
        default:
            return ChangesChoice::Cancel;
        }
    });
}

} // namespace ui
