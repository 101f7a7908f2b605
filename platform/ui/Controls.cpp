#include "platform/ui/Controls.h"

#include "platform/ui/Template.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>

namespace ui {
namespace {

QString Q(const std::string& text)
{
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}
std::string S(const QString& text)
{
    return text.toUtf8().toStdString();
}

} // namespace

std::string GetWindowText(const QWidget* widget)
{
    if (!widget)
        return {};
    if (auto* line = qobject_cast<const QLineEdit*>(widget))
        return S(line->text());
    if (auto* text = qobject_cast<const QPlainTextEdit*>(widget))
        return S(text->toPlainText());
    if (auto* combo = qobject_cast<const QComboBox*>(widget))
        return S(combo->isEditable() ? combo->currentText()
                                     : combo->itemText(combo->currentIndex()));
    if (auto* button = qobject_cast<const QAbstractButton*>(widget))
        return S(button->text());
    if (auto* label = qobject_cast<const QLabel*>(widget))
        return S(label->text());
    if (auto* group = qobject_cast<const QGroupBox*>(widget))
        return S(group->title());
    return S(widget->windowTitle());
}

void SetWindowText(QWidget* widget, const std::string& text)
{
    if (!widget)
        return;
    if (auto* line = qobject_cast<QLineEdit*>(widget))
        line->setText(Q(text));
    else if (auto* edit = qobject_cast<QPlainTextEdit*>(widget))
        edit->setPlainText(Q(text));
    else if (auto* combo = qobject_cast<QComboBox*>(widget)) {
        if (combo->isEditable())
            combo->setEditText(Q(text));
        else
            combo->setCurrentIndex(combo->findText(Q(text), Qt::MatchFixedString));
    } else if (auto* button = qobject_cast<QAbstractButton*>(widget))
        button->setText(Q(text));
    else if (auto* label = qobject_cast<QLabel*>(widget))
        label->setText(Q(text));
    else if (auto* group = qobject_cast<QGroupBox*>(widget))
        group->setTitle(Q(text));
    else
        widget->setWindowTitle(Q(text));
}

int ControlId(const QWidget* widget)
{
    if (!widget)
        return IDC_STATIC;
    const QVariant id = widget->property("ui_id");
    return id.isValid() ? id.toInt() : IDC_STATIC;
}

void Window::ShowWindow(bool show)
{
    if (m_widget)
        m_widget->setVisible(show);
}

bool Window::IsWindowVisible() const
{
    return m_widget && m_widget->isVisible();
}

void Window::EnableWindow(bool enable)
{
    if (m_widget)
        m_widget->setEnabled(enable);
}

bool Window::IsWindowEnabled() const
{
    return m_widget && m_widget->isEnabled();
}

int Button::GetCheck() const
{
    return Widget() && Widget()->isChecked() ? 1 : 0;
}

void Button::SetCheck(int check)
{
    if (Widget())
        Widget()->setChecked(check != 0);
}

void Button::Click()
{
    if (Widget())
        Widget()->click();
}

QLineEdit* Edit::LineEdit() const
{
    return qobject_cast<QLineEdit*>(m_widget.data());
}

QPlainTextEdit* Edit::TextEdit() const
{
    return qobject_cast<QPlainTextEdit*>(m_widget.data());
}

bool Edit::IsReadOnly() const
{
    if (QLineEdit* line = LineEdit())
        return line->isReadOnly();
    if (QPlainTextEdit* text = TextEdit())
        return text->isReadOnly();
    return false;
}

void Edit::SetReadOnly(bool readOnly)
{
    if (QLineEdit* line = LineEdit())
        line->setReadOnly(readOnly);
    else if (QPlainTextEdit* text = TextEdit())
        text->setReadOnly(readOnly);
}

int Edit::GetLineCount() const
{
    if (QPlainTextEdit* text = TextEdit())
        return text->document()->blockCount();
    return LineEdit() ? 1 : 0;
}

void Edit::LineScroll(int lines)
{
    if (QPlainTextEdit* text = TextEdit()) {
        QScrollBar* bar = text->verticalScrollBar();
        bar->setValue(bar->value() + lines);
    }
}

int Edit::GetFirstVisibleLine() const
{
    if (QPlainTextEdit* text = TextEdit())
        return text->verticalScrollBar()->value();
    return 0;
}

int ComboBox::GetCount() const
{
    return Widget() ? Widget()->count() : 0;
}

int ComboBox::GetCurSel() const
{
    return Widget() ? Widget()->currentIndex() : -1;
}

int ComboBox::SetCurSel(int index)
{
    QComboBox* combo = Widget();
    if (!combo)
        return -1;
    if (index < 0 || index >= combo->count()) {
        combo->setCurrentIndex(-1);
        if (combo->isEditable())
            combo->setEditText(QString());
        return -1;
    }
    combo->setCurrentIndex(index);
    return index;
}

std::string ComboBox::GetLBText(int index) const
{
    if (!Widget() || index < 0 || index >= Widget()->count())
        return {};
    return S(Widget()->itemText(index));
}

bool ComboBox::IsSorted() const
{
    return Widget() && Widget()->property("ui_sorted").toBool();
}

int ComboBox::AddString(const std::string& text)
{
    QComboBox* combo = Widget();
    if (!combo)
        return -1;
    int at = combo->count();
    if (IsSorted()) {
        const QString item = Q(text);
        at = 0;
        while (at < combo->count() &&
               QString::compare(combo->itemText(at), item, Qt::CaseInsensitive) <= 0)
            ++at;
    }
    return InsertString(at, text);
}

int ComboBox::InsertString(int index, const std::string& text)
{
    QComboBox* combo = Widget();
    if (!combo)
        return -1;
    if (index < 0 || index > combo->count())
        index = combo->count();
    // Adding to an empty list must not select the new item.
    const int selected = combo->currentIndex();
    const QString edit = combo->isEditable() ? combo->currentText() : QString();
    combo->insertItem(index, Q(text));
    if (selected < 0) {
        combo->setCurrentIndex(-1);
        if (combo->isEditable())
            combo->setEditText(edit);
    }
    return index;
}

int ComboBox::DeleteString(int index)
{
    QComboBox* combo = Widget();
    if (!combo || index < 0 || index >= combo->count())
        return -1;
    combo->removeItem(index);
    return combo->count();
}

void ComboBox::ResetContent()
{
    if (QComboBox* combo = Widget()) {
        combo->clear();
        if (combo->isEditable())
            combo->setEditText(QString());
    }
}

int ComboBox::FindStringExact(int start, const std::string& text) const
{
    const int n = GetCount();
    const QString wanted = Q(text);
    for (int k = 1; k <= n; ++k) {
        const int i = (start + k + n) % n;
        if (QString::compare(Widget()->itemText(i), wanted, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

int ScrollBar::GetDlgCtrlID() const
{
    return ControlId(m_widget);
}

void ScrollBar::SetScrollRange(int minimum, int maximum, bool redraw)
{
    if (Widget())
        Widget()->SetScrollRange(minimum, maximum, redraw);
}

void ScrollBar::GetScrollRange(int* minimum, int* maximum) const
{
    if (Widget())
        Widget()->GetScrollRange(minimum, maximum);
}

int ScrollBar::SetScrollPos(int pos, bool redraw)
{
    return Widget() ? Widget()->SetScrollPos(pos, redraw) : 0;
}

int ScrollBar::GetScrollPos() const
{
    return Widget() ? Widget()->GetScrollPos() : 0;
}

int TabCtrl::InsertItem(int index, const std::string& caption)
{
    return Widget() ? Widget()->InsertItem(index, caption) : -1;
}

bool TabCtrl::DeleteAllItems()
{
    return Widget() && Widget()->DeleteAllItems();
}

int TabCtrl::GetItemCount() const
{
    return Widget() ? Widget()->GetItemCount() : 0;
}

int TabCtrl::GetCurSel() const
{
    return Widget() ? Widget()->GetCurSel() : -1;
}

int TabCtrl::SetCurSel(int index)
{
    return Widget() ? Widget()->SetCurSel(index) : -1;
}

QRect TabCtrl::DisplayRect() const
{
    return Widget() ? Widget()->DisplayRect() : QRect();
}

void UpDown::SetRange(int lower, int upper)
{
    if (Widget())
        Widget()->SetRange(lower, upper);
}

void UpDown::GetRange(int* lower, int* upper) const
{
    if (Widget())
        Widget()->GetRange(lower, upper);
}

int UpDown::SetPos(int pos)
{
    return Widget() ? Widget()->SetPos(pos) : 0;
}

int UpDown::GetPos() const
{
    return Widget() ? Widget()->GetPos() : 0;
}

void Static::SetPixmap(const QPixmap& pixmap)
{
    if (Widget())
        Widget()->setPixmap(pixmap);
}

} // namespace ui
