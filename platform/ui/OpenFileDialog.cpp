#include "platform/ui/OpenFileDialog.h"

#include "platform/ui/SaveFileDialog.h"

#include <QFileDialog>

#include <atomic>

namespace ui {
namespace {

std::atomic<OpenFileDialog*> g_replacement{nullptr};

class StandardOpenFileDialog final : public OpenFileDialog {
public:
    std::optional<std::string> Ask(QWidget* parent, const OpenFileRequest& request) override
    {
        QFileDialog dialog(parent);
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
        const QString filters = QString::fromStdString(NameFilters(request.filter));
        if (!filters.isEmpty())
            dialog.setNameFilters(filters.split(QStringLiteral(";;")));
        if (!request.folder.empty())
            dialog.setDirectory(QString::fromStdString(request.folder));
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return std::nullopt;
        return dialog.selectedFiles().front().toStdString();
    }
};

} // namespace

OpenFileDialog* SetOpenFileDialog(OpenFileDialog* dialog)
{
    return g_replacement.exchange(dialog);
}

std::optional<std::string> AskOpenFileName(QWidget* parent, const OpenFileRequest& request)
{
    if (OpenFileDialog* replacement = g_replacement.load())
        return replacement->Ask(parent, request);
    StandardOpenFileDialog standard;
    return standard.Ask(parent, request);
}

} // namespace ui
