#include "platform/ui/ControlFactory.h"

#include "platform/ui/Resources.h"
#include "platform/ui/ScrollBar.h"
#include "platform/ui/TabControl.h"
#include "platform/ui/UpDown.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPointer>
#include <QEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

#include <algorithm>

namespace ui {
namespace {

// A frame whose caption's mnemonic focuses the control it names; the controls it surrounds are
// its siblings, so QGroupBox's own search of its children finds none.
class GroupFrame final : public QGroupBox {
public:
    using QGroupBox::QGroupBox;
    QPointer<QWidget> target;

protected:
    bool event(QEvent* event) override
    {
        if (event->type() == QEvent::Shortcut && target) {
            target->setFocus(Qt::ShortcutFocusReason);
            return true;
        }
        return QGroupBox::event(event);
    }
};

QString Q(const std::string& text)
{
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

// A label shows "&x" as an underlined x and "&&" as "&"; the label has no mnemonic of its own.
QString WithoutMnemonics(const std::string& caption)
{
    const QString text = Q(caption);
    QString shown;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == QLatin1Char('&') && i + 1 < text.size())
            ++i;
        shown += text[i];
    }
    return shown;
}

Qt::Alignment TextAlignment(std::uint32_t style)
{
    if (style & cs::Center)
        return Qt::AlignHCenter;
    if (style & cs::Right)
        return Qt::AlignRight;
    return Qt::AlignLeft;
}

// Read-only boxes look like the dialog behind them, as the user expects of a display field.
void ShowAsReadOnly(QWidget* widget)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::Window));
    widget->setPalette(palette);
}

QWidget* MakeEdit(const ControlTemplate& c, const DialogUnits& units, QWidget* parent)
{
    if (c.style & es::MultiLine) {
        auto* edit = new QPlainTextEdit(parent);
        edit->setLineWrapMode((c.style & es::AutoHScroll) ? QPlainTextEdit::NoWrap
                                                          : QPlainTextEdit::WidgetWidth);
        edit->setVerticalScrollBarPolicy((c.style & es::VScroll) ? Qt::ScrollBarAlwaysOn
                                                                 : Qt::ScrollBarAlwaysOff);
        edit->setHorizontalScrollBarPolicy((c.style & es::HScroll) ? Qt::ScrollBarAlwaysOn
                                                                   : Qt::ScrollBarAlwaysOff);
        edit->setTabChangesFocus(true);
        // Tab stops every 32 dialog units, as in a dialog's multi-line edit box.
        edit->setTabStopDistance(units.ToPixelsX(32));
        edit->setReadOnly(c.style & es::ReadOnly);
        if (c.style & es::ReadOnly)
            ShowAsReadOnly(edit);
        edit->setPlainText(Q(c.caption));
        return edit;
    }
    auto* edit = new QLineEdit(parent);
    edit->setReadOnly(c.style & es::ReadOnly);
    if (c.style & es::ReadOnly)
        ShowAsReadOnly(edit);
    edit->setAlignment(TextAlignment(c.style) | Qt::AlignVCenter);
    if (c.style & es::UpperCase) {
        QObject::connect(edit, &QLineEdit::textEdited, edit, [edit](const QString& text) {
            const QString upper = text.toUpper();
            if (upper != text) {
                const int cursor = edit->cursorPosition();
                edit->setText(upper);
                edit->setCursorPosition(cursor);
            }
        });
    }
    edit->setText(Q(c.caption));
    return edit;
}

QWidget* MakeCombo(const ControlTemplate& c, const DialogUnits& units, QWidget* parent)
{
    auto* combo = new QComboBox(parent);
    combo->setEditable(!(c.style & cbs::DropDownList));
    if (combo->isEditable()) {
        combo->setInsertPolicy(QComboBox::NoInsert);
        combo->setCompleter(nullptr);
    }
    const bool sorted = c.style & cbs::Sort;
    combo->setProperty("ui_sorted", sorted);
    std::vector<std::string> items = c.items;
    if (sorted)
        std::stable_sort(items.begin(), items.end(), [](const auto& a, const auto& b) {
            return QString::compare(Q(a), Q(b), Qt::CaseInsensitive) < 0;
        });
    for (const std::string& item : items)
        combo->addItem(Q(item));
    combo->setCurrentIndex(-1);
    if (combo->isEditable())
        combo->setEditText(QString());
    // The template's height is that of the dropped-down list.
    const int itemHeight = std::max(1, combo->fontMetrics().height() + 2);
    const int listHeight = units.ToPixelsY(c.rect.cy) - combo->sizeHint().height();
    combo->setMaxVisibleItems(std::max(1, listHeight / itemHeight));
    return combo;
}

