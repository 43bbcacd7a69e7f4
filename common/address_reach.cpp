#include "address_reach.h"

#include <arpa/inet.h>
#include <netinet/in.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <string>

namespace taliven {
namespace {

AddressReach IPv4Reach(std::uint32_t address) {
  const auto in = [address](std::uint32_t network, int bits) {
    return (address >> (32 - bits)) == (network >> (32 - bits));
  };
  if (in(0x7F000000, 8) || in(0x00000000, 8)) return AddressReach::kLoopback;
  const bool privateUse = in(0x0A000000, 8) || in(0xAC100000, 12) || in(0xC0A80000, 16);
  const bool shared = in(0x64400000, 10);
  const bool linkLocal = in(0xA9FE0000, 16);
  return privateUse || shared || linkLocal ? AddressReach::kPrivate : AddressReach::kPublic;
}

AddressReach IPv6Reach(const in6_addr& address) {
  const unsigned char* bytes = address.s6_addr;
  if (IN6_IS_ADDR_V4MAPPED(&address)) {
    return IPv4Reach(std::uint32_t{bytes[12]} << 24 | std::uint32_t{bytes[13]} << 16 | std::uint32_t{bytes[14]} << 8 |
                     bytes[15]);
  }
  if (IN6_IS_ADDR_LOOPBACK(&address) || IN6_IS_ADDR_UNSPECIFIED(&address)) return AddressReach::kLoopback;
  const bool uniqueLocal = (bytes[0] & 0xFE) == 0xFC;
  if (uniqueLocal || IN6_IS_ADDR_LINKLOCAL(&address) || IN6_IS_ADDR_SITELOCAL(&address)) {
    return AddressReach::kPrivate;
  }
  return AddressReach::kPublic;
}

bool IsLocalhostName(std::string name) {
  std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return std::tolower(c); });
  constexpr std::string_view kLocalhost = "localhost";
  return name == kLocalhost || (name.size() > kLocalhost.size() && name.ends_with(kLocalhost) &&
                                name[name.size() - kLocalhost.size() - 1] == '.');
}

}  // namespace

AddressReach HostReach(std::string_view host) {
  if (host.size() >= 2 && host.front() == '[' && host.back() == ']') host = host.substr(1, host.size() - 2);
  if (!host.empty() && host.back() == '.') host.remove_suffix(1);  // fully qualified: "127.0.0.1.", "localhost."
  const std::string text(host);
  if (text.find('\0') != std::string::npos) return AddressReach::kPublic;
  in6_addr v6{};
  if (inet_pton(AF_INET6, text.c_str(), &v6) == 1) return IPv6Reach(v6);
  // inet_aton reads the forms a browser's address parser does: one to four
  // parts, each decimal, octal or hexadecimal. It stops at a blank, which no
  // host holds.
  in_addr v4{};
  if (text.find_first_of(" \t\n") == std::string::npos && inet_aton(text.c_str(), &v4) != 0) {
    return IPv4Reach(ntohl(v4.s_addr));
  }
  return IsLocalhostName(text) ? AddressReach::kLoopback : AddressReach::kPublic;
}

}  // namespace taliven
