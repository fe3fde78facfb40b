// Printer discovery on a scripted network and ARP cache: the requests as sent, the reply rule,
// the order and length of the listening, socket failures, and the capacity of the records.

#include "attach/printer_discovery.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/attach/attach_fakes.h"

namespace azu {
namespace {

using test::Address;

std::vector<std::uint8_t> Bytes(std::span<const std::uint8_t> bytes) {
  return {bytes.begin(), bytes.end()};
}

TEST(SnmpRequests, AreTheTwoPrebuiltGetRequestsByteForByte) {
  const std::vector<std::uint8_t> interface1 = {
      0x30, 0x28, 0x02, 0x01, 0x00, 0x04, 0x06, 0x63, 0x6F, 0x62, 0x61, 0x6C, 0x74, 0xA0,
      0x1B, 0x02, 0x01, 0x01, 0x02, 0x01, 0x00, 0x02, 0x01, 0x00, 0x30, 0x10, 0x30, 0x0E,
      0x06, 0x0A, 0x2B, 0x06, 0x01, 0x02, 0x01, 0x02, 0x02, 0x01, 0x06, 0x01, 0x05, 0x00};
  std::vector<std::uint8_t> interface2 = interface1;
  interface2[39] = 0x02;
  EXPECT_EQ(Bytes(kInterface1Query.request), interface1);
  EXPECT_EQ(Bytes(kInterface2Query.request), interface2);
}

// What an agent, a broken agent or a forger may send back to the ifPhysAddress.1 query: only a
// well-formed answer to that very request gives a MAC.
TEST(ReplyRule, AcceptsOnlyTheAgentsAnswerToTheRequest) {
  using Bytes = std::vector<std::uint8_t>;
  const Bytes mac = {0x00, 0x1B, 0x2C, 0x3D, 0x4E, 0x5F};
  const Bytes good = test::SnmpReply(test::ReplyShape().Value(mac));
  const auto with = [&](test::ReplyShape shape) {
    if (shape.value.empty()) shape.Value(mac);
    return test::SnmpReply(shape);
  };
  Bytes truncated = good;
  truncated[1] += 1;  // the message claims one byte more than arrived
  Bytes trailing = good;
  trailing.push_back(0x00);
  Bytes junk = {0x99, 0x30, 0x2C, 0x02, 0x01};
  junk.insert(junk.end(), mac.begin(), mac.end());
  Bytes indefinite = good;
  indefinite[1] = 0x80;
  Bytes sevenBytes = {0x00};
  sevenBytes.insert(sevenBytes.end(), mac.begin(), mac.end());

  const struct {
    const char* name;
    Bytes reply;
    bool accepted;
  } cases[] = {
      {"well formed", good, true},
      {"long-form lengths", with(test::ReplyShape().LongLengths()), true},
      {"an echo of the request", with(test::ReplyShape().Pdu(0xA0)), false},
      {"another version", with(test::ReplyShape().Version(1)), false},
      {"another community", with(test::ReplyShape().Community("public")), false},
      {"another request-id", with(test::ReplyShape().RequestId(2)), false},
      {"an error status", with(test::ReplyShape().ErrorStatus(2)), false},
      {"another interface's OID", with(test::ReplyShape().Interface(2)), false},
      {"two bindings", with(test::ReplyShape().Bindings(2)), false},
      {"a NULL value", test::SnmpReply(test::ReplyShape().ValueTag(0x05)), false},
      {"an empty octet string", test::SnmpReply(test::ReplyShape()), false},
      {"a 7-byte value", with(test::ReplyShape().Value(sevenBytes)), false},
      {"a 5-byte value", with(test::ReplyShape().Value(Bytes(mac.begin() + 1, mac.end()))), false},
      {"truncated", truncated, false},
      {"a byte after the message", trailing, false},
      {"an indefinite length", indefinite, false},
      {"junk ending in the MAC", junk, false},
      {"the address alone", mac, false},
  };
  for (const auto& c : cases) {
    const auto found =
        MacFromReply(c.reply.data(), static_cast<int>(c.reply.size()), kInterface1Query);
    EXPECT_EQ(found.has_value(), c.accepted) << c.name;
    if (found) {
      EXPECT_EQ(found->View(), "00:1b:2c:3d:4e:5f") << c.name;
    }
  }
  EXPECT_FALSE(MacFromReply(good.data(), 0, kInterface1Query));
  EXPECT_FALSE(MacFromReply(good.data(), -1, kInterface1Query));
  // The answer to interface 2 counts for the interface-2 query only.
  const Bytes second = with(test::ReplyShape().Interface(2));
  EXPECT_TRUE(MacFromReply(second.data(), static_cast<int>(second.size()), kInterface2Query));
}

TEST(ReplyRule, StillDropsTheExcludedAddresses) {
  for (const auto* query : {&kInterface1Query, &kInterface2Query}) {
    const std::uint8_t interface = query == &kInterface1Query ? 1 : 2;
    for (const std::string_view excluded : query->excluded) {
      const auto mac = test::MacBytes(std::string(excluded));
      const auto reply =
          test::SnmpReply(test::ReplyShape().Interface(interface).Value({mac.begin(), mac.end()}));
      EXPECT_FALSE(MacFromReply(reply.data(), static_cast<int>(reply.size()), *query)) << excluded;
    }
  }
}

class DiscoveryTest : public testing::Test {
 protected:
  DiscoveryIo Io() { return {transport, clock}; }

