#include "comm/CommSetDlg.h"

#include "comm/BaudRates.h"
#include "comm/ComIF.h"
#include "res/Resource.h"

#include <QDir>

#include <algorithm>
#include <cctype>
#include <climits>
#include <cstdio>
#include <cstdlib>

namespace {

constexpr int kDefaultBaudRate = 9600;

// Device name prefixes of serial adapters; the COM names cover the on-board ttyS ports.
constexpr const char* kDevicePrefixes[] = {"ttyUSB", "ttyACM", "ttyAMA", "ttyXRUSB", "rfcomm"};

} // namespace

CCommSetDlg::CCommSetDlg() : ui::Dialog(IDD_COMM_SETUP)
{
    OnSelChange(IDC_COMBO_CAS_PORT, [this] { OnCasPortChange(); });
}

bool CCommSetDlg::DoModal(CComIF* comIF, CComSettings& settings, int& casPortIndex, int& portType)
{
    m_pComIF = comIF;
    m_Settings = settings;
    m_nCasPortIndex = casPortIndex;
    m_nPortType = portType;
    if (ui::Dialog::DoModal() != ui::IDOK)
        return false;
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

int CCommSetDlg::TimeOutOfText(const std::string& text)
{
    const long long value = std::strtoll(text.c_str(), nullptr, 10);
    return static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX));
}

bool CCommSetDlg::OnInitDialog()
{
    ui::Dialog::OnInitDialog();

    const bool cameraLink = m_nPortType != 0;
    GetButton(IDC_RADIO_CAS).SetCheck(cameraLink);
    GetButton(IDC_RADIO_COMPORT).SetCheck(!cameraLink);

    ui::ComboBox com = GetComboBox(IDC_COMBO_COMPORT);
    for (const std::string& device : ListSerialDevices())
        com.AddString(device);
    int selected = -1;
    for (int i = 0; i < com.GetCount(); ++i)
        if (com.GetLBText(i) == m_Settings.PortName) {
            selected = i;
            break;
        }
    com.SetCurSel(selected);

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
    ShowCasPort();
    return true;
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

void CCommSetDlg::OnOK()
{
    m_nPortType = GetButton(IDC_RADIO_COMPORT).GetCheck() ? 0 : 1;

    ui::ComboBox com = GetComboBox(IDC_COMBO_COMPORT);
    if (com.GetCurSel() >= 0)
        m_Settings.PortName = com.GetLBText(com.GetCurSel()).substr(0, kPortNameMax);

    ui::ComboBox speed = GetComboBox(IDC_COMBO_SPEED);
    m_Settings.BaudRate = speed.GetCurSel() >= 0
                              ? BaudRateOfSpeedText(speed.GetLBText(speed.GetCurSel()))
                              : kDefaultBaudRate;

    m_Settings.HsTimeOut = TimeOutOfText(GetDlgItemText(IDC_EDIT_TIMEOUT));
    m_nCasPortIndex = GetComboBox(IDC_COMBO_CAS_PORT).GetCurSel();
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

void RegisterCommSetDlg()
{
    SetSetupDialogFactory([] { return std::make_unique<CCommSetDlg>(); });
}
