// Message boxes go through one hook: the GUI shows a modal box, vireoctl prints a line, tests
// record what would have been shown.
#pragma once

#include <functional>
#include <string>

enum class MsgIcon { None, Error, Warning, Information, Question };

using MessageBoxHook =
    std::function<void(const std::string& text, const std::string& caption, MsgIcon icon)>;

// Installs the hook and returns the previous one (an empty hook restores the default, which
// writes "caption: text" to standard error).
MessageBoxHook SetMessageBoxHook(MessageBoxHook hook);

void ShowMessageBox(const std::string& text, const std::string& caption, MsgIcon icon);

// Yes/No questions go through a hook of their own: the GUI asks in a modal box, tests answer as
// they choose. Without a hook the answer is No, so that nothing asked about is done unasked.
using QuestionHook = std::function<bool(const std::string& text, const std::string& caption)>;
QuestionHook SetQuestionHook(QuestionHook hook);
// True for Yes.
bool AskYesNo(const std::string& text, const std::string& caption);

// Unapplied changes: apply them, drop them, or stay where the user was. Without a hook the answer
// is Discard, so that nothing is written unasked and nothing the user did is held up.
enum class ChangesChoice { Apply, Discard, Cancel };
using ChangesHook =
    std::function<ChangesChoice(const std::string& text, const std::string& caption)>;
ChangesHook SetChangesHook(ChangesHook hook);
ChangesChoice AskApplyDiscardCancel(const std::string& text, const std::string& caption);
