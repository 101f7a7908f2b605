// The main window's menu.
#include "res/Templates.h"

#include "res/Resource.h"

namespace res {

const ui::MenuTemplate& MainMenuTemplate()
{
    static const ui::MenuTemplate menu{
        IDR_MAINFRAME,
        {
            {"File(&F)",
             0,
             {{"&Save Camera Settings...", ID_FILE_SAVE_CAMERA_SETTINGS},
              {"&Load Camera Settings...", ID_FILE_LOAD_CAMERA_SETTINGS},
              {"", 0},
              {"Exit(&X)", ID_APP_EXIT}}},
            {"Comm(&C)",
             0,
             {{"COMM &Setup...", ID_COMM_SETUP}, {"&Identify Camera", ID_COMM_IDENTIFY_CAMERA}}},
            // The log window comes back here after it was closed.
            {"View(&V)", 0, {{"&Log Window", ID_VIEW_LOG_WINDOW}}},
            {"Help(&H)",
             0,
             {{"&Change History...", ID_HELP_CHANGE_HISTORY},
              {"VireoStudio Ver. (&A)", ID_APP_ABOUT}}},
        },
    };
    return menu;
}

} // namespace res
