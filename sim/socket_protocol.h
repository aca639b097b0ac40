#pragma once

// The emulator socket's messages (docs/emulator-socket.md is the public description). Everything
// here is pure: bytes in, values out, so the parser can be fuzzed and both ends can be tested
// without a socket. All numbers are little-endian; one message is one SOCK_SEQPACKET datagram.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vorlin::seam {

inline constexpr uint16_t kProtocolVersion = 1;
// Longest datagram either side sends; a longer one from a client is refused as a whole.
inline constexpr size_t kMaxMessageBytes = 8192;
// Longest report descriptor accepted, the same limit the Linux HID core applies.
inline constexpr size_t kMaxDescriptorBytes = 4096;
// interface or collection 0xFFFF in ATTACH means -1 (not a USB interface / whole interface).
inline constexpr uint16_t kNoNumber = 0xFFFF;

enum class MessageType : uint8_t {
  // client -> program
  Hello = 0x01,
  Attach = 0x02,
  Detach = 0x03,
  Input = 0x04,
  // program -> client
  Welcome = 0x81,
  Attached = 0x82,
  Output = 0x83,
  Error = 0x84,
};

enum class ErrorCode : uint8_t {
  Malformed = 1,           // unknown type, or a length that does not fit the type
  UnsupportedVersion = 2,  // HELLO with a version this program cannot speak (connection closed)
  HelloRequired = 3,       // any other message before HELLO
  UnknownTag = 4,          // DETACH or INPUT for a tag that is not attached
  TooLong = 5,             // datagram longer than kMaxMessageBytes
  RepeatedHello = 6,       // a second HELLO
  Busy = 7,                // too many clients already (connection closed)
};

enum class AttachStatus : uint8_t {
  Ok = 0,
  TagInUse = 1,           // this client already has an interface with the tag
  DescriptorTooLong = 2,  // descriptor over kMaxDescriptorBytes
  TooManyInterfaces = 3,  // the client reached its interface limit
};

struct AttachRequest {
  uint32_t tag = 0;
  uint16_t vendorId = 0;
  uint16_t productId = 0;
  uint16_t interfaceNumber = 0;   // kNoNumber: -1
  uint16_t collectionNumber = 0;  // kNoNumber: -1
  uint16_t usagePage = 0;
  uint16_t usage = 0;
  uint16_t versionNumber = 0;
  std::vector<uint8_t> descriptor;  // empty: the program makes one from usage page and usage
};

// One message from a client, as parsed. Only the fields of its type are meaningful.
struct ClientMessage {
  MessageType type = MessageType::Hello;
  uint16_t version = 0;         // Hello
  AttachRequest attach;         // Attach
  uint32_t tag = 0;             // Detach, Input
  std::vector<uint8_t> report;  // Input, at least one byte
};

struct ParseFailure {
  ErrorCode code = ErrorCode::Malformed;
  std::string text;
};

// Parses one client datagram. On failure returns false and fills `failure` with the ERROR the
// program answers. A HELLO may carry bytes after its version (reserved for later versions); every
// other message must have exactly its layout.
bool ParseClientMessage(std::span<const uint8_t> bytes, ClientMessage& message,
                        ParseFailure& failure);

// Program -> client.
std::vector<uint8_t> EncodeWelcome(uint16_t version);
std::vector<uint8_t> EncodeAttached(uint32_t tag, AttachStatus status, std::string_view node);
std::vector<uint8_t> EncodeOutput(uint32_t tag, std::span<const uint8_t> report);
std::vector<uint8_t> EncodeError(ErrorCode code, std::string_view text);

// Client -> program, for clients written in C++ (the tests, tools).
std::vector<uint8_t> EncodeHello(uint16_t version);
std::vector<uint8_t> EncodeAttach(const AttachRequest& request);
std::vector<uint8_t> EncodeDetach(uint32_t tag);
std::vector<uint8_t> EncodeInput(uint32_t tag, std::span<const uint8_t> report);

// The descriptor given to an interface attached without one. Usage page 0x0C (consumer): report
// id 3 carrying one 16-bit consumer usage from 0 to 0x1FFF (an event interface). Any other page: a
// vendor command interface, report id 4 with 63-byte input and output reports.
std::vector<uint8_t> DefaultReportDescriptor(uint16_t usagePage, uint16_t usage);

}  // namespace vorlin::seam
