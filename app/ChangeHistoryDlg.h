// Help > "Change History...": the audit trail's changes of the camera on the open port, newest
// first, whichever program made them.
#pragma once

#include "app/AttachedCamera.h"
#include "camera/audit/AuditTrail.h"

#include <QDialog>
#include <QString>

#include <string>
#include <vector>

class QLabel;
class QTableWidget;

// The entries of camera (by its serial number and model), newest first.
std::vector<AuditEntry> CameraHistory(const std::vector<AuditEntry>& trail,
                                      const AttachedCamera& camera);

// Whether the line's change was made as asked; and the text its Result column shows ("Done",
// "Failed: ...", or what a load's undoing left).
bool ChangeSucceeded(const AuditEntry& entry);
QString ChangeResultText(const AuditEntry& entry);

class CChangeHistoryDlg : public QDialog {
public:
    // Reads the trail at path now; what cannot be shown is said in the note above the table.
    CChangeHistoryDlg(QWidget* parent, const AttachedCamera& camera, const std::string& path);

    QTableWidget* Table() const { return m_table; }
    QLabel* Note() const { return m_note; }

private:
    QTableWidget* m_table;
    QLabel* m_note;
};
