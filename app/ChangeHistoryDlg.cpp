#include "app/ChangeHistoryDlg.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QStringList>
#include <QStyle>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <filesystem>

std::vector<AuditEntry> CameraHistory(const std::vector<AuditEntry>& trail,
                                      const AttachedCamera& camera)
{
    std::vector<AuditEntry> mine;
    for (const AuditEntry& entry : trail)
        if (entry.serial == camera.serial && entry.model == camera.model)
            mine.push_back(entry);
    // The trail is in the order the lines were appended; its times may not be (clocks differ).
    std::reverse(mine.begin(), mine.end());
    return mine;
}

namespace {

// Why nothing of the camera can be listed, or empty when it can.
QString NoCamera(const AttachedCamera& camera)
{
    if (!camera.portOpen)
        return QStringLiteral("No camera is connected: no port is open.");
    if (camera.result.Failed() || camera.serial.empty())
        return QStringLiteral("No camera is connected: the camera on %1 could not be identified.")
            .arg(QString::fromStdString(camera.port));
    return {};
}

enum Column { kTime, kUser, kSetting, kBefore, kAfter, kResult, kColumns };

// A value the line does not give: "not known" after a change that failed; for a line that gives
// only its registers, theirs ("63: C, 62: 40", from "63: C -> 22, ..."); else the not-read mark.
QString ValueText(const std::string& value, const AuditEntry& entry, bool after)
{
    if (!value.empty())
        return QString::fromStdString(value);
    if (after && !ChangeSucceeded(entry))
        return QStringLiteral("not known");
    if (entry.registers.empty() || !entry.before.empty() || !entry.after.empty())
        return QStringLiteral("-");
    QStringList values;
    for (const QString& one : QString::fromStdString(entry.registers).split(", ")) {
        const qsizetype colon = one.indexOf(QLatin1String(": "));
        const qsizetype arrow = one.indexOf(QLatin1String(" -> "));
        if (colon < 0 || arrow < colon)
            continue;
        values << one.left(colon + 2) +
                      (after ? one.mid(arrow + 4) : one.mid(colon + 2, arrow - colon - 2));
    }
    return values.join(QLatin1String(", "));
}

} // namespace

bool ChangeSucceeded(const AuditEntry& entry)
{
    return entry.result == "ok";
}

QString ChangeResultText(const AuditEntry& entry)
{
    if (ChangeSucceeded(entry))
        return QStringLiteral("Done");
    // A load that was undone says so itself ("rolled back (...)", "not rolled back: ...").
    // The trail keeps the protocol's text of a NAK; the user reads it as what it is.
    const QString reason = QString::fromStdString(entry.result)
                               .replace(QLatin1String("[NAK] Recieved"),
                                        QLatin1String("the camera refused the request"));
    if (entry.result.find("rolled back") != std::string::npos)
        return reason;
    return QStringLiteral("Failed: ") + reason;
}

CChangeHistoryDlg::CChangeHistoryDlg(QWidget* parent, const AttachedCamera& camera,
                                     const std::string& path)
    : QDialog(parent), m_table(new QTableWidget(0, kColumns, this)), m_note(new QLabel(this))
{
    setWindowTitle(QStringLiteral("Change History"));
    auto* layout = new QVBoxLayout(this);
    m_note->setWordWrap(true);
    m_note->setAccessibleName(QStringLiteral("About the change history"));
    layout->addWidget(m_note);
    m_table->setHorizontalHeaderLabels(
        {QStringLiteral("Time"), QStringLiteral("User"), QStringLiteral("Setting"),
         QStringLiteral("Before"), QStringLiteral("After (read back)"), QStringLiteral("Result")});
    m_table->setAccessibleName(QStringLiteral("Changes of the camera, newest first"));
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->verticalHeader()->setVisible(false);
    m_table->horizontalHeader()->setStretchLastSection(true);
    layout->addWidget(m_table);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    buttons->button(QDialogButtonBox::Close)->setAccessibleName(QStringLiteral("Close"));
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    resize(640, 400);

    const QString cameraNote = NoCamera(camera);
    if (!cameraNote.isEmpty()) {
        m_note->setText(cameraNote);
        return;
    }
    const QString name = QString::fromStdString(camera.model + " " + camera.serial);
    const QString file = QString::fromStdString(path);
    if (!std::filesystem::exists(path)) {
        m_note->setText(
            QStringLiteral("No change has been recorded yet: %1 does not exist.").arg(file));
        return;
    }
    std::string error;
    std::error_code kind;
    // A folder opens like a file and reads as empty: it is no trail.
    if (!std::filesystem::is_regular_file(path, kind))
        error = path + " is not a regular file";
    const std::vector<AuditEntry> trail =
        error.empty() ? ReadAudit(path, error) : std::vector<AuditEntry>{};
    if (!error.empty()) {
        m_note->setText(QStringLiteral("The audit trail cannot be read: %1")
                            .arg(QString::fromStdString(error)));
        return;
    }
    const std::vector<AuditEntry> mine = CameraHistory(trail, camera);
    m_note->setText(
        mine.empty()
            ? QStringLiteral("%1 has no recorded changes in %2.").arg(name, file)
            : QStringLiteral("Changes of %1 recorded in %2, newest first.").arg(name, file));
    m_table->setRowCount(static_cast<int>(mine.size()));
    int row = 0;
    for (const AuditEntry& entry : mine) {
        const auto cell = [&](int column, const QString& text) {
            auto* item = new QTableWidgetItem(text);
            // The registers an operation wrote, each with its before and after.
            if (!entry.registers.empty())
                item->setToolTip(QString::fromStdString("Registers " + entry.registers));
            m_table->setItem(row, column, item);
            return item;
        };
        cell(kTime, QString::fromStdString(entry.time));
        cell(kUser, QString::fromStdString(entry.user));
        cell(kSetting, QString::fromStdString(entry.what));
        cell(kBefore, ValueText(entry.before, entry, false));
        cell(kAfter, ValueText(entry.after, entry, true));
        QTableWidgetItem* result = cell(kResult, ChangeResultText(entry));
        if (!ChangeSucceeded(entry)) {
            // Marked apart from changes that were made, in more than colour.
            result->setIcon(style()->standardIcon(QStyle::SP_MessageBoxWarning));
            QFont font = result->font();
            font.setBold(true);
            result->setFont(font);
        }
        ++row;
    }
    m_table->resizeColumnsToContents();
}
