#include "app/CommSetDlg.h"

#include "camera/inventory/ChosenCamera.h"
#include "comm/BaudRates.h"
#include "comm/ComIF.h"
#include "comm/ReplyTimeOut.h"
#include "platform/camlink/ClLibrary.h"
#include "platform/msgbox/MessageBox.h"
#include "platform/serial/PortName.h"
#include "res/Resource.h"

#include <QDir>
#include <QFileInfo>
#include <QLineEdit>

#include <algorithm>
#include <cctype>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

namespace {

constexpr int kDefaultBaudRate = 9600;
// The camera list's first line: the port is chosen by itself.
constexpr const char* kNoCamera = "(none)";

// Device name prefixes of serial adapters; the COM names cover the on-board ttyS ports.
constexpr const char* kDevicePrefixes[] = {"ttyUSB", "ttyACM", "ttyAMA", "ttyXRUSB", "rfcomm"};

} // namespace

CCommSetDlg::CCommSetDlg() : ui::Dialog(IDD_COMM_SETUP)
{
    OnSelChange(IDC_COMBO_CAS_PORT, [this] { OnCasPortChange(); });
    OnSelChange(IDC_COMBO_CAMERA, [this] { OnCameraChange(); });
}

bool CCommSetDlg::DoModal(CComIF* comIF, CComSettings& settings, int& casPortIndex, int& portType)
{
    m_pComIF = comIF;
    m_Settings = settings;
    m_nCasPortIndex = casPortIndex;
    m_nPortType = portType;
    if (ui::Dialog::DoModal() != ui::IDOK)
        return false;
    inventory::StoreCameraName(m_sCameraName);
    settings = m_Settings;
    casPortIndex = m_nCasPortIndex;
    portType = m_nPortType;
    return true;
}

int CCommSetDlg::SpeedListPosition(int baudRate)
{
    // The speed list holds the offered rates in this order.
    for (std::size_t i = 0; i < std::size(kOfferedBaudRates); ++i)
        if (kOfferedBaudRates[i] == baudRate)
            return static_cast<int>(i);
    return -1;
}

int CCommSetDlg::BaudRateOfSpeedText(const std::string& text)
{
    for (const int rate : kOfferedBaudRates)
        if (text == std::to_string(rate))
            return rate;
    return kDefaultBaudRate;
}

bool CCommSetDlg::OnInitDialog()
{
    ui::Dialog::OnInitDialog();

    const bool cameraLink = m_nPortType != 0;
    GetButton(IDC_RADIO_CAS).SetCheck(cameraLink);
    GetButton(IDC_RADIO_COMPORT).SetCheck(!cameraLink);

    ui::ComboBox com = GetComboBox(IDC_COMBO_COMPORT);
    const std::vector<std::string> devices = ListSerialDevices();
    for (const std::string& device : devices)
        com.AddString(device);
    for (const std::string& alias : ListSerialDeviceAliases(devices))
        com.AddString(alias);
    int selected = -1;
    for (int i = 0; i < com.GetCount(); ++i)
        if (com.GetLBText(i) == m_Settings.PortName) {
            selected = i;
            break;
        }
    com.SetCurSel(selected);
    // A name the list does not hold (typed earlier, or a device not plugged in) shows as it is.
    if (selected < 0)
        com.SetWindowText(m_Settings.PortName);

    GetComboBox(IDC_COMBO_SPEED).SetCurSel(SpeedListPosition(m_Settings.BaudRate));
    SetDlgItemText(IDC_EDIT_TIMEOUT, std::to_string(m_Settings.HsTimeOut));

    ui::ComboBox cas = GetComboBox(IDC_COMBO_CAS_PORT);
    cas.ResetContent();
    const std::uint32_t count = m_pComIF ? m_pComIF->m_Cas.m_nPortCount : 0;
    for (std::uint32_t i = 0; i < count && i <= static_cast<std::uint32_t>(INT_MAX); ++i) {
        char text[16];
        std::snprintf(text, sizeof text, "%d", static_cast<int>(i));
        cas.AddString(text);
    }
    // An empty ID list says why it is empty.
    std::string casProblem;
    if (count == 0) {
        const std::string library = camlink::LibraryProblem();
        casProblem = library.empty() ? "There is no Camera Link port."
                                     : "No Camera Link library: " + library;
    }
    SetDlgItemText(IDC_TEXT_CAS_PROBLEM, casProblem);
    ShowCasPort();
    ShowInventory();
    return true;
}

