// What a user's press, choice or command sets off runs as one action through one runner, so
// that the program can treat the action as a whole (its exchanges, its wait, its progress).
#pragma once

#include <functional>
#include <string>

namespace ui {

// Runs body as the action that label describes ("Reading Info from the camera...").
using ActionRunner =
    std::function<void(const std::string& label, const std::function<void()>& body)>;

// Installs the runner (an empty one runs the body as it is) and returns the previous one.
ActionRunner SetActionRunner(ActionRunner runner);
void RunUserAction(const std::string& label, const std::function<void()>& body);
// Runs closing at the end of each outermost action, inside it: what it sends belongs to the
// action (its wait, its progress, its failures). An empty one removes it.
void SetActionClosing(std::function<void()> closing);
// Whether the user interface thread is inside a user action now.
bool UserActionUnderWay();

// A failure of the running action that the user is told of when it ends: the first one reported
// since the outermost action began counts. Take returns it (empty when none) and forgets it.
void ReportActionFailure(const std::string& text);
std::string TakeActionFailure();
// The running action told its failure in a box of its own, which says what was not done: the
// runner then shows no other box for it. Take returns whether it was so and forgets it.
void ActionFailureTold();
bool TakeActionFailureTold();

// The label of an action that reads a page, and of one that a control's caption names.
std::string ReadingLabel(const std::string& what);
std::string CommandLabel(const std::string& caption);

} // namespace ui
