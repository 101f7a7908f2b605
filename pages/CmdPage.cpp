#include "pages/CmdPage.h"

#include "platform/log/LogWriter.h"
#include "platform/ui/ScrollBar.h"

#include <algorithm>
#include <cctype>
#include <climits>

namespace pages {

CCmdPage::CCmdPage(int templateId, RefreshOn refreshOn)
    : ui::Dialog(templateId), m_refreshOn(refreshOn)
{
}

void CCmdPage::OnShowWindow(bool show)
{
    ui::Dialog::OnShowWindow(show);
    if ((show && m_refreshOn != RefreshOn::Never) ||
        (!show && m_refreshOn == RefreshOn::ShowAndHide))
        Refresh();
}

void CCmdPage::AddBar(int barId, int minimum, int maximum, std::function<int()> get,
                      std::function<void(int)> set, std::initializer_list<Readout> readouts,
                      BarSteps steps)
{
    m_bars.push_back({barId, minimum, maximum, std::move(get), std::move(set),
                      std::vector<Readout>(readouts), steps});
}

const CCmdPage::Bar* CCmdPage::FindBar(int barId) const
{
    for (const Bar& bar : m_bars)
        if (bar.id == barId)
            return &bar;
    return nullptr;
}

int CCmdPage::BarValue(int barId) const
{
    const Bar* bar = FindBar(barId);
    return bar ? bar->get() : 0;
}

void CCmdPage::ShowReadouts(int barId)
{
    const Bar* bar = FindBar(barId);
    if (!bar)
        return;
    const int value = bar->get();
    for (const Readout& readout : bar->readouts)
        SetDlgItemText(readout.id, FormatReadout(readout, value));
}

void CCmdPage::ShowBar(int barId, int value)
{
    const Bar* bar = FindBar(barId);
    if (!bar)
        return;
    ui::ScrollBar control = GetScrollBar(barId);
    control.SetScrollRange(bar->minimum, bar->maximum, true);
    control.SetScrollPos(value, true);
    bar->set(value);
    ShowReadouts(barId);
}

void CCmdPage::OnHScroll(int code, int pos, ui::ScrollBar control)
{
    OnBeforeScroll();
    const Bar* bar = FindBar(control.GetDlgCtrlID());
    if (bar) {
        const int current = control.GetScrollPos();
        int value = current;
        switch (code) {
        case ui::SB_LINELEFT:
            value = current - bar->steps.line;
            break;
        case ui::SB_LINERIGHT:
            value = current + bar->steps.line;
            break;
        case ui::SB_PAGELEFT:
            value = current - bar->steps.page;
            break;
        case ui::SB_PAGERIGHT:
            value = current + bar->steps.page;
            break;
        case ui::SB_THUMBPOSITION:
            value = pos;
            break;
        default: // tracking, the ends and the end of scrolling move nothing
            break;
        }
        // A negative value is left to the clamp.
        if (bar->steps.evenOnly && value > 0 && value % 2 != 0)
            --value;
        value = std::clamp(value, bar->minimum, bar->maximum);
        bar->set(value);
        control.SetScrollPos(value, true);
        ShowReadouts(bar->id);
        OnBarChanged(bar->id);
    }
    ui::Dialog::OnHScroll(code, pos, control);
}

void CCmdPage::AddSeqLog(const std::string& line)
{
    if (ILogWriter* log = g_pLogDlg.load())
        log->AddSeqLog(line.c_str());
}

long long ParseDecimal(const std::string& text)
{
    std::size_t i = 0;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i])))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    unsigned long long magnitude = 0;
    const unsigned long long limit = negative ? 0ULL + LLONG_MAX + 1 : LLONG_MAX;
    for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i) {
        const unsigned digit = static_cast<unsigned>(text[i] - '0');
        magnitude = magnitude > (limit - digit) / 10 ? limit : magnitude * 10 + digit;
    }
    if (negative)
        return magnitude > static_cast<unsigned long long>(LLONG_MAX)
                   ? LLONG_MIN
                   : -static_cast<long long>(magnitude);
    return static_cast<long long>(magnitude);
}

bool CCmdPage::TakeShutterText(const std::string& text, int maximum, long long& value)
{
    const long long parsed = ParseDecimal(text);
    if (parsed < 0 || parsed > maximum) {
        // The full-width space stands between the two halves of the line.
        AddSeqLog("Shutter Speed isn't between 0\u3000and " + std::to_string(maximum) + ".\t");
        return false;
    }
    value = parsed;
    return true;
}

void CCmdPage::OnShutterListChange(int comboId, std::uint16_t& speed, int maximum)
{
    ui::ComboBox combo = GetComboBox(comboId);
    const int index = combo.GetCurSel();
    if (index < 0)
        return;
    long long value = 0;
    if (TakeShutterText(combo.GetLBText(index), maximum, value))
        speed = static_cast<std::uint16_t>(value);
}

} // namespace pages