void CCommSetDlg::ShowInventory()
{
    ui::ComboBox cameras = GetComboBox(IDC_COMBO_CAMERA);
    cameras.ResetContent();
    cameras.AddString(kNoCamera);
    // No inventory is no fault: the ports are chosen by themselves. A faulty one is named, and
    // the ports still serve.
    const std::string path = inventory::DefaultInventoryPath();
    std::error_code error;
    std::string problem;
    if (!std::filesystem::exists(path, error))
        m_inventory = {};
    else if (!inventory::ReadCameraInventory(path, m_inventory, problem))
        m_inventory = {};
    SetDlgItemText(IDC_TEXT_INVENTORY_PROBLEM, problem);
    int chosen = 0;
    const std::string stored = inventory::StoredCameraName();
    for (const inventory::InventoryCamera& camera : m_inventory.cameras) {
        cameras.AddString(camera.name);
        if (camera.name == stored &&
            inventory::IsCameraPort(camera, m_nPortType, m_nCasPortIndex, m_Settings.PortName))
            chosen = cameras.GetCount() - 1;
    }
    cameras.SetCurSel(chosen);
}

void CCommSetDlg::OnCameraChange()
{
    const int chosen = GetComboBox(IDC_COMBO_CAMERA).GetCurSel();
    if (chosen <= 0 || chosen > static_cast<int>(m_inventory.cameras.size()))
        return;
    const inventory::InventoryCamera& camera = m_inventory.cameras[chosen - 1];
    GetButton(IDC_RADIO_CAS).SetCheck(camera.clIndex.has_value());
    GetButton(IDC_RADIO_COMPORT).SetCheck(!camera.clIndex);
    if (camera.clIndex) {
        m_nCasPortIndex = *camera.clIndex;
        ShowCasPort();
        return;
    }
    ui::ComboBox com = GetComboBox(IDC_COMBO_COMPORT);
    for (int i = 0; i < com.GetCount(); ++i)
        if (com.GetLBText(i) == camera.port) {
            com.SetCurSel(i);
            return;
        }
    com.SetCurSel(-1);
    com.SetWindowText(camera.port);
}

void CCommSetDlg::ShowCasPort()
{
    ui::ComboBox cas = GetComboBox(IDC_COMBO_CAS_PORT);
    if (m_nCasPortIndex < 0) {
        cas.SetCurSel(-1);
        cas.SetWindowText("---");
        SetDlgItemText(IDC_EDIT_CAS_VENDOR, "");
        SetDlgItemText(IDC_EDIT_CAS_PORTID, "");
        return;
    }
    cas.SetCurSel(m_nCasPortIndex);
    char vendor[CCas::kTextSize] = "";
    char port[CCas::kTextSize] = "";
    const bool haveVendor =
        m_pComIF && m_pComIF->m_Cas.GetPortManufacturer(m_nCasPortIndex, vendor);
    const bool havePort = m_pComIF && m_pComIF->m_Cas.GetPortId(m_nCasPortIndex, port);
    SetDlgItemText(IDC_EDIT_CAS_VENDOR, haveVendor ? vendor : "");
    SetDlgItemText(IDC_EDIT_CAS_PORTID, havePort ? port : "");
}

void CCommSetDlg::OnCasPortChange()
{
    m_nCasPortIndex = GetComboBox(IDC_COMBO_CAS_PORT).GetCurSel();
    ShowCasPort();
}

bool CCommSetDlg::TakePortName(std::string& name, std::string& problem) const
{
    ui::ComboBox com = GetComboBox(IDC_COMBO_COMPORT);
    std::string text = com.GetWindowText();
    const auto first = text.find_first_not_of(" \t");
    const auto last = text.find_last_not_of(" \t");
    text = first == std::string::npos ? std::string() : text.substr(first, last - first + 1);
    // Nothing chosen or typed keeps the name as it was.
    if (text.empty())
        return true;
    if (text.size() > kPortNameMax) {
        problem = "Port " + text + ": longer than " + std::to_string(kPortNameMax) + " characters";
        return false;
    }
    serial::PortAddress address;
    std::string why;
    if (!serial::ParsePortName(text, address, why)) {
        problem = "Port " + text + ": " + why;
        return false;
    }
    name = text;
    return true;
}

