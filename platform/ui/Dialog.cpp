#include "platform/ui/Dialog.h"
#include "platform/ui/UserAction.h"

#include "platform/ui/ControlFactory.h"
#include "platform/ui/MainWindow.h"
#include "platform/ui/Resources.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScreen>
#include <QScrollArea>
#include <QStyle>
#include <QVBoxLayout>

namespace ui {

namespace {

// "&x" marks a mnemonic; "&&" is a plain "&".
bool HasMnemonic(const std::string& caption)
{
    for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != '&')
            continue;
        if (caption[i + 1] != '&')
            return true;
        ++i;
    }
    return false;
}

} // namespace

Dialog::Dialog(int templateId) : QDialog(nullptr), m_templateId(templateId) {}

Dialog::~Dialog() = default;

bool Dialog::Create(QWidget* parent)
{
    if (m_template)
        return false;
    const DialogTemplate* tmpl = FindDialogTemplate(m_templateId);
    if (!tmpl)
        return false;
    Build(*tmpl, parent, false);
    OnInitDialog();
    return true;
}

int Dialog::DoModal(QWidget* parent)
{
    if (!m_template) {
        const DialogTemplate* tmpl = FindDialogTemplate(m_templateId);
        if (!tmpl)
            return -1;
        Build(*tmpl, parent ? parent : GetMainWindow(), true);
    }
    OnInitDialog();
    return exec();
}

void Dialog::EndDialog(int result)
{
    done(result);
}

void Dialog::Build(const DialogTemplate& tmpl, QWidget* parent, bool modal)
{
    m_template = &tmpl;
    const QFont font = TemplateFont(tmpl);
    setFont(font);
    m_units = std::make_unique<DialogUnits>(font);
    const DialogUnits& units = *m_units;
    const QSize size(units.ToPixelsX(tmpl.rect.cx), units.ToPixelsY(tmpl.rect.cy));

    m_child = (tmpl.style & ds::Child) && !modal;
    if (m_child) {
        setParent(parent, Qt::Widget);
        setGeometry(units.ToPixelsX(tmpl.rect.x), units.ToPixelsY(tmpl.rect.y), size.width(),
                    size.height());
        hide();
    } else {
        Qt::WindowFlags flags = (tmpl.style & ds::ToolWindow) ? Qt::Tool : Qt::Dialog;
        flags |= Qt::CustomizeWindowHint;
        if (tmpl.style & ds::Caption)
            flags |= Qt::WindowTitleHint;
        if (tmpl.style & ds::SysMenu)
            flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
        setParent(parent, flags);
        SizePopup(size, parent);
        PlacePopup(tmpl, parent);
    }
    setWindowTitle(QString::fromStdString(tmpl.caption));

    // On a screen too small for the template the controls scroll inside the window, where the
    // template puts them.
    QWidget* host = this;
    if (!m_child && m_resize == Resize::Scroll) {
        auto* area = new QScrollArea(this);
        area->setFrameShape(QFrame::NoFrame);
        area->setAccessibleName(QString::fromStdString(tmpl.caption));
        host = new QWidget;
        host->setFixedSize(size);
        area->setWidget(host);
        auto* layout = new QVBoxLayout(this);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(area);
    }

    QWidget* previous = nullptr;
    QButtonGroup* group = nullptr;
    for (const ControlTemplate& c : tmpl.controls) {
        QWidget* widget = CreateControl(c, units, host, previous);
        m_order.emplace_back(c.id, widget);
        if (c.id != IDC_STATIC)
            m_controls.emplace(c.id, widget);
        if (c.style & cs::Group)
            group = nullptr;
        if (c.kind == Kind::RadioButton) {
            if (!group) {
                group = new QButtonGroup(this);
                group->setExclusive(true);
                m_radioGroups.push_back(group);
            }
            group->addButton(static_cast<QAbstractButton*>(widget));
            // The group decides what is exclusive; the flag makes the button known to
            // accessibility as a radio button rather than a check box.
            static_cast<QAbstractButton*>(widget)->setAutoExclusive(true);
        }
        Wire(widget, c.id);
        previous = widget;
    }
    // Frames lie behind the controls they surround.
    for (const auto& [id, widget] : m_order)
        if (qobject_cast<QGroupBox*>(widget))
            widget->lower();
    NameControls(tmpl);
    ConnectMnemonics(tmpl);
}

void Dialog::ConnectMnemonics(const DialogTemplate& tmpl)
{
    const auto& controls = tmpl.controls;
    for (std::size_t k = 0; k < controls.size(); ++k) {
        const ControlTemplate& c = controls[k];
        if ((c.kind != Kind::Text && c.kind != Kind::GroupBox) || !HasMnemonic(c.caption))
            continue;
        for (std::size_t next = k + 1; next < controls.size(); ++next) {
            QWidget* widget = m_order[next].second;
            if (controls[next].kind == Kind::Text || controls[next].kind == Kind::GroupBox ||
                widget->focusPolicy() == Qt::NoFocus)
                continue;
            SetMnemonicTarget(m_order[k].second, widget);
            break;
        }
    }
}

