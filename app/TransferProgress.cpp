#include "app/TransferProgress.h"

#include <QCoreApplication>
#include <QLabel>
#include <QProgressBar>
#include <QProgressDialog>
#include <QPushButton>

CTransferProgress::CTransferProgress(QWidget* parent, const QString& label, int showAfterMs)
    : m_parent(parent), m_label(label), m_showAfterMs(showAfterMs)
{
    m_clock.start();
    if (CActionUi* action = CActionUi::Current())
        action->SetOwnProgress(this);
}

CTransferProgress::~CTransferProgress()
{
    if (CActionUi* action = CActionUi::Current())
        action->SetOwnProgress(nullptr);
}

void CTransferProgress::Tick()
{
    ShowWhenDue();
}

bool CTransferProgress::Step(std::size_t done, std::size_t total)
{
    m_done = done;
    m_total = total;
    ShowWhenDue();
    if (!m_dialog)
        return true;
    // The window draws and takes the click on "Cancel" here and while an exchange waits.
    QCoreApplication::processEvents();
    return !m_dialog->wasCanceled();
}

void CTransferProgress::ShowWhenDue()
{
    if (!m_dialog) {
        if (m_clock.elapsed() < m_showAfterMs)
            return;
        m_dialog = std::make_unique<QProgressDialog>(m_parent);
        m_dialog->setWindowTitle(QStringLiteral("VireoStudio"));
        m_dialog->setAccessibleName(QStringLiteral("Camera settings progress"));
        auto* text = new QLabel(m_label);
        text->setAccessibleName(QStringLiteral("Progress text"));
        m_dialog->setLabel(text);
        auto* bar = new QProgressBar;
        bar->setAccessibleName(QStringLiteral("Operations done"));
        m_dialog->setBar(bar);
        auto* cancel = new QPushButton(QStringLiteral("Cancel"));
        cancel->setAccessibleName(QStringLiteral("Cancel"));
        m_dialog->setCancelButton(cancel);
        m_dialog->setWindowModality(Qt::WindowModal);
        m_dialog->setAutoClose(false);
        m_dialog->setAutoReset(false);
        m_dialog->setMinimumDuration(0);
        m_dialog->setRange(0, static_cast<int>(m_total));
        // A cancel during an exchange ends its wait and the rest of the transfer.
        QObject::connect(m_dialog.get(), &QProgressDialog::canceled, m_dialog.get(), [] {
            if (CActionUi* action = CActionUi::Current())
                action->Cancel();
        });
        m_dialog->show();
    }
    m_dialog->setMaximum(static_cast<int>(m_total));
    m_dialog->setValue(static_cast<int>(m_done));
}
