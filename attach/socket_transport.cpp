#include <cstring>

#include "attach/datagram_transport.h"
#include "attach/socket_wrapper.h"

namespace azu {
namespace {

class SocketTransport final : public DatagramTransport {
 public:
  void Open(const char* localAddress) override {
    socket_.Create(0, SOCK_DGRAM, localAddress, true);
  }
  int SendTo(const void* data, int length, const char* address, std::uint16_t port) override {
    return socket_.SendTo(data, length, address, port, 0);
  }
  bool WaitReadable() override {
    bool read = true;
    bool write = false;
    bool except = false;
    return socket_.WaitOnSocket(read, write, except);
  }
  int ReceiveFrom(void* buffer, int length, std::array<std::uint8_t, 4>& sender,
                  std::uint16_t& senderPort) override {
    sockaddr_in from;
    std::memset(&from, 0, sizeof from);
    int fromLength = sizeof from;
    const int received = socket_.ReceiveFrom(
        buffer, length, static_cast<sockaddr*>(static_cast<void*>(&from)), &fromLength, 0);
    std::memcpy(sender.data(), &from.sin_addr, 4);
    senderPort = ntohs(from.sin_port);
    return received;
  }
  void Close() override { socket_.Close(); }

 private:
  CSocketWrapper socket_;
};

}  // namespace

std::unique_ptr<DatagramTransport> MakeSocketTransport() {
  return std::make_unique<SocketTransport>();
}

}  // namespace azu
