#include "usb/usb_device.h"

#include "little_endian.h"

#include <algorithm>
#include <cstring>

namespace podcore::usb {

namespace {
constexpr uint8_t kGetDescriptor = 6;
constexpr uint8_t kDeviceDescriptorType = 1;
constexpr uint8_t kConfigurationDescriptorType = 2;
constexpr uint8_t kStringDescriptorType = 3;
constexpr uint8_t kStandardType = 0;
constexpr uint8_t kVendorType = 2;
constexpr uint32_t kDescriptorTimeout = 5000;
constexpr uint16_t kEnglishUs = 0x0409;
constexpr uint32_t kNameLength = 256;
constexpr uint8_t kNoSetting = 255;
} // namespace

UsbDevice::UsbDevice(std::string interfaceClass) : interfaceClass_(std::move(interfaceClass)) {
    Open(0);
}

UsbDevice::~UsbDevice() {
    Close();
}

uint8_t UsbDevice::DeviceCount() {
    const auto paths = CurrentDriver().InterfacePaths(interfaceClass_);
    return static_cast<uint8_t>(std::min<size_t>(paths.size(), 255));
}

bool UsbDevice::Open(int n) {
    if (IsOpen())
        Close();
    const auto paths = CurrentDriver().InterfacePaths(interfaceClass_);
    const auto count = static_cast<int>(std::min<size_t>(paths.size(), 255));
    if (count == 0 || n < 0 || n > count - 1)
        return false;
    DevicePath = paths[n];
    uint32_t systemError = 0;
    handle_ = CurrentDriver().Open(DevicePath, systemError);
    if (!handle_) {
        SystemStatus = systemError;
        openIndex_ = 0;
        return false;
    }
    openIndex_ = n;
    control_ = std::make_unique<ControlEndpoint>(handle_.get(), EndpointDescriptor{});
    control_->Timeout = kDescriptorTimeout;
    ReadDeviceDescriptor();
    ReadStringLanguage();
    Manufacturer = ReadString(DeviceDescriptor[14]);
    Product = ReadString(DeviceDescriptor[15]);
    SerialNumber = ReadString(DeviceDescriptor[16]);
    ReadDriverFacts();
    ReadConfigurations();

    control_->MaxPacketSize = MaxPacketSize0;
    control_->Timeout = UsbEndpoint::kDefaultTimeout;
    control_->RequestType = kVendorType;
    control_->Recipient = 0;
    // A device without a usable first configuration is of no use; release it rather than keep
    // a handle that nothing can reach.
    if (configurations_.empty() || configurations_[0]->RecordCount() == 0) {
        Close();
        return false;
    }
    configurationIndex_ = 0;
    const UsbConfiguration& configuration = *configurations_[0];
    ConfigurationValue = configuration.bConfigurationValue;
    ConfigurationAttributes = configuration.bmAttributes;
    MaxPower = configuration.MaxPower;
    current_.fill(nullptr);
    current_[0] = control_.get();
    MakeCurrent(FindRecord(GetAltSetting()));
    return true;
}

void UsbDevice::Close() {
    // The handle goes first: closing it completes every outstanding transfer.
    handle_.reset();
    DeviceDescriptor.fill(0);
    configurations_.clear();
    rawConfigurations_.clear();
    control_.reset();
    current_.fill(nullptr);
    currentRecord_ = nullptr;
    IsocInEndpoint = IsocOutEndpoint = nullptr;
    BulkInEndpoint = BulkOutEndpoint = nullptr;
    InterruptInEndpoint = InterruptOutEndpoint = nullptr;
    configurationIndex_ = 0;
}

bool UsbDevice::ReadDescriptor(uint8_t type, uint8_t index, uint16_t language, uint8_t* buffer,
                               uint32_t& length) {
    control_->Recipient = 0;
    control_->RequestType = kStandardType;
    control_->Request = kGetDescriptor;
    control_->Value = static_cast<uint16_t>(type << 8 | index);
    control_->Index = language;
    const bool ok = control_->Read(buffer, length);
    UsbdStatus = control_->UsbdStatus;
    SystemStatus = control_->SystemStatus;
    BytesReturned = length;
    return ok;
}

void UsbDevice::ReadDeviceDescriptor() {
    std::array<uint8_t, 18> bytes{};
    uint32_t length = bytes.size();
    if (!ReadDescriptor(kDeviceDescriptorType, 0, 0, bytes.data(), length) ||
        length < bytes.size() || bytes[0] < bytes.size() || bytes[1] != kDeviceDescriptorType)
        return;
    DeviceDescriptor = bytes;
    BcdUsb = GetLittleEndian16(&bytes[2]);
    DeviceClass = bytes[4];
    DeviceSubClass = bytes[5];
    DeviceProtocol = bytes[6];
    MaxPacketSize0 = bytes[7];
    VendorId = GetLittleEndian16(&bytes[8]);
    ProductId = GetLittleEndian16(&bytes[10]);
    BcdDevice = GetLittleEndian16(&bytes[12]);
}

// Its length first, then the whole of it. A reply shorter than the two bytes of length and type
// counts as none, so the language table is never walked from a length below 2.
uint32_t UsbDevice::ReadStringDescriptor(uint8_t index, uint16_t language,
                                         uint8_t (&bytes)[kMaxStringDescriptor]) {
    uint32_t length = 2;
    if (!ReadDescriptor(kStringDescriptorType, index, language, bytes, length) || length < 2)
        return 0;
    length = std::min<uint32_t>(bytes[0], sizeof bytes);
    if (length < 2 || !ReadDescriptor(kStringDescriptorType, index, language, bytes, length) ||
        length < 2)
        return 0;
    return length;
}

void UsbDevice::ReadStringLanguage() {
    StringLanguage = 0;
    uint8_t bytes[kMaxStringDescriptor] = {};
    const uint32_t length = ReadStringDescriptor(0, 0, bytes);
    if (length == 0)
        return;
    const uint32_t listed = length / 2 - 1;
    for (uint32_t i = 0; i < listed; ++i) {
        const uint16_t language = GetLittleEndian16(&bytes[2 + 2 * i]);
        if (i == 0)
            StringLanguage = language;
        if (language == kEnglishUs)
            StringLanguage = kEnglishUs;
    }
}

// Index 0 names the language table, not a string; it stands for "no string".
std::u16string UsbDevice::ReadString(uint8_t index) {
    if (index == 0)
        return {};
    uint8_t bytes[kMaxStringDescriptor] = {};
    const uint32_t length = ReadStringDescriptor(index, StringLanguage, bytes);
    std::u16string text;
    for (uint32_t i = 2; i + 1 < length; i += 2)
        text.push_back(static_cast<char16_t>(GetLittleEndian16(&bytes[i])));
    return text;
}

bool UsbDevice::SimpleRequest(uint32_t code, uint8_t* bytes, uint32_t length) {
    BytesReturned = 0;
    return handle_ &&
           handle_->Request(code, bytes, length, bytes, length, BytesReturned) == error::Success;
}

void UsbDevice::ReadDriverFacts() {
    uint8_t address = 0;
    BusAddress =
        SimpleRequest(request::GetAddress, &address, 1) && BytesReturned >= 1 ? address : 0;
    char name[kNameLength] = {};
    DeviceName =
        SimpleRequest(request::GetDeviceName, reinterpret_cast<uint8_t*>(name), kNameLength - 1)
            ? std::string(name, strnlen(name, kNameLength - 1))
            : std::string();
    std::memset(name, 0, sizeof name);
    FriendlyName =
        SimpleRequest(request::GetFriendlyName, reinterpret_cast<uint8_t*>(name), kNameLength - 1)
            ? std::string(name, strnlen(name, kNameLength - 1))
            : std::string();
    uint8_t version[4] = {};
    DriverVersion = SimpleRequest(request::GetDriverVersion, version, 4) && BytesReturned >= 1
                        ? GetLittleEndian32(version)
                        : 0;
    std::memset(version, 0, sizeof version);
    UsbdiVersion = SimpleRequest(request::GetUsbdiVersion, version, 4) && BytesReturned >= 1
                       ? GetLittleEndian32(version)
                       : 0;
}

void UsbDevice::ReadConfigurations() {
    const int wanted = std::min<int>(DeviceDescriptor[17], kMaxConfigurations);
    for (int n = 0; n < wanted; ++n) {
        uint8_t head[UsbConfiguration::kDescriptorLength] = {};
        uint32_t length = sizeof head;
        if (!ReadDescriptor(kConfigurationDescriptorType, static_cast<uint8_t>(n), 0, head,
                            length) ||
            length < sizeof head || head[1] != kConfigurationDescriptorType)
            continue;
        const uint16_t total = GetLittleEndian16(&head[2]);
        if (total < sizeof head)
            continue;
        std::vector<uint8_t> raw(total);
        length = total;
        if (!ReadDescriptor(kConfigurationDescriptorType, static_cast<uint8_t>(n), 0, raw.data(),
                            length) ||
            length < sizeof head)
            continue;
        raw.resize(length);
        configurations_.push_back(std::make_unique<UsbConfiguration>(handle_.get(), raw));
        rawConfigurations_.push_back(std::move(raw));
    }
}

uint8_t UsbDevice::EndpointCount() const {
    if (!IsOpen())
        return 0;
    if (currentRecord_ == nullptr)
        return 1;
    return static_cast<uint8_t>(
        std::min<int>(currentRecord_->bNumEndpoints, UsbInterface::kEndpointSlots - 1) + 1);
}

UsbEndpoint* UsbDevice::EndpointOf(uint8_t address) const {
    if (address == 0)
        return control_.get();
    for (int slot = 0; slot < EndpointCount(); ++slot) {
        if (current_[slot] == nullptr)
            throw UsbError("Failed to find endpoint.");
        if (current_[slot]->address == address)
            return current_[slot];
    }
    return nullptr;
}

uint8_t UsbDevice::GetAltSetting() {
    uint8_t setting = currentRecord_ ? currentRecord_->bInterfaceNumber : 0;
    if (!SimpleRequest(request::GetAltSetting, &setting, 1) || BytesReturned < 1)
        return kNoSetting;
    return setting;
}

bool UsbDevice::SetAltSetting(uint8_t setting) {
    if (!IsOpen())
        return false;
    if (GetAltSetting() == setting)
        return true;
    const UsbInterface* record = FindRecord(setting);
    if (record == nullptr)
        return false;
    uint8_t answer = setting;
    // Only a setting the device accepted becomes current, so the endpoints match the device.
    if (!SimpleRequest(request::SetAltSetting, &answer, 1))
        return false;
    MakeCurrent(record);
    return true;
}

const UsbInterface* UsbDevice::FindRecord(uint8_t setting) const {
    if (configurations_.empty())
        return nullptr;
    const UsbConfiguration& configuration = *configurations_[configurationIndex_];
    const uint8_t number = currentRecord_ ? currentRecord_->bInterfaceNumber
                                          : configuration.Record(0)->bInterfaceNumber;
    for (int n = 0; n < configuration.RecordCount(); ++n) {
        const UsbInterface* record = configuration.Record(n);
        if (record->bInterfaceNumber == number && record->bAlternateSetting == setting)
            return record;
    }
    return nullptr;
}

void UsbDevice::MakeCurrent(const UsbInterface* record) {
    if (record == nullptr)
        return;
    currentRecord_ = record;
    InterfaceClass = record->bInterfaceClass;
    InterfaceSubClass = record->bInterfaceSubClass;
    InterfaceProtocol = record->bInterfaceProtocol;
    current_.fill(nullptr);
    current_[0] = control_.get();
    IsocInEndpoint = IsocOutEndpoint = nullptr;
    BulkInEndpoint = BulkOutEndpoint = nullptr;
    InterruptInEndpoint = InterruptOutEndpoint = nullptr;
    const int count = EndpointCount();
    for (int slot = 1; slot < count; ++slot) {
        UsbEndpoint* endpoint = record->Slot(slot);
        current_[slot] = endpoint;
        if (endpoint == nullptr)
            continue;
        if (DriverVersion < kDirectTransferDriverVersion)
            endpoint->DirectTransfers = 0;
        UsbEndpoint** shortcut = nullptr;
        switch (endpoint->attributes) {
        case 1:
            shortcut = endpoint->IsIn ? &IsocInEndpoint : &IsocOutEndpoint;
            break;
        case 2:
            shortcut = endpoint->IsIn ? &BulkInEndpoint : &BulkOutEndpoint;
            break;
        case 3:
            shortcut = endpoint->IsIn ? &InterruptInEndpoint : &InterruptOutEndpoint;
            break;
        default:
            break;
        }
        if (shortcut != nullptr && *shortcut == nullptr)
            *shortcut = endpoint;
    }
}

} // namespace podcore::usb
