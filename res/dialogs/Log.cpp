// The log window and its two tabs.
#include "res/Templates.h"

#include "res/Resource.h"

namespace res {

using namespace ui;

namespace {
constexpr std::uint32_t kLogEdit =
    es::MultiLine | es::VScroll | es::AutoHScroll | es::AutoVScroll | es::WantReturn | cs::TabStop;
} // namespace

const DialogTemplate& LogTemplate()
{
    // Right of the main form, its top a little above the form's.
    static const DialogTemplate dialog{
        IDD_LOG,
        "Log",
        {267, -40, 207, 141},
        // Its close box hides it; the main window's menu shows it again.
        ds::Popup | ds::Caption | ds::SysMenu,
        8,
        "",
        {
            {Kind::Tab,
             IDC_TAB_LOG,
             "",
             {0, 0, 206, 95},
             tcs::Bottom | tcs::FixedWidth | cs::TabStop},
            {Kind::PushButton, IDC_BUTTON_LOG_CLS, "&CLS", {7, 120, 50, 14}, cs::TabStop},
            {Kind::CheckBox, IDC_CHECK_LOG_TIME, "&Time", {64, 122, 40, 10}, cs::TabStop},
            {Kind::PushButton, IDC_BUTTON_LOG_SAVE, "&Save", {150, 120, 50, 14}, cs::TabStop},
        },
    };
    return dialog;
}

const DialogTemplate& LogCommTemplate()
{
    static const DialogTemplate dialog{
        IDD_LOG_COMM,
        "",
        {0, 0, 205, 76},
        ds::Child,
        8,
        "",
        {
            {Kind::Edit, IDC_EDIT_COMM_LOG, "", {0, 0, 205, 76}, kLogEdit},
        },
    };
    return dialog;
}

const DialogTemplate& LogSeqTemplate()
{
    static const DialogTemplate dialog{
        IDD_LOG_SEQ,
        "",
        {0, 0, 205, 75},
        ds::Child,
        8,
        "",
        {
            {Kind::Edit, IDC_EDIT_SEQ_LOG, "", {0, 0, 205, 75}, kLogEdit},
        },
    };
    return dialog;
}

} // namespace res
