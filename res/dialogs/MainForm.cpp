// The main form: the model list and the register-update button above the pages.
#include "res/Templates.h"

#include "res/Resource.h"

namespace res {

using namespace ui;

const DialogTemplate& MainFormTemplate()
{
    // The tab strip is in the Tab order; the arrow keys then move between its tabs.
    constexpr std::uint32_t kTabs = tcs::MultiLine | tcs::HotTrack | cs::TabStop;
    static const DialogTemplate dialog{
        IDD_VIREOSTUDIO_FORM,
        "",
        {0, 0, 267, 223},
        ds::Child,
        8,
        "",
        {
            {Kind::ComboBox,
             IDC_COMBO_MODEL,
             "",
             {7, 7, 90, 80},
             // A list without free text: only its four models can be chosen.
             cbs::DropDownList | cbs::Sort | cs::TabStop,
             {"RV1240DLX", "RV1250LX", "RVQM52BM14", "RVQM52CM14"}},
            {Kind::PushButton, IDC_BUTTON_UPDATE, "&Update", {104, 6, 50, 14}, cs::TabStop},
            // One tab control per model, stacked; the view shows the chosen model's.
            {Kind::Tab, IDC_TAB_RV1240, "", {2, 26, 263, 195}, kTabs},
            {Kind::Tab, IDC_TAB_RV1250, "", {2, 26, 263, 195}, kTabs},
            {Kind::Tab, IDC_TAB_RVQM52B, "", {2, 26, 263, 195}, kTabs},
            {Kind::Tab, IDC_TAB_RVQM52C, "", {2, 26, 263, 195}, kTabs},
        },
    };
    return dialog;
}

} // namespace res
