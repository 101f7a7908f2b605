// The standard open-file dialog behind an interface, so that tests can answer it.
#pragma once

#include <optional>
#include <string>

class QWidget;

namespace ui {

struct OpenFileRequest {
    // Pairs of description and pattern separated by '|', ending with '|' ("JSON(*.json)|*.json|").
    std::string filter;
    std::string folder; // where the dialog opens; empty: the dialog's own choice
};

class OpenFileDialog {
public:
    virtual ~OpenFileDialog() = default;
    // The full path of an existing file the user chose, or nothing when cancelled.
    virtual std::optional<std::string> Ask(QWidget* parent, const OpenFileRequest& request) = 0;
};

// Replaces the dialog (tests); null restores the standard one. Returns the previous replacement.
OpenFileDialog* SetOpenFileDialog(OpenFileDialog* dialog);

// Asks through the replacement, or the standard dialog.
std::optional<std::string> AskOpenFileName(QWidget* parent, const OpenFileRequest& request);

} // namespace ui
