#pragma once
// The configuration dialog: operating mode, baud rate and bus address for the next connection. OK stores them in
// the application's shared state; the lists and the address are remembered between openings.

#include <QDialog>
#include <QString>

class QComboBox;
class QLineEdit;

namespace trelmo {

namespace ConfigurationControl {
constexpr int OperatingMode = 1001;
constexpr int BaudRate = 1008;
constexpr int DataBits = 1025;
constexpr int CheckBit = 1026;
constexpr int StopBits = 1027;
constexpr int Watchdog = 1039;
constexpr int BusAddress = 1042;
constexpr int IpAddress = 1016;
constexpr int CommunicateWatchdog = 1056;
} // namespace ConfigurationControl

constexpr int MinBusAddress = 1;
constexpr int MaxBusAddress = 126;

// The value of the leading decimal digits of text (0 when there are none); large values saturate.
long LeadingDecimalValue(const QString& text);

class CConfigurationDialog : public QDialog {
    Q_OBJECT
public:
    explicit CConfigurationDialog(QWidget* parent = nullptr);

    QComboBox* ModeList() const { return modeList_; }
    QComboBox* BaudList() const { return baudList_; }
    QLineEdit* BusAddressEdit() const { return busAddressEdit_; }

    void accept() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FillLists();
    void OnModeChanged(int position);
    void OnBusAddressFocusLost();
    bool BusAddressOutOfRange(const QString& text) const;

    QComboBox* modeList_ = nullptr;
    QComboBox* baudList_ = nullptr;
    QComboBox* watchdogList_ = nullptr;
    QLineEdit* busAddressEdit_ = nullptr;
};

} // namespace trelmo