QWidget* MakeTab(const ControlTemplate& c, QWidget* parent)
{
    TabControlWidget::Options options;
    options.bottom = c.style & tcs::Bottom;
    options.fixedWidth = c.style & tcs::FixedWidth;
    options.hotTrack = c.style & tcs::HotTrack;
    options.takesFocus = !(c.style & tcs::FocusNever);
    return new TabControlWidget(options, parent);
}

QWidget* MakePicture(const ControlTemplate& c, QWidget* parent)
{
    auto* picture = new QLabel(parent);
    QPixmap pixmap;
    if (c.style & ss::Icon) {
        const QIcon icon = LoadIcon(c.image);
        if (!icon.isNull())
            pixmap = icon.pixmap(32, 32);
    } else {
        pixmap = LoadBitmap(c.image);
    }
    picture->setPixmap(pixmap);
    return picture;
}

} // namespace

QWidget* CreateControl(const ControlTemplate& c, const DialogUnits& units, QWidget* parent,
                       QWidget* previous)
{
    QWidget* widget = nullptr;
    QRect geometry = units.ToPixels(c.rect);
    switch (c.kind) {
    case Kind::PushButton:
    case Kind::DefPushButton: {
        auto* button = new QPushButton(Q(c.caption), parent);
        button->setDefault(c.kind == Kind::DefPushButton);
        widget = button;
        break;
    }
    case Kind::CheckBox:
        widget = new QCheckBox(Q(c.caption), parent);
        if (c.style & bs::LeftText)
            widget->setLayoutDirection(Qt::RightToLeft);
        break;
    case Kind::RadioButton: {
        auto* radio = new QRadioButton(Q(c.caption), parent);
        // The dialog groups its radio buttons itself.
        radio->setAutoExclusive(false);
        widget = radio;
        break;
    }
    case Kind::GroupBox: {
        auto* group = new GroupFrame(Q(c.caption), parent);
        group->setAttribute(Qt::WA_TransparentForMouseEvents);
        widget = group;
        break;
    }
    case Kind::Text: {
        auto* label = new QLabel(WithoutMnemonics(c.caption), parent);
        // Shown with its mnemonic once it has a control to move to.
        label->setProperty("ui_caption", Q(c.caption));
        label->setTextFormat(Qt::PlainText);
        label->setAlignment(TextAlignment(c.style) | Qt::AlignTop);
        label->setWordWrap(true);
        label->setAttribute(Qt::WA_TransparentForMouseEvents);
        widget = label;
        break;
    }
    case Kind::Picture: {
        widget = MakePicture(c, parent);
        const QPixmap pixmap = static_cast<QLabel*>(widget)->pixmap();
        if (!pixmap.isNull())
            geometry.setSize(pixmap.deviceIndependentSize().toSize());
        break;
    }
    case Kind::Edit:
        widget = MakeEdit(c, units, parent);
        break;
    case Kind::ComboBox:
        widget = MakeCombo(c, units, parent);
        geometry.setHeight(widget->sizeHint().height());
        break;
    case Kind::HScrollBar:
        widget = new ScrollBarWidget(parent);
        break;
    case Kind::Tab:
        widget = MakeTab(c, parent);
        break;
    case Kind::UpDown: {
        auto* spin = new UpDownWidget(parent);
        auto* buddy = (c.style & uds::AutoBuddy) ? qobject_cast<QLineEdit*>(previous) : nullptr;
        if (buddy) {
            spin->SetBuddy(buddy, c.style & uds::SetBuddyInt, c.style & uds::ArrowKeys);
            if (c.style & uds::AlignRight) {
                QRect inner = buddy->geometry();
                const int width = std::min(geometry.width(), inner.width());
                inner.setWidth(inner.width() - width);
                buddy->setGeometry(inner);
                geometry = QRect(inner.right() + 1, inner.top(), width, inner.height());
            }
        }
        widget = spin;
        break;
    }
    }

    widget->setGeometry(geometry);
    widget->setProperty("ui_id", c.id);
    if (c.style & cs::Disabled)
        widget->setEnabled(false);
    if (!(c.style & cs::TabStop) && (widget->focusPolicy() & Qt::TabFocus))
        widget->setFocusPolicy(Qt::ClickFocus);
    if (c.style & cs::Hidden)
        widget->hide();
    return widget;
}

void SetMnemonicTarget(QWidget* labelOrGroup, QWidget* target)
{
    if (auto* frame = dynamic_cast<GroupFrame*>(labelOrGroup)) {
        frame->target = target;
        return;
    }
    if (auto* label = qobject_cast<QLabel*>(labelOrGroup)) {
        label->setText(label->property("ui_caption").toString());
        label->setBuddy(target);
    }
}

} // namespace ui
