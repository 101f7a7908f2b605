// Starts the whole program on the simulated frame grabber, as a user does: the setup dialog at
// start-up gets one of the grabber's ports and OK.
#pragma once

#include <string>

class CVireoView;
class CLogDlg;

namespace testing_support {

// The main view once start-up has ended, or null. port: the grabber's port index (0 to 3).
CVireoView* StartOnGrabberPort(int port);
// The same on the RS-232C port at path, stored as the user's choice with the given reply
// time-out; being stored, it opens without the setup dialog.
CVireoView* StartOnSerialPort(const std::string& path, int timeoutMs);
CLogDlg* LogWindow();
// Picks a model in the view's list as the user does.
void ChooseModel(CVireoView& view, const char* model);
// Closes the main window, waits until it is gone, and ends the program's start-up state.
void CloseProgram();

} // namespace testing_support