  test::FakeClock clock;
  test::FakeTransport transport{clock};
  std::vector<PrinterAddressRecord> records = std::vector<PrinterAddressRecord>(10);
  int count = 0;
  HostAddressList hosts = {Address("198.51.100.2"), Address("100.100.100.102")};
};

TEST_F(DiscoveryTest, AsksFromTheLastHostAddressFirstAndListensTheLimitOnEach) {
  const std::int64_t start = clock.NowSeconds();
  EXPECT_EQ(DiscoverInterfaceMacs1(hosts, 5, records, count, Io()), 0);
  EXPECT_EQ(transport.opened, (std::vector<std::string>{"100.100.100.102", "198.51.100.2"}));
  ASSERT_EQ(transport.sent.size(), 2U);
  for (const auto& sent : transport.sent) {
    EXPECT_EQ(sent.address, "255.255.255.255");
    EXPECT_EQ(sent.port, 161);
    EXPECT_EQ(sent.bytes, Bytes(kInterface1Query.request));
  }
  EXPECT_EQ(clock.NowSeconds() - start, 10);
  EXPECT_EQ(transport.closes, 2);
  EXPECT_EQ(count, 0);
}

TEST_F(DiscoveryTest, RecordsEachAcceptedReplyWithTheLocalAddressItCameThrough) {
  transport.printers = {{"100.100.100.102", "100.100.100.101", "00:1b:2c:3d:4e:5f"},
                        {"198.51.100.2", "198.51.100.7", "00:1b:2c:3d:4e:5f"},
                        {"198.51.100.2", "198.51.100.9", "00:00:00:00:00:00"}};
  EXPECT_EQ(DiscoverPrinterMacs(hosts, 5, records, count, Io()), 0);
  // Interface 2 is answered with echoes only, which are dropped.
  ASSERT_EQ(count, 2);
  EXPECT_STREQ(records[0].localAddress, "100.100.100.102");
  EXPECT_STREQ(records[0].printerAddress, "100.100.100.101");
  EXPECT_STREQ(records[0].mac, "00:1b:2c:3d:4e:5f");
  EXPECT_STREQ(records[1].localAddress, "198.51.100.2");
  EXPECT_STREQ(records[1].printerAddress, "198.51.100.7");
  ASSERT_EQ(transport.sent.size(), 4U);
  EXPECT_EQ(transport.sent[0].bytes, Bytes(kInterface1Query.request));
  EXPECT_EQ(transport.sent[2].bytes, Bytes(kInterface2Query.request));
}

TEST_F(DiscoveryTest, IgnoresAnAnswerFromAnyPortButTheAgents) {
  const auto mac = test::MacBytes("00:1b:2c:3d:4e:5f");
  const auto reply = test::SnmpReply(test::ReplyShape().Value({mac.begin(), mac.end()}));
  transport.extraReplies = {{"198.51.100.66", 9999, reply}, {"198.51.100.67", 161, reply}};
  DiscoverInterfaceMacs1({Address("198.51.100.2")}, 5, records, count, Io());
  ASSERT_EQ(count, 1);
  EXPECT_STREQ(records[0].printerAddress, "198.51.100.67");
}

TEST_F(DiscoveryTest, AStopRequestEndsTheListeningWithinASecond) {
  platform::StopRequest stop;
  transport.onWait = [&](int waits) {
    if (waits == 2) stop.Request();
  };
  const std::int64_t start = clock.NowSeconds();
  EXPECT_EQ(DiscoverPrinterMacs(hosts, 5, records, count, {transport, clock, &stop}), 0);
  EXPECT_EQ(clock.NowSeconds() - start, 2);
  EXPECT_EQ(transport.opened.size(), 1U);  // no socket for the next address or query
  EXPECT_EQ(transport.closes, 1);
}

TEST_F(DiscoveryTest, AppendsAfterTheRecordsAlreadyCounted) {
  count = 3;
  transport.printers = {{"100.100.100.102", "100.100.100.101", "00:1b:2c:3d:4e:5f"}};
  DiscoverInterfaceMacs1(hosts, 5, records, count, Io());
  EXPECT_EQ(count, 4);
  EXPECT_STREQ(records[3].printerAddress, "100.100.100.101");
}

TEST_F(DiscoveryTest, NothingSentMeansNoListening) {
  transport.sendResult = 0;
  transport.printers = {{"100.100.100.102", "100.100.100.101", "00:1b:2c:3d:4e:5f"}};
  EXPECT_EQ(DiscoverInterfaceMacs1(hosts, 5, records, count, Io()), 0);
  EXPECT_EQ(transport.waits, 0);
  EXPECT_EQ(transport.closes, 2);
  EXPECT_EQ(count, 0);
}

TEST_F(DiscoveryTest, AFailingSocketCallEndsTheQueryWithItsCodeAndKeepsTheRecords) {
  transport.printers = {{"100.100.100.102", "100.100.100.101", "00:1b:2c:3d:4e:5f"},
                        {"198.51.100.2", "198.51.100.7", "00:1b:2c:3d:4e:5f"}};
  for (const char* step : {"Open", "SendTo", "Wait", "Receive"}) {
    SCOPED_TRACE(step);
    transport.opened.clear();
    transport.closes = 0;
    count = 0;
    transport.failure = test::FakeTransport::Failure{step, "198.51.100.2", 10065};
    EXPECT_EQ(DiscoverInterfaceMacs1(hosts, 5, records, count, Io()), 10065);
    EXPECT_EQ(count, 1);  // found through the first socket
    EXPECT_EQ(transport.opened.size(), 2U);
    EXPECT_EQ(transport.closes, 2);
  }
  // The failure of the first query does not stop the second; the results add up.
  count = 0;
  transport.failure = test::FakeTransport::Failure{"Open", "100.100.100.102", 7};
  EXPECT_EQ(DiscoverPrinterMacs(hosts, 5, records, count, Io()), 14);
}

TEST_F(DiscoveryTest, NoHostAddressSendsNothing) {
  EXPECT_EQ(DiscoverPrinterMacs({}, 5, records, count, Io()), 0);
  EXPECT_TRUE(transport.sent.empty());
}

TEST_F(DiscoveryTest, AFullArrayIgnoresFurtherReplies) {
  for (int i = 0; i < 15; ++i) {
    transport.printers.push_back(
        {"100.100.100.102", "10.0.0." + std::to_string(i + 1), "00:1b:2c:3d:4e:5f"});
  }
  std::vector<PrinterAddressRecord> small(4);
  DiscoverPrinterMacs(hosts, 5, small, count, Io());
  EXPECT_EQ(count, 4);
  EXPECT_STREQ(small[3].printerAddress, "10.0.0.4");
}

class ArpLookupTest : public testing::Test {
 protected:
  test::FakeArpCache arp;
  std::vector<PrinterAddressRecord> records = std::vector<PrinterAddressRecord>(3);
  int count = 0;
};

TEST_F(ArpLookupTest, RecordsTheEntryInColonFormUnderItsInterface) {
  arp.entries = {{"100.100.100.101", "100.100.100.102", "00-1b-2c-3d-4e-5f"},
                 {"100.100.100.9", "100.100.100.102", "00-1b-2c-3d-4e-60"}};
  EXPECT_EQ(LookupArpMac("100.100.100.101", records, count, arp), 0);
  ASSERT_EQ(count, 1);
  EXPECT_STREQ(records[0].localAddress, "100.100.100.102");
  EXPECT_STREQ(records[0].printerAddress, "100.100.100.101");
  EXPECT_STREQ(records[0].mac, "00:1b:2c:3d:4e:5f");
}

TEST_F(ArpLookupTest, LeavesOutTheExcludedAddressesAndTextsThatAreNoMac) {
  arp.entries = {{"100.100.100.101", "a", "00-00-00-00-00-00"},
                 {"100.100.100.101", "b", "02-01-06-01-04-00"},
                 {"100.100.100.101", "c", "02:01:06:01:05:00"},
                 {"100.100.100.101", "d", "00-1b-2c-3d-4e-5f-60-71"},
                 {"100.100.100.101", "e", "02-01-06-02-04-00"}};
  EXPECT_EQ(LookupArpMac("100.100.100.101", records, count, arp), 0);
  ASSERT_EQ(count, 1);
  EXPECT_STREQ(records[0].localAddress, "e");
}

TEST_F(ArpLookupTest, StopsAtTheArraysCapacity) {
  for (int i = 0; i < 10; ++i) {
    arp.entries.push_back({"100.100.100.101", "if" + std::to_string(i), "00-1b-2c-3d-4e-5f"});
  }
  count = 1;
  EXPECT_EQ(LookupArpMac("100.100.100.101", records, count, arp), 0);
  EXPECT_EQ(count, 3);
  EXPECT_STREQ(records[2].localAddress, "if1");
}

TEST_F(ArpLookupTest, UnreadableCacheGivesOneAndNoRecord) {
  arp.readable = false;
  EXPECT_EQ(LookupArpMac("100.100.100.101", records, count, arp), 1);
  EXPECT_EQ(count, 0);
}

TEST(HostAddresses, AreCountedAndWrittenAsDottedText) {
  test::FakeHostAddresses source;
  source.addresses = {Address("198.51.100.2"), Address("100.100.100.102")};
  const HostAddressList list = GetHostAddresses(source);
  EXPECT_EQ(CountAddresses(list), 2);
  EXPECT_EQ(platform::DottedText(list[1]), "100.100.100.102");
  EXPECT_EQ(CountAddresses({}), 0);
}

}  // namespace
}  // namespace azu
