#include "tds/packet.h"

#include <algorithm>

#include "tds/wire.h"

namespace standin::tds {

namespace {

bool known_type(uint8_t type) {
  switch (static_cast<PacketType>(type)) {
    case PacketType::SqlBatch:
    case PacketType::Rpc:
    case PacketType::TabularResult:
    case PacketType::Attention:
    case PacketType::BulkLoad:
    case PacketType::TransactionManager:
    case PacketType::Login7:
    case PacketType::PreLogin: return true;
  }
  return false;
}

}  // namespace

bool MessageReader::read_exactly(char* out, size_t size, bool eof_ok) {
  size_t done = 0;
  while (done < size) {
    size_t n = source_.read(out + done, size - done);
    if (n == 0) {
      if (done == 0 && eof_ok) return false;
      throw ProtocolError("the connection ended inside a packet");
    }
    done += n;
  }
  return true;
}

std::optional<Message> MessageReader::next() {
  Message message;
  bool first = true;
  for (;;) {
    char header[kPacketHeaderSize];
    if (!read_exactly(header, sizeof header, first)) return std::nullopt;
    WireReader h(std::string_view(header, sizeof header));
    uint8_t type = h.u8();
    uint8_t status = h.u8();
    size_t length = h.u16_be();
    if (!known_type(type)) throw ProtocolError("unknown packet type " + std::to_string(type));
    if (length < kPacketHeaderSize || length > kMaxPacketSize)
      throw ProtocolError("packet length " + std::to_string(length) + " out of range");
    if (first) {
      message.type = static_cast<PacketType>(type);
    } else if (static_cast<PacketType>(type) != message.type) {
      throw ProtocolError("packet type changed inside a message");
    }
    size_t payload = length - kPacketHeaderSize;
    if (payload > max_message_ - message.body.size())
      throw ProtocolError("message larger than " + std::to_string(max_message_) + " bytes");
    size_t at = message.body.size();
    message.body.resize(at + payload);
    if (payload > 0) read_exactly(message.body.data() + at, payload, false);
    first = false;
    if (status & kStatusEndOfMessage) return message;
  }
}

std::string frame_message(PacketType type, std::string_view body, size_t packet_size, uint8_t* packet_id) {
  size_t chunk = std::clamp(packet_size, kMinPacketSize, kMaxPacketSize) - kPacketHeaderSize;
  WireWriter out;
  size_t at = 0;
  do {
    size_t n = std::min(chunk, body.size() - at);
    bool last = at + n == body.size();
    out.u8(static_cast<uint8_t>(type));
    out.u8(last ? kStatusEndOfMessage : 0);
    out.u16_be(static_cast<uint16_t>(n + kPacketHeaderSize));
    out.u16_be(0);  // session id
    out.u8((*packet_id)++);
    out.u8(0);  // window
    out.raw(body.substr(at, n));
    at += n;
  } while (at < body.size());
  return out.take();
}

}  // namespace standin::tds
