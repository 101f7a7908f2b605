#include "app/AboutDlg.h"

#include "res/Resource.h"

CAboutDlg::CAboutDlg() : ui::Dialog(IDD_ABOUTBOX) {}
