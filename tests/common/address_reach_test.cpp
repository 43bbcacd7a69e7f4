#include "address_reach.h"

#include <gtest/gtest.h>

#include <string>

namespace taliven {
namespace {

struct HostCase {
  const char* host;
  AddressReach reach;
};

// Each range at its first and last address, and just outside it; the forms a
// browser reads an IPv4 address in; IPv6 with and without brackets.
constexpr HostCase kHosts[] = {
    {"127.0.0.1", AddressReach::kLoopback},
    {"127.255.255.254", AddressReach::kLoopback},
    {"127.1", AddressReach::kLoopback},
    {"0x7f000001", AddressReach::kLoopback},
    {"2130706433", AddressReach::kLoopback},
    {"0177.0.0.1", AddressReach::kLoopback},
    {"127.0.0.1.", AddressReach::kLoopback},
    {"0.0.0.0", AddressReach::kLoopback},
    {"0.255.255.255", AddressReach::kLoopback},
    {"1.0.0.0", AddressReach::kPublic},
    {"128.0.0.1", AddressReach::kPublic},
    {"126.255.255.255", AddressReach::kPublic},
    {"localhost", AddressReach::kLoopback},
    {"LocalHost.", AddressReach::kLoopback},
    {"ads.localhost", AddressReach::kLoopback},
    {"notlocalhost", AddressReach::kPublic},
    {"localhost.example.com", AddressReach::kPublic},
    {"10.0.0.0", AddressReach::kPrivate},
    {"10.255.255.255", AddressReach::kPrivate},
    {"11.0.0.0", AddressReach::kPublic},
    {"9.255.255.255", AddressReach::kPublic},
    {"172.16.0.0", AddressReach::kPrivate},
    {"172.31.255.255", AddressReach::kPrivate},
    {"172.15.255.255", AddressReach::kPublic},
    {"172.32.0.0", AddressReach::kPublic},
    {"192.168.0.1", AddressReach::kPrivate},
    {"192.168.255.255", AddressReach::kPrivate},
    {"192.169.0.0", AddressReach::kPublic},
    {"192.167.255.255", AddressReach::kPublic},
    {"100.64.0.0", AddressReach::kPrivate},
    {"100.127.255.255", AddressReach::kPrivate},
    {"100.63.255.255", AddressReach::kPublic},
    {"100.128.0.0", AddressReach::kPublic},
    {"169.254.169.254", AddressReach::kPrivate},
    {"169.253.255.255", AddressReach::kPublic},
    {"169.255.0.0", AddressReach::kPublic},
    {"0xc0a80001", AddressReach::kPrivate},
    {"203.0.113.7", AddressReach::kPublic},
    {"8.8.8.8", AddressReach::kPublic},
    {"::1", AddressReach::kLoopback},
    {"[::1]", AddressReach::kLoopback},
    {"[::]", AddressReach::kLoopback},
    {"[::ffff:127.0.0.1]", AddressReach::kLoopback},
    {"[::ffff:c0a8:101]", AddressReach::kPrivate},
    {"[::ffff:8.8.8.8]", AddressReach::kPublic},
    {"[fc00::1]", AddressReach::kPrivate},
    {"[fdff:ffff::1]", AddressReach::kPrivate},
    {"[fe80::1]", AddressReach::kPrivate},
    {"[febf::1]", AddressReach::kPrivate},
    {"[fec0::1]", AddressReach::kPrivate},
    {"[fbff::1]", AddressReach::kPublic},
    {"[2001:db8::1]", AddressReach::kPublic},
    {"example.com", AddressReach::kPublic},
    {"", AddressReach::kPublic},
    {"1.2.3.4.5", AddressReach::kPublic},
};

TEST(HostReach, EveryRangeAtItsEdgesInEveryFormABrowserReads) {
  for (const HostCase& c : kHosts) {
    EXPECT_EQ(HostReach(c.host), c.reach) << c.host;
  }
}

TEST(HostReach, AHostWithAnEmbeddedZeroOrBlankIsNoAddress) {
  EXPECT_EQ(HostReach(std::string("127.0.0.1\0.evil", 15)), AddressReach::kPublic);
  EXPECT_EQ(HostReach("127.0.0.1 x"), AddressReach::kPublic);
}

}  // namespace
}  // namespace taliven
