#include "sim/socket_protocol.h"

namespace vorlin::seam {
namespace {

constexpr size_t kHelloBytes = 1 + 2;
constexpr size_t kAttachHeaderBytes = 1 + 4 + 7 * 2;
constexpr size_t kDetachBytes = 1 + 4;
constexpr size_t kInputHeaderBytes = 1 + 4;

uint16_t U16(std::span<const uint8_t> b, size_t at) {
  return uint16_t(b[at] | (b[at + 1] << 8));
}
uint32_t U32(std::span<const uint8_t> b, size_t at) {
  return uint32_t(b[at]) | (uint32_t(b[at + 1]) << 8) | (uint32_t(b[at + 2]) << 16) |
         (uint32_t(b[at + 3]) << 24);
}
void Put16(std::vector<uint8_t>& out, uint16_t v) {
  out.push_back(uint8_t(v));
  out.push_back(uint8_t(v >> 8));
}
void Put32(std::vector<uint8_t>& out, uint32_t v) {
  for (int shift = 0; shift < 32; shift += 8) out.push_back(uint8_t(v >> shift));
}

bool Fail(ParseFailure& failure, ErrorCode code, std::string text) {
  failure.code = code;
  failure.text = std::move(text);
  return false;
}

bool WrongLength(ParseFailure& failure, const char* name, size_t got) {
  return Fail(failure, ErrorCode::Malformed,
              std::string(name) + ": unexpected length " + std::to_string(got));
}

// Appends a Usage item in the shortest form (a 1-byte usage keeps descriptors familiar-looking).
void PutUsage(std::vector<uint8_t>& d, uint16_t usage) {
  if (usage <= 0xFF) {
    d.insert(d.end(), {0x09, uint8_t(usage)});
  } else {
    d.insert(d.end(), {0x0A, uint8_t(usage), uint8_t(usage >> 8)});
  }
}

}  // namespace

bool ParseClientMessage(std::span<const uint8_t> bytes, ClientMessage& message,
                        ParseFailure& failure) {
  message = ClientMessage{};
  if (bytes.empty()) return Fail(failure, ErrorCode::Malformed, "empty message");
  if (bytes.size() > kMaxMessageBytes)
    return Fail(failure, ErrorCode::TooLong, "message longer than 8192 bytes");
  switch (static_cast<MessageType>(bytes[0])) {
    case MessageType::Hello:
      if (bytes.size() < kHelloBytes) return WrongLength(failure, "HELLO", bytes.size());
      message.type = MessageType::Hello;
      message.version = U16(bytes, 1);
      return true;
    case MessageType::Attach: {
      if (bytes.size() < kAttachHeaderBytes) return WrongLength(failure, "ATTACH", bytes.size());
      message.type = MessageType::Attach;
      AttachRequest& a = message.attach;
      a.tag = U32(bytes, 1);
      a.vendorId = U16(bytes, 5);
      a.productId = U16(bytes, 7);
      a.interfaceNumber = U16(bytes, 9);
      a.collectionNumber = U16(bytes, 11);
      a.usagePage = U16(bytes, 13);
      a.usage = U16(bytes, 15);
      a.versionNumber = U16(bytes, 17);
      a.descriptor.assign(bytes.begin() + kAttachHeaderBytes, bytes.end());
      return true;
    }
    case MessageType::Detach:
      if (bytes.size() != kDetachBytes) return WrongLength(failure, "DETACH", bytes.size());
      message.type = MessageType::Detach;
      message.tag = U32(bytes, 1);
      return true;
    case MessageType::Input:
      if (bytes.size() <= kInputHeaderBytes) return WrongLength(failure, "INPUT", bytes.size());
      message.type = MessageType::Input;
      message.tag = U32(bytes, 1);
      message.report.assign(bytes.begin() + kInputHeaderBytes, bytes.end());
      return true;
    default:
      return Fail(failure, ErrorCode::Malformed,
                  "unknown message type " + std::to_string(unsigned(bytes[0])));
  }
}

std::vector<uint8_t> EncodeWelcome(uint16_t version) {
  std::vector<uint8_t> out{uint8_t(MessageType::Welcome)};
  Put16(out, version);
  return out;
}

std::vector<uint8_t> EncodeAttached(uint32_t tag, AttachStatus status, std::string_view node) {
  std::vector<uint8_t> out{uint8_t(MessageType::Attached)};
  Put32(out, tag);
  out.push_back(uint8_t(status));
  out.insert(out.end(), node.begin(), node.end());
  return out;
}

std::vector<uint8_t> EncodeOutput(uint32_t tag, std::span<const uint8_t> report) {
  std::vector<uint8_t> out{uint8_t(MessageType::Output)};
  Put32(out, tag);
  out.insert(out.end(), report.begin(), report.end());
  return out;
}

std::vector<uint8_t> EncodeError(ErrorCode code, std::string_view text) {
  std::vector<uint8_t> out{uint8_t(MessageType::Error), uint8_t(code)};
  out.insert(out.end(), text.begin(), text.end());
  return out;
}

std::vector<uint8_t> EncodeHello(uint16_t version) {
  std::vector<uint8_t> out{uint8_t(MessageType::Hello)};
  Put16(out, version);
  return out;
}

std::vector<uint8_t> EncodeAttach(const AttachRequest& r) {
  std::vector<uint8_t> out{uint8_t(MessageType::Attach)};
  Put32(out, r.tag);
  for (uint16_t v : {r.vendorId, r.productId, r.interfaceNumber, r.collectionNumber, r.usagePage,
                     r.usage, r.versionNumber})
    Put16(out, v);
  out.insert(out.end(), r.descriptor.begin(), r.descriptor.end());
  return out;
}

std::vector<uint8_t> EncodeDetach(uint32_t tag) {
  std::vector<uint8_t> out{uint8_t(MessageType::Detach)};
  Put32(out, tag);
  return out;
}

std::vector<uint8_t> EncodeInput(uint32_t tag, std::span<const uint8_t> report) {
  std::vector<uint8_t> out{uint8_t(MessageType::Input)};
  Put32(out, tag);
  out.insert(out.end(), report.begin(), report.end());
  return out;
}

std::vector<uint8_t> DefaultReportDescriptor(uint16_t usagePage, uint16_t usage) {
  std::vector<uint8_t> d{0x06, uint8_t(usagePage), uint8_t(usagePage >> 8)};  // Usage Page
  PutUsage(d, usage);
  d.insert(d.end(), {0xA1, 0x01});  // Collection (Application)
  if (usagePage == 0x0C) {
    // An event interface: one consumer usage per report, as the devices send their events.
    d.insert(d.end(), {
                          0x85, 0x03,        // Report ID 3
                          0x15, 0x00,        // Logical Minimum 0
                          0x26, 0xFF, 0x1F,  // Logical Maximum 0x1FFF
                          0x19, 0x00,        // Usage Minimum 0
                          0x2A, 0xFF, 0x1F,  // Usage Maximum 0x1FFF
                          0x75, 0x10,        // Report Size 16
                          0x95, 0x01,        // Report Count 1
                          0x81, 0x00,        // Input (Data, Array, Absolute)
                      });
  } else {
    // A command interface: 63 vendor bytes each way after report id 4, so reports are 64 bytes.
    d.insert(d.end(), {
                          0x85, 0x04,        // Report ID 4
                          0x06, 0x00, 0xFF,  // Usage Page (vendor 0xFF00)
                          0x15, 0x00,        // Logical Minimum 0
                          0x26, 0xFF, 0x00,  // Logical Maximum 255
                          0x75, 0x08,        // Report Size 8
                          0x95, 0x3F,        // Report Count 63
                          0x09, 0x01,        // Usage 1
                          0x81, 0x02,        // Input (Data, Variable, Absolute)
                          0x09, 0x02,        // Usage 2
                          0x91, 0x02,        // Output (Data, Variable, Absolute)
                      });
  }
  d.push_back(0xC0);  // End Collection
  return d;
}

}  // namespace vorlin::seam
