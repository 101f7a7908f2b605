#include "app/LoadBankDlg.h"

#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>

std::optional<LoadBankChoice> AskLoadBank(QWidget* parent, int banks)
{
    QDialog dialog(parent);
    dialog.setWindowTitle(QStringLiteral("Load Camera Settings"));
    dialog.setAccessibleName(QStringLiteral("Where to keep the loaded settings"));
    auto* layout = new QFormLayout(&dialog);
    auto* keep = new QComboBox(&dialog);
    keep->setAccessibleName(QStringLiteral("Keep"));
    keep->addItem(QStringLiteral("Live only (lost at power-off)"));
    for (int bank = 0; bank < banks; ++bank)
        keep->addItem(QStringLiteral("Also store in memory bank %1").arg(bank));
    auto* label = new QLabel(QStringLiteral("&Keep:"), &dialog);
    label->setBuddy(keep);
    layout->addRow(label, keep);
    auto* note = new QLabel(
        QStringLiteral("A bank is written only after every value was read back as sent."), &dialog);
    note->setWordWrap(true);
    note->setAccessibleName(note->text());
    layout->addRow(note);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("&Load"));
    buttons->button(QDialogButtonBox::Ok)->setAccessibleName(QStringLiteral("Load"));
    buttons->button(QDialogButtonBox::Cancel)->setAccessibleName(QStringLiteral("Cancel"));
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addRow(buttons);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    LoadBankChoice choice;
    if (keep->currentIndex() > 0)
        choice.bank = keep->currentIndex() - 1;
    return choice;
}