void Dialog::NameControls(const DialogTemplate& tmpl)
{
    const auto& controls = tmpl.controls;
    for (std::size_t k = 0; k < controls.size(); ++k) {
        const std::string name = AccessibleName(controls, k);
        if (!name.empty())
            m_order[k].second->setAccessibleName(QString::fromStdString(name));
    }
}

QSize Dialog::ScrollMinimum()
{
    return {240, 160};
}

void Dialog::SizePopup(QSize designed, QWidget* parent)
{
    QScreen* screen = parent ? parent->screen() : this->screen();
    const QRect available = screen ? screen->availableGeometry() : QRect(0, 0, 800, 600);
    // Room for the window manager's frame, which is not known before the window is shown.
    const int title = style()->pixelMetric(QStyle::PM_TitleBarHeight);
    const QSize room = available.size() - QSize(8, title + 12);
    if (m_resize == Resize::Scroll) {
        setMaximumSize(designed);
        setMinimumSize(designed.boundedTo(ScrollMinimum()));
    }
    resize(designed.boundedTo(room).expandedTo(minimumSize()));
}

void Dialog::PlacePopup(const DialogTemplate& tmpl, QWidget* parent)
{
    QScreen* screen = parent ? parent->screen() : this->screen();
    const QRect available = screen ? screen->availableGeometry() : QRect(0, 0, 800, 600);
    QRect frame(QPoint(), size());
    if (tmpl.style & ds::Center) {
        const QWidget* owner = parent ? parent->window() : nullptr;
        const QRect over = owner && owner->isVisible() ? owner->frameGeometry() : available;
        frame.moveCenter(over.center());
    } else {
        const QPoint origin = parent ? parent->mapToGlobal(QPoint(0, 0)) : available.topLeft();
        frame.moveTopLeft(origin +
                          QPoint(m_units->ToPixelsX(tmpl.rect.x), m_units->ToPixelsY(tmpl.rect.y)));
    }
    // Never place a window where the user cannot reach it.
    frame.moveLeft(
        std::max(available.left(),
                 std::min(frame.left(), available.x() + available.width() - frame.width())));
    frame.moveTop(
        std::max(available.top(),
                 std::min(frame.top(), available.y() + available.height() - frame.height())));
    move(frame.topLeft());
}

void Dialog::Wire(QWidget* control, int id)
{
    if (auto* bar = dynamic_cast<ScrollBarWidget*>(control)) {
        bar->SetNotify([this, bar](int code, int pos) {
            RunUserAction(CommandLabel(windowTitle().toStdString()),
                          [&] { OnHScroll(code, pos, ScrollBar(bar)); });
        });
    } else if (auto* tab = dynamic_cast<TabControlWidget*>(control)) {
        tab->SetSelChange([this, id] { Dispatch(Notify::SelChange, id); });
    } else if (auto* spin = dynamic_cast<UpDownWidget*>(control)) {
        spin->SetNotify([this, id] { Dispatch(Notify::DeltaPos, id); });
    } else if (auto* button = qobject_cast<QAbstractButton*>(control)) {
        connect(button, &QAbstractButton::clicked, this,
                [this, id] { Dispatch(Notify::Clicked, id); });
    } else if (auto* combo = qobject_cast<QComboBox*>(control)) {
        connect(combo, &QComboBox::activated, this,
                [this, id] { Dispatch(Notify::SelChange, id); });
        if (combo->lineEdit())
            connect(combo->lineEdit(), &QLineEdit::textEdited, this,
                    [this, id] { Dispatch(Notify::EditChange, id); });
    } else if (auto* edit = qobject_cast<QLineEdit*>(control)) {
        connect(edit, &QLineEdit::textEdited, this,
                [this, id] { Dispatch(Notify::EditChange, id); });
    }
}

void Dialog::On(Notify what, int id, std::function<void()> handler)
{
    m_handlers[{what, id}] = std::move(handler);
}

void Dialog::Dispatch(Notify what, int id)
{
    auto it = m_handlers.find({what, id});
    if (it != m_handlers.end()) {
        // A handler may replace itself; run a copy.
        const std::function<void()> handler = it->second;
        RunUserAction(ActionLabel(id), handler);
        return;
    }
    if (what == Notify::Clicked && id == IDOK)
        OnOK();
    else if (what == Notify::Clicked && id == IDCANCEL)
        OnCancel();
}

std::string Dialog::ActionLabel(int id) const
{
    QWidget* control = GetDlgItem(id);
    if (auto* tab = dynamic_cast<TabControlWidget*>(control))
        return ReadingLabel(tab->GetItemText(tab->GetCurSel()));
    if (auto* combo = qobject_cast<QComboBox*>(control))
        return ReadingLabel(combo->currentText().toStdString());
    if (auto* button = qobject_cast<QAbstractButton*>(control))
        return CommandLabel(button->text().toStdString());
    return CommandLabel(windowTitle().toStdString());
}