void CCommSetDlg::OnOK()
{
    // Checked before anything is taken: a refused value keeps the dialog open with nothing
    // changed.
    std::string portName = m_Settings.PortName;
    std::string problem;
    if (!TakePortName(portName, problem)) {
        ShowMessageBox(problem, "COMM Setup", MsgIcon::Warning);
        GetDlgItem(IDC_COMBO_COMPORT)->setFocus();
        return;
    }
    int timeOut = 0;
    if (!ParseReplyTimeOut(GetDlgItemText(IDC_EDIT_TIMEOUT), timeOut)) {
        ShowMessageBox(ReplyTimeOutRangeText(), "COMM Setup", MsgIcon::Warning);
        if (auto* edit = qobject_cast<QLineEdit*>(GetDlgItem(IDC_EDIT_TIMEOUT))) {
            edit->setFocus();
            edit->selectAll();
        }
        return;
    }

    m_nPortType = GetButton(IDC_RADIO_COMPORT).GetCheck() ? 0 : 1;
    m_Settings.PortName = portName;

    ui::ComboBox speed = GetComboBox(IDC_COMBO_SPEED);
    m_Settings.BaudRate = speed.GetCurSel() >= 0
                              ? BaudRateOfSpeedText(speed.GetLBText(speed.GetCurSel()))
                              : kDefaultBaudRate;

    m_Settings.HsTimeOut = timeOut;
    m_nCasPortIndex = GetComboBox(IDC_COMBO_CAS_PORT).GetCurSel();
    // A camera counts as chosen only while its port is: a port changed by hand afterwards is
    // a port chosen by itself.
    const int camera = GetComboBox(IDC_COMBO_CAMERA).GetCurSel();
    m_sCameraName.clear();
    if (camera > 0 && camera <= static_cast<int>(m_inventory.cameras.size()) &&
        inventory::IsCameraPort(m_inventory.cameras[camera - 1], m_nPortType, m_nCasPortIndex,
                                m_Settings.PortName))
        m_sCameraName = m_inventory.cameras[camera - 1].name;
    EndDialog(ui::IDOK);
}

std::vector<std::string> ListSerialDevices(const std::string& devDir)
{
    struct Found {
        std::string prefix;
        long number;
        std::string path;
    };
    std::vector<Found> found;
    const QDir dir(QString::fromStdString(devDir));
    for (const QString& entry : dir.entryList(QDir::System | QDir::Files | QDir::NoDotAndDotDot)) {
        const std::string name = entry.toStdString();
        for (const char* prefix : kDevicePrefixes) {
            const std::string p = prefix;
            if (name.size() <= p.size() || name.compare(0, p.size(), p) != 0)
                continue;
            const std::string digits = name.substr(p.size());
            if (digits.size() > 6 || !std::all_of(digits.begin(), digits.end(),
                                                  [](unsigned char c) { return std::isdigit(c); }))
                continue;
            found.push_back({p, std::stol(digits), dir.filePath(entry).toStdString()});
        }
    }
    std::sort(found.begin(), found.end(), [](const Found& a, const Found& b) {
        return a.prefix != b.prefix ? a.prefix < b.prefix : a.number < b.number;
    });
    std::vector<std::string> paths;
    for (const Found& f : found)
        paths.push_back(f.path);
    return paths;
}

std::vector<std::string> ListSerialDeviceAliases(const std::vector<std::string>& devices,
                                                 const std::string& byIdDir)
{
    std::vector<std::string> aliases;
    const QDir dir(QString::fromStdString(byIdDir));
    // Sorted by name, as the folder lists them, so that the list keeps one order.
    for (const QFileInfo& entry :
         dir.entryInfoList(QDir::System | QDir::Files | QDir::NoDotAndDotDot, QDir::Name)) {
        if (!entry.isSymLink())
            continue;
        const std::string target = entry.canonicalFilePath().toStdString();
        for (const std::string& device : devices)
            if (!target.empty() &&
                QFileInfo(QString::fromStdString(device)).canonicalFilePath().toStdString() ==
                    target) {
                aliases.push_back(entry.absoluteFilePath().toStdString());
                break;
            }
    }
    return aliases;
}

void RegisterCommSetDlg()
{
    SetSetupDialogFactory([] { return std::make_unique<CCommSetDlg>(); });
}
