// Packets: every message of the protocol travels as one or more packets of
// at most the negotiated packet size, each with an 8-byte header (type,
// status, big-endian total length, session id, packet number, window). The
// last packet of a message has the end-of-message status bit.
//
// MessageReader puts a message together from a byte stream and refuses
// what a well-behaved client never sends: a packet shorter than its header,
// longer than the limit, a message whose packets change type, a message
// larger than the limit. Each refusal is a ProtocolError.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace standin::tds {

enum class PacketType : uint8_t {
  SqlBatch = 1,
  Rpc = 3,
  TabularResult = 4,
  Attention = 6,
  BulkLoad = 7,
  TransactionManager = 14,
  Login7 = 16,
  PreLogin = 18,
};

constexpr size_t kPacketHeaderSize = 8;
constexpr uint8_t kStatusEndOfMessage = 0x01;
constexpr size_t kDefaultPacketSize = 4096;
constexpr size_t kMinPacketSize = 512;
constexpr size_t kMaxPacketSize = 32767;
// The largest request a connection takes: far above any statement or
// parameter the upgrade sends, small enough that a hostile length cannot
// exhaust memory.
constexpr size_t kMaxMessageSize = 64u << 20;

struct Message {
  PacketType type = PacketType::SqlBatch;
  std::string body;  // the packets' payloads, headers removed
};

// Where the bytes of a connection come from. read() returns how many bytes
// it placed into `buffer` (at least one), or 0 at the end of the stream.
class ByteSource {
 public:
  virtual ~ByteSource() = default;
  virtual size_t read(char* buffer, size_t size) = 0;
};

class MessageReader {
 public:
  explicit MessageReader(ByteSource& source, size_t max_message = kMaxMessageSize)
      : source_(source), max_message_(max_message) {}

  // The next whole message, or nothing when the stream ends cleanly
  // between messages. Throws ProtocolError on anything else.
  std::optional<Message> next();

 private:
  // Fills `out` with exactly `size` bytes; false at the end of the stream
  // before the first byte when `eof_ok`, throws when the stream ends inside.
  bool read_exactly(char* out, size_t size, bool eof_ok);

  ByteSource& source_;
  size_t max_message_;
};

// The packets of one message of `type`, each at most `packet_size` bytes.
// `packet_id` numbers them and carries on from call to call.
std::string frame_message(PacketType type, std::string_view body, size_t packet_size, uint8_t* packet_id);

}  // namespace standin::tds
