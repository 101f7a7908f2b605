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
}

CTransferProgress::~CTransferProgress() = default;

bool CTransferProgress::Step(std::size_t done, std::size_t total)
{
    if (!m_dialog) {
        if (m_clock.elapsed() < m_showAfterMs)
            return true;
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
        m_dialog->setRange(0, static_cast<int>(total));
        m_dialog->show();
    }
    m_dialog->setMaximum(static_cast<int>(total));
    m_dialog->setValue(static_cast<int>(done));
    // The only moment the window can draw and take the click on "Cancel": the operations
    // themselves block it.
    QCoreApplication::processEvents();
    return !m_dialog->wasCanceled();
}
