// Fuzzes the emulator socket's message parser: any datagram either parses into a message that
// encodes back to the same bytes, or is refused with an error the server can send.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include "sim/socket_protocol.h"

using namespace vorlin::seam;

namespace {
void Check(bool condition) {
  if (!condition) std::abort();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::span<const uint8_t> bytes(data, size);
  ClientMessage message;
  ParseFailure failure;
  if (!ParseClientMessage(bytes, message, failure)) {
    Check(!failure.text.empty());
    const auto error = EncodeError(failure.code, failure.text);
    Check(error.size() == 2 + failure.text.size() && error[0] == 0x84);
    return 0;
  }
  std::vector<uint8_t> again;
  switch (message.type) {
    case MessageType::Hello:
      // Bytes after the version are reserved for later versions and not kept.
      again = EncodeHello(message.version);
      Check(again.size() <= size && std::equal(again.begin(), again.end(), data));
      return 0;
    case MessageType::Attach:
      again = EncodeAttach(message.attach);
      if (message.attach.descriptor.empty()) {
        const auto d = DefaultReportDescriptor(message.attach.usagePage, message.attach.usage);
        Check(d.size() > 8 && d[0] == 0x06 && d.back() == 0xC0);
      }
      break;
    case MessageType::Detach:
      again = EncodeDetach(message.tag);
      break;
    case MessageType::Input:
      Check(!message.report.empty());
      again = EncodeInput(message.tag, message.report);
      break;
    default:
      std::abort();  // the parser returns client messages only
  }
  Check(again == std::vector<uint8_t>(bytes.begin(), bytes.end()));
  return 0;
}
