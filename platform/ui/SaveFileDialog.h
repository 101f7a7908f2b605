// The standard save-file dialog behind an interface, so that tests can answer it.
#pragma once

#include <optional>
#include <string>

class QWidget;

namespace ui {

struct SaveFileRequest {
    std::string defaultExtension; // added when the chosen name has none ("txt")
    std::string proposedName;     // file name offered at first
    std::string folder;           // where the dialog opens; empty: the dialog's own choice
    // Pairs of description and pattern separated by '|', ending with '|' ("Text(*.txt)|*.txt|").
    std::string filter;
    bool overwritePrompt = true; // ask before replacing an existing file
    bool hideReadOnly = true;
};

class SaveFileDialog {
public:
    virtual ~SaveFileDialog() = default;
    // The full path the user chose, or nothing when cancelled.
    virtual std::optional<std::string> Ask(QWidget* parent, const SaveFileRequest& request) = 0;
};

// Replaces the dialog (tests); null restores the standard one. Returns the previous replacement.
SaveFileDialog* SetSaveFileDialog(SaveFileDialog* dialog);

// Asks through the replacement, or the standard dialog.
std::optional<std::string> AskSaveFileName(QWidget* parent, const SaveFileRequest& request);

// "Text(*.txt)|*.txt|" as name filters of the standard dialog.
std::string NameFilters(const std::string& filter);

} // namespace ui
