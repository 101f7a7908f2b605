// The about box: the program's icon, name and version.
#pragma once

#include "platform/ui/Dialog.h"

class CAboutDlg : public ui::Dialog {
public:
    CAboutDlg();
};
