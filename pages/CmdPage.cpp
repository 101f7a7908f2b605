#include "pages/CmdPage.h"

#include "platform/log/LogWriter.h"
#include "platform/ui/ScrollBar.h"
#include "platform/ui/UserAction.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QSignalBlocker>
#include <QApplication>
#include <QFont>
#include <QLineEdit>
#include <QPalette>

#include <algorithm>
#include <cctype>
#include <climits>
#include <exception>
#include <string>

namespace pages {

namespace {
std::function<bool()>& ReadRule()
{
    static std::function<bool()> rule;
    return rule;
}
} // namespace

void CCmdPage::SetReadRule(std::function<bool()> mayRead)
{
    ReadRule() = std::move(mayRead);
}

bool CCmdPage::MayRead()
{
    const std::function<bool()>& rule = ReadRule();
    return !rule || rule();
}

CCmdPage::CCmdPage(int templateId, RefreshOn refreshOn)
    : ui::Dialog(templateId), m_refreshOn(refreshOn)
{
}

bool CCmdPage::OnInitDialog()
{
    ui::Dialog::OnInitDialog();
    ShowStates();
    for (const Bar& bar : m_bars) {
        ShowReadouts(bar.id);
        // A box that shows the bar's value as it is takes a typed value too; a scaled one
        // (dB, LSB) only shows.
        for (const Readout& readout : bar.readouts) {
            auto* box = qobject_cast<QLineEdit*>(GetDlgItem(readout.id));
            if (!box ||
                (readout.format != ReadoutFormat::Hex && readout.format != ReadoutFormat::Dec))
                continue;
            box->setReadOnly(false);
            QPalette palette = box->palette();
            palette.setColor(QPalette::Base, QApplication::palette(box).color(QPalette::Base));
            box->setPalette(palette);
            QObject::connect(box, &QLineEdit::editingFinished, this,
                             [this, id = bar.id, readout] { TakeTypedValue(id, readout); });
        }
    }
    // A click on a check box changes the value it shows; lists, radios and bars say so
    // through their own handlers.
    for (const auto& [value, id] : m_controls)
        if (auto* box = qobject_cast<QCheckBox*>(GetDlgItem(id)))
            QObject::connect(box, &QCheckBox::clicked, this,
                             [this, value = value, id = id] { MarkChanged(value, id); });
    return true;
}

void CCmdPage::ForgetCamera()
{
    // What the user set stays to be applied; what the last camera gave goes.
    std::vector<const void*> values;
    for (const auto& [value, state] : m_states)
        if (state == ValueState::Read)
            values.push_back(value);
    for (const void* value : values) {
        if (!IsCreated()) {
            m_states[value] = ValueState::NotRead;
            continue;
        }
        SetState(value, ValueState::NotRead);
    }
    if (!IsCreated())
        return;
    ClearUnread();
    // What a page works out of its bars' values (timings) goes with them.
    for (const Bar& bar : m_bars)
        OnBarChanged(bar.id);
}

bool CCmdPage::HasChanges() const
{
    return std::any_of(m_states.begin(), m_states.end(),
                       [](const auto& entry) { return entry.second == ValueState::Changed; });
}

void CCmdPage::ShowChanged(const void* value, bool changed)
{
    const auto [first, last] = m_controls.equal_range(value);
    // A value changed through one of its controls marks that one; the others of its register
    // show what they showed.
    bool through = false;
    for (auto it = first; it != last; ++it)
        through = through || m_changedIds.count(it->second) > 0;
    for (auto it = first; it != last; ++it) {
        const bool marked = changed && (!through || m_changedIds.count(it->second) > 0);
        if (!changed)
            m_changedIds.erase(it->second);
        const QString description = marked ? QString::fromLatin1(kChangedDescription) : QString();
        QWidget* control = GetDlgItem(it->second);
        if (!control || control->accessibleDescription() == description)
            continue;
        // Underlined rather than bold: the text keeps its width and stays whole.
        QFont font = control->font();
        font.setUnderline(marked);
        control->setFont(font);
        control->setAccessibleDescription(description);
    }
}

ValueState CCmdPage::StateOf(const void* value) const
{
    const auto it = m_states.find(value);
    return it == m_states.end() ? ValueState::NotRead : it->second;
}

void CCmdPage::BindControls(const void* value, std::initializer_list<int> ids)
{
    for (int id : ids)
        m_controls.emplace(value, id);
}

void CCmdPage::SetState(const void* value, ValueState state)
{
    m_states[value] = state;
    const bool known = state != ValueState::NotRead;
    const auto [first, last] = m_controls.equal_range(value);
    for (auto it = first; it != last; ++it)
        if (QWidget* control = GetDlgItem(it->second))
            control->setEnabled(known && ControlEditable(it->second));
    for (const Bar& bar : m_bars)
        if (bar.value == value)
            ShowReadouts(bar.id);
    if (!known) {
        const auto [firstText, lastText] = m_knownTexts.equal_range(value);
        for (auto it = firstText; it != lastText; ++it)
            SetDlgItemText(it->second, kNotReadText);
    }
    ShowChanged(value, state == ValueState::Changed);
    if (m_onChanges)
        m_onChanges();
}

void CCmdPage::ShowStates()
{
    for (const auto& [value, id] : m_controls)
        if (QWidget* control = GetDlgItem(id))
            control->setEnabled(Known(value) && ControlEditable(id));
    ClearUnread();
}

bool CCmdPage::UpdateData(bool saveAndValidate)
{
    ui::Dialog::UpdateData(saveAndValidate);
    if (!saveAndValidate)
        ClearUnread();
    return true;
}

void CCmdPage::ClearUnread()
{
    for (const auto& [value, id] : m_controls) {
        if (Known(value))
            continue;
        QWidget* control = GetDlgItem(id);
        if (auto* button = qobject_cast<QAbstractButton*>(control);
            button && button->isCheckable() && button->isChecked()) {
            // An exclusive group refuses to uncheck its last checked button.
            QButtonGroup* group = button->group();
            const bool exclusive = group && group->exclusive();
            if (exclusive)
                group->setExclusive(false);
            const QSignalBlocker quiet(button);
            button->setChecked(false);
            if (exclusive)
                group->setExclusive(true);
        } else if (auto* list = qobject_cast<QComboBox*>(control)) {
            const QSignalBlocker quiet(list);
            list->setCurrentIndex(-1);
            if (list->isEditable())
                list->setEditText({});
        }
    }
}

bool CCmdPage::TakeRead(const void* value, const CResult& result)
{
    NoteFailure(result);
    SetState(value, result.Ok() ? ValueState::Read : ValueState::NotRead);
    return result.Ok();
}

void CCmdPage::NoteFailure(const CResult& result)
{
    if (const std::string text = CameraFailureText(result); !text.empty())
        ui::ReportActionFailure(text);
}

void CCmdPage::ShowKnownText(int id, const void* value, const std::string& text)
{
    const auto [first, last] = m_knownTexts.equal_range(value);
    if (std::none_of(first, last, [id](const auto& entry) { return entry.second == id; }))
        m_knownTexts.emplace(value, id);
    SetDlgItemText(id, Known(value) ? text : kNotReadText);
}

void CCmdPage::OnShowWindow(bool show)
{
    ui::Dialog::OnShowWindow(show);
    if (!MayRead())
        return;
    if (show && m_refreshOn != RefreshOn::Never)
        Refresh();
}

void CCmdPage::AddBar(const void* value, int barId, int minimum, int maximum,
                      std::function<int()> get, std::function<void(int)> set,
                      std::initializer_list<Readout> readouts, BarSteps steps)
{
    m_bars.push_back({value, barId, minimum, maximum, std::move(get), std::move(set),
                      std::vector<Readout>(readouts), steps});
    m_controls.emplace(value, barId);
    for (const Readout& readout : readouts)
        m_controls.emplace(value, readout.id);
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
    const bool known = Known(bar->value);
    for (const Readout& readout : bar->readouts)
        SetDlgItemText(readout.id, known ? FormatReadout(readout, value) : kNotReadText);
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
    // A value that was not read is not moved from a guess, nor one the page would not write.
    if (bar && Known(bar->value) && ControlEditable(bar->id)) {
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
        const bool moved = value != bar->get();
        bar->set(value);
        control.SetScrollPos(value, true);
        if (moved)
            MarkChanged(bar->value);
        ShowReadouts(bar->id);
        OnBarChanged(bar->id);
    }
    ui::Dialog::OnHScroll(code, pos, control);
}

void CCmdPage::TakeTypedValue(int barId, const Readout& readout)
{
    const Bar* bar = FindBar(barId);
    auto* box = qobject_cast<QLineEdit*>(GetDlgItem(readout.id));
    if (!bar || !box)
        return;
    OnBeforeScroll();
    std::string text = box->text().trimmed().toStdString();
    const bool hex = readout.format == ReadoutFormat::Hex;
    if (hex && (text.rfind("0x", 0) == 0 || text.rfind("0X", 0) == 0))
        text.erase(0, 2);
    long long typed = 0;
    std::size_t used = 0;
    bool number = !text.empty() && text.size() <= 12;
    if (number) {
        try {
            typed = std::stoll(text, &used, hex ? 16 : 10);
        } catch (const std::exception&) {
            number = false;
        }
    }
    // Only a whole number within the bar's range is taken, from a value that was read, and only
    // where the page would write it.
    const bool taken = number && used == text.size() && typed >= bar->minimum &&
                       typed <= bar->maximum && Known(bar->value) && ControlEditable(bar->id) &&
                       !(bar->steps.evenOnly && typed % 2 != 0);
    if (taken && typed != bar->get()) {
        bar->set(static_cast<int>(typed));
        GetScrollBar(barId).SetScrollPos(static_cast<int>(typed), true);
        MarkChanged(bar->value);
        OnBarChanged(barId);
    }
    ShowReadouts(barId);
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
