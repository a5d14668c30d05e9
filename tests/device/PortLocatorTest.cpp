#include "device/PortLocator.h"

#include <gtest/gtest.h>

using namespace korvel;

namespace {
const QString usbKey = QStringLiteral(
    "SYSTEM\\CurrentControlSet\\Enum\\USB\\Vid_10C4&Pid_EA5F&Mi_00\\0001_00\\Device Parameters");
const QByteArray bridgeId = "USB\\VID_10C4&PID_EA5F&MI_00\\0001_00";

QString bridgeKey(int k)
{
    return QStringLiteral("Enum\\SLABCR\\guid\\%1").arg(k, 4, 10, QLatin1Char('0'));
}

int usb(Registry& r) { return FindPortInUsbEnum(r, BridgeVendorId, BridgeProductId, "0001"); }
int bridge(Registry& r) { return FindPortInBridgeEnum(r, BridgeVendorId, BridgeProductId, "0001"); }
}  // namespace

TEST(PortLocator, ValueToPortNumber)
{
    EXPECT_EQ(PortNumberFromValue("COM5"), 5);
    EXPECT_EQ(PortNumberFromValue("COM12"), 12);
    EXPECT_EQ(PortNumberFromValue("XYZ7"), 7);  // the first three characters are not read
    EXPECT_EQ(PortNumberFromValue("COM"), 0);
    EXPECT_EQ(PortNumberFromValue("COM5 "), -1);
    EXPECT_EQ(PortNumberFromValue("COMx"), -1);
    EXPECT_EQ(PortNumberFromValue("CO"), -1);
    EXPECT_EQ(PortNumberFromValue("COM99999999999"), -1);
}

TEST(PortLocator, WindowsDeviceNames)
{
    EXPECT_EQ(WindowsDeviceName(5), "COM5");
    EXPECT_EQ(WindowsDeviceName(9), "COM9");
    EXPECT_EQ(WindowsDeviceName(12), "\\\\.\\COM12");
}

TEST(PortLocator, UsbEnumFindsThePortAndClosesEveryKey)
{
    InMemoryRegistry r;
    r.setValue(usbKey, "PortName", "COM12");
    EXPECT_EQ(usb(r), 12);
    EXPECT_EQ(r.opened, 3);
    EXPECT_EQ(r.openKeys(), 0);

    InMemoryRegistry wrongDevice;
    wrongDevice.setValue(QString(usbKey).replace("EA5F", "EA60"), "PortName", "COM3");
    EXPECT_EQ(usb(wrongDevice), -1);
    EXPECT_EQ(wrongDevice.openKeys(), 0);

    InMemoryRegistry notANumber;
    notANumber.setValue(usbKey, "PortName", "COM5a");
    EXPECT_EQ(usb(notANumber), -1);
}

TEST(PortLocator, AValueTooLongForTheBufferDoesNotMatch)
{
    InMemoryRegistry r;
    r.setValue(usbKey, "PortName", "COM" + QByteArray(96, '1'));  // 99 bytes and the zero fit
    EXPECT_EQ(usb(r), -1);  // fits, but is too large a number
    r.setValue(usbKey, "PortName", "COM" + QByteArray(97, '0') + "7");
    EXPECT_EQ(usb(r), -1);

    InMemoryRegistry b;
    b.setValue(bridgeKey(0), "CRLowerDeviceID", bridgeId + QByteArray(80, '_'));
    b.setValue(bridgeKey(0), "Portname", "COM4");
    EXPECT_EQ(bridge(b), -1);
}

TEST(PortLocator, BridgeEnumLastMatchWinsAndAGapEndsTheSearch)
{
    InMemoryRegistry r;
    r.setValue(bridgeKey(0), "CRLowerDeviceID", bridgeId);
    r.setValue(bridgeKey(0), "Portname", "COM3");
    r.setValue(bridgeKey(1), "CRLowerDeviceID", "USB\\VID_0403&PID_6001&MI_00\\0001_00");
    r.setValue(bridgeKey(1), "Portname", "COM4");
    r.setValue(bridgeKey(2), "CRLowerDeviceID", bridgeId);
    r.setValue(bridgeKey(2), "Portname", "COM7");
    r.setValue(bridgeKey(4), "CRLowerDeviceID", bridgeId);
    r.setValue(bridgeKey(4), "Portname", "COM9");
    EXPECT_EQ(bridge(r), 7);
    EXPECT_EQ(r.openKeys(), 0);

    // The identifier is compared exactly, case included.
    InMemoryRegistry lower;
    lower.setValue(bridgeKey(0), "CRLowerDeviceID", bridgeId.toLower());
    lower.setValue(bridgeKey(0), "Portname", "COM3");
    EXPECT_EQ(bridge(lower), -1);
}

TEST(PortLocator, BridgeInstanceIsUpperCasedWithUnderscores)
{
    InMemoryRegistry r;
    r.setValue(bridgeKey(0), "CRLowerDeviceID", "USB\\VID_10C4&PID_EA5F&MI_00\\AB_1_00");
    r.setValue(bridgeKey(0), "Portname", "COM6");
    EXPECT_EQ(FindPortInBridgeEnum(r, 0x10C4, 0xEA5F, "ab 1"), 6);
}

TEST(PortLocator, RegistryFinderTriesTheNewerLayoutFirst)
{
    InMemoryRegistry r;
    r.setValue(bridgeKey(0), "CRLowerDeviceID", bridgeId);
    r.setValue(bridgeKey(0), "Portname", "COM3");
    EXPECT_EQ(RegistryPortFinder(r)().device, "COM3");
    r.setValue(usbKey, "PortName", "COM11");
    const PortLookup found = RegistryPortFinder(r)();
    EXPECT_EQ(found.number, 11);
    EXPECT_EQ(found.device, "\\\\.\\COM11");
}
