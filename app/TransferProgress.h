// The progress of a transfer that blocks the window: a dialog that appears only once the work
// has taken longer than a moment, shows how far it got, and lets the user stop it between two
// operations.
#pragma once

#include "app/ActionUi.h"

#include <QElapsedTimer>
#include <QString>

#include <cstddef>
#include <memory>

class QProgressDialog;
class QWidget;

class CTransferProgress final : public IActionProgress {
public:
    // Work shorter than this shows no dialog at all.
    static constexpr int kShowAfterMs = 500;

    CTransferProgress(QWidget* parent, const QString& label, int showAfterMs = kShowAfterMs);
    ~CTransferProgress() override;
    CTransferProgress(const CTransferProgress&) = delete;
    CTransferProgress& operator=(const CTransferProgress&) = delete;

    // Called between operations; false once the user chose "Cancel".
    bool Step(std::size_t done, std::size_t total);

    // While an exchange of the transfer waits: the dialog appears on time there too.
    void Tick() override;

    // The dialog once it is shown, else null (tests).
    QProgressDialog* Dialog() const { return m_dialog.get(); }

private:
    void ShowWhenDue();

    QWidget* m_parent;
    std::size_t m_done = 0;
    std::size_t m_total = 0;
    QString m_label;
    int m_showAfterMs;
    QElapsedTimer m_clock;
    std::unique_ptr<QProgressDialog> m_dialog;
};
