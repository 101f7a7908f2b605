// Message boxes of the GUI: the message-box hook that shows every box as a modal Qt message box
// on the user-interface thread, owned by the main window.
#pragma once

#include "platform/msgbox/MessageBox.h"

namespace ui {

// Installs the hook (returns the previous one). A box asked for on another thread is handed to
// the user-interface thread and shown there without making the caller wait.
MessageBoxHook InstallMessageBoxHook();

// Installs the hook that asks Yes/No questions in a modal box (returns the previous one). A
// question from another thread is answered No without being shown.
QuestionHook InstallQuestionHook();

// Installs the hook that asks about unapplied changes in a modal box with Apply, Discard and
// Cancel (returns the previous one). Asked from another thread, the answer is Cancel.
ChangesHook InstallChangesHook();

// Shows one box now; on the user-interface thread only.
void ShowModalMessageBox(const std::string& text, const std::string& caption, MsgIcon icon);

} // namespace ui
