#include "platform/ui/SaveFileDialog.h"

#include <QFileDialog>
#include <QStringList>

#include <atomic>

namespace ui {
namespace {

std::atomic<SaveFileDialog*> g_replacement{nullptr};

class StandardSaveFileDialog final : public SaveFileDialog {
public:
    std::optional<std::string> Ask(QWidget* parent, const SaveFileRequest& request) override
    {
        QFileDialog dialog(parent);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setDefaultSuffix(QString::fromStdString(request.defaultExtension));
        const QString filters = QString::fromStdString(NameFilters(request.filter));
        if (!filters.isEmpty())
            dialog.setNameFilters(filters.split(QStringLiteral(";;")));
        dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.overwritePrompt);
        if (!request.folder.empty())
            dialog.setDirectory(QString::fromStdString(request.folder));
        dialog.selectFile(QString::fromStdString(request.proposedName));
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return std::nullopt;
        return dialog.selectedFiles().front().toStdString();
    }
};

} // namespace

SaveFileDialog* SetSaveFileDialog(SaveFileDialog* dialog)
{
    return g_replacement.exchange(dialog);
}

std::optional<std::string> AskSaveFileName(QWidget* parent, const SaveFileRequest& request)
{
    if (SaveFileDialog* replacement = g_replacement.load())
        return replacement->Ask(parent, request);
    StandardSaveFileDialog standard;
    return standard.Ask(parent, request);
}

std::string NameFilters(const std::string& filter)
{
    const QStringList parts = QString::fromStdString(filter).split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString description = parts[i];
        QString patterns = parts[i + 1];
        if (description.isEmpty() && patterns.isEmpty())
            break;
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        // The standard dialog reads the patterns from the description's last parentheses.
        if (description.endsWith(QLatin1Char(')')) &&
            description.contains(QLatin1Char('(') + patterns + QLatin1Char(')')))
            filters << description;
        else
            filters << description + QStringLiteral(" (") + patterns + QLatin1Char(')');
    }
    return filters.join(QStringLiteral(";;")).toStdString();
}

} // namespace ui
