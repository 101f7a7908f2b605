#include "app/IdentifyCamera.h"

#include "app/VireoView.h"
#include "camera/RVXReg.h"
#include "platform/msgbox/MessageBox.h"
#include "platform/ui/UserAction.h"
#include "res/Resource.h"
#include "pages/FailureText.h"

#include <QMessageBox>
#include <QPushButton>

namespace {
constexpr const char* kCaption = "Identify Camera";
} // namespace

CIdentifyCamera::CIdentifyCamera(QWidget* window, CVireoView* view, CComIF* comIF)
    : m_window(window), m_view(view), m_comIF(comIF)
{
}

std::string CIdentifyCamera::Describe(const CameraIdentity& identity)
{
    std::string text = "Vendor: " + identity.vendor + "\nModel: " + identity.model +
                       "\nSerial number: " + identity.serial + "\nCPU version: " + identity.cpu;
    if (!identity.fpga.empty())
        text += "\nFPGA version: " + identity.fpga;
    return text;
}

std::string CIdentifyCamera::ChosenModelName() const
{
    return m_view ? m_view->ChosenModelName() : std::string();
}

void CIdentifyCamera::ChooseModel(const std::string& name)
{
    m_view->ChooseModel(name);
}

void CIdentifyCamera::OnIdentifyCamera()
{
    CameraIdentity identity;
    if (const CResult result = ReadCameraIdentity(m_comIF, identity)) {
        // This box names the reason: the port's notice is not shown beside it.
        ui::ActionFailureTold();
        ShowMessageBox("The camera could not be identified: " + pages::FailureReason(result) + ".",
                       kCaption, MsgIcon::Warning);
        return;
    }
    std::string text = Describe(identity);
    const std::string chosen = ChosenModelName();
    const std::string known = identity.kind ? CameraModelName(*identity.kind) : "";
    if (!identity.kind) {
        ShowMessageBox(text + "\n\nThis is none of the models this program knows.", kCaption,
                       MsgIcon::Information);
        return;
    }
    if (known == chosen || !m_view) {
        ShowMessageBox(text, kCaption, MsgIcon::Information);
        return;
    }

    // One of the four, not the one chosen: offer to choose it.
    text += chosen.empty() ? "\n\nNo model is chosen in the model list."
                           : "\n\nThe model list has " + chosen + " chosen.";
    QMessageBox box(QMessageBox::Question, kCaption, QString::fromStdString(text),
                    QMessageBox::NoButton, m_window);
    QPushButton* choose =
        box.addButton(QString::fromStdString("Choose " + known), QMessageBox::AcceptRole);
    box.addButton(QMessageBox::Close);
    box.setDefaultButton(choose);
    box.exec();
    if (box.clickedButton() == choose)
        ChooseModel(known);
}