bool Dialog::OnInitDialog()
{
    UpdateData(false);
    return true;
}

void Dialog::DoDataExchange(DataExchange&) {}

void Dialog::OnOK()
{
    if (UpdateData(true))
        EndDialog(IDOK);
}

void Dialog::OnCancel()
{
    EndDialog(IDCANCEL);
}

void Dialog::OnHScroll(int, int, ScrollBar) {}

void Dialog::OnShowWindow(bool) {}

void Dialog::reject()
{
    if (!m_child)
        OnCancel();
}

void Dialog::keyPressEvent(QKeyEvent* event)
{
    // A page inside another window leaves Return and Escape to that window.
    if (m_child) {
        QWidget::keyPressEvent(event);
        return;
    }
    QDialog::keyPressEvent(event);
}

void Dialog::ShowWindow(bool show)
{
    if (show == !isHidden())
        return;
    setVisible(show);
    OnShowWindow(show);
}

void Dialog::MoveWindow(int x, int y)
{
    move(x, y);
}

QWidget* Dialog::GetDlgItem(int id) const
{
    auto it = m_controls.find(id);
    return it == m_controls.end() ? nullptr : it->second;
}

Button Dialog::GetButton(int id) const
{
    return Button(qobject_cast<QAbstractButton*>(GetDlgItem(id)));
}

Edit Dialog::GetEdit(int id) const
{
    QWidget* widget = GetDlgItem(id);
    return Edit(qobject_cast<QLineEdit*>(widget) || qobject_cast<QPlainTextEdit*>(widget)
                    ? widget
                    : nullptr);
}

ComboBox Dialog::GetComboBox(int id) const
{
    return ComboBox(qobject_cast<QComboBox*>(GetDlgItem(id)));
}

ScrollBar Dialog::GetScrollBar(int id) const
{
    return ScrollBar(dynamic_cast<ScrollBarWidget*>(GetDlgItem(id)));
}

TabCtrl Dialog::GetTabCtrl(int id) const
{
    return TabCtrl(dynamic_cast<TabControlWidget*>(GetDlgItem(id)));
}

UpDown Dialog::GetUpDown(int id) const
{
    return UpDown(dynamic_cast<UpDownWidget*>(GetDlgItem(id)));
}

Static Dialog::GetStatic(int id) const
{
    return Static(qobject_cast<QLabel*>(GetDlgItem(id)));
}

std::string Dialog::GetDlgItemText(int id) const
{
    return GetWindowText(GetDlgItem(id));
}

void Dialog::SetDlgItemText(int id, const std::string& text)
{
    SetWindowText(GetDlgItem(id), text);
}

void Dialog::CheckDlgButton(int id, int check)
{
    GetButton(id).SetCheck(check);
}

int Dialog::IsDlgButtonChecked(int id) const
{
    return GetButton(id).GetCheck();
}

bool Dialog::UpdateData(bool saveAndValidate)
{
    DataExchange dx(*this, saveAndValidate);
    DoDataExchange(dx);
    return true;
}

std::vector<QAbstractButton*> Dialog::RadioGroup(int firstId) const
{
    std::vector<QAbstractButton*> buttons;
    if (!m_template)
        return buttons;
    const auto& controls = m_template->controls;
    std::size_t first = 0;
    while (first < controls.size() && controls[first].id != firstId)
        ++first;
    for (std::size_t k = first; k < controls.size(); ++k) {
        if (k > first && (controls[k].style & cs::Group))
            break;
        if (controls[k].kind == Kind::RadioButton)
            buttons.push_back(static_cast<QAbstractButton*>(m_order[k].second));
    }
    return buttons;
}

void DataExchange::Check(int id, int& value)
{
    Button button = m_dialog.GetButton(id);
    if (m_bSaveAndValidate)
        value = button.GetCheck();
    else
        button.SetCheck(value);
}

void DataExchange::Radio(int firstId, int& index)
{
    const std::vector<QAbstractButton*> buttons = m_dialog.RadioGroup(firstId);
    if (m_bSaveAndValidate) {
        index = -1;
        for (std::size_t i = 0; i < buttons.size(); ++i)
            if (buttons[i]->isChecked()) {
                index = static_cast<int>(i);
                break;
            }
        return;
    }
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        QAbstractButton* button = buttons[i];
        const bool chosen = static_cast<int>(i) == index;
        QButtonGroup* group = button->group();
        // An exclusive group refuses to uncheck its last checked button.
        if (group && !chosen)
            group->setExclusive(false);
        button->setChecked(chosen);
        if (group && !chosen)
            group->setExclusive(true);
    }
}

void DataExchange::Text(int id, std::string& value)
{
    if (m_bSaveAndValidate)
        value = m_dialog.GetDlgItemText(id);
    else
        m_dialog.SetDlgItemText(id, value);
}

} // namespace ui
