// One device interface of the pod driver's class: opening it reads the descriptors and builds the
// configuration, interface and endpoint objects; alternate settings pick the endpoints in use.
#pragma once

#include "usb/driver.h"
#include "usb/usb_configuration.h"
#include "usb/usb_endpoint.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace podcore::usb {

class UsbDevice {
public:
    static constexpr int kMaxConfigurations = 2;
    static constexpr uint32_t kDirectTransferDriverVersion = 0x01050500;

    // Opens device 0 of the class right away, as the pod calls expect.
    explicit UsbDevice(std::string interfaceClass = kPodInterfaceClass);
    ~UsbDevice();
    UsbDevice(const UsbDevice&) = delete;
    UsbDevice& operator=(const UsbDevice&) = delete;

    uint8_t DeviceCount();
    bool Open(int n);
    void Close();
    bool IsOpen() const { return handle_ != nullptr; }
    uint8_t EndpointCount() const;
    // Address 0 is the control endpoint; null when the current setting has no such endpoint.
    // Raises UsbError "Failed to find endpoint." when it meets an empty slot first.
    UsbEndpoint* EndpointOf(uint8_t address) const;
    uint8_t GetAltSetting();
    bool SetAltSetting(uint8_t setting);

    ControlEndpoint* Control() const { return control_.get(); }
    int ConfigurationCount() const { return static_cast<int>(configurations_.size()); }
    const UsbConfiguration* Configuration(int n) const { return configurations_[n].get(); }
    const std::vector<uint8_t>& RawConfiguration(int n) const { return rawConfigurations_[n]; }
    int OpenIndex() const { return openIndex_; }

    // The first endpoint of each kind in the current setting, or null.
    UsbEndpoint* IsocInEndpoint = nullptr;
    UsbEndpoint* IsocOutEndpoint = nullptr;
    UsbEndpoint* BulkInEndpoint = nullptr;
    UsbEndpoint* BulkOutEndpoint = nullptr;
    UsbEndpoint* InterruptInEndpoint = nullptr;
    UsbEndpoint* InterruptOutEndpoint = nullptr;

    uint16_t StringLanguage = 0;
    uint32_t UsbdStatus = 0;
    uint32_t SystemStatus = 0;
    uint32_t DriverVersion = 0;
    uint32_t UsbdiVersion = 0;
    std::string DeviceName;
    std::string FriendlyName;
    std::u16string Manufacturer;
    std::u16string Product;
    std::u16string SerialNumber;
    uint16_t BcdUsb = 0;
    uint16_t VendorId = 0;
    uint16_t ProductId = 0;
    uint8_t BusAddress = 0;
    uint8_t DeviceClass = 0;
    uint8_t DeviceSubClass = 0;
    uint8_t DeviceProtocol = 0;
    uint8_t MaxPacketSize0 = 0;
    uint16_t BcdDevice = 0; // the device release number: a pod's identifier
    uint8_t ConfigurationValue = 0;
    uint8_t ConfigurationAttributes = 0;
    uint8_t MaxPower = 0;
    uint8_t InterfaceClass = 0;
    uint8_t InterfaceSubClass = 0;
    uint8_t InterfaceProtocol = 0;
    uint32_t BytesReturned = 0;
    std::array<uint8_t, 18> DeviceDescriptor{};
    std::string DevicePath;

private:
    bool ReadDescriptor(uint8_t type, uint8_t index, uint16_t language, uint8_t* buffer,
                        uint32_t& length);
    void ReadDeviceDescriptor();
    static constexpr uint32_t kMaxStringDescriptor = 255;
    // A string descriptor's length, 0 when it cannot be read; `bytes` holds the descriptor.
    uint32_t ReadStringDescriptor(uint8_t index, uint16_t language,
                                  uint8_t (&bytes)[kMaxStringDescriptor]);
    void ReadStringLanguage();
    std::u16string ReadString(uint8_t index);
    void ReadDriverFacts();
    void ReadConfigurations();
    bool SimpleRequest(uint32_t code, uint8_t* bytes, uint32_t length);
    const UsbInterface* FindRecord(uint8_t setting) const;
    void MakeCurrent(const UsbInterface* record);

    std::string interfaceClass_;
    std::unique_ptr<DeviceHandle> handle_;
    std::unique_ptr<ControlEndpoint> control_;
    std::vector<std::vector<uint8_t>> rawConfigurations_;
    std::vector<std::unique_ptr<UsbConfiguration>> configurations_;
    std::array<UsbEndpoint*, UsbInterface::kEndpointSlots> current_{};
    const UsbInterface* currentRecord_ = nullptr;
    int openIndex_ = 0;
    int configurationIndex_ = 0;
};

} // namespace podcore::usb
